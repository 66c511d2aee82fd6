// The file replacement: short temporary names, links, stale temporary
// files, the advisory lock and the words of its errors.

#include "platform/file/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

TEST(AtomicFile, FailuresNameTheFileInChineseOnly) {
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
      EXPECT_EQ(FileMessage("无法写入", e), "无法写入 " + c.path + "：" + c.why + "。请换一个文件夹或文件名再试。");
      EXPECT_EQ(e.what(), "无法写入文件 " + c.path + "：" + c.why);
    }
  }
}


// Every system code the user can meet reads in Chinese, with no English text
// of the system's; one without words of its own gives its number.
TEST(FileMessages, SystemCodesInChineseWords) {
  const struct {
    int code;
    std::string words;
  } cases[] = {
      {ENOENT, "文件夹不存在"},      {ENOSPC, "磁盘已满"},           {EROFS, "磁盘是只读的"},
      {EACCES, "没有写入权限"},      {ENAMETOOLONG, "文件名太长"},   {ENOTDIR, "路径中有一级不是文件夹"},
      {EISDIR, "这个名字是一个文件夹"}, {EIO, "磁盘读写出错"},      {ELOOP, "链接循环（链接层层指向自己）"},
      {EMLINK, "链接太多"},          {EFBIG, "文件太大"},            {9999, "系统拒绝了这次操作（错误代码 9999）"},
#ifdef EDQUOT
      {EDQUOT, "磁盘配额已用完"},
#endif
  };
  for (const auto& c : cases)
    EXPECT_EQ(SystemErrorInWords(std::error_code(c.code, std::generic_category())), c.words) << c.code;
  const CFileError missing(CFileError::Kind::Read, "a.xls", std::make_error_code(std::errc::no_such_file_or_directory));
  EXPECT_STREQ(missing.what(), "无法读取文件 a.xls：文件不存在");
}

#ifndef _WIN32
std::string LockPathOf(const std::string& path) {
  const fs::path temp = TemporaryPathBeside(path);
  return (temp.parent_path() / (temp.filename().string().substr(0, 17) + ".lock")).string();
}

// Makes a thing of kind at path: "文件夹", "命名管道", "字符设备", "套接字",
// a link to a pipe ("命名管道" too) or a loop of links; false where the
// system does not let this user make it.
bool MakeThing(const std::string& kind, const std::string& path) {
  if (kind == "文件夹") return fs::create_directory(path);
  if (kind == "命名管道") return ::mkfifo(path.c_str(), 0644) == 0;
  if (kind == "字符设备") return ::mknod(path.c_str(), S_IFCHR | 0644, makedev(1, 3)) == 0;
  if (kind == "链接到命名管道") return MakeThing("命名管道", path + ".pipe") && ::symlink((path + ".pipe").c_str(), path.c_str()) == 0;
  if (kind == "链接循环") return ::symlink((path + ".b").c_str(), path.c_str()) == 0 && ::symlink(path.c_str(), (path + ".b").c_str()) == 0;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  path.copy(address.sun_path, path.size());
  const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return bound;
}

// A folder, a pipe, a device, a socket at the target, also behind a link,
// is refused by every way of writing, before anything opens it, and stays.
TEST(AtomicFile, ATargetThatIsNoRegularFileIsRefusedAndLeftAsItIs) {
  const std::string kinds[] = {"文件夹", "命名管道", "字符设备", "套接字", "链接到命名管道", "链接循环"};
  const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> writers = {
      {"write", [](const std::string& p) { WriteFileAtomically(p, "new"); }},
      {"replace",
       [](const std::string& p) {
         const std::string temp = TemporaryPathBeside(p);
         WriteBytes(temp, "new");
         ReplaceWithFile(temp, p);
       }},
      {"lock", [](const std::string& p) { CFileLock lock(p, std::chrono::milliseconds(0)); }},
      {"check", [](const std::string& p) { CheckTarget(p); }},
  };
  for (const std::string& kind : kinds) {
    ScratchFolder dir;
    const std::string path = dir.Path("t.xls");
    if (!MakeThing(kind, path)) continue;  // a device node needs root
    const std::vector<std::string> before = dir.Names();
    const fs::file_type type = fs::symlink_status(path).type();
    const std::string why = kind == "链接循环" ? "链接循环（链接层层指向自己）"
                            : kind == "链接到命名管道" ? "不是普通文件（是命名管道），文件保持原样"
                                                       : "不是普通文件（是" + kind + "），文件保持原样";
    for (const auto& [name, write] : writers) {
      try {
        write(path);
        ADD_FAILURE() << kind << " " << name;
      } catch (const CFileError& e) {
        EXPECT_EQ(FileMessage("表格无法导出到", e), "表格无法导出到 " + path + "：" + why + "。请换一个文件夹或文件名再试。")
            << name;
      }
      EXPECT_EQ(fs::symlink_status(path).type(), type) << kind << " " << name;
      EXPECT_EQ(dir.Names(), before) << kind << " " << name;
    }
  }
}

// Where the tests run as root: the exit status of a child that takes the
// lock of path as another user (0 taken, 1 busy, 2 refused otherwise).
int LockAsAnotherUser(const std::string& path) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    try {
      CFileLock lock(path, std::chrono::milliseconds(0));
      ::_exit(0);
    } catch (const CFileError& e) {
      ::_exit(e.GetKind() == CFileError::Kind::Locked ? 1 : 2);
    }
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A lock file left by one user (readable to others or not) does not stop
// another; a lock held by one user stops another.
TEST(FileLock, LocksWorkAcrossUsers) {
  if (::getuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  ScratchFolder dir;
  fs::permissions(dir.Path(), fs::perms::all);
  const std::string path = dir.Path("c.xls"), lock = LockPathOf(path);
  for (const mode_t mode : {0600, 0644}) {
    WriteBytes(lock, "left by a killed export");
    ::chmod(lock.c_str(), mode);
    EXPECT_EQ(LockAsAnotherUser(path), 0) << std::oct << mode;
  }
  CFileLock held(path);
  EXPECT_EQ(LockAsAnotherUser(path), 1);
}

// The lock is the system's lock on the file: one left behind (by a killed
// program, by another user, unreadable to others) locks nothing, one made
// anew may be locked by any user, and a name holding no regular file is
// told as the lock's fault.
TEST(FileLock, ALeftLockFileNeverBlocksAndABadOneIsToldAsTheLock) {
  ScratchFolder dir;
  const std::string path = dir.Path("c.xls"), lock = LockPathOf(path);
  WriteBytes(lock, "left by a killed export");
  ::chmod(lock.c_str(), 0600);
  [[maybe_unused]] const int another = ::chown(lock.c_str(), 65534, 65534);  // another user's, where allowed
  { CFileLock taken(path, std::chrono::milliseconds(0)); }
  const mode_t mask = ::umask(077);
  {
    CFileLock taken(path, std::chrono::milliseconds(0));
    struct stat made {};
    ASSERT_EQ(::stat(lock.c_str(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0666u);
  }
  ::umask(mask);
  for (const std::string kind : {"文件夹", "命名管道", "符号链接"}) {
    if (kind == "符号链接") ASSERT_EQ(::symlink(path.c_str(), lock.c_str()), 0);
    else ASSERT_TRUE(MakeThing(kind, lock));
    try {
      CFileLock none(path, std::chrono::milliseconds(0));
      ADD_FAILURE() << kind;
    } catch (const CFileError& e) {
      EXPECT_EQ(FileMessage("表格无法导出到", e), "表格无法导出到 " + path + "：锁文件 " + lock + " 不是普通文件（是" + kind +
                                                     "），无法加锁。请换一个文件夹或文件名再试。");
    }
    fs::remove(lock);
  }
}
#endif

// A replacement is write, flush of the file, rename, flush of the folder, in
// this order; a step that fails leaves the old file and no temporary one.
TEST(AtomicFile, TheNewContentReachesTheDiskBeforeItReplacesTheOld) {
  ScratchFolder dir;
  const std::string path = dir.Path("c.tiecalc");
  WriteBytes(path, "old");
  std::vector<ReplaceStep> steps;
  std::optional<ReplaceStep> failing;
  SetReplaceStepHook([&](ReplaceStep step, const std::string&) {
    steps.push_back(step);
    return step == failing ? std::make_error_code(std::errc::io_error) : std::error_code();
  });
  using enum ReplaceStep;
  WriteFileAtomically(path, "new");
  EXPECT_EQ(steps, (std::vector{Write, SyncFile, Rename, SyncFolder}));
  steps.clear();
  const std::string temp = TemporaryPathBeside(path);
  WriteBytes(temp, "report");
  ReplaceWithFile(temp, path);
  EXPECT_EQ(steps, (std::vector{SyncFile, Rename, SyncFolder}));
  for (const ReplaceStep step : {Write, SyncFile, Rename}) {
    failing = step;
    try {
      WriteFileAtomically(path, "lost");
      ADD_FAILURE() << static_cast<int>(step);
    } catch (const CFileError& e) {
      EXPECT_EQ(WhyInWords(e), "磁盘读写出错");
    }
    EXPECT_EQ(ReadBytes(path), "report");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"c.tiecalc"});
  }
  SetReplaceStepHook(nullptr);
}

// Temporary files a killed program left (a case, a chart, a table, a
// document) go at the next write beside them; fresh ones stay.
TEST(AtomicFile, StaleTemporariesOfEveryOutputGoAtTheNextWrite) {
  ScratchFolder dir;
  for (const char* name : {"c.tiecalc", "f.svg", "f.png", "t.csv", "r.doc"}) {
    const std::string path = dir.Path(name);
    const std::string stale = TemporaryPathBeside(path), fresh = TemporaryPathBeside(path);
    MakeOld(stale);
    WriteBytes(fresh, "busy");
    WriteFileAtomically(path, "new");
    EXPECT_FALSE(fs::exists(stale)) << name;
    EXPECT_TRUE(fs::exists(fresh)) << name;
  }
}

}  // namespace
}  // namespace tiecalc::file
