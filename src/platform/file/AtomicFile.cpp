#include "platform/file/AtomicFile.h"

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

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

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
  if (!writable) throw CFileError(CFileError::Kind::ReadOnly, path, std::make_error_code(std::errc::read_only_file_system),
                                  "the file is read-only");
}

// Writes bytes into a new file at temp, which must not exist: a link or a
// file someone put there is never written through.
std::error_code WriteNewFile(const fs::path& temp, const std::string& bytes) {
#ifdef _WIN32
  std::FILE* out = _wfopen(temp.c_str(), L"wbx");
  if (!out) return LastError();
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  const std::error_code code = ok ? std::error_code() : LastError();
  if (std::fclose(out) != 0 && ok) return LastError();
  return code;
#else
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return LastError();
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const std::error_code code = n < 0 ? LastError() : std::make_error_code(std::errc::no_space_on_device);
      ::close(fd);
      return code;
    }
    done += static_cast<size_t>(n);
  }
  if (::close(fd) != 0) return LastError();
  return {};
#endif
}

void Rename(const fs::path& temp, const fs::path& target, const std::string& path) {
  std::error_code ec;
  const fs::file_status old = fs::symlink_status(target, ec);
  // The new file keeps the old one's permissions.
  if (!ec && fs::is_regular_file(old)) fs::permissions(temp, old.permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw CFileError(CFileError::Kind::Replace, path, ec);
  }
}

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

void WriteFileAtomically(const std::string& path, const std::string& bytes, bool followLink) {
  const fs::path target = followLink ? Followed(PathOf(path)) : PathOf(path);
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(target, ec))) CheckWritable(target, path);
  // The temporary file lives beside the target, so the rename stays within
  // one file system and replaces the old file in one step.
  for (;;) {
    const fs::path temp = PathOf(TemporaryPathBeside(TextOf(target)));
    const std::error_code code = WriteNewFile(temp, bytes);
    if (code == std::errc::file_exists) continue;  // taken in the meantime: another name
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
    CheckWritable(target, path);
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
  const fs::path lock = target.parent_path() / PathOf(kPrefix + TargetTag(target) + kLockSuffix);
  m_lockPath = TextOf(lock);
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
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) throw CFileError(CFileError::Kind::Write, path, LastError());
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before removes the file as it lets go; a lock on a file
      // that is no longer at its name locks nothing.
      struct stat held {}, named {};
      if (::fstat(fd, &held) == 0 && ::stat(lock.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
          held.st_dev == named.st_dev) {
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
