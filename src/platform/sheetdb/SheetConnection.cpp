#include "platform/sheetdb/SheetConnection.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <map>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/SheetSql.h"

namespace tiecalc {

using sheetdb::Sheet;
using sheetdb::Statement;

namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Sheet and column names compare without regard to ASCII case, as in the
// spreadsheet programs.
bool SameName(const std::string& a, const std::string& b) { return Upper(a) == Upper(b); }

// KEY=VALUE pairs separated by ';'; a value may be wrapped in {}, "" or ''.
std::map<std::string, std::string> ParseConnect(const std::string& connect) {
  std::map<std::string, std::string> keys;
  size_t i = 0;
  while (i < connect.size()) {
    size_t eq = connect.find('=', i);
    if (eq == std::string::npos) {
      std::string rest = connect.substr(i);
      if (rest.find_first_not_of(" ;") != std::string::npos)
        throw CSheetDbError("工作簿连接字符串中的“" + rest + "”没有值");
      break;
    }
    std::string key = connect.substr(i, eq - i);
    key.erase(0, key.find_first_not_of(' '));
    key.erase(key.find_last_not_of(' ') + 1);
    size_t v = eq + 1;
    std::string value;
    char open = v < connect.size() ? connect[v] : '\0';
    char close = open == '{' ? '}' : open == '"' ? '"' : open == '\'' ? '\'' : '\0';
    if (close) {
      size_t end = connect.find(close, v + 1);
      if (end == std::string::npos) throw CSheetDbError("工作簿连接字符串中 " + key + " 的值没有结束");
      value = connect.substr(v + 1, end - v - 1);
      i = connect.find(';', end);
    } else {
      // A bare value runs to the ';' that starts the next KEY=, so a path
      // holding ';' (DBQ comes last) stays whole.
      i = v;
      while ((i = connect.find(';', i)) != std::string::npos) {
        size_t eqNext = connect.find('=', i + 1);
        std::string next = connect.substr(i + 1, eqNext == std::string::npos ? 0 : eqNext - i - 1);
        if (!next.empty() && next.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_ ") == std::string::npos)
          break;
        ++i;
      }
      value = connect.substr(v, i == std::string::npos ? std::string::npos : i - v);
    }
    keys[Upper(key)] = value;
    i = i == std::string::npos ? connect.size() : i + 1;
  }
  return keys;
}

class CRecordset : public ISheetRecordset {
 public:
  explicit CRecordset(const Sheet& sheet) {
    std::vector<std::vector<std::string>> rows = sheet.rows;
    while (!rows.empty() && std::all_of(rows.back().begin(), rows.back().end(), [](auto& c) { return c.empty(); }))
      rows.pop_back();
    if (rows.empty()) return;
    auto header = rows.front();
    while (!header.empty() && header.back().empty()) header.pop_back();
    for (size_t c = 0; c < header.size(); ++c) m_names.push_back(header[c].empty() ? "F" + std::to_string(c + 1) : header[c]);
    m_rows.assign(rows.begin() + 1, rows.end());
  }
  short ColumnCount() const override { return static_cast<short>(m_names.size()); }
  std::string ColumnName(short index) const override { return m_names.at(static_cast<size_t>(index)); }
  bool IsEOF() const override { return m_at >= m_rows.size(); }
  std::string FieldText(short index) const override {
    if (IsEOF() || index < 0 || static_cast<size_t>(index) >= m_names.size())
      throw CSheetSqlError("当前行没有第 " + std::to_string(index) + " 列");
    const auto& row = m_rows[m_at];
    return static_cast<size_t>(index) < row.size() ? row[static_cast<size_t>(index)] : std::string();
  }
  void MoveNext() override {
    if (!IsEOF()) ++m_at;
  }

 private:
  std::vector<std::string> m_names;
  std::vector<std::vector<std::string>> m_rows;
  size_t m_at = 0;
};

bool HoldsTable(const Sheet& sheet) {
  return !sheet.rows.empty() && std::any_of(sheet.rows[0].begin(), sheet.rows[0].end(), [](auto& c) { return !c.empty(); });
}

void CheckSheetName(const std::string& name) {
  if (name.empty()) throw CSheetSqlError("工作表名称不能为空");
  if (sheetdb::TextLength(name) > sheetdb::kMaxSheetNameLength)
    throw CSheetSqlError("工作表名称“" + name + "”超过 31 个字符");
  if (name.find_first_of(":\\/?*[]") != std::string::npos || name.front() == '\'' || name.back() == '\'')
    throw CSheetSqlError("工作表名称“" + name + "”含有工作表名称不能含有的字符");
}

}  // namespace

bool SheetDbGetInstalledDrivers(char* buffer, unsigned short size, unsigned short* written) {
  if (!buffer || size == 0) return false;
  std::string list = std::string(kSheetDriverName) + '\0' + '\0';
  size_t n = std::min<size_t>(list.size(), size);
  std::memcpy(buffer, list.data(), n);
  if (n < list.size()) buffer[n - 1] = '\0';
  if (written) *written = static_cast<unsigned short>(n);
  return true;
}

CSheetConnection::~CSheetConnection() {
  try {
    Close();
  } catch (const CSheetDbError&) {
    // A destructor cannot report; the caller that wanted the changes closes
    // the connection itself and sees the failure there.
  }
}

void CSheetConnection::Open(const std::string& connect) {
  if (m_open) Close();
  auto keys = ParseConnect(connect);
  std::string driver = keys.count("DRIVER") ? keys["DRIVER"] : "";
  if (driver.empty())
    throw CSheetDbError("工作簿连接字符串没有指明驱动程序：" + connect);
  if (driver != kSheetDriverName) throw CSheetDbError("没有安装驱动程序“" + driver + "”（连接字符串：" + connect + "）");
  if (keys.count("FIRSTROWHASNAMES") && keys["FIRSTROWHASNAMES"] != "1")
    throw CSheetDbError("工作簿驱动程序需要 FIRSTROWHASNAMES=1（连接字符串：" + connect + "）");
  std::string path = keys.count("DBQ") ? keys["DBQ"] : "";
  if (path.empty()) throw CSheetDbError("没有指明工作簿：连接字符串中没有 DBQ（" + connect + "）");
  std::string lower = path;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!(lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".xls") == 0) && !sheetdb::IsXlsxPath(path))
    throw CSheetDbError("“" + path + "”不是工作簿的文件名（.xls 或 .xlsx）");

  std::error_code ec;
  bool exists = std::filesystem::exists(std::filesystem::path(reinterpret_cast<const char8_t*>(path.c_str())), ec);
  const bool kept = m_session && m_session->m_haveBook && m_session->m_path == path;
  if (m_session && !kept) {
    m_session->m_path = path;
    m_session->m_existed = exists;
  }
  sheetdb::Workbook book;
  if (kept) {
    book = m_session->m_book;
    exists = m_session->m_existed;
  } else if (exists) {
    book = sheetdb::LoadWorkbookFile(path);
  } else if (!keys.count("CREATE_DB") || keys["CREATE_DB"].empty()) {
    throw CSheetDbError("工作簿“" + path + "”不存在");
  }
  m_book = std::move(book);
  m_path = path;
  m_existed = exists;
  m_readOnly = keys.count("READONLY") && Upper(keys["READONLY"]) != "FALSE" && keys["READONLY"] != "0";
  m_changed = m_failed = false;
  m_open = true;
}

void CSheetConnection::ExecuteSql(const std::string& sql) {
  if (!m_open) throw CSheetSqlError("工作簿连接没有打开");
  try {
    Statement st = sheetdb::ParseStatement(sql);
    if (st.kind == Statement::Kind::Select) throw CSheetSqlError("SELECT 语句要用记录集执行");
    if (m_readOnly) throw CSheetSqlError("工作簿“" + m_path + "”是以只读方式打开的");
    auto it = std::find_if(m_book.sheets.begin(), m_book.sheets.end(), [&](const Sheet& s) { return SameName(s.name, st.table.sheet); });
    Sheet* sheet = it == m_book.sheets.end() ? nullptr : &*it;

    switch (st.kind) {
      case Statement::Kind::Create: {
        CheckSheetName(st.table.sheet);
        if (sheet && HoldsTable(*sheet)) throw CSheetSqlError("表“" + st.table.sheet + "”已经存在");
        if (st.columns.size() > sheetdb::kMaxColumns) throw CSheetSqlError("列太多：一张工作表最多 256 列");
        if (st.table.hasRange && st.columns.size() > static_cast<size_t>(st.table.lastColumn))
          throw CSheetSqlError("列数超出了表“" + st.table.sheet + "”的范围");
        for (size_t i = 0; i < st.columns.size(); ++i) {
          if (st.columns[i].empty()) throw CSheetSqlError("列名不能为空");
          for (size_t j = 0; j < i; ++j)
            if (SameName(st.columns[i], st.columns[j])) throw CSheetSqlError("列“" + st.columns[i] + "”出现了不止一次");
        }
        if (!sheet) {
          m_book.sheets.push_back({st.table.sheet, {}});
          sheet = &m_book.sheets.back();
        }
        sheet->rows.assign(1, st.columns);
        break;
      }
      case Statement::Kind::Drop:
        if (!sheet) throw CSheetSqlError("表“" + st.table.sheet + "”不存在");
        sheet->rows.clear();
        break;
      case Statement::Kind::Insert: {
        if (!sheet || !HoldsTable(*sheet)) throw CSheetSqlError("表“" + st.table.sheet + "”不存在");
        const auto& header = sheet->rows[0];
        std::vector<std::string> row;
        for (size_t i = 0; i < st.columns.size(); ++i) {
          auto col = std::find_if(header.begin(), header.end(), [&](const std::string& h) { return SameName(h, st.columns[i]); });
          if (col == header.end()) throw CSheetSqlError("表“" + st.table.sheet + "”中没有列“" + st.columns[i] + "”");
          size_t c = static_cast<size_t>(col - header.begin());
          if (st.values[i].size() > sheetdb::kMaxCellText && sheetdb::TextLength(st.values[i]) > sheetdb::kMaxCellText)
            throw CSheetSqlError(sheetdb::TextTooLongMessage(st.table.sheet, sheetdb::CellName(sheet->rows.size(), c)));
          if (row.size() <= c) row.resize(c + 1);
          row[c] = st.values[i];
        }
        if (sheet->rows.size() >= sheetdb::kMaxRows) throw CSheetSqlError("表“" + st.table.sheet + "”已满：一张工作表最多 65536 行");
        sheet->rows.push_back(std::move(row));
        break;
      }
      case Statement::Kind::Select:
        break;
    }
    m_changed = true;
  } catch (const CSheetSqlError&) {
    m_failed = true;
    throw;
  }
}

std::unique_ptr<ISheetRecordset> CSheetConnection::OpenForwardOnly(const std::string& sql) {
  if (!m_open) throw CSheetSqlError("工作簿连接没有打开");
  Statement st = sheetdb::ParseStatement(sql);
  if (st.kind != Statement::Kind::Select) throw CSheetSqlError("只有 SELECT 语句能打开记录集");
  auto it = std::find_if(m_book.sheets.begin(), m_book.sheets.end(), [&](const Sheet& s) { return SameName(s.name, st.table.sheet); });
  if (it == m_book.sheets.end()) throw CSheetSqlError("表“" + st.table.sheet + "”不存在");
  return std::make_unique<CRecordset>(*it);
}

void CSheetConnection::AddLineChart(const std::string& sheet, const sheetdb::SheetLineChart& chart) {
  if (!m_open) return;
  for (Sheet& s : m_book.sheets)
    if (SameName(s.name, sheet)) {
      s.charts.push_back(chart);
      m_changed = true;
    }
}

void CSheetConnection::Close() {
  if (!m_open) return;
  bool write = m_changed && !m_failed;
  m_open = false;
  sheetdb::Workbook book = std::move(m_book);
  m_book = {};
  if (!write) return;
  if (m_session) {
    m_session->m_book = std::move(book);
    m_session->m_haveBook = true;
    return;
  }
  sheetdb::SaveWorkbookFile(m_path, book, m_existed && !book.writtenByEngine);
}

void CWorkbookSession::Commit() {
  if (!m_haveBook) return;
  sheetdb::SaveWorkbookFile(m_path, m_book, m_existed && !m_book.writtenByEngine);
  m_haveBook = false;
}

}  // namespace tiecalc
