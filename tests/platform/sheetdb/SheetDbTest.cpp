// The embedded workbook driver: its driver list, connection strings, the
// table semantics of the statements, and the .xls files it writes as an
// independent reader (xlrd) sees them.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <cstring>
#include <functional>

#include "platform/sheetdb/CompoundFile.h"
#include "platform/sheetdb/SheetConnection.h"
#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/Workbook.h"
#include "platform/sheetdb/SheetTestSupport.h"
#if TIECALC_HAVE_GSF
#include "platform/sheetdb/GsfCompound.h"
#endif

namespace tiecalc {
namespace {

using testing::FindSheet;
using testing::ReadBack;
using testing::ReadBytes;
using testing::RunPython;
using testing::ScratchFolder;
using testing::WriteBytes;

std::string Connect(const std::string& path, bool create = true) {
  return std::string("DRIVER={") + kSheetDriverName + "};DSN='';FIRSTROWHASNAMES=1;READONLY=FALSE;" +
         (create ? "CREATE_DB=\"" + path + "\";" : "") + "DBQ=" + path;
}

// Runs statements on one connection and closes it.
void RunStatements(const std::string& path, const std::vector<std::string>& statements) {
  CSheetConnection db;
  db.Open(Connect(path));
  for (const auto& s : statements) db.ExecuteSql(s);
  db.Close();
}

std::string SqlError(CSheetConnection& db, const std::string& sql) {
  try {
    db.ExecuteSql(sql);
  } catch (const CSheetSqlError& e) {
    return e.what();
  }
  return "";
}

std::string OpenError(const std::string& connect) {
  CSheetConnection db;
  try {
    db.Open(connect);
  } catch (const CSheetDbError& e) {
    EXPECT_FALSE(db.IsOpen());
    return e.what();
  }
  return "";
}

TEST(SheetDbDriver, InstalledDriverListHoldsOneExcelDriverEndedByAnEmptyName) {
  char list[2000];
  std::memset(list, 'x', sizeof list);
  unsigned short used = 0;
  ASSERT_TRUE(SheetDbGetInstalledDrivers(list, sizeof list, &used));
  std::string first(list);
  EXPECT_NE(first.find("Excel"), std::string::npos);
  EXPECT_EQ(used, first.size() + 2);
  EXPECT_EQ(list[first.size()], '\0');
  EXPECT_EQ(list[first.size() + 1], '\0');  // the empty name that ends the list

  char tiny[5];
  ASSERT_TRUE(SheetDbGetInstalledDrivers(tiny, sizeof tiny, &used));
  EXPECT_EQ(used, 5);
  EXPECT_EQ(tiny[4], '\0');
  EXPECT_FALSE(SheetDbGetInstalledDrivers(nullptr, 10, &used));
}

TEST(SheetDbDriver, OpeningFailsClearlyForBadDriversPathsAndFiles) {
  ScratchFolder dir;
  const std::string path = dir.Path("book.xls");
  EXPECT_NE(OpenError("DRIVER={};DSN='';DBQ=" + path).find("工作簿连接字符串没有指明驱动程序"), std::string::npos);
  EXPECT_NE(OpenError("DSN='';DBQ=" + path).find("工作簿连接字符串没有指明驱动程序"), std::string::npos);
  EXPECT_NE(OpenError("DRIVER={Other Driver (*.xls)};DBQ=" + path).find("没有安装驱动程序“Other Driver (*.xls)”"),
            std::string::npos);
  EXPECT_NE(OpenError(Connect(path, false)).find("工作簿“" + path + "”不存在"), std::string::npos);
  EXPECT_NE(OpenError(Connect(dir.Path("notes.txt"))).find("”不是工作簿的文件名（.xls 或 .xlsx）"), std::string::npos);

  WriteBytes(path, "plain text, not a workbook\n");
  std::string error = OpenError(Connect(path));
  EXPECT_NE(error.find("文件 " + path + " 不是可以读取的 .xls 工作簿"), std::string::npos) << error;
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"book.xls"});
}

TEST(SheetDbTables, CreateInsertSelectWithColumnsMatchedByName) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("t;1.xls");  // a ';' in the path of DBQ
  RunStatements(path, {"CREATE TABLE [S] ([a] char(255), [b] char(255), [c] char(255))",
             "INSERT INTO [S$A1:IV1] ([a], [b], [c]) VALUES ('1', '2', '3')",
             "INSERT INTO [S$A1:IV2] ([c], [a]) VALUES ('it''s', 'x')"});
  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "S");
  std::vector<std::vector<std::string>> expected{{"a", "b", "c"}, {"1", "2", "3"}, {"x", "", "it's"}};
  EXPECT_EQ(sheets[0].rows, expected);

  CSheetConnection db;
  db.Open(Connect(path));
  auto rs = db.OpenForwardOnly("SELECT * FROM [s$A1:IV65536]");  // sheet names ignore case
  ASSERT_EQ(rs->ColumnCount(), 3);
  EXPECT_EQ(rs->ColumnName(2), "c");
  std::vector<std::string> seen;
  for (; !rs->IsEOF(); rs->MoveNext())
    for (short i = 0; i < 3; ++i) seen.push_back(rs->FieldText(i));
  EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3", "x", "", "it's"}));
  EXPECT_THROW(rs->FieldText(0), CSheetSqlError);
  db.Close();
}

TEST(SheetDbTables, ExistingTablesMissingSheetsAndOtherStatementsFailAndChangeNothing) {
  ScratchFolder dir;
  const std::string path = dir.Path("t.xls");
  RunStatements(path, {"CREATE TABLE [S] ([a] char(255))", "INSERT INTO [S$A1:IV1] ([a]) VALUES ('kept')"});
  const std::string before = ReadBytes(path);

  CSheetConnection db;
  db.Open(Connect(path));
  EXPECT_EQ(SqlError(db, "CREATE TABLE [S] ([z] char(255))"), "表“S”已经存在");
  EXPECT_EQ(SqlError(db, "CREATE TABLE [S$A1:IV65536] ([z] char(255))"), "表“S”已经存在");
  EXPECT_EQ(SqlError(db, "DROP TABLE [Nope$A1:IV65536]"), "表“Nope”不存在");
  EXPECT_EQ(SqlError(db, "INSERT INTO [S$A1:IV1] ([zz]) VALUES ('1')"), "表“S”中没有列“zz”");
  EXPECT_EQ(SqlError(db, "INSERT INTO [S$A1:IV1] ([a]) VALUES ('1', '2')"),
            "值的个数与列的个数不同");
  EXPECT_NE(SqlError(db, "UPDATE [S$A1:IV1] SET [a] = 'x'").find("应为 CREATE、DROP、INSERT 或 SELECT"), std::string::npos);
  EXPECT_NE(SqlError(db, "DELETE FROM [S$A1:IV65536]").find("应为 CREATE、DROP、INSERT 或 SELECT"), std::string::npos);
  EXPECT_NE(SqlError(db, "INSERT INTO [S$A1:IV1] ([a]) VALUES ('open").find("文字没有结束"), std::string::npos);
  EXPECT_NE(SqlError(db, "SELECT * FROM [S$A1:IV65536]").find("SELECT 语句要用记录集执行"), std::string::npos);
  EXPECT_NE(SqlError(db, "DROP TABLE [S$B2:IV65536]").find("必须从 A1 开始"), std::string::npos);
  // Only the forms the writer issues: bracketed names, char(n), no ';'.
  EXPECT_NE(SqlError(db, "CREATE TABLE [T] ([a] varchar(10))").find("不支持列的类型 VARCHAR"), std::string::npos);
  EXPECT_NE(SqlError(db, "CREATE TABLE T ([a] char(255))").find("工作簿语句有语法错误：第 14 个字符处应为方括号中的表名"), std::string::npos);
  EXPECT_NE(SqlError(db, "DROP TABLE [S$A1:IV65536];").find("有多余的字符“;”"), std::string::npos);
  EXPECT_NE(SqlError(db, "DROP TABLE [S$]").find("表“S$”的范围“”不是有效的单元格范围"), std::string::npos);
  EXPECT_NE(SqlError(db, "DROP TABLE [S$A1:IW65536]").find("超出了 IV65536"), std::string::npos);
  try {
    db.OpenForwardOnly("SELECT * FROM [Missing$A1:IV65536]");
    ADD_FAILURE() << "a missing sheet was selected";
  } catch (const CSheetSqlError& e) {
    EXPECT_STREQ(e.what(), "表“Missing”不存在");
  }
  // A statement that works, after failed ones: the connection had failures,
  // so closing writes nothing and the workbook stays as it was.
  db.ExecuteSql("DROP TABLE [S$A1:IV65536]");
  db.Close();
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(SheetDbTables, DropEmptiesTheSheetWhichStaysAndCanBeCreatedAgain) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("t.xls");
  RunStatements(path, {"CREATE TABLE [First] ([a] char(255))", "INSERT INTO [First$A1:IV1] ([a]) VALUES ('1')",
             "CREATE TABLE [Second] ([b] char(255))", "INSERT INTO [Second$A1:IV1] ([b]) VALUES ('2')"});
  RunStatements(path, {"DROP TABLE [First$A1:IV65536]"});
  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].name, "First");
  EXPECT_TRUE(sheets[0].rows.empty());
  EXPECT_EQ(sheets[1].rows, (std::vector<std::vector<std::string>>{{"b"}, {"2"}}));

  RunStatements(path, {"CREATE TABLE [First$A1:IV65536] ([n] char(255), [m] char(255))",
             "INSERT INTO [First$A1:IV1] ([n], [m]) VALUES ('5', '6')"});
  sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].rows, (std::vector<std::vector<std::string>>{{"n", "m"}, {"5", "6"}}));
  EXPECT_EQ(sheets[1].name, "Second");
}

TEST(SheetDbTables, TheLimitsOfTheFileFormatAreRefused) {
  ScratchFolder dir;
  CSheetConnection db;
  db.Open(Connect(dir.Path("limits.xls")));
  EXPECT_EQ(SqlError(db, "CREATE TABLE [一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二] ([a] char(255))"),
            "工作表名称“一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二”超过 31 个字符");
  EXPECT_EQ(SqlError(db, "CREATE TABLE [一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一] ([a] char(255))"), "");
  std::string wide = "CREATE TABLE [Wide] (";
  for (int i = 0; i < 257; ++i) wide += "[c" + std::to_string(i) + "] char(255)" + (i < 256 ? ", " : ")");
  EXPECT_EQ(SqlError(db, wide), "列太多：一张工作表最多 256 列");
  EXPECT_EQ(SqlError(db, "CREATE TABLE [a:b] ([a] char(255))"), "工作表名称“a:b”含有工作表名称不能含有的字符");
  EXPECT_EQ(SqlError(db, "CREATE TABLE [Tall] ([a] char(255))"), "");
  for (int i = 1; i < 65536; ++i) db.ExecuteSql("INSERT INTO [Tall$A1:IV1] ([a]) VALUES ('r')");
  EXPECT_EQ(SqlError(db, "INSERT INTO [Tall$A1:IV1] ([a]) VALUES ('r')"), "表“Tall”已满：一张工作表最多 65536 行");
}

TEST(SheetDbFiles, ChineseNamesAndSharedStringsAcrossContinueRecordsReadBackByXlrd) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("中文.xls");
  std::vector<std::string> statements{"CREATE TABLE [塔机三杆附着] ([θ角度(°)] char(255), [说明] char(255))"};
  // 3000 distinct texts of 2-byte characters and one of 20000 characters:
  // the shared string table runs over many CONTINUE records, one text
  // across several.
  std::string longText;
  for (int i = 0; i < 20000; ++i) longText += (i % 7 == 0) ? "力" : "a";
  for (int i = 0; i < 3000; ++i)
    statements.push_back("INSERT INTO [塔机三杆附着$A1:IV1] ([θ角度(°)], [说明]) VALUES ('" + std::to_string(i) +
                         "', '杆件受力第" + std::to_string(i) + "行')");
  statements.push_back("INSERT INTO [塔机三杆附着$A1:IV1] ([说明]) VALUES ('" + longText + "')");
  RunStatements(path, statements);

  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 1u);
  EXPECT_EQ(sheets[0].name, "塔机三杆附着");
  ASSERT_EQ(sheets[0].rows.size(), 3002u);
  EXPECT_EQ(sheets[0].rows[0], (std::vector<std::string>{"θ角度(°)", "说明"}));
  for (int i = 0; i < 3000; ++i)
    ASSERT_EQ(sheets[0].rows[i + 1], (std::vector<std::string>{std::to_string(i), "杆件受力第" + std::to_string(i) + "行"}));
  EXPECT_EQ(sheets[0].rows[3001], (std::vector<std::string>{"", longText}));

  // Our own reader gives the same back.
  sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
  EXPECT_TRUE(book.writtenByEngine);
  ASSERT_EQ(book.sheets.size(), 1u);
  EXPECT_EQ(book.sheets[0].rows[3001][1], longText);
  EXPECT_EQ(book.sheets[0].rows[1234][1], "杆件受力第1233行");
}

// A workbook written by another program (python's xlwt): numbers (RK and
// NUMBER records), booleans, formulas, long shared strings; every sheet.
const char* kForeignBook = R"PY(
import sys, xlwt
wb = xlwt.Workbook(encoding='utf-8')
s = wb.add_sheet('数据')
s.write(0, 0, 'name'); s.write(0, 1, 'value'); s.write(0, 2, 'flag')
s.write(1, 0, '整数'); s.write(1, 1, 3); s.write(1, 2, True)
s.write(2, 0, 'real'); s.write(2, 1, 2.5); s.write(2, 2, False)
s.write(3, 0, 'big'); s.write(3, 1, 123456789.125)
s.write(4, 0, 'x' * 9000)
s.write(5, 0, 'sum'); s.write(5, 1, xlwt.Formula('B2+B3'))
t = wb.add_sheet('Other')
t.write(0, 0, 'kept'); t.write(2, 3, -7)
wb.save(sys.argv[1])
)PY";

TEST(SheetDbFiles, AForeignWorkbookIsReadWhollyKeptAndBackedUpOnceBeforeItsFirstRewrite) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("foreign.xls");
  int status = 0;
  RunPython(kForeignBook, {path}, &status);
  ASSERT_EQ(status, 0);
  const std::string original = ReadBytes(path);

  sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
  EXPECT_FALSE(book.writtenByEngine);
  ASSERT_EQ(book.sheets.size(), 2u);
  const auto& rows = book.sheets[0].rows;
  EXPECT_EQ(book.sheets[0].name, "数据");
  EXPECT_EQ(rows[1], (std::vector<std::string>{"整数", "3", "TRUE"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"real", "2.5", "FALSE"}));
  EXPECT_EQ(rows[3], (std::vector<std::string>{"big", "123456789.125"}));
  EXPECT_EQ(rows[4][0], std::string(9000, 'x'));
  EXPECT_EQ(rows[5][0], "sum");
  ASSERT_EQ(book.sheets[1].rows.size(), 3u);
  EXPECT_EQ(book.sheets[1].rows[2][3], "-7");

  RunStatements(path, {"CREATE TABLE [New] ([a] char(255))", "INSERT INTO [New$A1:IV1] ([a]) VALUES ('1')"});
  EXPECT_EQ(ReadBytes(path + ".bak"), original);
  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 3u);
  ASSERT_NE(FindSheet(sheets, "数据"), nullptr);
  EXPECT_EQ(FindSheet(sheets, "数据")->rows[1], (std::vector<std::string>{"整数", "3", "TRUE"}));
  EXPECT_EQ(FindSheet(sheets, "Other")->rows[2], (std::vector<std::string>{"", "", "", "-7"}));
  EXPECT_EQ(FindSheet(sheets, "New")->rows, (std::vector<std::vector<std::string>>{{"a"}, {"1"}}));

  // Now the file is ours: the next rewrite leaves the copy of the original.
  RunStatements(path, {"INSERT INTO [New$A1:IV1] ([a]) VALUES ('2')"});
  EXPECT_EQ(ReadBytes(path + ".bak"), original);
  EXPECT_EQ(FindSheet(ReadBack(path), "New")->rows.size(), 3u);
}

// Saved by LibreOffice Calc, as .xls and as .xlsx: consecutive numbers
// (MULRK in .xls), formulas whose results are numbers and booleans, a second
// sheet with a Chinese name.
TEST(SheetDbFiles, LibreOfficeWorkbooksWithMulRkFormulasAndBooleansAreRead) {
  for (const char* name : {"calc-values.xls", "calc-values.xlsx"}) {
    SCOPED_TRACE(name);
    const std::string path = std::string(TIECALC_SOURCE_DIR) + "/tests/platform/sheetdb/data/" + name;
    sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
    ASSERT_EQ(book.sheets.size(), 2u);
    EXPECT_FALSE(book.writtenByEngine);
    const auto& rows = book.sheets[0].rows;
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"文本", "1", "2", "3.5", "-4"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"formula", "3", "2", "TRUE", "0.1"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"100000", "0.25"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"end"}));
    EXPECT_EQ(book.sheets[1].name, "第二页");
    EXPECT_EQ(book.sheets[1].rows, (std::vector<std::vector<std::string>>{{"second"}}));
  }
}

TEST(SheetDbFiles, XlsxWorkbooksKeepTheSameTableSemanticsAndEverySheet) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("表.xlsx");
  WriteBytes(path, ReadBytes(std::string(TIECALC_SOURCE_DIR) + "/tests/platform/sheetdb/data/calc-values.xlsx"));
  const std::string original = ReadBytes(path);
  RunStatements(path, {"CREATE TABLE [塔机] ([θ] char(255), [b] char(255))",
                       "INSERT INTO [塔机$A1:IV1] ([θ], [b]) VALUES (' ', 'it''s <&>')"});
  EXPECT_EQ(ReadBytes(path + ".bak"), original);  // another program's workbook
  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 3u);
  EXPECT_EQ(FindSheet(sheets, "Values")->rows[0], (std::vector<std::string>{"文本", "1", "2", "3.5", "-4"}));
  EXPECT_EQ(FindSheet(sheets, "第二页")->rows, (std::vector<std::vector<std::string>>{{"second"}}));
  EXPECT_EQ(FindSheet(sheets, "塔机")->rows, (std::vector<std::vector<std::string>>{{"θ", "b"}, {" ", "it's <&>"}}));

  CSheetConnection db;
  db.Open(Connect(path));
  EXPECT_EQ(SqlError(db, "CREATE TABLE [塔机] ([x] char(255))"), "表“塔机”已经存在");
  db.Close();
  RunStatements(path, {"DROP TABLE [塔机$A1:IV65536]"});
  sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
  EXPECT_TRUE(book.writtenByEngine);
  ASSERT_EQ(book.sheets.size(), 3u);
  EXPECT_TRUE(book.sheets[2].rows.empty());

  WriteBytes(path, original.substr(0, original.size() / 2));
  try {
    sheetdb::LoadWorkbookFile(path);
    ADD_FAILURE() << "a truncated package was read";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find("文件 " + path + " 不是可以读取的 .xlsx 工作簿"), std::string::npos) << e.what();
  }
}

// A workbook stream put together record by record, in a compound file.
class StreamBuilder {
 public:
  void Record(unsigned type, const std::string& data) {
    U16(m_s, type), U16(m_s, static_cast<unsigned>(data.size()));
    m_s += data;
  }
  static void U16(std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
  }
  static std::string Cell(unsigned row, unsigned col) {
    std::string s;
    U16(s, row), U16(s, col), U16(s, 15);
    return s;
  }
  static std::string Wide(const std::u16string& text) {
    std::string s;
    U16(s, static_cast<unsigned>(text.size()));
    s += '\x01';
    for (char16_t c : text) U16(s, c);
    return s;
  }
  std::string& Bytes() { return m_s; }

 private:
  std::string m_s;
};

// A workbook stream in a compound file made by another writer where there
// is one (libgsf on Linux).
std::string CompoundFile(const std::string& stream) {
#if TIECALC_HAVE_GSF
  return gsfcompound::Write({{"Workbook", stream}});
#else
  return sheetdb::WriteCompoundFile("Workbook", stream);
#endif
}

TEST(SheetDbFiles, LabelsFormulaTextsErrorsAndRkNumbersAreRead) {
  const std::string bof8{"\x00\x06\x05\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16};
  StreamBuilder globals;
  globals.Record(0x0809, bof8);
  std::string bound{"\x00\x00\x00\x00\x00\x00\x02\x01", 8};
  bound += std::string{"\x4B\x6D\xD5\x8B", 4};  // 测试
  const size_t globalsSize = 4 + 16 + 4 + bound.size() + 4;
  bound[0] = static_cast<char>(globalsSize);
  globals.Record(0x0085, bound);
  globals.Record(0x000A, "");
  ASSERT_EQ(globals.Bytes().size(), globalsSize);

  StreamBuilder sheet;
  std::string bofSheet = bof8;
  bofSheet[2] = 0x10;
  sheet.Record(0x0809, bofSheet);
  sheet.Record(0x0204, StreamBuilder::Cell(0, 0) + StreamBuilder::Wide(u"标签"));
  std::string textResult{"\x00\x00\x00\x00\x00\x00\xFF\xFF\x00\x00\x00\x00\x00\x00", 14};
  sheet.Record(0x0006, StreamBuilder::Cell(0, 1) + textResult);
  sheet.Record(0x0207, StreamBuilder::Wide(u"结果"));
  std::string errorResult{"\x02\x00\x07\x00\x00\x00\xFF\xFF\x00\x00\x00\x00\x00\x00", 14};
  sheet.Record(0x0006, StreamBuilder::Cell(0, 2) + errorResult);
  sheet.Record(0x0205, StreamBuilder::Cell(0, 3) + std::string{"\x2A\x01", 2});
  // RK: the integer 12345 (flag 2), and 1.25 as 125 / 100 (flags 3).
  sheet.Record(0x027E, StreamBuilder::Cell(1, 0) + std::string{"\xE6\xC0\x00\x00", 4});
  sheet.Record(0x027E, StreamBuilder::Cell(1, 1) + std::string{"\xF7\x01\x00\x00", 4});
  sheet.Record(0x000A, "");

  sheetdb::Workbook book = sheetdb::ReadXls(CompoundFile(globals.Bytes() + sheet.Bytes()), "built.xls");
  ASSERT_EQ(book.sheets.size(), 1u);
  EXPECT_EQ(book.sheets[0].name, "测试");
  EXPECT_EQ(book.sheets[0].rows,
            (std::vector<std::vector<std::string>>{{"标签", "结果", "#DIV/0!", "#N/A"}, {"12345", "1.25"}}));
}

TEST(SheetDbFiles, CorruptAndTruncatedWorkbooksGiveAClearError) {
  ScratchFolder dir;
  const std::string good = dir.Path("good.xls");
  RunStatements(good, {"CREATE TABLE [S] ([a] char(255), [b] char(255))", "INSERT INTO [S$A1:IV1] ([a], [b]) VALUES ('1', '2')"});
  const std::string bytes = ReadBytes(good);
  int failures = 0;
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    try {
      sheetdb::ReadXls(bytes.substr(0, cut), "cut.xls");
    } catch (const CSheetDbError& e) {
      EXPECT_NE(std::string(e.what()).find("文件 cut.xls 不是可以读取的 .xls 工作簿"), std::string::npos) << e.what();
      ++failures;
    }
  }
  EXPECT_GT(failures, 0);
  // Every byte of the file flipped in turn: an error or a workbook, never a crash.
  for (size_t at = 0; at < bytes.size(); at += 13) {
    std::string broken = bytes;
    broken[at] = static_cast<char>(broken[at] ^ 0x5A);
    try {
      sheetdb::ReadXls(broken, "flipped.xls");
    } catch (const CSheetDbError&) {
    }
  }
  const std::string path = dir.Path("short.xls");
  WriteBytes(path, bytes.substr(0, bytes.size() / 2));
  try {
    sheetdb::LoadWorkbookFile(path);
    ADD_FAILURE() << "a truncated workbook was read";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
  }
}

TEST(SheetDbFiles, AFailedWriteLeavesTheOldWorkbookByteForByte) {
#ifdef _WIN32
  TIECALC_SKIP_ON_WINDOWS("a file size limit (setrlimit)");
#else
  ScratchFolder dir;
  const std::string path = dir.Path("old.xls");
  RunStatements(path, {"CREATE TABLE [S] ([a] char(255))", "INSERT INTO [S$A1:IV1] ([a]) VALUES ('old')"});
  const std::string before = ReadBytes(path);

  // The file size limit makes the write of the new workbook fail half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  CSheetConnection db;
  db.Open(Connect(path));
  for (int i = 0; i < 2000; ++i) db.ExecuteSql("INSERT INTO [S$A1:IV1] ([a]) VALUES ('row " + std::to_string(i) + "')");
  rlimit small = old;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  std::string error;
  try {
    db.Close();
  } catch (const CSheetDbError& e) {
    error = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_NE(error.find("无法写入工作簿 " + path + "："), std::string::npos) << error;
  EXPECT_FALSE(db.IsOpen());
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.xls"});  // no temporary file left
#endif
}

TEST(SheetDbFiles, AMissingOrReadOnlyFolderOrFileGivesAClearFailure) {
  ScratchFolder dir;
  const std::string missing = dir.Path("no/such/folder/t.xls");
  CSheetConnection db;
  db.Open(Connect(missing));
  db.ExecuteSql("CREATE TABLE [S] ([a] char(255))");
  try {
    db.Close();
    ADD_FAILURE() << "wrote into a missing folder";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
  }

#ifdef _WIN32
  TIECALC_SKIP_ON_WINDOWS("POSIX permissions");
#else
  // A folder made read-only; a process that may write anyway (root) uses a
  // folder of a read-only file system instead.
  std::string folder = dir.Path("ro");
  std::filesystem::create_directory(folder);
  std::filesystem::permissions(folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (access(folder.c_str(), W_OK) == 0) folder = "/proc/self";
  const std::string path = folder + "/t.xls";
  db.Open(Connect(path));
  db.ExecuteSql("CREATE TABLE [S] ([a] char(255))");
  try {
    db.Close();
    ADD_FAILURE() << "wrote into a read-only folder";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find("无法写入工作簿 " + path + "："), std::string::npos) << e.what();
  }

  // A read-only workbook in a writable folder: a rename would replace it,
  // which a write into the file itself cannot do.
  const std::string locked = dir.Path("locked.xls");
  RunStatements(locked, {"CREATE TABLE [S] ([a] char(255))"});
  const std::string before = ReadBytes(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  db.Open(Connect(locked));
  db.ExecuteSql("INSERT INTO [S$A1:IV1] ([a]) VALUES ('new')");
  try {
    db.Close();
    ADD_FAILURE() << "replaced a read-only workbook";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find("无法写入工作簿 " + locked + "：文件是只读的"), std::string::npos) << e.what();
  }
  EXPECT_TRUE(ReadBytes(locked) == before) << "the read-only workbook changed";
#endif
}

TEST(SheetDbFiles, AWorkbookReachedThroughALinkIsRewrittenWhereItLies) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  ScratchFolder dir;
  const std::string real = dir.Path("real.xls");
  const std::string link = dir.Path("link.xls");
  RunStatements(real, {"CREATE TABLE [S] ([a] char(255))"});
  std::filesystem::create_symlink(real, link);
  RunStatements(link, {"INSERT INTO [S$A1:IV1] ([a]) VALUES ('x')"});
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  ASSERT_EQ(ReadBack(real).size(), 1u);
  EXPECT_EQ(ReadBack(real)[0].rows, (std::vector<std::vector<std::string>>{{"a"}, {"x"}}));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"link.xls", "real.xls"}));
}

TEST(SheetDbFiles, ALinkAtTheBakNameIsReplacedNotWrittenThrough) {
  TIECALC_SKIP_ON_WINDOWS("symbolic links");
  ScratchFolder dir;
  const std::string path = dir.Path("foreign.xls"), victim = dir.Path("victim.txt");
  const std::string foreign = ReadBytes(std::string(TIECALC_SOURCE_DIR) + "/tests/platform/sheetdb/data/calc-values.xls");
  WriteBytes(path, foreign);
  WriteBytes(victim, "victim");
  std::filesystem::create_symlink(victim, path + ".bak");
  RunStatements(path, {"CREATE TABLE [New] ([a] char(255))"});
  EXPECT_EQ(ReadBytes(victim), "victim");
  EXPECT_FALSE(std::filesystem::is_symlink(path + ".bak"));
  EXPECT_TRUE(ReadBytes(path + ".bak") == foreign);
}

TEST(SheetDbFiles, ASessionGathersTheChangesOfItsConnectionsIntoOneWrite) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("s.xls");
  RunStatements(path, {"CREATE TABLE [S] ([a] char(255))"});
  const std::string before = ReadBytes(path);
  auto session = std::make_shared<CWorkbookSession>();
  for (const char* sql : {"CREATE TABLE [B] ([b] char(255))", "INSERT INTO [S$A1:IV1] ([a]) VALUES ('x')"}) {
    CSheetConnection db(session);
    db.Open(Connect(path));
    db.ExecuteSql(sql);
    db.Close();
  }
  EXPECT_TRUE(ReadBytes(path) == before) << "written before the commit";
  session->Commit();
  const auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 2u);
  EXPECT_EQ(sheets[0].rows, (std::vector<std::vector<std::string>>{{"a"}, {"x"}}));
  EXPECT_EQ(sheets[1].name, "B");
}

// Hostile workbooks are refused before they take the memory they ask for;
// a full sheet of a real export is well within the limits.
TEST(SheetDbLimits, WorkbooksOverALimitAreRefusedQuicklyAndRealOnesRead) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  auto refused = [](const std::string& bytes, bool xlsx, const std::string& limit) {
    try {
      xlsx ? sheetdb::ReadXlsx(bytes, "h.xls") : sheetdb::ReadXls(bytes, "h.xls");
      ADD_FAILURE() << "read: " << limit;
    } catch (const CSheetDbError& e) {
      EXPECT_NE(std::string(e.what()).find("超出了本程序读取的限度（" + limit), std::string::npos) << e.what();
    }
  };
  sheetdb::Workbook text;
  text.sheets.push_back({"S", {}});
  for (int r = 0; r < 3000; ++r) text.sheets[0].rows.push_back({std::string(32767, 'x')});
  refused(sheetdb::WriteXls(text), false, "单元格文字");

  sheetdb::Workbook far;
  for (int s = 0; s < 20; ++s) {
    far.sheets.push_back({"S" + std::to_string(s), {}});
    far.sheets.back().rows.resize(65536);
    far.sheets.back().rows.back().assign(256, "");
    far.sheets.back().rows.back().back() = "x";
  }
  refused(sheetdb::WriteXls(far), false, "单元格超过");

  ScratchFolder dir;
  const std::string padded = dir.Path("padded.xlsx");
  sheetdb::Workbook small;
  small.sheets.push_back({"S", {{"a"}}});
  WriteBytes(padded, sheetdb::WriteXlsx(small));
  RunPython(R"PY(
import sys, zipfile
src = zipfile.ZipFile(sys.argv[1])
parts = {n: src.read(n) for n in src.namelist()}
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as out:
    for name, data in parts.items():
        if name.startswith('xl/worksheets/'):
            with out.open(name, 'w') as part:
                part.write(data[:data.index(b'<sheetData')])
                for _ in range(66):
                    part.write(b' ' * (1 << 20))
                part.write(data[data.index(b'<sheetData'):])
        else:
            out.writestr(name, data)
)PY", {padded});
  refused(ReadBytes(padded), true, ".xlsx 包中的部件");

  sheetdb::Workbook full;
  full.sheets.push_back({"S", {}});
  for (int r = 0; r < 65536; ++r) {
    full.sheets[0].rows.emplace_back();
    for (int c = 0; c < 13; ++c) full.sheets[0].rows.back().push_back(std::to_string(r % 360) + ".25");
  }
  EXPECT_EQ(sheetdb::ReadXls(sheetdb::WriteXls(full), "full.xls").sheets[0].rows.size(), 65536u);
}

// An .xlsx at the readers' limits (62000 rows of 15 texts, 470000 of them
// different, in the shared string table as spreadsheet programs store it)
// is read and rewritten within 256 MB, measured in a child process.
TEST(SheetDbLimits, AnXlsxAtTheLimitsIsReadAndRewrittenWithin256MB) {
#ifdef _WIN32
  TIECALC_SKIP_ON_WINDOWS("fork and getrusage");
#else
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("largest.xlsx");
  int status = 0;
  RunPython(R"PY(
import sys, zipfile
m = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
r = 'http://schemas.openxmlformats.org/officeDocument/2006/relationships'
z = zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED)
z.writestr('xl/workbook.xml', '<workbook %s xmlns:r="%s"><sheets><sheet name="data" sheetId="1" r:id="rId1"/></sheets></workbook>' % (m, r))
z.writestr('xl/_rels/workbook.xml.rels', '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/></Relationships>')
z.writestr('xl/sharedStrings.xml', '<sst %s>' % m + ''.join('<si><t>t%015d</t></si>' % i for i in range(470000)) + '</sst>')
z.writestr('xl/worksheets/sheet1.xml', '<worksheet %s><sheetData>' % m + ''.join(
    '<row r="%d">' % (row + 1) + ''.join('<c r="%s%d" t="s"><v>%d</v></c>' % (chr(65 + c), row + 1, (row * 15 + c) % 470000)
                                       for c in range(15)) + '</row>' for row in range(62000)) + '</sheetData></worksheet>')
)PY", {path}, &status);
  ASSERT_EQ(status, 0);
  const pid_t child = fork();
  if (child == 0) {
    int code = 3;
    try {
      sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
      code = book.sheets.size() == 1 && book.sheets[0].rows.size() == 62000 && book.sheets[0].rows[61999][14] == "t000000000459999" ? 0 : 2;
      book.sheets.push_back({"new", {{"a"}}});
      sheetdb::SaveWorkbookFile(path, book, false);
    } catch (const std::exception&) {
      code = 4;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    WriteBytes(dir.Path("peak"), std::to_string(usage.ru_maxrss / 1024));
    _exit(code);
  }
  ASSERT_GT(child, 0);
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_LT(std::stol(ReadBytes(dir.Path("peak"))), 256) << "MB";
#endif
}

// Column widths: a workbook with column A 30 digits wide, rewritten twice.
// Every column is as wide as its longest text (a Chinese character counts
// as two digits), A stays as wide as it was, and the second rewrite changes
// no width. Widths in digits, as the independent readers see them.
TEST(SheetDbFiles, ColumnsAreAsWideAsTheirTextsAndNeverNarrowerThanTheyWere) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  const char* kCode = R"PY(
import sys
path = sys.argv[1]
if path.endswith('.xls'):
    import xlrd
    s = xlrd.open_workbook(path, formatting_info=True).sheet_by_name('S')
    print(' '.join('%.2f' % (s.colinfo_map[c].width / 256) for c in range(3)))
else:
    import openpyxl
    d = openpyxl.load_workbook(path)['S'].column_dimensions
    print(' '.join('%.2f' % (d[c].width - 5 / 7) for c in 'ABC'))
)PY";
  for (const char* name : {"widths.xls", "widths.xlsx"}) {
    SCOPED_TRACE(name);
    ScratchFolder dir;
    const std::string path = dir.Path(name);
    sheetdb::Workbook book;
    book.sheets.push_back({"S", {{"a", "503.35/-502.10", "各附着杆轴力"}}});
    book.sheets[0].columnWidths = {30};
    sheetdb::SaveWorkbookFile(path, book, false);
    RunStatements(path, {"CREATE TABLE [New] ([a] char(255))"});
    const std::string first = RunPython(kCode, {path});
    double a = 0, b = 0, c = 0;
    ASSERT_EQ(std::sscanf(first.c_str(), "%lf %lf %lf", &a, &b, &c), 3) << first;
    EXPECT_GE(a, 29.99);
    EXPECT_GE(b, 14 + 2);  // the text and a margin
    EXPECT_GE(c, 12 + 2);
    RunStatements(path, {"DROP TABLE [New$A1:IV65536]"});
    EXPECT_EQ(RunPython(kCode, {path}), first);
  }
}

// The failures of the workbook writers and readers are said in Chinese
// from the first word to the last, and nothing is printed on the standard
// error (the xlsx library's warnings are never provoked).
TEST(SheetDbMessages, FailuresAreChineseAndPrintNothing) {
  ScratchFolder dir;
  const std::string tooLong(sheetdb::kMaxCellText + 1, 'x');
  sheetdb::Workbook longCell, tall, atLimit;
  longCell.sheets.push_back({"S", {{"a"}, {"b", tooLong}}});
  tall.sheets.push_back({"S", {}});
  tall.sheets[0].rows.resize(sheetdb::kMaxRows + 1, {"y"});
  atLimit.sheets.push_back({"S", {{std::string(sheetdb::kMaxCellText, 'x')}}});
  const std::string longWhy = "工作表“S”的单元格 B2 的文字超过 32767 个字符，工作簿的单元格放不下";
  const std::string tallWhy = "工作表“S”超出了一张工作表的大小（最多 65536 行、256 列）";
  WriteBytes(dir.Path("file"), "");
  struct Case {
    const char* what;
    std::function<void()> run;
    std::string message;  // empty: no failure
  };
  const Case cases[] = {
      {"long .xlsx", [&] { sheetdb::WriteXlsx(longCell); }, sheetdb::CannotComposeMessage(".xlsx", longWhy)},
      {"long .xls", [&] { sheetdb::WriteXls(longCell); }, sheetdb::CannotComposeMessage(".xls", longWhy)},
      {"long insert",
       [&] {
         CSheetConnection db;
         db.Open(Connect(dir.Path("t.xlsx")));
         db.ExecuteSql("CREATE TABLE [S] ([a] char(255), [b] char(255))");
         db.ExecuteSql("INSERT INTO [S$A1:IV1] ([b]) VALUES ('" + tooLong + "')");
       },
       longWhy},
      {"tall .xlsx", [&] { sheetdb::WriteXlsx(tall); }, sheetdb::CannotComposeMessage(".xlsx", tallWhy)},
      {"tall .xls", [&] { sheetdb::WriteXls(tall); }, sheetdb::CannotComposeMessage(".xls", tallWhy)},
      {"no temporary folder",
       [&] {
         portable::ScopedEnvironment tmp(portable::TemporaryFolderVariable(), dir.Path("file/sub"));
         sheetdb::WriteXlsx(atLimit);
       },
       sheetdb::CannotComposeMessage(".xlsx", "找不到临时文件夹")},
      {"same names",
       [&] {
         sheetdb::Workbook twice;
         twice.sheets = {{"S", {{"a"}}}, {"S", {{"b"}}}};
         sheetdb::WriteXlsx(twice);
       },
       sheetdb::CannotComposeMessage(".xlsx", "工作表名称“S”与另一张工作表重名")},
      {"not a zip", [&] { sheetdb::ReadXlsx("PK but not a package", "x.xlsx"); },
       sheetdb::NotReadableMessage("x.xlsx", ".xlsx", "不是 zip 压缩包，或压缩包已损坏")},
      {"at the limit", [&] { EXPECT_EQ(sheetdb::ReadXlsx(sheetdb::WriteXlsx(atLimit), "a.xlsx").sheets[0].rows, atLimit.sheets[0].rows); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::testing::internal::CaptureStderr();
    std::string message;
    try {
      c.run();
    } catch (const std::exception& e) {
      message = e.what();
    }
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(message, c.message);
  }
}

}  // namespace
}  // namespace tiecalc
