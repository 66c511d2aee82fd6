// CSheetWriter against a connection that records what it is asked, and in
// text mode against real files.

#include "export/SheetWriter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetTestSupport.h"

namespace tiecalc {
namespace {

using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;

// Records every call as a line; answers SELECT from a prepared table (or
// fails it), and fails the statements that start with a given text.
struct Recording {
  std::vector<std::string> calls;
  bool sheetExists = false;
  std::vector<std::string> columns;
  std::vector<std::vector<std::string>> records;
  int failReadAt = -1;       // record index whose fields cannot be read
  std::string failPrefix;    // statements starting so fail
  bool failOpen = false;
};

class CRecordingRecordset : public ISheetRecordset {
 public:
  explicit CRecordingRecordset(const Recording& r) : m_r(r) {}
  short ColumnCount() const override { return static_cast<short>(m_r.columns.size()); }
  std::string ColumnName(short i) const override { return m_r.columns[static_cast<size_t>(i)]; }
  bool IsEOF() const override { return m_at >= m_r.records.size(); }
  std::string FieldText(short i) const override {
    if (static_cast<int>(m_at) == m_r.failReadAt) throw CSheetSqlError("read failure");
    return m_r.records[m_at][static_cast<size_t>(i)];
  }
  void MoveNext() override { ++m_at; }

 private:
  const Recording& m_r;
  size_t m_at = 0;
};

class CRecordingConnection : public ISheetConnection {
 public:
  explicit CRecordingConnection(Recording& r) : m_r(r) {}
  void Open(const std::string& connect) override {
    m_r.calls.push_back("OPEN " + connect);
    if (m_r.failOpen) throw CSheetDbError("cannot open the workbook");
    m_open = true;
  }
  bool IsOpen() const override { return m_open; }
  void ExecuteSql(const std::string& sql) override {
    m_r.calls.push_back(sql);
    if (!m_r.failPrefix.empty() && sql.rfind(m_r.failPrefix, 0) == 0) throw CSheetSqlError("refused: " + sql);
  }
  std::unique_ptr<ISheetRecordset> OpenForwardOnly(const std::string& sql) override {
    m_r.calls.push_back(sql);
    if (!m_r.sheetExists) throw CSheetSqlError("Table does not exist.");
    return std::make_unique<CRecordingRecordset>(m_r);
  }
  void Close() override {
    if (m_open) m_r.calls.push_back("CLOSE");
    m_open = false;
  }

 private:
  Recording& m_r;
  bool m_open = false;
};

using Calls = std::vector<std::string>;

const std::string kPath = "/data/塔机.xls";
const std::string kConnect = "OPEN DRIVER={tiecalc Excel Driver (*.xls, *.xlsx)};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;"
                             "CREATE_DB=\"/data/塔机.xls\";DBQ=/data/塔机.xls";

std::unique_ptr<CSheetWriter> Writer(Recording& r, const std::string& path = kPath) {
  return std::make_unique<CSheetWriter>(path, "S", true, std::make_unique<CRecordingConnection>(r));
}

TEST(SheetWriterStatements, ANewSheetIsCreatedThenFilledAsInTheExample) {
  Recording r;
  auto w = Writer(r);
  EXPECT_EQ(r.calls, (Calls{kConnect, "SELECT * FROM [S$A1:IV65536]", "CLOSE"}));
  r.calls.clear();
  w->BeginBatch();
  EXPECT_TRUE(w->SetHeaderRow({"a", "b"}, false));
  EXPECT_TRUE(w->AppendRow({"x", "y"}, 0, false));
  EXPECT_TRUE(r.calls.empty());  // batch: nothing written yet
  EXPECT_TRUE(w->SaveAll());
  EXPECT_EQ(r.calls, (Calls{kConnect, "CREATE TABLE [S] ([a] char(255), [b] char(255))",
                            "INSERT INTO [S$A1:IV1] ([a], [b]) VALUES ('x', 'y')", "CLOSE"}));
  EXPECT_EQ(w->Rows(), (std::vector<std::string>{"\"a\",;.?\"b\"", "\"x\",;.?\"y\""}));

  // The sheet now exists: a second write replaces it over the full range.
  r.calls.clear();
  EXPECT_TRUE(w->SaveAll());
  EXPECT_EQ(r.calls[1], "DROP TABLE [S$A1:IV65536]");
  EXPECT_EQ(r.calls[2], "CREATE TABLE [S$A1:IV65536] ([a] char(255), [b] char(255))");
}

TEST(SheetWriterStatements, AnExistingSheetIsBackedUpThenExtendedBelowItsRows) {
  Recording r;
  r.sheetExists = true;
  r.columns = {"a", "b"};
  r.records = {{"1", "2"}, {"3", "it's"}};
  auto w = Writer(r);
  EXPECT_EQ(r.calls, (Calls{kConnect, "SELECT * FROM [S$A1:IV65536]", "CLOSE", kConnect,
                            "CREATE TABLE [旧文件备份] ([a] char(255), [b] char(255))",
                            "INSERT INTO [旧文件备份$A1:IV1] ([a], [b]) VALUES ('1', '2')",
                            "INSERT INTO [旧文件备份$A1:IV2] ([a], [b]) VALUES ('3', 'it''s')", "CLOSE"}));
  r.calls.clear();
  w->BeginBatch();
  EXPECT_FALSE(w->SetHeaderRow({"a", "b"}, false));
  EXPECT_EQ(w->LastError(), "表头中的列名重复：a\n");
  EXPECT_TRUE(w->AppendRow({"x"}, 0, false));  // fewer values than columns
  EXPECT_TRUE(w->SaveAll());
  EXPECT_EQ(r.calls, (Calls{kConnect, "DROP TABLE [S$A1:IV65536]", "CREATE TABLE [S$A1:IV65536] ([a] char(255), [b] char(255))",
                            "INSERT INTO [S$A1:IV1] ([a], [b]) VALUES ('1', '2')",
                            "INSERT INTO [S$A1:IV2] ([a], [b]) VALUES ('3', 'it''s')",
                            "INSERT INTO [S$A1:IV3] ([a]) VALUES ('x')", "CLOSE"}));
}

TEST(SheetWriterStatements, AnExistingBackupSheetSkipsTheBackupAndTheRowsAreStillAppended) {
  Recording r;
  r.sheetExists = true;
  r.columns = {"a"};
  r.records = {{"old"}};
  r.failPrefix = "CREATE TABLE [旧文件备份]";
  auto w = Writer(r);
  EXPECT_EQ(r.calls.back(), "CLOSE");
  EXPECT_EQ(w->LastError(), "refused: CREATE TABLE [旧文件备份] ([a] char(255))");
  r.calls.clear();
  r.failPrefix.clear();
  w->BeginBatch();
  w->AppendRow({"new"}, 0, false);
  EXPECT_TRUE(w->SaveAll());
  EXPECT_EQ(r.calls, (Calls{kConnect, "DROP TABLE [S$A1:IV65536]", "CREATE TABLE [S$A1:IV65536] ([a] char(255))",
                            "INSERT INTO [S$A1:IV1] ([a]) VALUES ('old')", "INSERT INTO [S$A1:IV2] ([a]) VALUES ('new')",
                            "CLOSE"}));
}

TEST(SheetWriterStatements, WithoutABatchEveryRowRewritesTheSheet) {
  Recording r;
  auto w = Writer(r);
  r.calls.clear();
  w->SetHeaderRow({"a"}, false);
  w->AppendRow({"1"}, 0, false);
  w->AppendRow({"2"}, 0, false);
  EXPECT_EQ(r.calls, (Calls{kConnect, "CREATE TABLE [S] ([a] char(255))", "CLOSE",
                            kConnect, "DROP TABLE [S$A1:IV65536]", "CREATE TABLE [S$A1:IV65536] ([a] char(255))",
                            "INSERT INTO [S$A1:IV1] ([a]) VALUES ('1')", "CLOSE",
                            kConnect, "DROP TABLE [S$A1:IV65536]", "CREATE TABLE [S$A1:IV65536] ([a] char(255))",
                            "INSERT INTO [S$A1:IV1] ([a]) VALUES ('1')", "INSERT INTO [S$A1:IV2] ([a]) VALUES ('2')",
                            "CLOSE"}));
}

TEST(SheetWriterStatements, AFailedStatementClosesTheConnectionAndStopsTheWrite) {
  Recording r;
  auto w = Writer(r);
  w->BeginBatch();
  w->SetHeaderRow({"a"}, false);
  w->AppendRow({"1"}, 0, false);
  w->AppendRow({"2"}, 0, false);
  r.calls.clear();
  r.failPrefix = "INSERT INTO [S$A1:IV1]";
  EXPECT_FALSE(w->SaveAll());
  EXPECT_EQ(w->LastError(), "refused: INSERT INTO [S$A1:IV1] ([a]) VALUES ('1')");
  EXPECT_EQ(r.calls.back(), "CLOSE");
  EXPECT_EQ(r.calls.size(), 4u);  // open, create, the failed insert, close
}

TEST(SheetWriterStatements, AConnectionThatCannotBeOpenedEndsTheConstruction) {
  Recording r;
  r.failOpen = true;
  EXPECT_THROW(Writer(r), CSheetDbError);
}

TEST(SheetWriterStatements, WorkbookModeFollowsTheExtension) {
  for (const char* path : {"/d/a.XLS", "/d/a.xls", "/d/a.xlsx", "/d/a.XLSX"}) {
    Recording r;
    Writer(r, path);
    ASSERT_FALSE(r.calls.empty()) << path;
    EXPECT_NE(r.calls[0].find(std::string("DBQ=") + path), std::string::npos);
  }
  EXPECT_FALSE(CSheetWriter::IsWorkbookPath("/d/a.csv"));
  EXPECT_FALSE(CSheetWriter::IsWorkbookPath("/d/a.xlsm"));
  EXPECT_TRUE(CSheetWriter::IsWorkbookPath("/d/表.Xls"));
}

TEST(SheetWriterErrors, EveryRefusalHasItsTextAndLeavesTheTableAsItWas) {
  Recording r;
  auto w = Writer(r);
  w->BeginBatch();
  EXPECT_FALSE(w->AppendRow({"x"}, 0, false));
  EXPECT_EQ(w->LastError(), "还没有表头，请先加入表头\n");
  EXPECT_FALSE(w->SetHeaderRow({"a", "b", "a"}, false));
  EXPECT_EQ(w->LastError(), "表头中的列名重复：a\n");
  EXPECT_TRUE(w->SetHeaderRow({"a", "b"}, false));
  EXPECT_FALSE(w->AppendRow({"1", "2", "3"}, 0, false));
  EXPECT_EQ(w->LastError(), "要加入的列数不能多于表头的列数\n");
  EXPECT_EQ(w->Rows().size(), 1u);
  EXPECT_FALSE(w->AppendRow({"z"}, 1, true));
  EXPECT_EQ(w->LastError(), "新表头的列数不能少于原有表头的列数\n");
  EXPECT_EQ(w->Rows(), (std::vector<std::string>{"\"a\",;.?\"b\""}));

  // A row number beyond the end: filler rows of blanks up to it.
  EXPECT_TRUE(w->AppendRow({"4", "5"}, 4, false));
  EXPECT_EQ(w->Rows(), (std::vector<std::string>{"\"a\",;.?\"b\"", "\" \",;.?\" \"", "\" \",;.?\" \"", "\"4\",;.?\"5\""}));
  EXPECT_TRUE(w->AppendRow({"i", "j"}, 2, false));  // inserted before row 2
  EXPECT_EQ(w->Rows()[1], "\"i\",;.?\"j\"");
  EXPECT_EQ(w->Rows().size(), 5u);

  // Extending a loaded header with names that repeat among themselves.
  Recording old;
  old.sheetExists = true;
  old.columns = {"a"};
  auto e = Writer(old);
  EXPECT_FALSE(e->SetHeaderRow({"c", "c"}, false));
  EXPECT_EQ(e->LastError(), "表头无法加入\n");
  EXPECT_TRUE(e->SetHeaderRow({"b"}, false));
  EXPECT_EQ(e->Rows()[0], "\"a\",;.?\"b\"");

  Recording bad;
  bad.sheetExists = true;
  bad.columns = {"a"};
  bad.records = {{"1"}, {"2"}};
  bad.failReadAt = 1;
  auto b = Writer(bad);
  EXPECT_EQ(b->LastError(), "工作表中的行无法读取\n");
  EXPECT_EQ(bad.calls.back(), "CLOSE");
  EXPECT_EQ(bad.calls.size(), 3u);  // no backup of a sheet that could not be read
}

TEST(SheetWriterText, DelimitedTextWithQuotedValuesAndABakCopyOfTheOldFile) {
  ScratchFolder dir;
  const std::string path = dir.Path("table.csv");
  {
    CSheetWriter w(path, ",", true);
    EXPECT_EQ(w.LastError(), "文件无法打开\n");  // no file yet
    w.BeginBatch();
    w.SetHeaderRow({"a", "b"}, false);
    w.AppendRow({"1", "x,y"}, 0, false);
    w.AppendRow({"it's"}, 0, false);
    EXPECT_TRUE(w.SaveAll());
  }
  const std::string first = "\"a\",\"b\"\r\n\"1\",\"x,y\"\r\n\"it's\"\r\n";
  EXPECT_EQ(ReadBytes(path), first);
  {
    CSheetWriter w(path, ",", true);
    EXPECT_EQ(ReadBytes(path + ".bak"), first);
    w.BeginBatch();
    w.SetHeaderRow({"c"}, false);  // text mode extends the header
    w.AppendRow({"2", "3", "4"}, 0, false);
    EXPECT_TRUE(w.SaveAll());
  }
  EXPECT_EQ(ReadBytes(path), "\"a\",\"b\",\"c\"\r\n\"1\",\"x,y\"\r\n\"it's\"\r\n\"2\",\"3\",\"4\"\r\n");
  EXPECT_EQ(ReadBytes(path + ".bak"), first);

  CSheetWriter lost(dir.Path("missing/folder/t.txt"), ";", true);
  lost.AppendRow({"v"}, 0, false);
  EXPECT_EQ(lost.LastError(), "文件夹不存在");
  lost.BeginBatch();
  EXPECT_FALSE(lost.SaveAll());
}

TEST(SheetWriterText, ASheetNameAsDelimiterStillSplitsItsOwnRows) {
  ScratchFolder dir;
  const std::string path = dir.Path("t.txt");
  WriteBytes(path, "\"h1\"SEP\"h2\"\n\"plain\"\nraw\n");
  CSheetWriter w(path, "SEP", false);
  w.BeginBatch();
  w.SetHeaderRow({"h3"}, false);
  w.AppendRow({"v"}, 0, false);
  w.SaveAll();
  EXPECT_EQ(ReadBytes(path), "\"h1\"SEP\"h2\"SEP\"h3\"\r\n\"plain\"\r\nraw\r\n\"v\"\r\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".bak"));  // no backup asked for
}

}  // namespace
}  // namespace tiecalc
