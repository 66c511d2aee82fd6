// The file replacement: short temporary names, links, stale temporary
// files, the advisory lock and the words of its errors.

#include "platform/file/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetTestSupport.h"

namespace tiecalc::file {
namespace {

namespace fs = std::filesystem;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

void MakeOld(const std::string& path) {
  WriteBytes(path, "old");
  fs::last_write_time(path, fs::file_time_type::clock::now() - kStaleAge - std::chrono::minutes(1));
}

TEST(AtomicFile, ANameNearTheLimitIsWrittenAndNothingElseIsLeft) {
  ScratchFolder dir;
  const std::string path = dir.Path(std::string(250, 'b') + ".xls");
  WriteFileAtomically(path, "new");
  EXPECT_EQ(ReadBytes(path), "new");
  EXPECT_EQ(dir.Names().size(), 1u);
  const std::string temp = fs::path(TemporaryPathBeside(path)).filename().string();
  EXPECT_EQ(temp.size(), 28u) << temp;
  EXPECT_EQ(temp.rfind(".tiecalc-", 0), 0u) << temp;
}

TEST(AtomicFile, ALinkIsFollowedOrReplacedButNeverWrittenThroughUnasked) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  ScratchFolder dir;
  const std::string victim = dir.Path("victim.txt"), link = dir.Path("book.xls.bak");
  WriteBytes(victim, "victim");
  fs::create_symlink(victim, link);
  WriteFileAtomically(link, "copy", false);
  EXPECT_EQ(ReadBytes(victim), "victim");
  EXPECT_FALSE(fs::is_symlink(link));
  EXPECT_EQ(ReadBytes(link), "copy");

  const std::string report = dir.Path("r.doc");
  fs::create_symlink(victim, report);
  const std::string temp = TemporaryPathBeside(report);
  WriteBytes(temp, "report");
  ReplaceWithFile(temp, report);
  EXPECT_TRUE(fs::is_symlink(report));
  EXPECT_EQ(ReadBytes(victim), "report");
}

TEST(AtomicFile, OnlyOurOwnStaleTemporariesOfTheSameTargetAreRemoved) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  ScratchFolder dir;
  const std::string path = dir.Path("t.xls");
  const std::string stale = TemporaryPathBeside(path);
  MakeOld(stale);
  const std::string fresh = TemporaryPathBeside(path);
  WriteBytes(fresh, "busy");
  const std::string other = TemporaryPathBeside(dir.Path("other.xls"));
  MakeOld(other);
  const std::string foreign = dir.Path(".tiecalc-notes.tmp");
  MakeOld(foreign);
  const std::string linked = TemporaryPathBeside(path);
  fs::create_symlink(foreign, linked);
  RemoveStaleTemporaries(path);
  EXPECT_FALSE(fs::exists(stale));
  for (const std::string& kept : {fresh, other, foreign, linked}) EXPECT_TRUE(fs::exists(fs::symlink_status(kept))) << kept;
}

TEST(FileLock, ASecondWriterWaitsThenFailsAndTheLockLeavesNoFile) {
  ScratchFolder dir;
  const std::string path = dir.Path("c.xls");
  {
    CFileLock first(path);
    try {
      CFileLock second(path, std::chrono::milliseconds(100));
      ADD_FAILURE() << "two writers held the lock";
    } catch (const CFileError& e) {
      EXPECT_EQ(e.GetKind(), CFileError::Kind::Locked);
      EXPECT_EQ(FileMessage("表格无法导出到", e).rfind("表格无法导出到 " + path + "：另一个导出正在写这个文件。请稍后再试。", 0), 0u);
    }
  }
  { CFileLock again(path, std::chrono::milliseconds(100)); }
  EXPECT_TRUE(dir.Names().empty());
  try {
    CFileLock none(dir.Path("no/such/c.xls"));
    ADD_FAILURE() << "locked in a missing folder";
  } catch (const CFileError& e) {
    EXPECT_EQ(WhyInWords(e), "文件夹不存在");
  }
}

TEST(AtomicFile, FailuresNameTheFileInChineseWithTheSystemTextBelow) {
  ScratchFolder dir;
  WriteBytes(dir.Path("plain"), "x");
  const struct {
    std::string path;
    const char* why;
  } cases[] = {
#ifdef _WIN32
      // Windows says "path not found" for a file in the way, and its C
      // runtime gives no code of its own for a name over the limit.
      {dir.Path("plain/t.csv"), "文件夹不存在"},
      {dir.Path("none/t.csv"), "文件夹不存在"},
#else
      {dir.Path("plain/t.csv"), "路径中有一级不是文件夹"},
      {dir.Path("none/t.csv"), "文件夹不存在"},
      {dir.Path(std::string(300, 'n')), "文件名太长"},
#endif
  };
  for (const auto& c : cases) {
    try {
      WriteFileAtomically(c.path, "x");
      ADD_FAILURE() << c.path;
    } catch (const CFileError& e) {
      const std::string text = FileMessage("无法写入", e);
      EXPECT_EQ(text.rfind("无法写入 " + c.path + "：" + c.why + "。", 0), 0u) << text;
      EXPECT_NE(text.find('\n'), std::string::npos) << text;
    }
  }
}

}  // namespace
}  // namespace tiecalc::file
