#pragma once
// CSheetWriter: writes a table of text cells to a workbook sheet (a path
// ending in ".xls" or ".xlsx") through the workbook driver's SQL, or to a
// delimited text file (any other path). The whole table is kept in memory as
// row strings, row 1 holding the column names; an existing table is loaded
// first, backed up, and extended below its last row.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/sheetdb/SheetConnection.h"

namespace tiecalc {

class CSheetWriter {
 public:
  // path, the sheet name (workbooks) or the value delimiter (text files),
  // and whether existing content is backed up before anything is written.
  // Workbook connections that cannot be opened throw CSheetDbError.
  CSheetWriter(const std::string& path, const std::string& sheetOrDelimiter, bool keepBackup);
  // The same, talking to the given connection in workbook mode.
  CSheetWriter(const std::string& path, const std::string& sheetOrDelimiter, bool keepBackup,
               std::unique_ptr<ISheetConnection> connection);
  ~CSheetWriter();
  CSheetWriter(const CSheetWriter&) = delete;
  CSheetWriter& operator=(const CSheetWriter&) = delete;

  // From now on rows change only the table in memory until SaveAll.
  void BeginBatch();
  bool SetHeaderRow(const std::vector<std::string>& names, bool replace);
  // rowNumber is 1-based; 0 appends after the last row.
  bool AppendRow(const std::vector<std::string>& values, int32_t rowNumber, bool replace);
  // Writes the whole table.
  bool SaveAll();
  // Rows of the table so far, the header included.
  int32_t TotalRows() const { return m_totalRows; }
  // The next SaveAll of a workbook also adds a line chart of rows first..last
  // (1-based): column 1 against the first, the next `series` columns as lines.
  void RequestLineChart(int32_t first, int32_t last, int32_t series) { m_chart = {first, last, series}; }

  // A path the writer stores as a workbook: ".xls" or ".xlsx", any case.
  static bool IsWorkbookPath(const std::string& path);

  const std::string& LastError() const { return m_lastError; }
  const std::vector<std::string>& Rows() const { return m_rows; }

 private:
  void Construct(const std::string& sheetOrDelimiter);
  void FindExcelDriver();
  bool LoadExisting();
  bool LoadExcel();
  bool LoadText();
  bool SplitRow(std::vector<std::string>& values, int32_t rowNumber);
  void SplitRowText(const std::string& row, std::vector<std::string>& values) const;
  std::string RowString(const std::vector<std::string>& values) const;
  bool SaveExcel();
  bool SaveText();

  bool m_appendMode = false;
  bool m_keepBackup = false;
  bool m_isExcel = false;
  bool m_inBatch = false;
  bool m_savingBackup = false;  // the text table's NAME.bak copy is being written
  int32_t m_currentRow = 1;
  int32_t m_totalRows = 0;
  int16_t m_totalColumns = 0;
  std::string m_sql;
  std::string m_connect;
  std::string m_scratch;
  std::string m_rowText;
  std::string m_sheetName;
  std::string m_driver;
  std::string m_path;
  std::string m_delimiter;
  std::string m_lastError;
  std::vector<std::string> m_scratchValues;
  std::vector<std::string> m_columnNames;
  std::vector<std::string> m_rows;
  std::unique_ptr<ISheetConnection> m_database;
  struct ChartRequest {
    int32_t first = 0, last = 0, series = 0;
  };
  std::optional<ChartRequest> m_chart;
  std::unique_ptr<ISheetRecordset> m_recordset;
};

}  // namespace tiecalc
