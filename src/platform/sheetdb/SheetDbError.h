#pragma once
// The failure of the workbook engine: a workbook that cannot be read, put
// together or written. Its text is the whole message for the user, in
// Chinese (SheetDbMessages.h): what failed, which file, why.

#include <stdexcept>
#include <string>

namespace tiecalc {

class CSheetDbError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tiecalc
