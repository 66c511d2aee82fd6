#include "export/SheetAppend.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/file/AtomicFile.h"
#include "platform/sheetdb/SheetDbMessages.h"

namespace tiecalc {

namespace {

using sheetdb::Cell;
using sheetdb::Sheet;

constexpr const char* kBackupSheet = "旧文件备份";

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(reinterpret_cast<const char8_t*>(utf8.c_str()));
}

// Sheet and column names compare without regard to ASCII case, as in the
// spreadsheet programs.
bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return (x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x) == (y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y);
  });
}

// The index of the first sheet of that name, or the number of sheets.
size_t SheetIndex(const sheetdb::Workbook& book, const std::string& name) {
  size_t i = 0;
  while (i < book.sheets.size() && !SameName(book.sheets[i].name, name)) ++i;
  return i;
}

bool HoldsTable(const Sheet& sheet) {
  return !sheet.rows.empty() && std::any_of(sheet.rows[0].begin(), sheet.rows[0].end(), [](const Cell& c) { return !c.text.empty(); });
}

// The table a sheet holds (see AppendToWorkbook); empty when it holds none.
SheetTable TableOf(const Sheet& sheet) {
  if (!HoldsTable(sheet)) return {};
  auto blank = [](const std::vector<Cell>& row) {
    return std::all_of(row.begin(), row.end(), [](const Cell& c) { return c.text.empty(); });
  };
  size_t used = sheet.rows.size();
  while (blank(sheet.rows[used - 1])) --used;
  SheetTable table(sheet.rows.begin(), sheet.rows.begin() + static_cast<std::ptrdiff_t>(used));
  std::vector<Cell>& header = table.front();
  while (header.back().text.empty()) header.pop_back();
  for (size_t c = 0; c < header.size(); ++c)
    if (header[c].text.empty()) header[c] = "F" + std::to_string(c + 1);
  for (size_t r = 1; r < table.size(); ++r) table[r].resize(header.size());
  return table;
}

bool AllDistinct(const std::vector<Cell>& names) {
  for (size_t i = 0; i < names.size(); ++i)
    for (size_t j = i + 1; j < names.size(); ++j)
      if (names[i].text == names[j].text) return false;
  return true;
}

// Why the sheet cannot be written back with these rows (see
// AppendToWorkbook), in words; empty when it can.
std::string WhyNotWrittenBack(const std::string& sheet, const SheetTable& rows) {
  const std::vector<Cell>& header = rows.front();
  for (const Cell& name : header)
    if (name.text.find(']') != std::string::npos) return "列名“" + name.text + "”含有“]”";
  if (header.size() > sheetdb::kMaxColumns) return "列太多：一张工作表最多 256 列";
  for (size_t i = 0; i < header.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (SameName(header[i].text, header[j].text)) return "列“" + header[i].text + "”出现了不止一次";
  for (size_t r = 1; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const std::string& text = rows[r][c].text;
      if (text.size() > sheetdb::kMaxCellText && sheetdb::TextLength(text) > sheetdb::kMaxCellText)
        return sheetdb::TextTooLongMessage(sheet, sheetdb::CellName(r, c));
    }
  return {};
}

// The values of a line as a text table holds them: "a","b" as this program
// writes it, or a line of values between commas.
std::vector<std::string> SplitLine(const std::string& line) {
  std::vector<std::string> values;
  auto cut = [&](const std::string& separator) {
    for (size_t at = 0;;) {
      const size_t next = line.find(separator, at);
      values.push_back(line.substr(at, next == std::string::npos ? std::string::npos : next - at));
      if (next == std::string::npos) return;
      at = next + separator.size();
    }
  };
  if (line.find("\",\"") != std::string::npos) {
    cut("\",\"");
    values.front().erase(0, 1);
    if (!values.back().empty()) values.back().pop_back();
  } else if (line.find(',') != std::string::npos) {
    cut(",");
  } else {
    values.push_back(line);
    if (line.size() >= 2 && line.front() == '"' && line.back() == '"') values.back() = line.substr(1, line.size() - 2);
  }
  return values;
}

template <typename Values>
std::string LineOf(const Values& values) {
  std::string line;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) line += ',';
    line += '"';
    line += static_cast<const std::string&>(values[i]);
    line += '"';
  }
  return line;
}

std::string TextOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace

void AppendToWorkbook(const std::string& path, const std::string& sheetName, const SheetTable& table,
                      const sheetdb::SheetLineChart& chart) {
  std::error_code ec;
  const bool existed = std::filesystem::exists(PathOf(path), ec);
  sheetdb::Workbook book = existed ? sheetdb::LoadWorkbookFile(path) : sheetdb::Workbook{};
  size_t at = SheetIndex(book, sheetName);
  SheetTable rows = at < book.sheets.size() ? TableOf(book.sheets[at]) : SheetTable{};
  const bool existingSheet = !rows.empty();
  size_t below = 0;  // the sheet row above the table's first row
  if (existingSheet) {
    const size_t backup = SheetIndex(book, kBackupSheet);
    if (backup == book.sheets.size()) book.sheets.push_back({kBackupSheet});
    if (!HoldsTable(book.sheets[backup])) book.sheets[backup].rows = rows;
    std::vector<Cell> header = rows.front();
    header.insert(header.end(), table.front().begin(), table.front().end());
    if (AllDistinct(header)) rows.front() = std::move(header);
    below = rows.size() - 1;
    rows.insert(rows.end(), table.begin() + 1, table.end());
  } else {
    rows = table;
  }

  const size_t columns = rows.front().size();
  for (size_t r = 1; r < table.size(); ++r)
    if (table[r].size() > columns)
      throw CSheetRefusal(CSheetRefusal::Kind::Header, existingSheet, "要加入的列数不能多于表头的列数");
  if (rows.size() > sheetdb::kMaxRows) throw CSheetRefusal(CSheetRefusal::Kind::Full, existingSheet, "");
  if (const std::string why = WhyNotWrittenBack(sheetName, rows); !why.empty())
    throw CSheetRefusal(CSheetRefusal::Kind::Header, existingSheet, why);

  if (at == book.sheets.size()) book.sheets.push_back({sheetName});
  Sheet& sheet = book.sheets[at];
  sheet.rows = std::move(rows);
  sheet.charts.push_back({below + chart.firstRow, below + chart.lastRow, chart.series});
  sheetdb::SaveWorkbookFile(path, book, existed && !book.writtenByEngine);
}

void AppendToTextFile(const std::string& path, const SheetTable& table) {
  std::vector<std::string> lines;
  if (std::ifstream in(PathOf(path), std::ios::binary); in) {
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(std::move(line));
    }
    if (in.bad())
      throw file::CFileError(file::CFileError::Kind::Read, path, std::make_error_code(std::errc::io_error));
  }
  if (lines.empty()) {
    for (const auto& row : table) lines.push_back(LineOf(row));
  } else {
    try {
      // The copy replaces a link at NAME.bak rather than write through it.
      file::WriteFileAtomically(path + ".bak", TextOf(lines), false);
    } catch (const file::CFileError&) {
      // The copy is a courtesy to the user; the table goes in all the same.
    }
    std::vector<std::string> header = SplitLine(lines.front());
    for (const Cell& name : table.front()) header.push_back(name.text);
    lines.front() = LineOf(header);
    for (size_t r = 1; r < table.size(); ++r) lines.push_back(LineOf(table[r]));
  }
  file::WriteFileAtomically(path, TextOf(lines));
}

}  // namespace tiecalc
