#pragma once
// What the report tests share: a private temporary folder per test (nothing
// of a report may stay in it), the document as python-docx reads it, and
// the document a report is expected to write, built step by step as the
// report writes it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Portable.h"
#include "pages/PageTestSupport.h"
#include "platform/word/TempFolder.h"

namespace tiecalc {

// The last line of the three-rod example's report: the chart's caption, or
// the last extreme line in a build without the chart.
#if TIECALC_HAVE_CHART
inline constexpr const char* kThreeRodExampleLastLine = "三杆附着  R=100 KN  M=200 KN.m  θ=30.00°";
#else
inline constexpr const char* kThreeRodExampleLastLine = "附着杆3极值对应的角度值θ3为：336.80/516.80°";
#endif

class ReportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_oldTmp = portable::GetEnvironment(portable::TemporaryFolderVariable());
    std::filesystem::create_directories(PathFromUtf8(m_tmp.Path("tmp")));
    std::filesystem::create_directories(PathFromUtf8(m_tmp.Path("out")));
    SetTemporaryFolder(m_tmp.Path("tmp"));
  }
  void TearDown() override { portable::SetEnvironment(portable::TemporaryFolderVariable(), m_oldTmp); }

  // The temporary folder of this test's reports (UTF-8).
  static void SetTemporaryFolder(const std::string& path) {
    portable::SetEnvironment(portable::TemporaryFolderVariable(), path);
  }

  // A path for a report in the output folder.
  std::string Out(const std::string& name) const { return m_tmp.Path("out/" + name); }
  std::vector<std::string> OutNames() const { return Names("out"); }
  // What is left in the temporary folder of this test's reports.
  std::vector<std::string> TmpNames() const { return Names("tmp"); }

  // The document's paragraphs as read_report.py prints them; skips the test
  // when python-docx is missing.
  std::vector<std::string> ReadBack(const std::string& path) { return RunReader("report/composers/read_report.py", path); }
  bool ReaderMissing() const { return m_skipped; }

  // The pictures of the document as read_figures.py prints them.
  std::vector<std::string> Figures(const std::string& path) { return RunReader("report/composers/read_figures.py", path); }

 public:
  // The lines a python reader of tests/ prints about the file at path; none,
  // and ReaderMissing(), where the reader cannot run (its module missing:
  // exit status 3, or a Windows build, whose files are read on the Linux side).
  std::vector<std::string> RunReader(const std::string& script, const std::string& path) {
    if (!portable::IndependentReaderHere()) {
      m_skipped = true;
      return {};
    }
    const portable::ProcessResult run =
        portable::RunProcess({"/usr/bin/python3", std::string(TIECALC_SOURCE_DIR) + "/tests/" + script, path},
                             m_tmp.Path("reader.out"), m_tmp.Path("reader.err"));
    const std::string& text = run.out;
    if (run.status == 3) {
      m_skipped = true;
      return {};
    }
    EXPECT_EQ(run.status, 0) << text << run.err;
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

 private:
  std::vector<std::string> Names(const std::string& sub) const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathFromUtf8(m_tmp.Path(sub))))
      names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder m_tmp;
  std::optional<std::string> m_oldTmp;
  bool m_skipped = false;
};

// The paragraphs a report is expected to write, as read_report.py prints
// them, built call by call as the report body writes them: typed lines in
// the format of the moment, the stored fragments as they read alone, the
// chart's picture, and the footer as the first fragment reads it.
class ExpectedDocument {
 public:
  // The title, then the body style.
  ExpectedDocument(ReportTest& reader, const std::string& title) : m_reader(reader) {
    m_lines.push_back("center|1|25|" + title);
  }

  ExpectedDocument& Font(int size, const std::string& colour) {
    m_size = size;
    m_colour = colour;
    return *this;
  }
  ExpectedDocument& Align(const std::string& alignment) {
    m_alignment = alignment;
    return *this;
  }
  // Text in the current format; "\r\n" ends the paragraph.
  ExpectedDocument& Text(const std::string& text) {
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      Run(text.substr(start, end - start));
      Paragraphs(1);
    }
    return Run(text.substr(start));
  }
  ExpectedDocument& Paragraphs(int count) {
    for (int i = 0; i < count; ++i) {
      m_lines.push_back(m_alignment + "|0|" + (m_text.empty() ? "" : std::to_string(m_size)) + "|" + m_text);
      m_text.clear();
    }
    return *this;
  }
  // Pieces, then one paragraph.
  ExpectedDocument& Line(const std::vector<std::string>& pieces) {
    for (const std::string& piece : pieces) Text(piece);
    return Paragraphs(1);
  }
  ExpectedDocument& Lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Line({line});
    return *this;
  }
  // The stored fragment's paragraphs as the compiled document reads alone.
  ExpectedDocument& Insert(const std::string& fileName) {
    static std::map<std::string, std::vector<std::string>> read;
    if (!read.count(fileName))
      read[fileName] = m_reader.RunReader("report/composers/read_report.py",
                                          std::string(TIECALC_FRAGMENT_DOCUMENTS) + "/" + fileName);
    for (const std::string& line : read[fileName]) {
      if (line.rfind("footer|", 0) != 0) {
        m_lines.push_back(line);
      } else if (!m_footerFrom || *m_footerFrom == fileName) {
        m_footerFrom = fileName;
        m_footer.push_back(line);
      }
    }
    return *this;
  }
  // The force chart after the extreme lines: its picture and the centred
  // caption (nothing in a build without the chart).
  ExpectedDocument& Chart([[maybe_unused]] const std::string& figure, [[maybe_unused]] const std::string& caption) {
#if TIECALC_HAVE_CHART
    m_lines.push_back("center|0||");
    Align("center").Line({figure + " 各附着杆轴力随θ变化曲线"}).Line({caption}).Align("left");
#endif
    return *this;
  }
  // A verdict line in its colour with the empty paragraphs around it.
  ExpectedDocument& Verdict(const std::string& colour, int before, const std::string& text, int after) {
    Font(14, colour).Paragraphs(before);
    return Line({text}).Paragraphs(after);
  }
  // The last, empty paragraph and the footer.
  std::vector<std::string> End() {
    Paragraphs(1);
    std::vector<std::string> lines = m_lines;
    lines.insert(lines.end(), m_footer.begin(), m_footer.end());
    return lines;
  }

 private:
  ExpectedDocument& Run(const std::string& text) {
    if (!text.empty()) m_text += m_colour.empty() ? text : "{" + m_colour + ":" + text + "}";
    return *this;
  }

  ReportTest& m_reader;
  std::vector<std::string> m_lines, m_footer;
  std::optional<std::string> m_footerFrom;
  std::string m_alignment = "left", m_colour, m_text;
  int m_size = 14;
};

inline constexpr const char* kGreen = "00FF00";
inline constexpr const char* kBlack = "";

// A read-back document for a failure message.
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

// The last body paragraph with text.
inline std::string LastText(const std::vector<std::string>& lines) {
  for (auto it = lines.rbegin(); it != lines.rend(); ++it)
    if (it->rfind("footer|", 0) != 0 && !it->ends_with("|")) return *it;
  return {};
}

// Compares documents line by line, so that a failure names the first
// difference.
inline void ExpectSameLines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  const size_t n = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < n; ++i) {
    if (actual[i] != expected[i]) {
      ADD_FAILURE() << "paragraph " << i << " differs:\n  actual:   " << actual[i] << "\n  expected: " << expected[i];
      return;
    }
  }
  EXPECT_EQ(actual.size(), expected.size()) << "first extra paragraph: "
                                            << (actual.size() > n ? actual[n] : expected[n]);
}

}  // namespace tiecalc
