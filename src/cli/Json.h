#pragma once
// tiecalc-cli's JSON, built with nlohmann-json and printed as the tool always
// has printed it: one line, object keys in byte order, ", " between items
// and ": " after each key, strings in UTF-8 with each byte that starts no
// well-formed sequence written as U+FFFD.

#include <nlohmann/json.hpp>
#include <string>

namespace tiecalc {

using Json = nlohmann::json;

// A field text as a JSON string: well-formed UTF-8 passed through, any other
// byte as U+FFFD (a field may hold whatever bytes were typed).
Json JsonText(const std::string& text);

// A number, printed as "%.15g"; a value JSON cannot hold (inf, nan) as a
// string.
Json JsonNumber(double v);

// The document on one line.
std::string WriteJsonLine(const Json& value);

}  // namespace tiecalc
