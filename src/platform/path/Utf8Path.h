#pragma once
// Text and paths. Every path of the program travels as UTF-8 text (the
// fields, the command line, the messages). std::filesystem::path made from a
// plain std::string reads it in the system's narrow code page, which on
// Windows is not UTF-8 (C:\Users\张三\ then names another folder), and its
// string() writes in that code page again. These two functions convert
// explicitly, the same on every system.

#include <filesystem>
#include <string>
#include <string_view>

namespace tiecalc {

std::filesystem::path PathFromUtf8(std::string_view text);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace tiecalc
