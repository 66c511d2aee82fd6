#pragma once
// The statements of the workbook driver, parsed. Parsing throws
// CSheetSqlError with a text that names what was not understood.

#include <string>
#include <vector>

namespace tiecalc::sheetdb {

struct TableRef {
  std::string sheet;
  bool hasRange = false;  // [S$A1:IV65536] rather than [S]
  int lastRow = 0;        // of the range
  int lastColumn = 0;     // of the range, 1-based
};

struct Statement {
  enum class Kind { Create, Drop, Insert, Select } kind = Kind::Select;
  TableRef table;
  std::vector<std::string> columns;  // CREATE, INSERT
  std::vector<std::string> values;   // INSERT
};

Statement ParseStatement(const std::string& sql);

}  // namespace tiecalc::sheetdb
