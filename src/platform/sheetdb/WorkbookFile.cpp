// Reading and atomically replacing workbook files.

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/ReadLimits.h"
#include "platform/sheetdb/Utf.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc::sheetdb {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::path(reinterpret_cast<const char8_t*>(utf8.c_str())); }

std::string Reason(const std::error_code& ec) {
  return file::SystemErrorInWords(ec ? ec : std::error_code(errno, std::generic_category()));
}

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
  if (!in) throw CSheetDbError(CannotReadMessage(path, Reason({})));
  std::error_code ec;
  const auto size = fs::file_size(PathOf(path), ec);
  if (!ec && size > kMaxWorkbookBytes) CReadBudget(path).Refuse("文件超过 64 MB");
  // Read into one buffer of the file's size: a large workbook is not held
  // twice while it is read.
  std::string bytes(ec ? 0 : static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.bad() || static_cast<size_t>(in.gcount()) != bytes.size())
    throw CSheetDbError(CannotReadMessage(path, Reason({})));
  return IsXlsxPath(path) ? ReadXlsx(bytes, path) : ReadXls(bytes, path);
}

void SaveWorkbookFile(const std::string& path, const Workbook& book, bool backupOld) {
  const std::string bytes = IsXlsxPath(path) ? WriteXlsx(book) : WriteXls(book);
  if (backupOld && fs::exists(PathOf(path))) {
    // The copy replaces whatever is at NAME.bak, a link included: nothing
    // is written through a link this program did not make.
    std::ifstream in(PathOf(path), std::ios::binary);
    std::ostringstream old;
    old << in.rdbuf();
    if (!in || in.bad())
      throw CSheetDbError(CannotBackUpMessage(
          file::CFileError(file::CFileError::Kind::Read, path, std::error_code(errno, std::generic_category()))));
    try {
      file::WriteFileAtomically(path + ".bak", old.str(), false);
    } catch (const file::CFileError& e) {
      throw CSheetDbError(CannotBackUpMessage(e));
    }
  }
  try {
    file::WriteFileAtomically(path, bytes);
  } catch (const file::CFileError& e) {
    throw CSheetDbError(CannotSaveMessage(e));
  }
}

}  // namespace tiecalc::sheetdb
