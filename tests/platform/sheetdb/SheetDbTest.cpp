// The workbook engine: the .xls and .xlsx files it writes as the
// independent readers (xlrd, openpyxl) see them, the workbooks of other
// programs it reads, its limits and its failures.

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
using testing::TextsOf;
using testing::WriteBytes;
using Texts = std::vector<std::vector<std::string>>;

// A workbook of one sheet named S written to path.
void SaveSheet(const std::string& path, Texts rows, bool backupOld = false) {
  sheetdb::Workbook book;
  book.sheets.push_back({"S", {}});
  for (auto& row : rows) book.sheets[0].rows.emplace_back(row.begin(), row.end());
  sheetdb::SaveWorkbookFile(path, book, backupOld);
}

TEST(SheetDbFiles, ChineseNamesAndSharedStringsAcrossContinueRecordsReadBackByXlrd) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("中文.xls");
  sheetdb::Workbook written;
  written.sheets.push_back({"塔机三杆附着", {{"θ角度(°)", "说明"}}});
  // 3000 distinct texts of 2-byte characters and one of 20000 characters:
  // the shared string table runs over many CONTINUE records, one text
  // across several.
  std::string longText;
  for (int i = 0; i < 20000; ++i) longText += (i % 7 == 0) ? "力" : "a";
  for (int i = 0; i < 3000; ++i)
    written.sheets[0].rows.push_back({std::to_string(i), "杆件受力第" + std::to_string(i) + "行"});
  written.sheets[0].rows.push_back({"", longText});
  sheetdb::SaveWorkbookFile(path, written, false);

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

TEST(SheetDbFiles, AForeignWorkbookIsReadWhollyKeptAndBackedUpBeforeItsRewrite) {
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
  EXPECT_EQ(TextsOf(rows)[1], (std::vector<std::string>{"整数", "3", "TRUE"}));
  EXPECT_EQ(TextsOf(rows)[2], (std::vector<std::string>{"real", "2.5", "FALSE"}));
  EXPECT_EQ(TextsOf(rows)[3], (std::vector<std::string>{"big", "123456789.125"}));
  EXPECT_EQ(rows[4][0], std::string(9000, 'x'));
  EXPECT_EQ(rows[5][0], "sum");
  ASSERT_EQ(book.sheets[1].rows.size(), 3u);
  EXPECT_EQ(book.sheets[1].rows[2][3], "-7");

  book.sheets.push_back({"New", {{"a"}, {"1"}}});
  sheetdb::SaveWorkbookFile(path, book, true);
  EXPECT_EQ(ReadBytes(path + ".bak"), original);
  auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 3u);
  ASSERT_NE(FindSheet(sheets, "数据"), nullptr);
  EXPECT_EQ(FindSheet(sheets, "数据")->rows[1], (std::vector<std::string>{"整数", "3", "TRUE"}));
  EXPECT_EQ(FindSheet(sheets, "Other")->rows[2], (std::vector<std::string>{"", "", "", "-7"}));
  EXPECT_EQ(FindSheet(sheets, "New")->rows, (std::vector<std::vector<std::string>>{{"a"}, {"1"}}));
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
    const Texts rows = TextsOf(book.sheets[0].rows);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"文本", "1", "2", "3.5", "-4"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"formula", "3", "2", "TRUE", "0.1"}));
    EXPECT_EQ(rows[2], (std::vector<std::string>{"100000", "0.25"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"end"}));
    EXPECT_EQ(book.sheets[1].name, "第二页");
    EXPECT_EQ(TextsOf(book.sheets[1].rows), (Texts{{"second"}}));
  }
}

// An .xlsx keeps every sheet of another program's workbook and what each
// cell is, as openpyxl reads it and as our reader reads it back: a number
// with its decimals or in General, a text (one that looks like a number
// too), over a second rewrite as well.
TEST(SheetDbFiles, XlsxCellsStayNumbersAndTextsOverRewrites) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  using sheetdb::Cell;
  const struct {
    Cell cell;
    const char* seen;  // by openpyxl: type:value:number format
  } cells[] = {
      {Cell("800.00", 800, 2), "n:800:0.00"},
      {Cell("-0.50", -0.5, 2), "n:-0.5:0.00"},
      {Cell("30", 30, 0), "n:30:0"},
      {Cell("0.1", 0.1, Cell::kGeneral), "n:0.1:General"},
      {Cell("5000.00"), "s:5000.00:General"},
      {Cell("-728.53/728.53"), "s:-728.53/728.53:General"},
      {Cell("it's <&>"), "s:it's <&>:General"},
  };
  ScratchFolder dir;
  const std::string path = dir.Path("表.xlsx");
  WriteBytes(path, ReadBytes(std::string(TIECALC_SOURCE_DIR) + "/tests/platform/sheetdb/data/calc-values.xlsx"));
  const std::string original = ReadBytes(path);
  sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
  std::vector<Cell> row;
  std::string expected = "s:文本:General n:1:General\n";
  for (const auto& c : cells) row.push_back(c.cell), expected += std::string(c.seen) + " ";
  book.sheets.push_back({"塔机", {row}});
  const char* kCode = R"PY(
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
def seen(c):
    return "%s:%s:%s" % (c.data_type, c.value, c.number_format)
print(seen(wb["Values"]["A1"]), seen(wb["Values"]["B1"]))
print(" ".join(seen(c) for c in wb["塔机"][1]) + " " + " ".join(wb.sheetnames))
)PY";
  expected += "Values 第二页 塔机\n";
  for (int rewrite = 0; rewrite < 2; ++rewrite) {
    sheetdb::SaveWorkbookFile(path, book, rewrite == 0);
    EXPECT_EQ(RunPython(kCode, {path}), expected) << "rewrite " << rewrite;
    book = sheetdb::LoadWorkbookFile(path);
    ASSERT_EQ(book.sheets.size(), 3u);
    EXPECT_EQ(book.sheets[2].rows, (std::vector<std::vector<Cell>>{row}));
  }
  EXPECT_EQ(ReadBytes(path + ".bak"), original);  // another program's workbook

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
  EXPECT_EQ(TextsOf(book.sheets[0].rows), (Texts{{"标签", "结果", "#DIV/0!", "#N/A"}, {"12345", "1.25"}}));
}

TEST(SheetDbFiles, CorruptAndTruncatedWorkbooksGiveAClearError) {
  ScratchFolder dir;
  const std::string good = dir.Path("good.xls");
  SaveSheet(good, {{"a", "b"}, {"1", "2"}});
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
  Texts rows{{"a"}, {"old"}};
  SaveSheet(path, rows);
  const std::string before = ReadBytes(path);

  // The file size limit makes the write of the new workbook fail half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  for (int i = 0; i < 2000; ++i) rows.push_back({"row " + std::to_string(i)});
  rlimit small = old;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  std::string error;
  try {
    SaveSheet(path, rows);
  } catch (const CSheetDbError& e) {
    error = e.what();
  }
  setrlimit(RLIMIT_FSIZE, &old);
  EXPECT_NE(error.find("无法写入工作簿 " + path + "："), std::string::npos) << error;
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"old.xls"});  // no temporary file left
#endif
}

TEST(SheetDbFiles, AMissingOrReadOnlyFolderOrFileGivesAClearFailure) {
  ScratchFolder dir;
  const std::string missing = dir.Path("no/such/folder/t.xls");
  try {
    SaveSheet(missing, {{"a"}});
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
  try {
    SaveSheet(path, {{"a"}});
    ADD_FAILURE() << "wrote into a read-only folder";
  } catch (const CSheetDbError& e) {
    EXPECT_NE(std::string(e.what()).find("无法写入工作簿 " + path + "："), std::string::npos) << e.what();
  }

  // A read-only workbook in a writable folder: a rename would replace it,
  // which a write into the file itself cannot do.
  const std::string locked = dir.Path("locked.xls");
  SaveSheet(locked, {{"a"}});
  const std::string before = ReadBytes(locked);
  std::filesystem::permissions(locked, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  try {
    SaveSheet(locked, {{"a"}, {"new"}});
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
  SaveSheet(real, {{"a"}});
  std::filesystem::create_symlink(real, link);
  SaveSheet(link, {{"a"}, {"x"}});
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
  SaveSheet(path, {{"a"}}, true);
  EXPECT_EQ(ReadBytes(victim), "victim");
  EXPECT_FALSE(std::filesystem::is_symlink(path + ".bak"));
  EXPECT_TRUE(ReadBytes(path + ".bak") == foreign);
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
    book = sheetdb::LoadWorkbookFile(path);
    book.sheets.push_back({"New", {{"a"}}});
    sheetdb::SaveWorkbookFile(path, book, false);
    const std::string first = RunPython(kCode, {path});
    double a = 0, b = 0, c = 0;
    ASSERT_EQ(std::sscanf(first.c_str(), "%lf %lf %lf", &a, &b, &c), 3) << first;
    EXPECT_GE(a, 29.99);
    EXPECT_GE(b, 14 + 2);  // the text and a margin
    EXPECT_GE(c, 12 + 2);
    sheetdb::SaveWorkbookFile(path, sheetdb::LoadWorkbookFile(path), false);
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
