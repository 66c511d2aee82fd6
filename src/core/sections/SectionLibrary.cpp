#include <array>
#include <cctype>
#include <initializer_list>
#include <cmath>
#include <cstddef>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>

#include "core/input/Format.h"
#include "core/sections/SectionGeometry.h"
#include "core/sections/SteelSection.h"

namespace tiecalc {

double SteelSection::LeastI() const {
  switch (family) {
    case SectionFamily::EqualAngle: return Iy0;
    case SectionFamily::UnequalAngle: return Iu;
    case SectionFamily::Channel:
    case SectionFamily::IBeam: return Iy;
    case SectionFamily::RoundTube:
    case SectionFamily::HollowSection: return std::fmin(Ix, Iy);
  }
  return 0;
}

double SteelSection::LeastRadius() const {
  switch (family) {
    case SectionFamily::EqualAngle: return iy0;
    case SectionFamily::UnequalAngle: return iu;
    case SectionFamily::Channel:
    case SectionFamily::IBeam: return iy;
    case SectionFamily::RoundTube:
    case SectionFamily::HollowSection: return std::fmin(ix, iy);
  }
  return 0;
}

const char* SteelSection::LeastAxis() const {
  switch (family) {
    case SectionFamily::EqualAngle: return "y0";
    case SectionFamily::UnequalAngle: return "u";
    case SectionFamily::HollowSection: return Iy < Ix ? "y" : "x";
    case SectionFamily::RoundTube: return "x";
    default: return "y";
  }
}

double SteelSection::LeastAxisExtreme() const {
  switch (family) {
    case SectionFamily::EqualAngle: return z0 * std::sqrt(2.0) * 10;  // the heel
    case SectionFamily::UnequalAngle: return Iu / Wu * 10;
    case SectionFamily::Channel: return b - z0 * 10;                   // the toes
    case SectionFamily::IBeam: return b / 2;
    case SectionFamily::RoundTube: return h / 2;
    case SectionFamily::HollowSection: return (Iy < Ix ? b : h) / 2;
  }
  return 0;
}

const char* FamilyName(SectionFamily family) {
  switch (family) {
    case SectionFamily::EqualAngle: return "热轧等边角钢";
    case SectionFamily::UnequalAngle: return "热轧不等边角钢";
    case SectionFamily::Channel: return "热轧槽钢";
    case SectionFamily::IBeam: return "热轧工字钢";
    case SectionFamily::RoundTube: return "圆钢管";
    case SectionFamily::HollowSection: return "方矩形钢管";
  }
  return "";
}

namespace {

constexpr std::array kFamilies{SectionFamily::EqualAngle, SectionFamily::UnequalAngle, SectionFamily::Channel,
                               SectionFamily::IBeam,      SectionFamily::RoundTube,    SectionFamily::HollowSection};

std::vector<std::string> SplitCsvLine(std::string_view line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = line.find(',', start);
    cells.emplace_back(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return cells;
}

// A table's rows as name -> text, the comment lines ('#') and blank lines left out.
std::vector<std::map<std::string, std::string>> ReadTable(std::string_view text) {
  std::vector<std::map<std::string, std::string>> rows;
  std::vector<std::string> header;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;
    std::vector<std::string> cells = SplitCsvLine(line);
    if (header.empty()) {
      header = std::move(cells);
      continue;
    }
    if (cells.size() != header.size()) throw std::logic_error("section table row of the wrong width: " + std::string(line));
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < cells.size(); ++i) row[header[i]] = cells[i];
    rows.push_back(std::move(row));
  }
  return rows;
}

double Number(const std::map<std::string, std::string>& row, const char* column) {
  const auto it = row.find(column);
  if (it == row.end()) throw std::logic_error(std::string("section table without column ") + column);
  return ParseDouble(it->second);
}

// Hollow sections and tubes: the properties from the outline (cm units).
void ComputeFromOutline(SteelSection& s) {
  const SectionOutline outline = OutlineOf(s, 256);
  const AreaProperties p = PropertiesOf(outline.outer, outline.holes);
  s.A = p.A / 100;
  s.Ix = p.Ixx / 1e4;
  s.Iy = p.Iyy / 1e4;
  s.ix = std::sqrt(s.Ix / s.A);
  s.iy = std::sqrt(s.Iy / s.A);
  s.Wx = s.Ix / (s.h / 20);
  s.Wy = s.Iy / (s.b / 20);
  s.m = 0.785 * s.A;
}

SteelSection RowToSection(SectionFamily family, const std::map<std::string, std::string>& row) {
  SteelSection s;
  s.family = family;
  s.designation = row.at("designation");
  auto n = [&](const char* column) { return Number(row, column); };
  switch (family) {
    case SectionFamily::EqualAngle:
      s.h = n("b"), s.d = n("d"), s.r = n("r"), s.r1 = s.d / 3;
      s.A = n("A"), s.m = n("m");
      s.Ix = s.Iy = n("Ix"), s.ix = s.iy = n("ix"), s.Wx = s.Wy = n("Wx");
      s.Ix0 = n("Ix0"), s.ix0 = n("ix0"), s.Wx0 = n("Wx0");
      s.Iy0 = n("Iy0"), s.iy0 = n("iy0"), s.Wy0 = n("Wy0");
      s.z0 = n("z0");
      break;
    case SectionFamily::UnequalAngle:
      s.h = n("B"), s.b = n("b"), s.d = n("d"), s.r = n("r"), s.r1 = s.d / 3;
      s.A = n("A"), s.m = n("m");
      s.Ix = n("Ix"), s.ix = n("ix"), s.Wx = n("Wx");
      s.Iy = n("Iy"), s.iy = n("iy"), s.Wy = n("Wy");
      s.Iu = n("Iu"), s.iu = n("iu"), s.Wu = n("Wu");
      s.tanAlpha = n("tanα"), s.x0 = n("x0"), s.y0 = n("y0");
      break;
    case SectionFamily::Channel:
    case SectionFamily::IBeam:
      s.h = n("h"), s.b = n("b"), s.d = n("d"), s.t = n("t"), s.r = n("r"), s.r1 = n("r1");
      s.A = n("A"), s.m = n("m");
      s.Ix = n("Ix"), s.ix = n("ix"), s.Wx = n("Wx");
      s.Iy = n("Iy"), s.iy = n("iy"), s.Wy = n("Wy");
      if (family == SectionFamily::Channel) s.z0 = n("z0");
      break;
    case SectionFamily::RoundTube:
      s.h = s.b = n("D"), s.d = n("t");
      s.kind = row.at("kind");
      {
        const double D = s.h, di = s.h - 2 * s.d, pi = 3.14159265358979323846;
        s.A = pi * (D * D - di * di) / 4 / 100;
        s.Ix = s.Iy = pi * (D * D * D * D - di * di * di * di) / 64 / 1e4;
        s.ix = s.iy = std::sqrt(s.Ix / s.A);
        s.Wx = s.Wy = s.Ix / (D / 20);
        s.m = 0.785 * s.A;
      }
      break;
    case SectionFamily::HollowSection:
      s.h = n("H"), s.b = n("B"), s.d = n("t"), s.r = 2 * s.d, s.r1 = s.d;
      ComputeFromOutline(s);
      break;
  }
  return s;
}

struct Library {
  std::array<std::vector<SteelSection>, kFamilies.size()> sections;
  std::map<std::string, const SteelSection*, std::less<>> byDesignation;
};

const Library& TheLibrary() {
  static const Library library = [] {
    Library lib;
    for (std::size_t f = 0; f < kFamilies.size(); ++f)
      for (const auto& row : ReadTable(EmbeddedTable(kFamilies[f])))
        lib.sections[f].push_back(RowToSection(kFamilies[f], row));
    for (const auto& family : lib.sections)
      for (const SteelSection& s : family) lib.byDesignation[s.designation] = &s;
    return lib;
  }();
  return library;
}

// --- Designations ---

// The text with blanks dropped and every separator as 'x'.
std::string Compact(std::string_view text) {
  static const std::pair<std::string_view, std::string_view> kReplacements[] = {
      {"\xC3\x97", "x"},       // ×
      {"\xEF\xBC\x8A", "x"},   // ＊
      {"\xE3\x80\x80", ""},    // ideographic space
      {"\xEF\xBC\xBB", "["},   // ［
  };
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    for (const auto& [from, to] : kReplacements)
      if (text.substr(i, from.size()) == from) {
        out += to;
        i += from.size();
        replaced = true;
        break;
      }
    if (replaced) continue;
    const char c = text[i++];
    if (c == ' ' || c == '\t') continue;
    out += (c == 'X' || c == '*') ? 'x' : c;
  }
  return out;
}

// Removes a leading prefix of the list, case ignored for ASCII; true if one was there.
bool TakePrefix(std::string& text, std::initializer_list<std::string_view> prefixes) {
  for (std::string_view p : prefixes) {
    if (text.size() < p.size()) continue;
    bool same = true;
    for (std::size_t i = 0; i < p.size() && same; ++i) {
      const unsigned char a = static_cast<unsigned char>(text[i]), b = static_cast<unsigned char>(p[i]);
      same = a == b || (a < 128 && b < 128 && std::tolower(a) == std::tolower(b));
    }
    if (same) {
      text.erase(0, p.size());
      return true;
    }
  }
  return false;
}

// "63x6" -> {63, 6}; nullopt unless every part is a positive number.
std::optional<std::vector<double>> Numbers(const std::string& text) {
  std::vector<double> values;
  std::size_t start = 0;
  while (true) {
    const std::size_t x = text.find('x', start);
    const std::string part = text.substr(start, x == std::string::npos ? std::string::npos : x - start);
    if (part.empty() || part.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    const double v = ParseDouble(part);
    if (!(v > 0)) return std::nullopt;
    values.push_back(v);
    if (x == std::string::npos) break;
    start = x + 1;
  }
  return values;
}

std::string Join(std::string_view mark, std::initializer_list<double> values) {
  std::string out(mark);
  bool first = true;
  for (double v : values) {
    if (!first) out += "\xC3\x97";  // ×
    out += FormatInput(v);
    first = false;
  }
  return out;
}

// "20b" -> "20b" (the number and a series letter a, b or c).
std::optional<std::string> NumberAndSeries(std::string text) {
  std::string series;
  if (!text.empty() && std::string_view("abcABC").find(text.back()) != std::string_view::npos) {
    series = static_cast<char>(std::tolower(static_cast<unsigned char>(text.back())));
    text.pop_back();
  }
  const auto numbers = Numbers(text);
  if (!numbers || numbers->size() != 1) return std::nullopt;
  return FormatInput(numbers->front()) + series;
}

}  // namespace

std::optional<std::string> NormalizeDesignation(std::string_view typed) {
  std::string text = Compact(typed);
  if (TakePrefix(text, {"[", "\xE6\xA7\xBD" /* 槽 */, "C"})) {
    const auto rest = NumberAndSeries(text);
    if (!rest) return std::nullopt;
    return "[" + *rest;
  }
  if (TakePrefix(text, {"\xE5\xB7\xA5" /* 工 */, "I"})) {
    const auto rest = NumberAndSeries(text);
    if (!rest) return std::nullopt;
    return "I" + *rest;
  }
  if (TakePrefix(text, {"\xCE\xA6" /* Φ */, "\xCF\x86" /* φ */, "\xCF\x95" /* ϕ */, "\xC3\x98" /* Ø */,
                        "\xC3\xB8" /* ø */, "D", "P"})) {
    const auto n = Numbers(text);
    if (!n || n->size() != 2) return std::nullopt;
    return Join("\xCE\xA6", {(*n)[0], (*n)[1]});
  }
  if (TakePrefix(text, {"\xE2\x96\xA1" /* □ */, "\xE5\x8F\xA3" /* 口 */, "SHS", "RHS"})) {
    const auto n = Numbers(text);
    if (!n || n->size() < 2 || n->size() > 3) return std::nullopt;
    if (n->size() == 2 || (*n)[0] == (*n)[1]) return Join("\xE2\x96\xA1", {(*n)[0], n->back()});
    return Join("\xE2\x96\xA1", {std::fmax((*n)[0], (*n)[1]), std::fmin((*n)[0], (*n)[1]), (*n)[2]});
  }
  TakePrefix(text, {"\xE2\x88\x9F" /* ∟ */, "\xE2\x88\xA0" /* ∠ */, "L"});
  const auto n = Numbers(text);
  if (!n || n->size() < 2 || n->size() > 3) return std::nullopt;
  if (n->size() == 2 || (*n)[0] == (*n)[1]) return Join("\xE2\x88\x9F", {(*n)[0], n->back()});
  return Join("\xE2\x88\x9F", {std::fmax((*n)[0], (*n)[1]), std::fmin((*n)[0], (*n)[1]), (*n)[2]});
}

const std::vector<SteelSection>& SectionsOf(SectionFamily family) {
  return TheLibrary().sections[static_cast<std::size_t>(family)];
}

const SteelSection* FindSection(std::string_view designation) {
  const auto normal = NormalizeDesignation(designation);
  if (!normal) return nullptr;
  const auto& index = TheLibrary().byDesignation;
  const auto it = index.find(*normal);
  return it == index.end() ? nullptr : it->second;
}

const char* SectionStandard(const SteelSection& s) {
  switch (s.family) {
    case SectionFamily::RoundTube: return s.kind == "焊接" ? "GB/T 3091" : "GB/T 17395";
    case SectionFamily::HollowSection: return "GB/T 6728";
    default: return "GB/T 706";
  }
}

}  // namespace tiecalc
