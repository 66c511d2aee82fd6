#pragma once
// UTF-8 <-> UTF-16 conversions for the workbook formats, which store text
// as UTF-16 (or Latin-1 when every character fits in one byte).

#include <string>

namespace tiecalc::sheetdb {

// Invalid UTF-8 sequences become U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);
// Unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(const std::u16string& text);

}  // namespace tiecalc::sheetdb
