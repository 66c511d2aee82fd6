// Reports that cannot be finished: the chosen path is left as it was, nothing
// stays beside it, and the error ends the command with "报告文件输出失败!"
// and its reason; a report finished takes the path's place at once.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>

#include "pages/ThreeRod.h"
#include "platform/file/AtomicFile.h"
#include "platform/word/WordError.h"
#include "report/composers/ReportComposer.h"
#include "report/composers/ReportTestSupport.h"
#include "report/composers/Reports.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream(PathFromUtf8(path), std::ios::binary) << text;
}
std::string ReadFile(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The start of a PNG of that size (and stated resolution), all the
// document reads of one.
std::string PngHeader(uint32_t width, uint32_t height, uint32_t dotsPerMetre = 0) {
  std::string png("\x89PNG\r\n\x1a\n", 8);
  const auto u32 = [&](uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) png += static_cast<char>((v >> shift) & 0xFF);
  };
  u32(13), png += "IHDR", u32(width), u32(height), png += std::string("\x08\x02\0\0\0", 5), u32(0);
  if (dotsPerMetre) u32(9), png += "pHYs", u32(dotsPerMetre), u32(dotsPerMetre), png += '\x01', u32(0);
  u32(0), png += "IEND", u32(0);
  return png;
}

class ReportFailure : public ReportTest {
 protected:
  void SetUp() override {
    ReportTest::SetUp();
    InstallReport(m_s.page);
    TypeAll(m_s.page, kThreeRodExample);
  }
  void TearDown() override {
    file::SetReplaceStepHook(nullptr);
    ReportTest::TearDown();
  }
  // Presses the report button with the save dialog answered by path; returns
  // the messages shown.
  std::vector<CScriptedDesktop::Message> Press(const std::string& path) {
    m_s.desktop.QueueSavePath(path);
    EXPECT_TRUE(m_s.page.UserClick(CThreeRod::kReportButton));
    return m_s.desktop.Messages();
  }
  // Runs a report of the given body to path; the error it ends with, or "".
  std::string Run(const std::string& path, const std::function<void(CReportComposer&)>& body) {
    CScriptedDesktop desktop;
    desktop.QueueSavePath(path);
    try {
      RunReport(desktop, {"r", "标题"}, body);
    } catch (const std::runtime_error& e) {
      EXPECT_TRUE(desktop.Messages().empty());
      return e.what();
    }
    return "";
  }
  Started<CThreeRod> m_s;
};

TEST_F(ReportFailure, UnwritablePathEndsWithTheErrorAndLeavesNothing) {
  const std::string path = Out("no such folder/r.doc");
  const auto messages = Press(path);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::Error);
  EXPECT_EQ(messages[0].text, "报告文件输出失败!\n无法写入报告文件 " + path + "：文件夹不存在。请换一个文件夹或文件名再试。");
  EXPECT_EQ(m_s.desktop.Outcomes(), std::vector<OutputOutcome>{OutputOutcome::Failed});
  EXPECT_TRUE(OutNames().empty());
  EXPECT_TRUE(TmpNames().empty());
}

TEST_F(ReportFailure, FolderChosenAsTheFileIsLeftAsItWas) {
  const std::string path = Out("a folder");
  fs::create_directory(PathFromUtf8(path));
  const auto messages = Press(path);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("报告文件输出失败!\n无法写入报告文件 " + path + "：不是普通文件（是文件夹）", 0), 0u)
      << messages[0].text;
  EXPECT_TRUE(fs::is_directory(PathFromUtf8(path))) << "an empty folder at the chosen path survives the failed report";
  EXPECT_EQ(OutNames(), std::vector<std::string>{"a folder"});
}

// Each step of the replacement failing in turn: the older report stays,
// nothing is left beside it, and the reason is said once.
TEST_F(ReportFailure, AFailedReplacementKeepsTheOlderReport) {
  const std::string path = Out("kept.doc");
  WriteFile(path, "an older report");
  for (const file::ReplaceStep failing : {file::ReplaceStep::Write, file::ReplaceStep::SyncFile, file::ReplaceStep::Rename}) {
    file::SetReplaceStepHook([&](file::ReplaceStep step, const std::string&) {
      return step == failing ? std::make_error_code(std::errc::no_space_on_device) : std::error_code();
    });
    EXPECT_EQ(Run(path, [](CReportComposer& r) { r.TextLine("正文"); }),
              "报告文件输出失败!\n无法写入报告文件 " + path + "：磁盘已满。请换一个文件夹或文件名再试。");
    EXPECT_EQ(ReadFile(path), "an older report");
    EXPECT_EQ(OutNames(), std::vector<std::string>{"kept.doc"});
  }
}

// What the document layer or the report refuses while the document is
// built ends the report the same way, before anything is written.
TEST_F(ReportFailure, ErrorsWhileComposingKeepTheOlderReport) {
  const std::string path = Out("kept.doc");
  WriteFile(path, "an older report");
  const struct {
    std::function<void(CReportComposer&)> body;
    std::string says;
  } cases[] = {
      {[](CReportComposer& r) { r.Table({}, 9); }, "表格的行数或列数无效: 0 x 0"},
      {[](CReportComposer& r) { r.Line({{"σ=%.2f（MPa）", std::nan("")}}); }, "报告中有无穷大或无定义的数值：σ=nan（MPa）"},
      {[](CReportComposer& r) { r.Picture("chart", "GIF89a", 200, "不是 PNG"); }, "图片不是 PNG 格式"},
      // A late picture drawn another size than was reserved, or not drawn.
      {[](CReportComposer& r) { r.LatePicture("chart", 40, 30, 0, 200, "图", [] { return PngHeader(41, 30); }); },
       "图片的大小与预留的不符"},
      {[](CReportComposer& r) {
         r.LatePicture("chart", 40, 30, 0, 200, "图", []() -> std::string { throw std::runtime_error("无法绘制受力曲线"); });
       },
       "无法绘制受力曲线"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Run(path, c.body), "报告文件输出失败!\n" + c.says);
    EXPECT_EQ(ReadFile(path), "an older report");
  }
  EXPECT_EQ(OutNames(), std::vector<std::string>{"kept.doc"});
}

// A picture filled in late makes the very document a picture given at once
// makes, whatever comes after it.
TEST_F(ReportFailure, ALatePictureMakesTheSameDocument) {
  const auto body = [](bool late) {
    return [late](CReportComposer& r) {
      r.TextLine("前");
      if (late)
        r.LatePicture("chart", 40, 30, 3780, 200, "图", [] { return PngHeader(40, 30, 3780); });
      else
        r.Picture("chart", PngHeader(40, 30, 3780), 200, "图");
      r.TextLine("后");
    };
  };
  const std::string now = Out("now.doc"), late = Out("late.doc");
  EXPECT_EQ(Run(now, body(false)), "");
  EXPECT_EQ(Run(late, body(true)), "");
  EXPECT_EQ(ReadFile(now), ReadFile(late));
}

TEST_F(ReportFailure, SuccessfulReportReplacesTheFileThatWasThere) {
  const std::string path = Out("replaced.doc");
  WriteFile(path, "an older report");
  const auto messages = Press(path);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  EXPECT_EQ(m_s.desktop.Outcomes(), std::vector<OutputOutcome>{OutputOutcome::Written});
  EXPECT_EQ(ReadFile(path).substr(0, 2), "PK");
  EXPECT_EQ(OutNames(), std::vector<std::string>{"replaced.doc"}) << "no copy of the old file is left";
}

// The report is built in memory: a Chinese file name is kept, and a
// temporary folder that cannot be used does not matter.
TEST_F(ReportFailure, ChineseFileNameAndAnUnusableTemporaryFolder) {
  const std::string notAFolder = Out("张三 的文件");
  WriteFile(notAFolder, "");
  SetTemporaryFolder(notAFolder);
  const std::string path = Out("三杆附着 计算书.doc");
  const auto messages = Press(path);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  EXPECT_EQ(ReadFile(path).substr(0, 2), "PK");
  const std::vector<std::string> p = ReadBack(path);
  if (ReaderMissing()) GTEST_SKIP() << "the independent reader (python-docx) is not available here";
  EXPECT_TRUE(LastText(p).ends_with(kThreeRodExampleLastLine)) << Joined(p);
}

TEST_F(ReportFailure, ThePathHoldsTheOldReportUntilTheNewOneTakesItsPlaceThroughALink) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  const std::string real = Out("real.doc"), link = Out("link.doc");
  WriteFile(real, "an older report");
  fs::create_symlink(real, link);
  // What a reader of the path finds at each step of the replacement but the
  // last.
  std::vector<std::string> seen;
  file::SetReplaceStepHook([&](file::ReplaceStep step, const std::string&) {
    if (step != file::ReplaceStep::SyncFolder) seen.push_back(ReadFile(link));
    return std::error_code();
  });
  const auto messages = Press(link);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "报告文件输出成功!");
  EXPECT_EQ(seen, std::vector<std::string>(3, "an older report"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(real).substr(0, 2), "PK");
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"link.doc", "real.doc"}));
}

TEST_F(ReportFailure, StaleFilesOfAKilledReportAreRemovedAndOnlyThey) {
  TIECALC_SKIP_ON_WINDOWS("ageing a file: its C runtime sets no file's time (last_write_time)");
  const std::string path = Out("r.doc");
  const auto old = fs::file_time_type::clock::now() - std::chrono::minutes(20);
  const std::string temporary = file::TemporaryPathBeside(path), fresh = file::TemporaryPathBeside(path);
  WriteFile(temporary, "PK half");
  fs::last_write_time(temporary, old);
  WriteFile(fresh, "another report at work");
  WriteFile(Out("r.doc.tiecalc-1.bak"), "not ours to judge");
  Press(path);
  EXPECT_FALSE(fs::exists(temporary));
  EXPECT_TRUE(fs::exists(fresh));
  EXPECT_TRUE(fs::exists(Out("r.doc.tiecalc-1.bak")));
}

}  // namespace
}  // namespace tiecalc
