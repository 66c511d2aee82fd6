#pragma once
// The messages of the workbook engine a user can see, in one table: what
// failed, which file, why in a few words, what to do; the technical detail
// (the system's or the reader's own text) follows on a second line.

#include <string>

#include "platform/file/FileError.h"

namespace tiecalc::sheetdb {

// A file that is not a workbook the readers understand (format ".xls" or
// ".xlsx"); detail says what the reader found.
std::string NotReadableMessage(const std::string& path, const std::string& format, const std::string& detail);
// A workbook over one of the readers' limits (limit in words).
std::string TooLargeMessage(const std::string& path, const std::string& limit);
// The workbook file could not be opened or read.
std::string CannotReadMessage(const std::string& path, const std::string& detail);
// A workbook file (format ".xls" or ".xlsx") could not be put together in
// memory; why in words.
std::string CannotComposeMessage(const std::string& format, const std::string& why);
// The reasons a workbook cannot be written as it is: a cell text over the
// formats' 32767 characters (cell as "B12"), a sheet over 65536 x 256.
std::string TextTooLongMessage(const std::string& sheet, const std::string& cell);
std::string SheetTooLargeMessage(const std::string& sheet);
// The workbook, or its .bak copy, could not be written.
std::string CannotSaveMessage(const file::CFileError& error);
std::string CannotBackUpMessage(const file::CFileError& error);

}  // namespace tiecalc::sheetdb
