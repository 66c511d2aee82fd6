#include "cli/Json.h"

#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (no overlong
// forms, no surrogates, nothing above U+10FFFF), or 0.
size_t Utf8SequenceAt(const std::string& text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return n;
}

}  // namespace

std::string JsonString(const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  std::string out = "\"";
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 0x80) {
      // A field may hold any bytes a user typed; the output stays UTF-8,
      // with U+FFFD for every byte that starts no well-formed sequence.
      const size_t n = Utf8SequenceAt(text, i);
      if (n == 0) {
        out += "\xEF\xBF\xBD";
      } else {
        out.append(text, i, n);
        i += n - 1;
      }
      continue;
    }
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
          out += ch;
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
