#pragma once
// The Chinese words for a failed file operation, kept in one table
// (FileMessages.cpp) so they can be checked and translated: why, in a few
// words, and what the user can do.

#include <string>
#include <string_view>
#include <system_error>

#include "platform/file/FileError.h"

namespace tiecalc::file {

// A system error code (errno, or Windows' GetLastError) in Chinese words:
// "磁盘已满", "链接循环（链接层层指向自己）", ...; a code without words of its
// own gives "系统拒绝了这次操作（错误代码 N）". Never the system's English text.
std::string SystemErrorInWords(std::error_code code);

// "磁盘已满", "文件夹不存在", "不是普通文件（是命名管道），文件保持原样", ...
// from the error's kind and system code.
std::string WhyInWords(const CFileError& error);

// One message, Chinese throughout: "{what} {path}：{why}。{advice}。"
std::string FileMessage(const std::string& what, const CFileError& error);

// The message tables mark where a value goes with "%p", "%s", ...: text with
// the first occurrence of mark replaced by value.
std::string FillMark(std::string text, std::string_view mark, std::string_view value);

// text, then the system's own words on a second line when there are any
// (their trailing line ends dropped).
std::string WithDetail(std::string text, std::string detail);

}  // namespace tiecalc::file
