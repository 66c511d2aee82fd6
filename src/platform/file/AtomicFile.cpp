#include "platform/file/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tiecalc::file {

namespace fs = std::filesystem;

namespace {

constexpr const char* kPrefix = ".tiecalc-";
constexpr const char* kTemporarySuffix = ".tmp";
constexpr const char* kLockSuffix = ".lock";

fs::path PathOf(const std::string& utf8) { return fs::path(reinterpret_cast<const char8_t*>(utf8.c_str())); }

std::string TextOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

#ifndef _WIN32
std::error_code LastError() { return std::error_code(errno, std::generic_category()); }
#endif

fs::path Followed(const fs::path& target) {
  std::error_code ec;
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path resolved = fs::weakly_canonical(target, ec);
    if (!ec) return resolved;
  }
  return target;
}

// The part of the names that ties a temporary file or a lock to its target:
// the FNV-1a hash of the target's name, eight hex digits.
std::string TargetTag(const fs::path& target) {
  uint32_t hash = 2166136261u;
  for (char c : TextOf(target.filename())) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  char text[9];
  std::snprintf(text, sizeof text, "%08x", hash);
  return text;
}

std::string RandomText(size_t length) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device random;
  std::string text;
  for (size_t i = 0; i < length; ++i) text += kDigits[random() % 36];
  return text;
}

ReplaceStepHook& Hook() {
  static ReplaceStepHook hook;
  return hook;
}

// The hook's word on a step: an error it injects, or none.
std::error_code Injected(ReplaceStep step, const fs::path& path) {
  return Hook() ? Hook()(step, TextOf(path)) : std::error_code();
}

#ifdef _WIN32
std::error_code WindowsError() { return std::error_code(static_cast<int>(GetLastError()), std::system_category()); }
#endif

bool IsLinkLoop(const std::error_code& code) {
#ifdef _WIN32
  if (code.category() == std::system_category() && code.value() == ERROR_CANT_RESOLVE_FILENAME) return true;
#endif
  return code == std::errc::too_many_symbolic_link_levels;
}

bool IsTaken(const std::error_code& code) {
#ifdef _WIN32
  if (code.category() == std::system_category() && (code.value() == ERROR_FILE_EXISTS || code.value() == ERROR_ALREADY_EXISTS))
    return true;
#endif
  return code == std::errc::file_exists;
}

// What a name that is no regular file holds, in words.
const char* ThingOf(fs::file_type type) {
  switch (type) {
    case fs::file_type::directory: return "文件夹";
    case fs::file_type::fifo: return "命名管道";
    case fs::file_type::socket: return "套接字";
    case fs::file_type::character: return "字符设备";
    case fs::file_type::block: return "块设备";
    case fs::file_type::symlink: return "符号链接";
    default: return "特殊文件";
  }
}

// Only a regular file (or nothing) is ever replaced: a folder, a named pipe,
// a device or a socket stays as it is. Looked at by its name alone, so that
// nothing opens (and blocks on) a pipe. With followLink, a link is judged by
// what it names; without, the link itself is what gets replaced.
void CheckKind(const fs::path& target, bool followLink, const std::string& path) {
  std::error_code ec;
  const fs::file_status status = followLink ? fs::status(target, ec) : fs::symlink_status(target, ec);
  if (ec) {
    if (IsLinkLoop(ec)) throw CFileError(CFileError::Kind::Write, path, ec);
    return;  // nothing there yet, or a folder on the way the write itself names
  }
  switch (status.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::symlink: return;
    default: throw CFileError(CFileError::Kind::NotRegular, path, {}, ThingOf(status.type()));
  }
}

// A file marked read-only keeps its content, as a write into it would,
// although a rename needs only the folder to be writable.
void CheckWritable(const fs::path& target, const std::string& path) {
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  if (ec || !fs::is_regular_file(old)) return;
  constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  bool writable = (old.permissions() & anyWrite) != fs::perms::none;
#ifndef _WIN32
  writable = writable && access(target.c_str(), W_OK) == 0;
#endif
  if (!writable)
    throw CFileError(CFileError::Kind::ReadOnly, path, std::make_error_code(std::errc::read_only_file_system));
}

#ifndef _WIN32
// write(2) until all of bytes is written.
std::error_code WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? LastError() : std::make_error_code(std::errc::no_space_on_device);
    done += static_cast<size_t>(n);
  }
  return {};
}
#endif

// Writes bytes into a new file at temp, which must not exist (a link or a
// file someone put there is never written through), and flushes them to the
// disk before the file is closed.
std::error_code WriteNewFile(const fs::path& temp, const std::string& bytes) {
  if (std::error_code injected = Injected(ReplaceStep::Write, temp)) return injected;
#ifdef _WIN32
  HANDLE out = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return WindowsError();
  std::error_code code;
  for (size_t done = 0; done < bytes.size() && !code;) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD written = 0;
    if (!WriteFile(out, bytes.data() + done, chunk, &written, nullptr)) code = WindowsError();
    else if (written == 0) code = std::make_error_code(std::errc::no_space_on_device);
    done += written;
  }
  if (!code) code = Injected(ReplaceStep::SyncFile, temp);
  if (!code && !FlushFileBuffers(out)) code = WindowsError();
  if (!CloseHandle(out) && !code) code = WindowsError();
  return code;
#else
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return LastError();
  std::error_code code = WriteAll(fd, bytes);
  if (!code) code = Injected(ReplaceStep::SyncFile, temp);
  if (!code && ::fsync(fd) != 0) code = LastError();
  if (::close(fd) != 0 && !code) code = LastError();
  return code;
#endif
}

// Flushes a complete file someone else wrote at temp to the disk.
std::error_code SyncWrittenFile(const fs::path& temp) {
  if (std::error_code injected = Injected(ReplaceStep::SyncFile, temp)) return injected;
#ifdef _WIN32
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return WindowsError();
  std::error_code code;
  if (!FlushFileBuffers(file)) code = WindowsError();
  CloseHandle(file);
  return code;
#else
  const int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return LastError();
  const std::error_code code = ::fsync(fd) == 0 ? std::error_code() : LastError();
  ::close(fd);
  return code;
#endif
}

// Makes the rename of a file in folder last: its entry is flushed. (Windows
// does that in the rename itself, with MOVEFILE_WRITE_THROUGH.)
std::error_code SyncFolder(const fs::path& folder) {
  if (std::error_code injected = Injected(ReplaceStep::SyncFolder, folder)) return injected;
#ifdef _WIN32
  return {};
#else
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code code;
  // Some file systems cannot flush a folder at all; they keep its entries
  // no worse for being asked.
  if (::fsync(fd) != 0 && errno != EINVAL && errno != ENOTSUP) code = LastError();
  ::close(fd);
  return code;
#endif
}

std::error_code MoveOnto(const fs::path& temp, const fs::path& target) {
  if (std::error_code injected = Injected(ReplaceStep::Rename, target)) return injected;
#ifdef _WIN32
  if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return WindowsError();
  return {};
#else
  return ::rename(temp.c_str(), target.c_str()) == 0 ? std::error_code() : LastError();
#endif
}

void Rename(const fs::path& temp, const fs::path& target, const std::string& path) {
  std::error_code ec;
  const fs::file_status old = fs::symlink_status(target, ec);
  // The new file keeps the old one's permissions.
  if (!ec && fs::is_regular_file(old)) fs::permissions(temp, old.permissions(), ec);
  ec = MoveOnto(temp, target);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw CFileError(CFileError::Kind::Replace, path, ec);
  }
  ec = SyncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
  if (ec) throw CFileError(CFileError::Kind::Replace, path, ec);
}

// The lock file's name holds something that is no regular file.
void CheckLockKind(const fs::path& lock, const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(lock, ec);
  if (!ec && status.type() != fs::file_type::regular && status.type() != fs::file_type::not_found)
    throw CFileError(CFileError::Kind::Lock, path, {}, ThingOf(status.type()), TextOf(lock));
}

#ifndef _WIN32
// Opens the lock file, made when missing so that anyone who may write the
// target may lock it too (whatever the umask). One left behind by another
// user is opened for reading when it cannot be for writing (flock needs
// neither), and removed when it cannot be opened at all: a killed program's
// lock locks nothing. Never blocks: no pipe is opened.
int OpenLockFile(const fs::path& lock, const std::string& path) {
  constexpr int kFlags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_EXCL | kFlags, 0666);
    if (fd >= 0) {
      ::fchmod(fd, 0666);
      return fd;
    }
    if (errno != EEXIST) throw CFileError(CFileError::Kind::Write, path, LastError());
    fd = ::open(lock.c_str(), O_RDWR | kFlags);
    if (fd < 0 && errno == EACCES) fd = ::open(lock.c_str(), O_RDONLY | kFlags);
    if (fd >= 0) return fd;
    const std::error_code code = LastError();
    if (code == std::errc::no_such_file_or_directory) continue;  // let go of in the meantime
    if (IsLinkLoop(code)) throw CFileError(CFileError::Kind::Lock, path, {}, "符号链接", TextOf(lock));
    if (code != std::errc::permission_denied || ::unlink(lock.c_str()) != 0)
      throw CFileError(CFileError::Kind::Lock, path, code, {}, TextOf(lock));
  }
  throw CFileError(CFileError::Kind::Locked, path, std::make_error_code(std::errc::device_or_resource_busy));
}
#endif

}  // namespace

std::string FollowLink(const std::string& path) { return TextOf(Followed(PathOf(path))); }

std::string TemporaryPathBeside(const std::string& path) {
  const fs::path target = Followed(PathOf(path));
  const std::string stem = kPrefix + TargetTag(target) + "-";
  std::error_code ec;
  fs::path temp;
  do {
    temp = target.parent_path() / PathOf(stem + RandomText(6) + kTemporarySuffix);
  } while (fs::exists(fs::symlink_status(temp, ec)));
  return TextOf(temp);
}

void SetReplaceStepHook(ReplaceStepHook hook) { Hook() = std::move(hook); }

void CheckTarget(const std::string& path) {
  const fs::path target = Followed(PathOf(path));
  CheckKind(target, true, path);
  CheckWritable(target, path);
}

void WriteFileAtomically(const std::string& path, const std::string& bytes, bool followLink) {
  const fs::path target = followLink ? Followed(PathOf(path)) : PathOf(path);
  CheckKind(target, followLink, path);
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(target, ec))) CheckWritable(target, path);
  RemoveStaleTemporaries(TextOf(target));
  // The temporary file lives beside the target, so the rename stays within
  // one file system and replaces the old file in one step.
  for (;;) {
    const fs::path temp = PathOf(TemporaryPathBeside(TextOf(target)));
    const std::error_code code = WriteNewFile(temp, bytes);
    if (IsTaken(code)) continue;  // taken in the meantime: another name
    if (code) {
      std::error_code ignored;
      fs::remove(temp, ignored);
      throw CFileError(CFileError::Kind::Write, path, code);
    }
    Rename(temp, target, path);
    return;
  }
}

void ReplaceWithFile(const std::string& temporary, const std::string& path) {
  const fs::path target = Followed(PathOf(path));
  try {
    CheckKind(target, true, path);
    CheckWritable(target, path);
    if (const std::error_code code = SyncWrittenFile(PathOf(temporary)))
      throw CFileError(CFileError::Kind::Write, path, code);
  } catch (const CFileError&) {
    std::error_code ignored;
    fs::remove(PathOf(temporary), ignored);
    throw;
  }
  Rename(PathOf(temporary), target, path);
}

void RemoveStaleTemporaries(const std::string& path) {
  const fs::path target = Followed(PathOf(path));
  const std::string stem = kPrefix + TargetTag(target) + "-";
  const auto now = fs::file_time_type::clock::now();
  std::error_code ec;
  fs::directory_iterator it(target.parent_path().empty() ? fs::path(".") : target.parent_path(), ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    const std::string name = TextOf(it->path().filename());
    if (name.size() != stem.size() + 6 + 4 || name.rfind(stem, 0) != 0 ||
        name.compare(name.size() - 4, 4, kTemporarySuffix) != 0)
      continue;
    std::error_code entry;
    if (!fs::is_regular_file(fs::symlink_status(it->path(), entry))) continue;
    const auto written = fs::last_write_time(it->path(), entry);
    if (!entry && now - written > kStaleAge) fs::remove(it->path(), entry);
  }
}

CFileLock::CFileLock(const std::string& path, std::chrono::milliseconds wait) {
  const fs::path target = Followed(PathOf(path));
  // Before anything opens the target: an export reads it next.
  CheckKind(target, true, path);
  const fs::path lock = target.parent_path() / PathOf(kPrefix + TargetTag(target) + kLockSuffix);
  m_lockPath = TextOf(lock);
  CheckLockKind(lock, path);
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
#ifdef _WIN32
    // Opened without sharing, the file is the lock; it goes when closed,
    // also when the program is killed.
    HANDLE handle = CreateFileW(lock.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      m_handle = handle;
      return;
    }
    const DWORD code = GetLastError();
    if (code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED)
      throw CFileError(CFileError::Kind::Write, path, std::error_code(static_cast<int>(code), std::system_category()));
#else
    const int fd = OpenLockFile(lock, path);
    struct stat held {};
    if (::fstat(fd, &held) == 0 && !S_ISREG(held.st_mode)) {
      ::close(fd);
      CheckLockKind(lock, path);  // swapped in the meantime: says what is there now
      continue;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before removes the file as it lets go; a lock on a file
      // that is no longer at its name locks nothing.
      struct stat named {};
      if (::stat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino && held.st_dev == named.st_dev) {
        m_fd = fd;
        return;
      }
      ::close(fd);
      continue;
    }
    ::close(fd);
#endif
    if (std::chrono::steady_clock::now() >= deadline)
      throw CFileError(CFileError::Kind::Locked, path, std::make_error_code(std::errc::device_or_resource_busy));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

CFileLock::~CFileLock() {
#ifdef _WIN32
  CloseHandle(static_cast<HANDLE>(m_handle));
#else
  ::unlink(m_lockPath.c_str());
  ::close(m_fd);
#endif
}

}  // namespace tiecalc::file
