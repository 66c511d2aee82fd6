#pragma once
// What the report tests share: a private temporary folder per test (the
// reports put their fragment files under it), the engine behind a recorder,
// the recorded calls that carry the report's content, the calls expected of
// a report, and the document as python-docx reads it.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "Portable.h"
#include "pages/PageTestSupport.h"
#include "platform/word/RecordingWord.h"
#include "platform/word/TempFolder.h"
#include "platform/word/WordEngine.h"

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
    m_recorder = std::make_shared<CRecordingWordRegistry>(std::make_shared<CEmbeddedWordRegistry>());
  }
  void TearDown() override { portable::SetEnvironment(portable::TemporaryFolderVariable(), m_oldTmp); }

  // Where the reports of this test put their fragment folders (UTF-8).
  static void SetTemporaryFolder(const std::string& path) {
    portable::SetEnvironment(portable::TemporaryFolderVariable(), path);
  }

  // A path for a report in the output folder.
  std::string Out(const std::string& name) const { return m_tmp.Path("out/" + name); }
  std::vector<std::string> OutNames() const { return Names("out"); }
  // What is left in the temporary folder the reports used.
  std::vector<std::string> TmpNames() const { return Names("tmp"); }

  std::shared_ptr<CRecordingWordRegistry> Recorder() const { return m_recorder; }

  // The calls that put content into the document or store it, in order,
  // with the report's fragment folder written as "{fragments}/".
  std::vector<std::string> ContentCalls() const {
    static const char* kKept[] = {"Documents.Add(", "Document.SaveAs(", "Documents.Open(", "Document.Save",
                                  "Font.", "Range.HighlightColorIndex", "ParagraphFormat.Alignment",
                                  "Selection.TypeText(", "Selection.TypeParagraph", "Selection.InsertFile(",
                                  "Application.Quit("};
    // The calls quote a backslash (Windows' separator) as two.
    const std::string quoted = std::regex_replace(m_tmp.Path("tmp"), std::regex(R"(\\)"), R"(\\)");
    const std::regex folder(std::regex_replace(quoted, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                            R"([\\/]+tiecalc-report-[0-9a-z]{12}[\\/]+)");
    const std::regex temporary(R"((\\\\|[\\/])\.tiecalc-[0-9a-f]{8}-[0-9a-z]{6}\.tmp)");
    std::vector<std::string> out;
    for (const std::string& call : m_recorder->Calls()) {
      for (const char* kept : kKept) {
        if (call.rfind(kept, 0) == 0) {
          // The document is built in a temporary file beside the report.
          out.push_back(std::regex_replace(std::regex_replace(call, folder, "{fragments}/"), temporary, "/{temporary}"));
          break;
        }
      }
    }
    return out;
  }

  // The document's paragraphs as read_report.py prints them; skips the test
  // when python-docx is missing.
  std::vector<std::string> ReadBack(const std::string& path) { return RunReader("report/composers/read_report.py", path); }
  bool ReaderMissing() const { return m_skipped; }

  // The pictures of the document as read_figures.py prints them.
  std::vector<std::string> Figures(const std::string& path) { return RunReader("report/composers/read_figures.py", path); }

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
  std::shared_ptr<CRecordingWordRegistry> m_recorder;
  bool m_skipped = false;
};

// The content calls a report is expected to make, built writer call by
// writer call.
class ExpectedCalls {
 public:
  // Start, save as, open, the title and the body style.
  // The document is saved and opened as a temporary file beside path, which
  // takes path's place once complete.
  ExpectedCalls(const std::string& path, const std::string& title) {
    const std::string document = path.substr(0, path.rfind('/')) + "/{temporary}";
    Add("Documents.Add(\"\", BOOL false, I4 0, BOOL true)");
    Add("Document.SaveAs(" + RecordedString(document) + ", -, -, -, -, -, -, -, -, -, -, -, -, -, -, -)");
    Add("Documents.Open(" + RecordedString(document) + ", I2 1, I2 0, I2 0, -, -, -, -, -, -, -, -, -, I2 0, -, -)");
    Font(25, 0);
    Style(1);
    Align(1);
    Text(title);
    Paragraphs(1);
    Font(14, 0);
    Style(0);
    Align(0);
  }

  ExpectedCalls& Font(int size, int colour) {
    Add("Font.Size = R4 " + std::to_string(size));
    Add("Font.Name = \"宋体\"");
    Add("Font.Color = I4 " + std::to_string(colour));
    return Add("Range.HighlightColorIndex = I4 0");
  }
  ExpectedCalls& Style(int bold) {
    Add("Font.Bold = I4 " + std::to_string(bold));
    Add("Font.Italic = I4 0");
    return Add("Font.Underline = I4 0");
  }
  ExpectedCalls& Align(int alignment) { return Add("ParagraphFormat.Alignment = I4 " + std::to_string(alignment)); }
  ExpectedCalls& Text(const std::string& text) { return Add("Selection.TypeText(" + RecordedString(text) + ")"); }
  ExpectedCalls& Paragraphs(int count) {
    for (int i = 0; i < count; ++i) Add("Selection.TypeParagraph");
    return *this;
  }
  // Pieces, then one paragraph.
  ExpectedCalls& Line(const std::vector<std::string>& pieces) {
    for (const std::string& piece : pieces) Text(piece);
    return Paragraphs(1);
  }
  ExpectedCalls& Lines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) Line({line});
    return *this;
  }
  // The force chart after the extreme lines: its picture and the centred
  // caption (nothing in a build without the chart).
  ExpectedCalls& Chart([[maybe_unused]] const std::string& figure, [[maybe_unused]] const std::string& caption) {
#if TIECALC_HAVE_CHART
    Insert("force_chart.doc").Align(1).Line({figure + " 各附着杆轴力随θ变化曲线"}).Line({caption});
    Align(0);
#endif
    return *this;
  }
  ExpectedCalls& Insert(const std::string& fileName) {
    return Add("Selection.InsertFile(" + RecordedString("{fragments}/" + fileName) + ", \"\", I2 0, I2 0, I2 0)");
  }
  // A verdict line in its colour with the empty paragraphs around it.
  ExpectedCalls& Verdict(int colour, int before, const std::string& text, int after) {
    Font(14, colour);
    Paragraphs(before);
    Line({text});
    return Paragraphs(after);
  }
  // Save, and the engine this report started quits.
  ExpectedCalls& End() {
    Add("Document.Save");
    return Add("Application.Quit(I2 0, I2 1, I2 0)");
  }

  const std::vector<std::string>& Calls() const { return m_calls; }

 private:
  ExpectedCalls& Add(std::string call) {
    m_calls.push_back(std::move(call));
    return *this;
  }
  std::vector<std::string> m_calls;
};

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

// Compares call lists line by line, so that a failure names the first
// difference.
inline void ExpectSameCalls(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
  const size_t n = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < n; ++i) {
    if (actual[i] != expected[i]) {
      ADD_FAILURE() << "call " << i << " differs:\n  actual:   " << actual[i] << "\n  expected: " << expected[i];
      return;
    }
  }
  EXPECT_EQ(actual.size(), expected.size()) << "first extra call: "
                                            << (actual.size() > n ? actual[n] : expected[n]);
}

}  // namespace tiecalc
