// libFuzzer target of the workbook readers: any bytes must give a workbook
// or a CSheetDbError, never a crash, a hang or a read out of bounds.

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  try {
    tiecalc::sheetdb::ReadXls(bytes, "fuzz.xls");
  } catch (const tiecalc::CSheetDbError&) {
  }
  try {
    tiecalc::sheetdb::ReadXlsx(bytes, "fuzz.xlsx");
  } catch (const tiecalc::CSheetDbError&) {
  }
  return 0;
}
