#include "export/SheetWriter.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/file/AtomicFile.h"
#include "platform/file/FileMessages.h"
#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/Workbook.h"

namespace tiecalc {

namespace {

constexpr const char* kExcelDelimiter = ",;.?";
constexpr const char* kBackupSheet = "旧文件备份";

std::string LowerAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Values go into the statement between single quotes; a quote inside a
// value is doubled, so any text reaches the cell as it is.
std::string QuoteValue(const std::string& value) {
  std::string out = "'";
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace

CSheetWriter::CSheetWriter(const std::string& path, const std::string& sheetOrDelimiter, bool keepBackup)
    : CSheetWriter(path, sheetOrDelimiter, keepBackup, nullptr) {}

CSheetWriter::CSheetWriter(const std::string& path, const std::string& sheetOrDelimiter, bool keepBackup,
                           std::unique_ptr<ISheetConnection> connection)
    : m_keepBackup(keepBackup), m_path(path) {
  m_database = std::move(connection);
  Construct(sheetOrDelimiter);
}

bool CSheetWriter::IsWorkbookPath(const std::string& path) {
  // ".xlsx" is a workbook as well, stored as Office Open XML.
  return LowerAscii(path.size() >= 4 ? path.substr(path.size() - 4) : path) == ".xls" || sheetdb::IsXlsxPath(path);
}

void CSheetWriter::Construct(const std::string& sheetOrDelimiter) {
  m_rowText = LowerAscii(m_path.size() >= 4 ? m_path.substr(m_path.size() - 4) : m_path);
  m_isExcel = m_rowText == ".xls" || sheetdb::IsXlsxPath(m_path);
  m_rowText.clear();

  if (m_isExcel) {
    m_sheetName = sheetOrDelimiter;
    m_delimiter = kExcelDelimiter;
    if (!m_database) m_database = std::make_unique<CSheetConnection>();
    FindExcelDriver();
    m_connect = "DRIVER={" + m_driver + "};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;CREATE_DB=\"" + m_path +
                "\";DBQ=" + m_path;
    if (LoadExisting() && m_keepBackup && m_appendMode) {
      std::string sheet = m_sheetName;
      m_sheetName = kBackupSheet;
      m_appendMode = false;
      if (!SaveAll()) m_keepBackup = false;
      m_appendMode = true;
      m_sheetName = sheet;
      m_currentRow = 1;
    }
  } else {
    m_database.reset();
    m_delimiter = sheetOrDelimiter;
    if (LoadExisting() && m_keepBackup && m_appendMode) {
      std::string path = m_path;
      m_scratch = m_path + ".bak";
      m_path = m_scratch;
      m_savingBackup = true;
      if (!SaveAll()) m_keepBackup = false;
      m_savingBackup = false;
      m_path = path;
    }
  }
}

CSheetWriter::~CSheetWriter() {
  m_recordset.reset();
  if (m_database) {
    try {
      m_database->Close();
    } catch (const std::exception&) {
      // Nothing is pending on a closed connection; a destructor cannot report.
    }
  }
}

void CSheetWriter::FindExcelDriver() {
  char list[2000];
  unsigned short used = 0;
  if (!SheetDbGetInstalledDrivers(list, sizeof list, &used)) return;
  size_t at = 0;
  while (at < used && list[at] != '\0') {
    size_t end = at;
    while (end < used && list[end] != '\0') ++end;
    std::string name(list + at, end - at);
    if (name.find("Excel") != std::string::npos) {
      m_driver = name;
      return;
    }
    at = end + 1;
  }
}

void CSheetWriter::BeginBatch() { m_inBatch = true; }

bool CSheetWriter::LoadExisting() { return m_isExcel ? LoadExcel() : LoadText(); }

bool CSheetWriter::LoadExcel() {
  m_database->Open(m_connect);
  m_sql = "SELECT * FROM [" + m_sheetName + "$A1:IV65536]";
  try {
    m_recordset = m_database->OpenForwardOnly(m_sql);
  } catch (const CSheetSqlError&) {
    m_recordset.reset();
    m_database->Close();
    return false;
  }
  m_totalColumns = m_recordset->ColumnCount();
  if (m_totalColumns != 0) {
    m_rows.clear();
    m_appendMode = true;
    m_totalRows += 1;
    std::vector<std::string> names;
    for (short i = 0; i < m_totalColumns; ++i) {
      m_columnNames.push_back(m_recordset->ColumnName(i));
      names.push_back(m_columnNames.back());
    }
    m_rows.push_back(RowString(names));
    try {
      while (!m_recordset->IsEOF()) {
        m_totalRows += 1;
        std::vector<std::string> fields;
        for (short i = 0; i < m_totalColumns; ++i) fields.push_back(m_recordset->FieldText(i));
        m_rows.push_back(RowString(fields));
        m_recordset->MoveNext();
      }
    } catch (const CSheetSqlError&) {
      m_lastError = "工作表中的行无法读取\n";
      m_recordset.reset();
      m_database->Close();
      return false;
    }
  }
  m_recordset.reset();
  m_database->Close();
  m_currentRow = 1;
  return true;
}

bool CSheetWriter::LoadText() {
  std::ifstream in(std::filesystem::path(reinterpret_cast<const char8_t*>(m_path.c_str())), std::ios::binary);
  if (!in) {
    m_lastError = "文件无法打开\n";
    return false;
  }
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    m_rows.push_back(line);
  }
  if (in.bad()) {
    m_lastError = "文件无法打开\n";
    return false;
  }
  if (!m_rows.empty()) SplitRowText(m_rows.front(), m_columnNames);
  m_totalRows = static_cast<int32_t>(m_rows.size());
  std::vector<std::string> values;
  for (const auto& row : m_rows) {
    SplitRowText(row, values);
    m_totalColumns = std::max<int16_t>(m_totalColumns, static_cast<int16_t>(values.size()));
  }
  if (m_totalColumns > 0) m_appendMode = true;
  return true;
}

std::string CSheetWriter::RowString(const std::vector<std::string>& values) const {
  std::string row;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) row += m_delimiter;
    row += '"';
    // A workbook's rows live only in memory: a quote inside a cell is
    // doubled there, so that no cell text can pass for the delimiter and
    // every text comes back whole.
    for (char c : values[i]) row += m_isExcel && c == '"' ? std::string("\"\"") : std::string(1, c);
    row += '"';
  }
  return row;
}

void CSheetWriter::SplitRowText(const std::string& row, std::vector<std::string>& values) const {
  values.clear();
  if (m_isExcel && !row.empty() && row.front() == '"') {
    // "a",;.?"b" with doubled quotes inside the cells, as RowString made it.
    std::string value;
    size_t i = 1;
    while (i < row.size()) {
      if (row[i] != '"') {
        value += row[i++];
      } else if (i + 1 < row.size() && row[i + 1] == '"') {
        value += '"';
        i += 2;
      } else {
        values.push_back(std::move(value));
        value.clear();
        i += 1;
        if (row.compare(i, m_delimiter.size(), m_delimiter) != 0) return;
        i += m_delimiter.size() + 1;  // the delimiter and the next opening quote
      }
    }
    values.push_back(std::move(value));  // an unclosed last cell
    return;
  }
  auto cut = [&](const std::string& separator) {
    size_t at = 0;
    for (;;) {
      size_t next = row.find(separator, at);
      values.push_back(row.substr(at, next == std::string::npos ? std::string::npos : next - at));
      if (next == std::string::npos) return;
      at = next + separator.size();
    }
  };
  const std::string pattern = '"' + m_delimiter + '"';
  if (row.find(pattern) != std::string::npos) {
    cut(pattern);
    values.front().erase(0, 1);
    if (!values.back().empty()) values.back().pop_back();
  } else if (!m_delimiter.empty() && row.find(m_delimiter) != std::string::npos) {
    cut(m_delimiter);
  } else {
    values.push_back(row);
    if (row.size() >= 2 && row.find('"') == 0 && row.rfind('"') == row.size() - 1)
      values.back() = row.substr(1, row.size() - 2);
  }
}

bool CSheetWriter::SplitRow(std::vector<std::string>& values, int32_t rowNumber) {
  const auto stored = static_cast<int32_t>(m_rows.size());
  if (rowNumber > stored) {
    m_lastError = "要读的行超出了表格的行数\n";
    return false;
  }
  if (rowNumber < 0 || (rowNumber == 0 && m_currentRow > stored)) return false;
  if (rowNumber != 0) m_currentRow = rowNumber;
  SplitRowText(m_rows[static_cast<size_t>(m_currentRow - 1)], values);
  m_currentRow += 1;
  return true;
}

bool CSheetWriter::SetHeaderRow(const std::vector<std::string>& names, bool replace) {
  if (!m_appendMode) {
    m_totalColumns = static_cast<int16_t>(names.size());
    bool ok = AppendRow(names, 1, true);
    if (ok) m_totalRows = 1;
    return ok;
  }
  if (replace) return AppendRow(names, 1, true);

  if (!SplitRow(m_scratchValues, 1)) return false;
  if (m_isExcel) {
    for (const auto& name : names) {
      if (std::find(m_scratchValues.begin(), m_scratchValues.end(), name) != m_scratchValues.end()) {
        m_lastError = "表头中的列名重复：" + name + "\n";
        return false;
      }
    }
  }
  std::vector<std::string> combined = m_scratchValues;
  combined.insert(combined.end(), names.begin(), names.end());
  if (!AppendRow(combined, 1, true)) {
    m_lastError = "表头无法加入\n";
    return false;
  }
  if (m_totalColumns < static_cast<int16_t>(combined.size())) m_totalColumns = static_cast<int16_t>(combined.size());
  return true;
}

bool CSheetWriter::AppendRow(const std::vector<std::string>& values, int32_t rowNumber, bool replace) {
  if (rowNumber < 0) return false;
  if (rowNumber == 1) {
    if (m_isExcel) {
      for (size_t i = 0; i < values.size(); ++i) {
        for (size_t j = i + 1; j < values.size(); ++j) {
          if (values[i] == values[j]) {
            m_lastError = "表头中的列名重复：" + values[i] + "\n";
            return false;
          }
        }
      }
      if (static_cast<int32_t>(values.size()) < m_totalColumns) {
        m_lastError = "新表头的列数不能少于原有表头的列数\n";
        return false;
      }
      m_totalColumns = static_cast<int16_t>(values.size());
    }
    m_columnNames = values;
  } else if (m_isExcel && m_totalColumns == 0) {
    m_lastError = "还没有表头，请先加入表头\n";
    return false;
  }
  if (m_isExcel) {
    if (values.size() > m_columnNames.size()) {
      m_lastError = "要加入的列数不能多于表头的列数\n";
      return false;
    }
  } else {
    m_totalColumns = std::max<int16_t>(m_totalColumns, static_cast<int16_t>(values.size()));
  }

  m_rowText = RowString(values);
  if (rowNumber >= 1 && rowNumber <= m_totalRows) {
    auto at = m_rows.begin() + (rowNumber - 1);
    if (replace) {
      *at = m_rowText;
    } else {
      m_rows.insert(at, m_rowText);
      m_totalRows += 1;
    }
  } else if (rowNumber > m_totalRows) {
    m_currentRow = m_totalRows;
    std::vector<std::string> blanks(static_cast<size_t>(m_totalColumns), m_isExcel ? " " : "");
    for (int32_t r = m_totalRows + 1; r < rowNumber; ++r) {
      m_rows.push_back(RowString(blanks));
      m_currentRow += 1;
    }
    m_rows.push_back(m_rowText);
    m_currentRow += 1;
    m_totalRows = rowNumber;
  } else {
    m_rows.push_back(m_rowText);
    m_totalRows += 1;
  }
  if (!m_inBatch) SaveAll();
  return true;
}

bool CSheetWriter::SaveAll() { return m_isExcel ? SaveExcel() : SaveText(); }

bool CSheetWriter::SaveExcel() {
  m_database->Open(m_connect);
  try {
    if (m_appendMode) {
      m_database->ExecuteSql("DROP TABLE [" + m_sheetName + "$A1:IV65536]");
      m_scratch = "CREATE TABLE [" + m_sheetName + "$A1:IV65536] (";
    } else {
      m_scratch = "CREATE TABLE [" + m_sheetName + "] (";
    }
    for (const auto& name : m_columnNames) m_scratch += "[" + name + "]" + " char(255), ";
    m_scratch.erase(m_scratch.size() - 2);
    m_scratch += ")";
    m_database->ExecuteSql(m_scratch);
    if (!m_appendMode) {
      m_totalColumns = static_cast<int16_t>(m_columnNames.size());
      m_appendMode = true;
    }
    for (int32_t k = 1; k <= m_totalRows - 1; ++k) {
      if (!SplitRow(m_scratchValues, k + 1)) continue;
      m_scratch = "INSERT INTO [" + m_sheetName + "$A1:IV" + std::to_string(k) + "] (";
      // A loaded row may be wider than the header it is written under; its
      // cells beyond the last column have nowhere to go.
      size_t count = std::min(m_scratchValues.size(), m_columnNames.size());
      for (size_t i = 0; i < count; ++i) m_scratch += "[" + m_columnNames[i] + "], ";
      m_scratch.erase(m_scratch.size() - 2);
      m_scratch += ") VALUES (";
      for (size_t i = 0; i < count; ++i) m_scratch += QuoteValue(m_scratchValues[i]) + ", ";
      m_scratch.erase(m_scratch.size() - 2);
      m_scratch += ")";
      m_database->ExecuteSql(m_scratch);
    }
  } catch (const CSheetSqlError& e) {
    m_lastError = e.what();
    m_database->Close();
    return false;
  }
  if (m_chart && m_chart->first >= 2 && m_chart->last >= m_chart->first) {
    m_database->AddLineChart(m_sheetName, {static_cast<size_t>(m_chart->first - 1), static_cast<size_t>(m_chart->last - 1),
                                           static_cast<size_t>(m_chart->series)});
    m_chart.reset();
  }
  m_database->Close();
  m_inBatch = false;
  return true;
}

bool CSheetWriter::SaveText() {
  std::string text;
  for (const auto& row : m_rows) text += row + "\r\n";
  try {
    // The copy replaces a link at NAME.bak rather than write through it.
    file::WriteFileAtomically(m_path, text, !m_savingBackup);
  } catch (const file::CFileError& e) {
    m_lastError = file::WhyInWords(e);
    return false;
  }
  m_inBatch = false;
  return true;
}

}  // namespace tiecalc
