#pragma once
// A table of cells added to the file the user chose (the job the old
// CSheetWriter did through an SQL driver): below the table of a workbook's
// sheet (a path ending in ".xls" or ".xlsx"), or below the lines of a
// comma-separated text file (any other path). The file is read, changed in
// memory and replaced atomically, or left as it was.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sheetdb/Workbook.h"

namespace tiecalc {

// Rows of cells, the header first.
using SheetTable = std::vector<std::vector<sheetdb::Cell>>;

// The sheet cannot take the table; the workbook was not written. what()
// says why in a few words.
class CSheetRefusal : public std::runtime_error {
 public:
  enum class Kind {
    Full,    // the sheet would pass 65536 rows
    Header,  // the header, or a row under it, cannot be written back
  };
  CSheetRefusal(Kind kind, bool existingSheet, const std::string& why)
      : std::runtime_error(why), m_kind(kind), m_existingSheet(existingSheet) {}
  Kind GetKind() const { return m_kind; }
  // The sheet held a table before (its old header is what was refused).
  bool ExistingSheet() const { return m_existingSheet; }

 private:
  Kind m_kind;
  bool m_existingSheet;
};

// Adds table to the sheet named `sheet` of the workbook at path (made when
// missing), and a line chart of the table's rows chart.firstRow..lastRow
// (0-based, the header 0) where they land.
//
// A sheet whose first row holds a name holds a table, taken as it stands:
// its header up to the last name, a blank name standing as "F<column>"; its
// rows up to the last one with a cell, each cut to the header's width. The
// table's rows go below its rows, under its first columns; its header takes
// the table's names on the right when all its names and theirs are
// distinct. Before the first such append the old table is copied to the
// sheet "旧文件备份"; one that holds a table already is kept as it is. A
// sheet without a table (none there, or its first row empty) gets the table
// in place of what it held.
//
// Refused with CSheetRefusal, the file untouched: a row wider than the
// header; more than 65536 rows; a header with over 256 names, a name
// holding "]", or two names equal without regard to ASCII case (a
// spreadsheet program's tables and their references need that); an old cell
// over 32767 characters. A workbook that cannot be read or written throws
// CSheetDbError; one from another program is first copied to NAME.bak.
void AppendToWorkbook(const std::string& path, const std::string& sheet, const SheetTable& table,
                      const sheetdb::SheetLineChart& chart);

// Adds table to the text file at path, one line per row, each value in
// double quotes, separated by commas, lines ended by CR LF. An existing
// file keeps its lines, first copied to NAME.bak (when the copy cannot be
// made the table is added all the same); its first line takes the table's
// header names on the right, the other rows follow its last line. Throws
// file::CFileError when the file cannot be read or written.
void AppendToTextFile(const std::string& path, const SheetTable& table);

}  // namespace tiecalc
