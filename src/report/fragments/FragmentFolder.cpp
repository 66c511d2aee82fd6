#include "report/fragments/FragmentFolder.h"

#include <chrono>
#include <random>
#include <stdexcept>

#include "platform/file/FileMessages.h"
#include "platform/path/Utf8Path.h"
#include "report/fragments/Resource.h"

namespace tiecalc {

namespace {

namespace fs = std::filesystem;

std::string RandomName() {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device random;
  std::string name = "tiecalc-report-";
  for (int i = 0; i < 12; ++i) name += kDigits[random() % 36];
  return name;
}

// A folder of ours older than this was left by a report that was killed:
// no report takes that long.
constexpr auto kStaleAge = std::chrono::minutes(10);

// Removes such folders: only names of our pattern, only folders holding
// nothing but plain files (the fragments), each older than kStaleAge.
void RemoveStaleFolders(const fs::path& temporary) {
  const auto now = fs::file_time_type::clock::now();
  std::error_code error;
  fs::directory_iterator it(temporary, error), end;
  for (; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code entry;
    if (name.size() != 15 + 12 || name.rfind("tiecalc-report-", 0) != 0 ||
        !fs::is_directory(fs::symlink_status(it->path(), entry)))
      continue;
    bool stale = now - fs::last_write_time(it->path(), entry) > kStaleAge && !entry;
    for (fs::directory_iterator file(it->path(), entry); stale && !entry && file != end; file.increment(entry))
      stale = fs::is_regular_file(fs::symlink_status(file->path(), entry)) &&
              now - fs::last_write_time(file->path(), entry) > kStaleAge;
    if (stale && !entry) fs::remove_all(it->path(), entry);
  }
}

}  // namespace

FragmentFolder::FragmentFolder() {
  std::error_code error;
  const fs::path temporary = fs::temp_directory_path(error);
  if (error) throw std::runtime_error("无法找到临时文件夹：" + file::SystemErrorInWords(error));
  RemoveStaleFolders(temporary);
  // create_directory fails on a name that exists, so the folder is ours alone.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const fs::path candidate = temporary / RandomName();
    if (fs::create_directory(candidate, error)) {
      fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, error);
      if (error) {
        std::error_code ignored;
        fs::remove(candidate, ignored);
        break;
      }
      m_path = candidate;
      return;
    }
    if (error) break;
  }
  throw std::runtime_error("无法创建临时文件夹 " + Utf8FromPath(temporary) +
                           (error ? "：" + file::SystemErrorInWords(error) : std::string()));
}

FragmentFolder::~FragmentFolder() {
  std::error_code ignored;
  fs::remove_all(m_path, ignored);
}

std::string FragmentFolder::Path() const { return Utf8FromPath(m_path / ""); }

std::string FragmentFolder::FilePath(FragmentId id) const {
  const FragmentInfo* fragment = FindFragment(static_cast<int>(id));
  return Path() + (fragment ? fragment->fileName : std::to_string(static_cast<int>(id)));
}

int FragmentFolder::Write(FragmentId id) const {
  return WriteResourceToFile(static_cast<int>(id), "doc", FilePath(id));
}

void FragmentFolder::Delete(FragmentId id) const {
  const std::string path = FilePath(id);
  std::error_code error;
  if (!fs::remove(PathFromUtf8(path), error))
    throw std::runtime_error("无法删除文件 " + path + (error ? "：" + file::SystemErrorInWords(error) : std::string()));
}

}  // namespace tiecalc
