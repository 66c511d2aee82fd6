#pragma once
// A minimal JSON writer for the command-line tool: strings (well-formed UTF-8
// passed through, any other byte written as U+FFFD; quotes, backslashes and
// control characters escaped), arrays and
// objects of already written values, objects with their keys sorted.

#include <map>
#include <string>
#include <vector>

namespace tiecalc {

std::string JsonString(const std::string& text);
std::string JsonArray(const std::vector<std::string>& writtenValues);
// Keys in byte order (std::map), each written as a JSON string.
std::string JsonObject(const std::map<std::string, std::string>& writtenValues);
// A number as "%.15g"; a value JSON cannot hold (inf, nan) as a string.
std::string JsonNumber(double v);

}  // namespace tiecalc
