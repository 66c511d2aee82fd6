// Reading and atomically replacing workbook files.

#include <algorithm>
#include <cerrno>
#include <cmath>
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

// The width of a text in digits: ASCII one, any other character two (the
// Chinese fonts of the exports draw Greek letters and symbols full width).
double TextWidth(const std::string& utf8) {
  double width = 0;
  for (unsigned char c : utf8) {
    if (c < 0x80) width += 1;
    else if (c >= 0xC0) width += 2;  // the lead byte of a character; continuation bytes add nothing
  }
  return width;
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

std::string CellName(size_t row, size_t col) {
  std::string letters;
  for (size_t c = col + 1; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
  return letters + std::to_string(row + 1);
}

std::string WhyNotWritable(const Workbook& book) {
  for (const Sheet& sheet : book.sheets)
    for (size_t r = 0; r < sheet.rows.size(); ++r)
      for (size_t c = 0; c < sheet.rows[r].size(); ++c) {
        const std::string& text = sheet.rows[r][c].text;
        if (text.empty()) continue;
        if (r >= kMaxRows || c >= kMaxColumns) return SheetTooLargeMessage(sheet.name);
        // A UTF-8 text has at least as many bytes as UTF-16 units.
        if (text.size() > kMaxCellText && TextLength(text) > kMaxCellText) return TextTooLongMessage(sheet.name, CellName(r, c));
      }
  return {};
}

std::vector<double> ColumnWidths(const Sheet& sheet) {
  constexpr double kMargin = 2;     // a digit's width on either side
  constexpr double kNarrowest = 9;  // about the default width: no column is made narrower
  constexpr double kWidest = 255;   // the formats' widest column
  std::vector<double> widths = sheet.columnWidths;
  for (const auto& row : sheet.rows) {
    if (widths.size() < row.size()) widths.resize(std::min(row.size(), kMaxColumns));
    for (size_t c = 0; c < row.size() && c < kMaxColumns; ++c)
      if (!row[c].text.empty())
        widths[c] = std::max(widths[c], std::clamp(std::ceil(TextWidth(row[c].text)) + kMargin, kNarrowest, kWidest));
  }
  for (double& width : widths) width = std::min(width, kWidest);  // a width read from another program's file too
  return widths;
}

bool IsXlsxPath(const std::string& path) { return EndsWithNoCase(path, ".xlsx"); }

bool IsWorkbookPath(const std::string& path) { return EndsWithNoCase(path, ".xls") || IsXlsxPath(path); }

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
