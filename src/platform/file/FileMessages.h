#pragma once
// The Chinese words for a failed file operation, kept in one table
// (FileMessages.cpp) so they can be checked and translated: why, in a few
// words, and what the user can do.

#include <string>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// "磁盘已满", "文件夹不存在", ... from the error's kind and system code.
std::string WhyInWords(const CFileError& error);

// One message: "{what} {path}：{why}。{advice}", then the system's own text
// on a second line (when there is one).
std::string FileMessage(const std::string& what, const CFileError& error);

}  // namespace tiecalc::file
