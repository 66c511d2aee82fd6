#include "cli/Json.h"

#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

std::string JsonString(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 0xf];
        } else {
          out += ch;  // UTF-8 bytes pass through
        }
    }
  }
  out += '"';
  return out;
}

std::string JsonArray(const std::vector<std::string>& writtenValues) {
  std::string out = "[";
  for (size_t i = 0; i < writtenValues.size(); ++i) {
    if (i) out += ", ";
    out += writtenValues[i];
  }
  return out + "]";
}

std::string JsonObject(const std::map<std::string, std::string>& writtenValues) {
  std::string out = "{";
  bool first = true;
  for (const auto& [key, value] : writtenValues) {
    if (!first) out += ", ";
    first = false;
    out += JsonString(key) + ": " + value;
  }
  return out + "}";
}

std::string JsonNumber(double v) {
  return std::isfinite(v) ? FormatBound(v) : JsonString(FormatBound(v));
}

}  // namespace tiecalc
