#pragma once
// The workbook model of the engine: sheets of cells, each a text or a number
// with its decimals, and their storage as .xls (BIFF8 in an OLE2 compound
// file) or .xlsx (Office Open XML). The .xls writer stores every cell as the
// text it shows; the .xlsx writer stores a number as a number in the number
// format of its decimals. Loading keeps what a cell was where the format
// tells (.xlsx numbers stay numbers); the other values of a workbook written
// elsewhere (the .xls numbers, booleans, formula results) become the texts
// they show.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace tiecalc::sheetdb {

// Limits of the .xls format, kept for .xlsx too so both behave alike.
inline constexpr size_t kMaxSheetNameLength = 31;  // characters
inline constexpr size_t kMaxColumns = 256;
inline constexpr size_t kMaxRows = 65536;
inline constexpr size_t kMaxCellText = 32767;  // characters (UTF-16 units) of one cell

// A line chart over a block of a sheet's rows: column 0 gives the
// categories, columns 1..series the lines, each named by its cell in row 0.
// Only .xlsx stores it; it is not read back.
struct SheetLineChart {
  size_t firstRow = 0, lastRow = 0;  // 0-based, inclusive
  size_t series = 0;
};

// One cell. `text` is what it shows, a number included ("800.00"): the .xls
// writer stores it, and cells compare as texts by it. A number cell also has
// its value and the decimals its number format shows ("0", "0.00", ...), or
// kGeneral for a number another program left in the General format.
struct Cell {
  static constexpr int kText = -1;
  static constexpr int kGeneral = -2;

  Cell() = default;
  Cell(std::string shown) : text(std::move(shown)) {}  // a text cell
  Cell(const char* shown) : text(shown) {}
  Cell(std::string shown, double value, int decimalsShown)
      : text(std::move(shown)), number(value), decimals(decimalsShown) {}

  bool IsNumber() const { return decimals != kText; }
  // A cell reads as the text it shows.
  operator const std::string&() const { return text; }
  bool operator==(const Cell&) const = default;

  std::string text;  // "" is an empty cell
  double number = 0;
  int decimals = kText;
};

struct Sheet {
  Sheet() = default;
  Sheet(std::string n, std::vector<std::vector<Cell>> r = {}, std::vector<SheetLineChart> c = {})
      : name(std::move(n)), rows(std::move(r)), charts(std::move(c)) {}

  std::string name;
  // rows[r][c]; rows may be shorter than others.
  std::vector<std::vector<Cell>> rows;
  std::vector<SheetLineChart> charts;
  // Column widths in characters (the width of a digit), as the file had
  // them; 0 or missing is the default width. A rewrite widens them to fit
  // their texts and never narrows them.
  std::vector<double> columnWidths;
};

struct Workbook {
  std::vector<Sheet> sheets;
  // The file was written by this engine (it carries the engine's mark), so
  // rewriting it loses nothing.
  bool writtenByEngine = false;
};

// The mark the engine leaves in the files it writes.
inline constexpr const char* kEngineMark = "tiecalc sheetdb";
// The custom document property that carries it in .xlsx packages.
inline constexpr const char* kEngineMarkProperty = "Generator";

// The number of characters of a UTF-8 text as the file formats count them
// (UTF-16 units).
size_t TextLength(const std::string& utf8);

// "B12" for row 11, column 1 (both 0-based).
std::string CellName(size_t row, size_t col);

// Why the book cannot be stored in a workbook file (a sheet over 65536 x 256,
// a cell text over kMaxCellText), in words naming the sheet and cell; empty
// when it can.
std::string WhyNotWritable(const Workbook& book);

// The width each column of the sheet is written with: the width it had, or
// the width its longest text needs with a margin (a character beyond ASCII
// counts as two digits, as the Chinese fonts draw them), whichever is
// larger, and never less than about the default; 0 for an empty column
// without a width.
std::vector<double> ColumnWidths(const Sheet& sheet);

// BIFF8 workbook stream inside an OLE2 compound file. Reading throws
// CSheetDbError naming `what` (the path) for anything that is not a readable
// BIFF8 workbook.
Workbook ReadXls(const std::string& bytes, const std::string& what);
std::string WriteXls(const Workbook& book);

// Office Open XML spreadsheet (a zip package).
Workbook ReadXlsx(const std::string& bytes, const std::string& what);
std::string WriteXlsx(const Workbook& book);

// True for a path ending in ".xlsx" (any case): stored as Office Open XML.
bool IsXlsxPath(const std::string& path);
// True for a path ending in ".xls" or ".xlsx" (any case): a workbook.
bool IsWorkbookPath(const std::string& path);

// Reads the workbook at path in the format of its extension.
Workbook LoadWorkbookFile(const std::string& path);

// Writes book to path atomically: a temporary file in the same folder, then
// a rename over the old file, so a failure at any point leaves the old file
// as it was. With backupOld, the file there now is first copied to
// path + ".bak" (the caller asks for it when the file came from another
// program, whose formatting and formulas a rewrite drops). Throws CSheetDbError naming the path on any failure.
void SaveWorkbookFile(const std::string& path, const Workbook& book, bool backupOld);

}  // namespace tiecalc::sheetdb
