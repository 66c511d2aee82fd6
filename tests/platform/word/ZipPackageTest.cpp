#include "platform/word/ZipPackage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
  EXPECT_EQ(ReadPackage(path), parts);
  // Fixed time stamps: the same parts give the same bytes.
  const std::string again = folder.Path("b.docx");
  WritePackage(again, parts);
  EXPECT_EQ(folder.Read("a.docx"), folder.Read("b.docx"));
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a.docx", "b.docx"}));
}

TEST(ZipPackage, FailuresLeaveNoPartialFileAndKeepTheOldOne) {
  TempFolder folder;
  // A folder that does not exist.
  EXPECT_THROW(WritePackage(folder.Path("missing/x.docx"), {{"a", "b"}}), WordError);
  // A target that is a folder: the rename fails, the temporary file must go.
  fs::create_directory(folder.Path("taken.docx"));
  fs::create_directory(folder.Path("taken.docx/inner"));
  try {
    WritePackage(folder.Path("taken.docx"), {{"a", "b"}});
    FAIL() << "writing over a folder succeeded";
  } catch (const WordError& error) {
    EXPECT_NE(std::string(error.what()).find(folder.Path("taken.docx")), std::string::npos);
  }
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"taken.docx"}));
  // Not a zip.
  std::ofstream(folder.Path("plain.docx")) << "not a zip";
  EXPECT_THROW(ReadPackage(folder.Path("plain.docx")), WordError);
  EXPECT_THROW(ReadPackage(folder.Path("none.docx")), WordError);
}

}  // namespace
}  // namespace tiecalc
