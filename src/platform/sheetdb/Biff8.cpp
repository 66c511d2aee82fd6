// .xls storage: the BIFF8 workbook stream inside an OLE2 compound file.
//
// Written: the global records a spreadsheet program needs to open the file
// (BOF, WRITEACCESS with the engine's mark, CODEPAGE, WINDOW1, fonts, the
// sixteen default XF records, the Normal style, one BOUNDSHEET per sheet,
// the shared string table split into CONTINUE records), then per sheet BOF,
// a COLINFO per column giving its width, DIMENSIONS, one LABELSST per
// non-empty cell, WINDOW2 and EOF.
//
// Read: the cell values and column widths of every worksheet, whoever wrote
// the file. Every length and offset is checked, since the file may be
// anything.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/sheetdb/CompoundFile.h"
#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/ReadLimits.h"
#include "platform/sheetdb/Utf.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc::sheetdb {

namespace {

enum : uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kPrecision = 0x000E,
  kDateMode = 0x0022,
  kFilePass = 0x002F,
  kFont = 0x0031,
  kContinue = 0x003C,
  kWindow1 = 0x003D,
  kBackup = 0x0040,
  kCodePage = 0x0042,
  kWriteAccess = 0x005C,
  kColInfo = 0x007D,
  kBoundSheet = 0x0085,
  kHideObj = 0x008D,
  kMulRk = 0x00BD,
  kInterfaceHdr = 0x00E1,
  kInterfaceEnd = 0x00E2,
  kMms = 0x00C1,
  kRString = 0x00D6,
  kBookBool = 0x00DA,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kExtSst = 0x00FF,
  kLabelSst = 0x00FD,
  kTabId = 0x013D,
  kUsesElfs = 0x0160,
  kDsf = 0x0161,
  kRefreshAll = 0x01B7,
  kDimensions = 0x0200,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kWindow2 = 0x023E,
  kRk = 0x027E,
  kStyle = 0x0293,
  kBof = 0x0809,
};

constexpr size_t kMaxRecordData = 8224;  // BIFF8 limit of one record's data

// ---------------------------------------------------------------- writing

class Bytes {
 public:
  std::string data;
  void U8(unsigned v) { data += static_cast<char>(v & 0xFF); }
  void U16(unsigned v) {
    U8(v);
    U8(v >> 8);
  }
  void U32(uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void Chars(const std::u16string& s, bool wide) {
    for (char16_t c : s) wide ? U16(c) : U8(c);
  }
};

bool NeedsWide(const std::u16string& s) {
  return std::any_of(s.begin(), s.end(), [](char16_t c) { return c > 0xFF; });
}

void Record(std::string& out, uint16_t type, const std::string& data) {
  Bytes head;
  head.U16(type);
  head.U16(static_cast<unsigned>(data.size()));
  out += head.data;
  out += data;
}

// ShortXLUnicodeString (8-bit length) or XLUnicodeString (16-bit length).
std::string UnicodeString(const std::u16string& s, bool shortLength) {
  Bytes b;
  bool wide = NeedsWide(s);
  shortLength ? b.U8(static_cast<unsigned>(s.size())) : b.U16(static_cast<unsigned>(s.size()));
  b.U8(wide ? 1 : 0);
  b.Chars(s, wide);
  return b.data;
}

// The shared string table: an SST record and as many CONTINUE records as its
// strings need. A string's 3-byte header is never split; its characters may
// be, and the part in the next record starts with its own option byte. Then
// EXTSST, the index readers use to find every dsst-th string: its offset in
// the stream (the table starts at `base`) and within its record.
void WriteSst(std::string& out, size_t base, const std::vector<std::string_view>& texts, uint32_t total) {
  const size_t dsst = std::max<size_t>(8, texts.size() / 128 + 1);
  Bytes index;
  index.U16(static_cast<unsigned>(dsst));
  Bytes rec;
  rec.U32(total);
  rec.U32(static_cast<uint32_t>(texts.size()));
  uint16_t type = kSst;
  auto emit = [&] {
    Record(out, type, rec.data);
    rec.data.clear();
    type = kContinue;
  };
  for (size_t n = 0; n < texts.size(); ++n) {
    const std::u16string s = Utf8ToUtf16(std::string(texts[n]));
    bool wide = NeedsWide(s);
    size_t unit = wide ? 2 : 1;
    if (rec.data.size() + 3 + (s.empty() ? 0 : unit) > kMaxRecordData) emit();
    if (n % dsst == 0) {
      index.U32(static_cast<uint32_t>(base + out.size() + 4 + rec.data.size()));
      index.U16(static_cast<unsigned>(4 + rec.data.size()));
      index.U16(0);
    }
    rec.U16(static_cast<unsigned>(s.size()));
    rec.U8(wide ? 1 : 0);
    size_t pos = 0;
    while (pos < s.size()) {
      size_t room = (kMaxRecordData - rec.data.size()) / unit;
      if (room == 0) {
        emit();
        rec.U8(wide ? 1 : 0);
        continue;
      }
      size_t take = std::min(room, s.size() - pos);
      rec.Chars(s.substr(pos, take), wide);
      pos += take;
    }
  }
  emit();
  Record(out, kExtSst, index.data);
}

std::string Bof(unsigned kind) {
  Bytes b;
  b.U16(0x0600);  // BIFF8
  b.U16(kind);    // 0x0005 workbook globals, 0x0010 worksheet
  b.U16(0x0DBB);  // build
  b.U16(0x07CC);  // year
  b.U32(0);
  b.U32(0x00000006);
  return b.data;
}

std::string U16Data(unsigned v) {
  Bytes b;
  b.U16(v);
  return b.data;
}

std::string GlobalsUpToSheets(const Workbook& book) {
  std::string out;
  Record(out, kBof, Bof(0x0005));
  Record(out, kInterfaceHdr, U16Data(1200));
  Record(out, kMms, U16Data(0));
  Record(out, kInterfaceEnd, "");
  {
    std::string name = UnicodeString(Utf8ToUtf16(kEngineMark), false);
    name.resize(112, ' ');
    Record(out, kWriteAccess, name);
  }
  Record(out, kCodePage, U16Data(1200));  // UTF-16
  Record(out, kDsf, U16Data(0));
  {
    Bytes b;
    for (size_t i = 0; i < book.sheets.size(); ++i) b.U16(static_cast<unsigned>(i + 1));
    Record(out, kTabId, b.data);
  }
  {
    Bytes b;
    b.U16(0), b.U16(0), b.U16(0x4000), b.U16(0x2000);  // position and size
    b.U16(0x0038);                                     // scroll bars and tabs shown
    b.U16(0), b.U16(0), b.U16(1), b.U16(0x0258);       // active, first, selected, tab ratio
    Record(out, kWindow1, b.data);
  }
  Record(out, kBackup, U16Data(0));
  Record(out, kHideObj, U16Data(0));
  Record(out, kDateMode, U16Data(0));
  Record(out, kPrecision, U16Data(1));
  Record(out, kRefreshAll, U16Data(0));
  Record(out, kBookBool, U16Data(0));
  // Five fonts: the file format skips index 4, so five cover 0..3 and 5.
  for (int i = 0; i < 5; ++i) {
    Bytes b;
    b.U16(220);     // 11 points
    b.U16(0);       // plain
    b.U16(0x7FFF);  // automatic colour
    b.U16(400);     // normal weight
    b.U16(0), b.U8(0), b.U8(0), b.U8(0x86), b.U8(0);  // GB2312 character set
    b.data += UnicodeString(u"宋体", true);
    Record(out, kFont, b.data);
  }
  // Fifteen style XFs and the cell XF (index 15) that every cell uses.
  for (int i = 0; i < 16; ++i) {
    Bytes b;
    b.U16(0), b.U16(0);
    b.U16(i < 15 ? 0xFFF5 : 0x0001);
    b.U8(0x20), b.U8(0), b.U8(0), b.U8(i < 15 ? 0xF4 : 0x00);
    b.U32(0), b.U32(0), b.U16(0x20C0);
    Record(out, kXf, b.data);
  }
  {
    Bytes b;
    b.U16(0x8000), b.U8(0), b.U8(0xFF);  // built-in "Normal" on XF 0
    Record(out, kStyle, b.data);
  }
  Record(out, kUsesElfs, U16Data(0));
  return out;
}

// The shared strings are views of the cells of the workbook being written,
// so that a large workbook is not held twice over while it is written.
std::string SheetStream(const Sheet& sheet, bool first, std::unordered_map<std::string_view, uint32_t>& index,
                        std::vector<std::string_view>& strings, uint32_t& total) {
  std::string out;
  Record(out, kBof, Bof(0x0010));
  size_t lastRow = 0, lastCol = 0;
  bool any = false;
  std::string cells;
  for (size_t r = 0; r < sheet.rows.size(); ++r) {
    const auto& row = sheet.rows[r];
    for (size_t c = 0; c < row.size(); ++c) {
      const std::string& text = row[c].text;  // a number as the text it shows
      if (text.empty()) continue;
      auto [it, added] = index.emplace(std::string_view(text), static_cast<uint32_t>(strings.size()));
      if (added) strings.push_back(text);
      ++total;
      Bytes b;
      b.U16(static_cast<unsigned>(r)), b.U16(static_cast<unsigned>(c)), b.U16(15), b.U32(it->second);
      Record(cells, kLabelSst, b.data);
      lastRow = std::max(lastRow, r);
      lastCol = std::max(lastCol, c);
      any = true;
    }
  }
  // Each column as wide as its longest text, in 1/256 of a digit's width.
  const std::vector<double> widths = ColumnWidths(sheet);
  for (size_t c = 0; c < widths.size(); ++c) {
    if (widths[c] <= 0) continue;
    Bytes b;
    b.U16(static_cast<unsigned>(c)), b.U16(static_cast<unsigned>(c));
    b.U16(static_cast<unsigned>(std::min(65535.0, std::ceil(widths[c] * 256))));
    b.U16(15), b.U16(0x0002), b.U16(0);  // the cells' XF; a width set by the user
    Record(out, kColInfo, b.data);
  }
  {
    Bytes b;
    b.U32(0), b.U32(any ? static_cast<uint32_t>(lastRow + 1) : 0);
    b.U16(0), b.U16(any ? static_cast<unsigned>(lastCol + 1) : 0), b.U16(0);
    Record(out, kDimensions, b.data);
  }
  out += cells;
  {
    Bytes b;
    b.U16(first ? 0x06B6 : 0x04B6);  // grid, headers, zeros; the first sheet selected
    b.U16(0), b.U16(0), b.U16(64), b.U16(0), b.U16(0), b.U16(0), b.U32(0);
    Record(out, kWindow2, b.data);
  }
  Record(out, kEof, "");
  return out;
}

std::string WorkbookStream(const Workbook& book) {
  std::unordered_map<std::string_view, uint32_t> index;
  std::vector<std::string_view> strings;
  uint32_t total = 0;
  std::vector<std::string> sheetStreams;
  for (size_t i = 0; i < book.sheets.size(); ++i)
    sheetStreams.push_back(SheetStream(book.sheets[i], i == 0, index, strings, total));

  std::string head = GlobalsUpToSheets(book);
  std::vector<std::string> names;
  size_t boundSize = 0;
  for (const auto& sheet : book.sheets) {
    names.push_back(UnicodeString(Utf8ToUtf16(sheet.name), true));
    boundSize += 4 + 6 + names.back().size();
  }
  std::string tail;
  WriteSst(tail, head.size() + boundSize, strings, total);
  Record(tail, kEof, "");
  uint32_t offset = static_cast<uint32_t>(head.size() + boundSize + tail.size());
  std::string out = head;
  for (size_t i = 0; i < book.sheets.size(); ++i) {
    Bytes b;
    b.U32(offset), b.U8(0), b.U8(0);  // visible worksheet
    b.data += names[i];
    Record(out, kBoundSheet, b.data);
    offset += static_cast<uint32_t>(sheetStreams[i].size());
  }
  out += tail;
  size_t whole = out.size();
  for (const auto& s : sheetStreams) whole += s.size();
  out.reserve(whole);
  for (auto& s : sheetStreams) {
    out += s;
    std::string().swap(s);  // each sheet's bytes are held once
  }
  return out;
}

// ---------------------------------------------------------------- reading

struct Rec {
  uint16_t type;
  const unsigned char* data;
  size_t size;
};

class Reader {
 public:
  Reader(const std::string& stream, const std::string& what) : m_s(stream), m_what(what) {}

  [[noreturn]] void Fail(const std::string& why) const {
    throw CSheetDbError(sheetdb::NotReadableMessage(m_what, ".xls", why));
  }

  // The record at pos, or false at the end of the stream.
  bool At(size_t& pos, Rec& rec) const {
    if (pos + 4 > m_s.size()) return false;
    auto* p = reinterpret_cast<const unsigned char*>(m_s.data()) + pos;
    rec.type = static_cast<uint16_t>(p[0] | p[1] << 8);
    rec.size = static_cast<size_t>(p[2] | p[3] << 8);
    if (pos + 4 + rec.size > m_s.size()) Fail("有一条记录超出了工作簿数据流的末尾");
    rec.data = p + 4;
    pos += 4 + rec.size;
    return true;
  }

  size_t Size() const { return m_s.size(); }

 private:
  const std::string& m_s;
  const std::string& m_what;
};

unsigned Get16(const unsigned char* p) { return p[0] | p[1] << 8; }
uint32_t Get32(const unsigned char* p) { return Get16(p) | static_cast<uint32_t>(Get16(p + 2)) << 16; }
double GetDouble(const unsigned char* p) {
  uint64_t bits = Get32(p) | static_cast<uint64_t>(Get32(p + 4)) << 32;
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

double RkValue(uint32_t rk) {
  double v;
  if (rk & 2) {
    v = static_cast<double>(static_cast<int32_t>(rk) >> 2);
  } else {
    uint64_t bits = static_cast<uint64_t>(rk & 0xFFFFFFFC) << 32;
    std::memcpy(&v, &bits, sizeof v);
  }
  return (rk & 1) ? v / 100 : v;
}

std::string NumberText(double v) {
  if (std::isnan(v)) return "nan";
  if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
  return std::string(buf, res.ptr);
}

std::string ErrorText(unsigned code) {
  switch (code) {
    case 0x00: return "#NULL!";
    case 0x07: return "#DIV/0!";
    case 0x0F: return "#VALUE!";
    case 0x17: return "#REF!";
    case 0x1D: return "#NAME?";
    case 0x24: return "#NUM!";
    default: return "#N/A";
  }
}

// Reads characters and skips bytes across the segments of a record and its
// CONTINUE records; a new segment inside a string's characters begins with
// the option byte that gives the width of the characters that follow.
class Segments {
 public:
  Segments(std::vector<Rec> parts, const Reader& reader) : m_parts(std::move(parts)), m_reader(reader) {}

  bool AtEnd() {
    while (m_part < m_parts.size() && m_pos >= m_parts[m_part].size) Next();
    return m_part >= m_parts.size();
  }
  unsigned Byte() {
    if (AtEnd()) m_reader.Fail("共享文字表不完整");
    return m_parts[m_part].data[m_pos++];
  }
  unsigned U16() {
    unsigned lo = Byte();
    return lo | Byte() << 8;
  }
  uint32_t U32() {
    uint32_t lo = U16();
    return lo | static_cast<uint32_t>(U16()) << 16;
  }
  void Skip(uint64_t n) {
    while (n > 0) {
      if (AtEnd()) m_reader.Fail("共享文字表不完整");
      size_t take = static_cast<size_t>(std::min<uint64_t>(n, m_parts[m_part].size - m_pos));
      m_pos += take;
      n -= take;
    }
  }
  std::u16string Chars(size_t count, bool wide) {
    std::u16string s;
    while (s.size() < count) {
      if (m_pos >= CurrentSize()) {
        Next();
        if (m_part >= m_parts.size()) m_reader.Fail("共享文字表不完整");
        if (m_parts[m_part].size == 0) continue;
        wide = (m_parts[m_part].data[m_pos++] & 1) != 0;
        continue;
      }
      if (wide) {
        if (m_pos + 2 > CurrentSize()) m_reader.Fail("有一个字符被分在两条记录中");
        s += static_cast<char16_t>(Get16(m_parts[m_part].data + m_pos));
        m_pos += 2;
      } else {
        s += static_cast<char16_t>(m_parts[m_part].data[m_pos++]);
      }
    }
    return s;
  }

 private:
  size_t CurrentSize() const { return m_part < m_parts.size() ? m_parts[m_part].size : 0; }
  void Next() {
    ++m_part;
    m_pos = 0;
  }
  std::vector<Rec> m_parts;
  const Reader& m_reader;
  size_t m_part = 0, m_pos = 0;
};

std::vector<std::string> ReadSst(Segments seg, CReadBudget& budget) {
  seg.U32();
  uint32_t unique = seg.U32();
  std::vector<std::string> strings;
  for (uint32_t i = 0; i < unique && !seg.AtEnd(); ++i) {
    unsigned count = seg.U16();
    unsigned flags = seg.Byte();
    unsigned runs = (flags & 0x08) ? seg.U16() : 0;
    uint32_t ext = (flags & 0x04) ? seg.U32() : 0;
    budget.SharedCharacters(count + 1);  // an empty string still takes its place
    strings.push_back(Utf16ToUtf8(seg.Chars(count, flags & 1)));
    seg.Skip(4ull * runs + ext);
  }
  return strings;
}

// XLUnicodeString at p inside a record of `size` bytes (16-bit length).
std::string CellString(const Reader& reader, const unsigned char* p, size_t size) {
  if (size < 3) reader.Fail("有一个文字单元格不完整");
  size_t count = Get16(p);
  bool wide = p[2] & 1;
  size_t offset = 3 + ((p[2] & 0x08) ? 2 : 0) + ((p[2] & 0x04) ? 4 : 0);
  size_t avail = size > offset ? (size - offset) / (wide ? 2 : 1) : 0;
  count = std::min(count, avail);  // a text longer than its record continues; keep what is here
  std::u16string s;
  for (size_t i = 0; i < count; ++i) s += static_cast<char16_t>(wide ? Get16(p + offset + 2 * i) : p[offset + i]);
  return Utf16ToUtf8(s);
}

void Put(Sheet& sheet, size_t row, size_t col, const std::string& text, CReadBudget& budget) {
  if (row >= kMaxRows || col >= kMaxColumns) return;
  // The places a cell makes (the rows and cells before it included) and its
  // text are charged before they are allocated.
  if (sheet.rows.size() <= row) budget.Cells(row + 1 - sheet.rows.size());
  const size_t had = sheet.rows.size() > row ? sheet.rows[row].size() : 0;
  if (had <= col) budget.Cells(col + 1 - had);
  budget.Text(text.size());
  if (sheet.rows.size() <= row) sheet.rows.resize(row + 1);
  auto& cells = sheet.rows[row];
  if (cells.size() <= col) cells.resize(col + 1);
  cells[col] = text;
}

void ReadSheet(const Reader& reader, size_t pos, Sheet& sheet, const std::vector<std::string>& sst,
               CReadBudget& budget) {
  Rec rec;
  if (!reader.At(pos, rec) || rec.type != kBof) reader.Fail("工作表“" + sheet.name + "”不在工作簿所说的位置");
  bool pendingString = false;
  size_t pendingRow = 0, pendingCol = 0;
  int depth = 1;  // embedded substreams (charts) have their own BOF/EOF
  while (reader.At(pos, rec)) {
    const unsigned char* d = rec.data;
    size_t n = rec.size;
    if (rec.type == kBof) {
      ++depth;
      continue;
    }
    if (rec.type == kEof) {
      if (--depth == 0) return;
      continue;
    }
    if (depth > 1) continue;
    switch (rec.type) {
      case kLabelSst:
        if (n >= 10) {
          uint32_t i = Get32(d + 6);
          if (i >= sst.size()) reader.Fail("有单元格引用了不存在的共享文字");
          Put(sheet, Get16(d), Get16(d + 2), sst[i], budget);
        }
        break;
      case kLabel:
      case kRString:
        if (n >= 6) Put(sheet, Get16(d), Get16(d + 2), CellString(reader, d + 6, n - 6), budget);
        break;
      case kNumber:
        if (n >= 14) Put(sheet, Get16(d), Get16(d + 2), NumberText(GetDouble(d + 6)), budget);
        break;
      case kRk:
        if (n >= 10) Put(sheet, Get16(d), Get16(d + 2), NumberText(RkValue(Get32(d + 6))), budget);
        break;
      case kMulRk:
        if (n >= 6) {
          size_t row = Get16(d), col = Get16(d + 2);
          for (size_t off = 4; off + 6 + 2 <= n; off += 6, ++col) Put(sheet, row, col, NumberText(RkValue(Get32(d + off + 2))), budget);
        }
        break;
      case kBoolErr:
        if (n >= 8) Put(sheet, Get16(d), Get16(d + 2), d[7] ? ErrorText(d[6]) : (d[6] ? "TRUE" : "FALSE"), budget);
        break;
      case kFormula:
        if (n >= 14) {
          size_t row = Get16(d), col = Get16(d + 2);
          if (Get16(d + 12) != 0xFFFF) {
            Put(sheet, row, col, NumberText(GetDouble(d + 6)), budget);
          } else if (d[6] == 0) {  // the text follows in a STRING record
            pendingString = true, pendingRow = row, pendingCol = col;
            continue;
          } else if (d[6] == 1) {
            Put(sheet, row, col, d[8] ? "TRUE" : "FALSE", budget);
          } else if (d[6] == 2) {
            Put(sheet, row, col, ErrorText(d[8]), budget);
          }
        }
        break;
      case kColInfo:
        if (n >= 6)
          for (size_t c = Get16(d); c <= Get16(d + 2) && c < kMaxColumns; ++c) {
            if (sheet.columnWidths.size() <= c) sheet.columnWidths.resize(c + 1);
            sheet.columnWidths[c] = Get16(d + 4) / 256.0;
          }
        break;
      case kString:
        if (pendingString) Put(sheet, pendingRow, pendingCol, CellString(reader, d, n), budget);
        break;
      default:
        break;
    }
    if (rec.type != kContinue) pendingString = false;
  }
  reader.Fail("工作表“" + sheet.name + "”没有结束记录");
}

Workbook ParseWorkbookStream(const std::string& stream, const std::string& what) {
  Reader reader(stream, what);
  size_t pos = 0;
  Rec rec;
  if (!reader.At(pos, rec) || rec.type != kBof || rec.size < 4) reader.Fail("工作簿数据流不以 BOF 记录开头");
  if (Get16(rec.data) != 0x0600) reader.Fail("不是 BIFF8 格式（97 版或以后的 .xls 工作簿）");
  if (Get16(rec.data + 2) != 0x0005) reader.Fail("工作簿数据流不以工作簿全局记录开头");

  Workbook book;
  CReadBudget budget(what);
  std::vector<std::pair<uint32_t, std::string>> bound;
  std::vector<std::string> sst;
  bool ended = false;
  while (!ended && reader.At(pos, rec)) {
    switch (rec.type) {
      case kFilePass:
        reader.Fail("工作簿有密码保护");
      case kWriteAccess:
        if (rec.size >= 3) book.writtenByEngine = CellString(reader, rec.data, rec.size) == kEngineMark;
        break;
      case kBoundSheet:
        if (rec.size < 8) reader.Fail("有一个工作表条目不完整");
        if (rec.data[5] == 0) {  // worksheets; chart and macro sheets hold no cells
          size_t count = rec.data[6];
          bool wide = rec.data[7] & 1;
          if (8 + count * (wide ? 2 : 1) > rec.size) reader.Fail("有一个工作表名称不完整");
          std::u16string name;
          for (size_t i = 0; i < count; ++i) name += static_cast<char16_t>(wide ? Get16(rec.data + 8 + 2 * i) : rec.data[8 + i]);
          bound.emplace_back(Get32(rec.data), Utf16ToUtf8(name));
        }
        break;
      case kSst: {
        std::vector<Rec> parts{rec};
        size_t next = pos;
        Rec more;
        while (reader.At(next, more) && more.type == kContinue) {
          parts.push_back(more);
          pos = next;
        }
        sst = ReadSst(Segments(std::move(parts), reader), budget);
        break;
      }
      case kEof:
        ended = true;
        break;
      default:
        break;
    }
  }
  if (!ended) reader.Fail("工作簿全局记录没有结束记录");
  for (auto& [offset, name] : bound) {
    if (offset >= reader.Size()) reader.Fail("工作表“" + name + "”在工作簿数据流之外");
    Sheet sheet;
    sheet.name = name;
    ReadSheet(reader, offset, sheet, sst, budget);
    book.sheets.push_back(std::move(sheet));
  }
  return book;
}

}  // namespace

Workbook ReadXls(const std::string& bytes, const std::string& what) {
  std::optional<std::string> data;
  try {
    const CCompoundFileReader ole(bytes);
    data = ole.ReadStream("Workbook");
    if (!data)
      throw CSheetDbError(NotReadableMessage(
          what, ".xls", ole.HasStream("Book") ? "是 97 版以前的 .xls 格式" : "其中没有工作簿数据流"));
  } catch (const CCompoundFileError& e) {
    throw CSheetDbError(NotReadableMessage(what, ".xls", e.what()));
  }
  return ParseWorkbookStream(*data, what);
}

std::string WriteXls(const Workbook& book) {
  if (const std::string why = WhyNotWritable(book); !why.empty()) throw CSheetDbError(CannotComposeMessage(".xls", why));
  try {
    return WriteCompoundFile("Workbook", WorkbookStream(book));
  } catch (const CCompoundFileError& e) {
    throw CSheetDbError(CannotComposeMessage(".xls", e.what()));
  }
}

}  // namespace tiecalc::sheetdb
