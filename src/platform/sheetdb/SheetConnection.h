#pragma once
// The embedded workbook driver: what the sheet writer asks of a database
// driver for workbook files - the installer's driver list, a connection
// opened from a connection string, directly executed statements and a
// forward-only record set of text fields - and the engine that answers it
// from a workbook file.
//
// A sheet is a table whose first row holds the column names. The engine
// understands exactly these statements (names in brackets, values in single
// quotes with an embedded quote doubled):
//   CREATE TABLE [S] ([a] char(255), ...)        also [S$A1:IV65536]
//   DROP TABLE [S$A1:IV65536]                     empties the sheet; it stays
//   INSERT INTO [S$A1:IVk] ([a], ...) VALUES ('x', ...)   appends a row
//   SELECT * FROM [S$A1:IV65536]                  through OpenForwardOnly
// Changes are made to the workbook in memory and written to the file,
// atomically, when the connection closes; a connection on which a statement
// failed writes nothing, so a sheet is never left half rewritten.

#include <memory>
#include <string>
#include <vector>

#include "platform/sheetdb/Workbook.h"

namespace tiecalc {

// The one driver of the engine.
inline constexpr const char* kSheetDriverName = "tiecalc Excel Driver (*.xls, *.xlsx)";

// Fills buffer with the installed driver names, each ended by a NUL, the
// list ended by an empty name, cut to size characters; *written (when not
// null) receives the characters used. False when there is no buffer.
bool SheetDbGetInstalledDrivers(char* buffer, unsigned short size, unsigned short* written);

class ISheetRecordset {
 public:
  virtual ~ISheetRecordset() = default;
  virtual short ColumnCount() const = 0;
  virtual std::string ColumnName(short index) const = 0;
  virtual bool IsEOF() const = 0;
  // The field of the current record as text; throws CSheetSqlError when
  // there is none.
  virtual std::string FieldText(short index) const = 0;
  virtual void MoveNext() = 0;
};

class ISheetConnection {
 public:
  virtual ~ISheetConnection() = default;
  // Throws CSheetDbError (unknown driver, a file that is not a workbook, ...).
  virtual void Open(const std::string& connect) = 0;
  virtual bool IsOpen() const = 0;
  // Throws CSheetSqlError with the driver's text; the statement changes
  // nothing then.
  virtual void ExecuteSql(const std::string& sql) = 0;
  // A SELECT; throws CSheetSqlError (a missing sheet, another statement).
  virtual std::unique_ptr<ISheetRecordset> OpenForwardOnly(const std::string& sql) = 0;
  // Adds a line chart to a sheet (beyond the statements: a workbook format
  // that cannot hold charts ignores it, and so does a driver without them).
  virtual void AddLineChart(const std::string& sheet, const sheetdb::SheetLineChart& chart) {
    (void)sheet, (void)chart;
  }
  // Ends the connection; throws CSheetDbError when the changes cannot be
  // written (the connection is closed all the same). Closing a closed
  // connection does nothing.
  virtual void Close() = 0;
};

// One command's changes to one workbook, gathered over the connections that
// make them and written to the file in a single replacement by Commit. A
// connection given a session keeps its changes there when it closes, and
// the next connection to the same workbook starts from them; until Commit
// the file is untouched, so a command that fails half-way leaves it
// byte-identical.
class CWorkbookSession {
 public:
  // Writes the changes kept (nothing when there are none). Throws
  // CSheetDbError; the file is then as it was.
  void Commit();

 private:
  friend class CSheetConnection;
  std::string m_path;
  bool m_existed = false;     // the file was there when the first connection opened
  bool m_haveBook = false;
  sheetdb::Workbook m_book;   // the changes kept, when m_haveBook
};

// The engine.
class CSheetConnection : public ISheetConnection {
 public:
  explicit CSheetConnection(std::shared_ptr<CWorkbookSession> session = nullptr) : m_session(std::move(session)) {}
  ~CSheetConnection() override;

  void Open(const std::string& connect) override;
  bool IsOpen() const override { return m_open; }
  void ExecuteSql(const std::string& sql) override;
  std::unique_ptr<ISheetRecordset> OpenForwardOnly(const std::string& sql) override;
  void AddLineChart(const std::string& sheet, const sheetdb::SheetLineChart& chart) override;
  void Close() override;

 private:
  bool m_open = false;
  bool m_readOnly = false;
  bool m_changed = false;
  bool m_failed = false;   // a statement failed: the changes are dropped
  bool m_existed = false;  // the file was there when the connection opened
  std::string m_path;
  sheetdb::Workbook m_book;
  std::shared_ptr<CWorkbookSession> m_session;
};

}  // namespace tiecalc
