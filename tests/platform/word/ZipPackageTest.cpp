#include "platform/word/ZipPackage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/word/WordError.h"
#include "TempFolder.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

TEST(ZipPackage, PartsSurviveAWriteAndReadBackByteForByte) {
  TempFolder folder;
  PackageParts parts{{"[Content_Types].xml", "<Types/>"},
                     {"word/document.xml", "<w:document>宋体</w:document>"},
                     {"word/media/image1.png", std::string("\x89PNG\0\x01\x02", 7)}};
  const std::string path = folder.Path("a.docx");
  WritePackage(path, parts);
  EXPECT_EQ(ReadPackage(folder.Read("a.docx"), "a.docx"), parts);
  // Fixed time stamps: the same parts give the same bytes.
  const std::string again = folder.Path("b.docx");
  WritePackage(again, parts);
  EXPECT_EQ(folder.Read("a.docx"), folder.Read("b.docx"));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.docx", "b.docx"}));
}

TEST(ZipPackage, FailuresLeaveNoPartialFileAndKeepTheOldOne) {
  TempFolder folder;
  // Every failure in Chinese, the archive library's and the system's words
  // included; a folder at the target stays, and no temporary file is left.
  fs::create_directory(folder.Path("taken.docx"));
  fs::create_directory(folder.Path("taken.docx/inner"));
  const struct {
    std::function<void()> call;
    std::string says;
  } cases[] = {
      {[&] { WritePackage(folder.Path("missing/x.docx"), {{"a", "b"}}); },
       "无法写入文件 " + folder.Path("missing/x.docx") + "：文件夹不存在。请换一个文件夹或文件名再试。"},
      {[&] { WritePackage(folder.Path("taken.docx"), {{"a", "b"}}); },
       "无法写入文件 " + folder.Path("taken.docx") + "：不是普通文件（是文件夹），文件保持原样。请换一个文件夹或文件名再试。"},
      {[&] { ReadPackage("not a zip", "plain.docx"); }, "无法打开文档 plain.docx：不是 Word 文档（不是压缩包）"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.says;
    } catch (const WordError& error) {
      EXPECT_EQ(error.what(), c.says);
    }
  }
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"taken.docx"});
}

}  // namespace
}  // namespace tiecalc
