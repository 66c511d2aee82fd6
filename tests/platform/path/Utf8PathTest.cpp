// UTF-8 text to paths and back, with the Chinese folder names a user's
// profile or a project folder has.

#include "platform/path/Utf8Path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/word/TempFolder.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;

TEST(Utf8Path, TextSurvivesTheWayThereAndBack) {
  for (const char* text : {"plain.xls", "张三/报告.doc", "附着 计算/三杆（一）.xlsx", "C:/Users/张三/AppData/Local/Temp/", ""})
    EXPECT_EQ(Utf8FromPath(PathFromUtf8(text)), text);
  EXPECT_EQ(PathFromUtf8("张三/报告.doc").filename(), fs::path(u8"报告.doc"));
  EXPECT_EQ(PathFromUtf8("张三/报告.doc").parent_path(), fs::path(u8"张三"));
}

TEST(Utf8Path, AFileInAChineseFolderIsMadeFoundAndNamedInUtf8) {
  TempFolder root;
  const std::string folder = root.Path("张三");
  ASSERT_TRUE(fs::create_directory(PathFromUtf8(folder)));
  const std::string file = folder + "/计算书.doc";
  std::ofstream(PathFromUtf8(file), std::ios::binary) << "x";
  EXPECT_TRUE(fs::is_regular_file(PathFromUtf8(file)));
  EXPECT_EQ(root.Names(), std::vector<std::string>{"张三"});
  std::vector<std::string> inside;
  for (const auto& entry : fs::directory_iterator(PathFromUtf8(folder))) inside.push_back(Utf8FromPath(entry.path()));
  ASSERT_EQ(inside.size(), 1u);
  EXPECT_EQ(fs::equivalent(PathFromUtf8(inside[0]), PathFromUtf8(file)), true);
  EXPECT_EQ(Utf8FromPath(PathFromUtf8(inside[0]).filename()), "计算书.doc");
}

}  // namespace
}  // namespace tiecalc
