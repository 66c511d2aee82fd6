#pragma once
// The two kinds of failure of the workbook engine.
//
// CSheetDbError: the platform failed - a workbook that cannot be opened or
// written, an unknown driver, a malformed connection string. Callers do not
// catch it; it ends the command and its text is shown to the user.
//
// CSheetSqlError: one statement was refused (a syntax error, a missing sheet,
// a table that exists already, a limit of the file format). The statement
// changed nothing; the text is the driver's error text.

#include <stdexcept>
#include <string>

namespace tiecalc {

class CSheetDbError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CSheetSqlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tiecalc
