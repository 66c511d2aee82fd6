#pragma once
// The Chinese words for a failed file operation, kept in one table
// (FileMessages.cpp) so they can be checked and translated: why, in a few
// words, and what the user can do.

#include <string>
#include <string_view>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// "磁盘已满", "文件夹不存在", ... from the error's kind and system code.
std::string WhyInWords(const CFileError& error);

// One message: "{what} {path}：{why}。{advice}", then the system's own text
// on a second line (when there is one).
std::string FileMessage(const std::string& what, const CFileError& error);

// The message tables mark where a value goes with "%p", "%s", ...: text with
// the first occurrence of mark replaced by value.
std::string FillMark(std::string text, std::string_view mark, std::string_view value);

// text, then the system's own words on a second line when there are any
// (their trailing line ends dropped).
std::string WithDetail(std::string text, std::string detail);

}  // namespace tiecalc::file
