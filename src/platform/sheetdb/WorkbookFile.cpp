// Reading and atomically replacing workbook files.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/Utf.h"
#include "platform/sheetdb/Workbook.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace tiecalc::sheetdb {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::path(reinterpret_cast<const char8_t*>(utf8.c_str())); }

std::string Reason(const std::error_code& ec) { return ec ? ec.message() : std::strerror(errno); }

bool EndsWithNoCase(const std::string& text, const std::string& end) {
  if (text.size() < end.size()) return false;
  for (size_t i = 0; i < end.size(); ++i) {
    char c = text[text.size() - end.size() + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != end[i]) return false;
  }
  return true;
}

}  // namespace

size_t TextLength(const std::string& utf8) { return Utf8ToUtf16(utf8).size(); }

bool IsXlsxPath(const std::string& path) { return EndsWithNoCase(path, ".xlsx"); }

Workbook LoadWorkbookFile(const std::string& path) {
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) throw CSheetDbError("cannot open the workbook '" + path + "': " + Reason({}));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw CSheetDbError("cannot read the workbook '" + path + "': " + Reason({}));
  return IsXlsxPath(path) ? ReadXlsx(bytes.str(), path) : ReadXls(bytes.str(), path);
}

void SaveWorkbookFile(const std::string& path, const Workbook& book, bool backupOld) {
  const std::string bytes = IsXlsxPath(path) ? WriteXlsx(book) : WriteXls(book);
  const fs::path target = PathOf(path);
  std::error_code ec;
  if (backupOld && fs::exists(target, ec)) {
    fs::copy_file(target, PathOf(path + ".bak"), fs::copy_options::overwrite_existing, ec);
    if (ec) throw CSheetDbError("cannot keep a copy of the workbook '" + path + "' as '" + path + ".bak': " + ec.message());
  }

  WriteFileAtomically(path, bytes);
}

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
    if (!writable)
      throw CSheetDbError("cannot replace '" + path + "': the file is read-only");
  }
  // The temporary file lives beside the target, so the rename stays within
  // one file system and replaces the old file in one step.
  std::random_device random;
  fs::path temp;
  do {
    temp = target;
    temp += PathOf(".tmp" + std::to_string(random()));
  } while (fs::exists(temp, ec));
  auto fail = [&](const std::string& what, const std::string& why) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw CSheetDbError("cannot " + what + " '" + path + "': " + why);
  };
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) fail("write", Reason({}));
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) fail("write", Reason({}));
    out.close();
    if (!out) fail("write", Reason({}));
  }
  // The new file keeps the old one's permissions.
  if (fs::exists(old)) fs::permissions(temp, old.permissions(), ec);
  fs::rename(temp, target, ec);
  if (ec) fail("replace", ec.message());
}

}  // namespace tiecalc::sheetdb
