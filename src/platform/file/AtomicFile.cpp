#include "platform/file/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tiecalc::file {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::path(reinterpret_cast<const char8_t*>(utf8.c_str())); }

std::string Reason(const std::error_code& ec) { return ec ? ec.message() : std::strerror(errno); }

}  // namespace

void WriteFileAtomically(const std::string& path, const std::string& bytes) {
  fs::path target = PathOf(path);
  std::error_code ec;
  // A link is followed, as a write into the file would: the file it names
  // is replaced, and the link stays.
  if (fs::is_symlink(fs::symlink_status(target, ec))) {
    fs::path resolved = fs::canonical(target, ec);
    if (!ec) target = resolved;
  }
  // A rename needs only the folder to be writable; a file marked read-only
  // (no write permission at all, or none for this process) keeps its
  // content, as a write into it would.
  const fs::file_status old = fs::status(target, ec);
  if (!ec && fs::is_regular_file(old)) {
    constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    bool writable = (old.permissions() & anyWrite) != fs::perms::none;
#ifndef _WIN32
    writable = writable && access(target.c_str(), W_OK) == 0;
#endif
    if (!writable) throw CFileError(CFileError::Kind::ReadOnly, path, "the file is read-only");
  }
  // The temporary file lives beside the target, so the rename stays within
  // one file system and replaces the old file in one step.
  std::random_device random;
  fs::path temp;
  do {
    temp = target;
    temp += PathOf(".tmp" + std::to_string(random()));
  } while (fs::exists(temp, ec));
  auto fail = [&](CFileError::Kind kind, const std::string& why) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw CFileError(kind, path, why);
  };
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) fail(CFileError::Kind::Write, Reason({}));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) fail(CFileError::Kind::Write, Reason({}));
    out.close();
    if (!out) fail(CFileError::Kind::Write, Reason({}));
  }
  // The new file keeps the old one's permissions.
  if (fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) fail(CFileError::Kind::Replace, ec.message());
}

}  // namespace tiecalc::file
