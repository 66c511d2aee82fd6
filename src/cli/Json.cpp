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

Json JsonText(const std::string& text) {
  // The library would replace a broken sequence as a whole; the tool has
  // always replaced each byte that starts no well-formed sequence.
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      out += text[i];
      continue;
    }
    const size_t n = Utf8SequenceAt(text, i);
    if (n == 0) {
      out += "\xEF\xBF\xBD";
    } else {
      out.append(text, i, n);
      i += n - 1;
    }
  }
  return out;
}

Json JsonNumber(double v) {
  if (!std::isfinite(v)) return FormatBound(v);
  return v;
}

std::string WriteJsonLine(const Json& value) {
  // With an indent of 0 the library puts every item on a line of its own
  // and ": " after each key; the line breaks are all structural (a string
  // writes its own as \n), so they fold into the single-line form. Numbers
  // with a fraction or an exponent are written as "%.15g", as the fields
  // show bound doubles (the library writes the shortest digits that read
  // back, 0.1 + 0.2 as 0.30000000000000004, and 900.0 as "900.0").
  const std::string lines = value.dump(0);
  std::string out;
  out.reserve(lines.size());
  bool inString = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    const char c = lines[i];
    if (inString) {
      out += c;
      if (c == '\\') {
        out += lines[++i];
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
      out += c;
    } else if (c == '\n') {
      if (i > 0 && lines[i - 1] == ',') out += ' ';
    } else if (c == '-' || (c >= '0' && c <= '9')) {
      const size_t end = lines.find_first_not_of("0123456789+-.eE", i);
      const std::string number = lines.substr(i, end - i);
      out += number.find_first_of(".eE") == std::string::npos ? number : FormatBound(ParseDouble(number));
      i = end - 1;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace tiecalc
