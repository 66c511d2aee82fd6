// Exports that cannot be written: they say why, never "文件输出成功!", and
// leave the file byte for byte as it was; awkward cell texts survive the
// rewrite of a sheet whole.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>

#include "export/SweepExport.h"
#include "pages/ThreeRod.h"
#include "platform/sheetdb/SheetTestSupport.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc {
namespace {

using testing::ReadBack;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;
using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kSheet = "塔机三杆附着";
constexpr const char* kWritten = "文件输出成功!";

struct Export {
  CScriptedDesktop desktop;
  CThreeRod page;
  // The worked example, exported to path; the messages shown.
  std::vector<CScriptedDesktop::Message> To(const std::string& path) {
    page.SetDesktop(&desktop);
    InstallSweepExport(page);
    page.Create();
    using I = CThreeRod;
    for (const auto& [id, text] : std::vector<std::pair<int, const char*>>{
             {I::kA, "900"}, {I::kB, "900"}, {I::kC, "900"}, {I::kD, "900"}, {I::kX1, "3000"}, {I::kX2, "3000"},
             {I::kX3, "1500"}, {I::kH, "5000"}, {I::kR, "100"}, {I::kM, "200"}, {I::kTheta, "30"}})
      page.UserType(id, text);
    desktop.QueueSavePath(path);
    page.UserClick(I::kExportButton);
    return desktop.Messages();
  }
};

// A workbook of the engine holding the export's sheet with these rows.
void MakeSheet(const std::string& path, const Rows& rows) {
  sheetdb::Sheet sheet(kSheet);
  for (const auto& row : rows) sheet.rows.emplace_back(row.begin(), row.end());
  sheetdb::SaveWorkbookFile(path, {{sheet}, true}, false);
}

Rows Header(std::vector<std::string> names, size_t dataRows = 1) {
  Rows rows{std::move(names)};
  for (size_t i = 0; i < dataRows; ++i) rows.push_back({"1"});
  return rows;
}

TEST(ExportFailure, ATableThatIsNotWrittenSaysWhyAndLeavesTheFileAsItWas) {
  ScratchFolder dir;
  WriteBytes(dir.Path("plain"), "x");
  std::filesystem::create_directory(dir.Path("folder.csv"));
  std::vector<std::string> wide;
  for (int c = 0; c < 256; ++c) wide.push_back("c" + std::to_string(c));
  const std::vector<std::string> real = {"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F1x(KN)",
                                        "F1y(KN)", "F2x(KN)", "F2y(KN)", "F3x(KN)", "F3y(KN)"};
  auto with = [&](std::vector<std::string> more) {
    more.insert(more.begin(), real.begin(), real.end());
    return Header(more);
  };
  Rows full = Header(real, 65400);
#ifdef _WIN32
  const char* fileInTheWay = "文件夹不存在";  // Windows: "path not found"
#else
  const char* fileInTheWay = "路径中有一级不是文件夹";
#endif
  const struct {
    std::string name;
    Rows sheet;  // made first when not empty
    const char* says;
  } cases[] = {
      {"plain/t.csv", {}, fileInTheWay},
      {"plain/t.xls", {}, fileInTheWay},
      {"missing/t.csv", {}, "文件夹不存在"},
      {"folder.csv", {}, "不是普通文件（是文件夹），文件保持原样"},
      {"full.xls", full, "已满"},
      {"bracket.xls", with({"a]b"}), "表头无法写回"},
      {"case.xls", with({"A", "a"}), "表头无法写回"},
      {"blank.xls", with({"", "F11"}), "表头无法写回"},
      {"wide.xls", Header(wide), "表头无法写回"},
  };
  for (const auto& c : cases) {
    const std::string path = dir.Path(c.name);
    if (!c.sheet.empty()) MakeSheet(path, c.sheet);
    const std::string before = ReadBytes(path);
    Export e;
    const auto messages = e.To(path);
    ASSERT_EQ(messages.size(), 1u) << c.name;
    EXPECT_NE(messages[0].text.find(c.says), std::string::npos) << c.name << ": " << messages[0].text;
    EXPECT_EQ(messages[0].icon, MessageIcon::Error) << c.name;
    EXPECT_TRUE(ReadBytes(path) == before) << c.name << " changed";
  }
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"blank.xls", "bracket.xls", "case.xls", "folder.csv", "full.xls",
                                                   "plain", "wide.xls"}));
}

TEST(ExportFailure, AFullDiskLeavesTheWorkbookAndItsBackupSheetUnwritten) {
#ifdef _WIN32
  TIECALC_SKIP_ON_WINDOWS("a file size limit (setrlimit)");
#else
  ScratchFolder dir;
  const std::string path = dir.Path("t.xls");
  Export().To(path);
  const std::string before = ReadBytes(path);
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = before.size() + 4096;  // room for the backup sheet alone, not for the new rows too
  setrlimit(RLIMIT_FSIZE, &small);
  Export e;
  const auto messages = e.To(path);
  setrlimit(RLIMIT_FSIZE, &old);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text.rfind("无法写入工作簿 " + path + "：", 0), 0u) << messages[0].text;
  EXPECT_TRUE(ReadBytes(path) == before);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"t.xls"});
#endif
}

TEST(ExportFailure, AwkwardCellTextsStayWholeInTheSheetAndItsBackup) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  const std::vector<std::string> texts = {"\",;.?\"", "a\",;.?\"b", "\"", "''", "[x]", "a,b;c", "?", "x\r\ny",
                                          "（全角，文字；？）", "末"};
  ScratchFolder dir;
  const std::string path = dir.Path("t.xls");
  std::vector<std::string> header = {"θ角度(°)"};
  for (size_t i = 1; i < texts.size(); ++i) header.push_back("h" + std::to_string(i));
  MakeSheet(path, {header, texts});
  Export e;
  ASSERT_EQ(e.To(path).back().text, kWritten);
  for (const auto& sheet : ReadBack(path)) {
    ASSERT_GE(sheet.rows.size(), 2u) << sheet.name;
    EXPECT_EQ(sheet.rows[1], texts) << sheet.name;
  }
}

}  // namespace
}  // namespace tiecalc
