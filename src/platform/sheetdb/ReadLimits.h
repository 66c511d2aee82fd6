#pragma once
// The limits of the workbook readers. They lie far above any workbook a
// person or this program makes (a full .xls sheet of 65536 rows of 13
// columns is 852k cells, 7 MB of text), and each is checked before the
// memory it guards is allocated, so that a hostile file is refused quickly
// and with bounded memory, and stays as it was.

#include <cstddef>
#include <string>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"

namespace tiecalc::sheetdb {

inline constexpr size_t kMaxWorkbookBytes = size_t{64} << 20;  // the file itself
inline constexpr size_t kMaxCellsRead = 1'000'000;             // cell places, the empty ones before a cell included
inline constexpr size_t kMaxTextRead = size_t{16} << 20;       // bytes (UTF-8) of cell text, all sheets together
inline constexpr size_t kMaxSharedCharacters = 8'000'000;      // the shared string table, expanded
inline constexpr size_t kMaxXlsxPartBytes = size_t{64} << 20;  // one part of an .xlsx package, uncompressed

// What one reading has used so far; each call adds to it and throws
// CSheetDbError (TooLargeMessage) once a limit would be passed.
class CReadBudget {
 public:
  explicit CReadBudget(const std::string& what) : m_what(what) {}

  void Cells(size_t count) { Charge(m_cells, count, kMaxCellsRead, "单元格超过 100 万个"); }
  void Text(size_t bytes) { Charge(m_text, bytes, kMaxTextRead, "单元格文字超过 16 MB"); }
  void SharedCharacters(size_t count) {
    Charge(m_shared, count, kMaxSharedCharacters, "共享文字表展开后超过 800 万个字符");
  }
  void PartBytes(size_t bytes) const {
    if (bytes > kMaxXlsxPartBytes) Refuse(".xlsx 包中的部件解压后超过 64 MB");
  }
  [[noreturn]] void Refuse(const std::string& limit) const { throw CSheetDbError(TooLargeMessage(m_what, limit)); }

 private:
  void Charge(size_t& used, size_t more, size_t limit, const char* words) {
    if (more > limit - used) Refuse(words);
    used += more;
  }

  const std::string& m_what;
  size_t m_cells = 0, m_text = 0, m_shared = 0;
};

}  // namespace tiecalc::sheetdb
