// A table added to a text file and to a workbook's sheet: the files as they
// are read back (bytes, xlrd).

#include "export/SheetAppend.h"

#include <gtest/gtest.h>

#include "platform/sheetdb/SheetTestSupport.h"

namespace tiecalc {
namespace {

using testing::FindSheet;
using testing::ReadBack;
using testing::ReadBytes;
using testing::ScratchFolder;
using testing::WriteBytes;
using Texts = std::vector<std::vector<std::string>>;

// The old lines are first copied to NAME.bak as they were read, each ended
// by CR LF.
TEST(SheetAppendText, QuotedValuesBelowTheOldLinesWhoseFirstTakesTheNewNames) {
  const struct {
    const char* before;  // nullptr: no file
    SheetTable table;
    const char* after;
    const char* bak;
  } cases[] = {
      {nullptr, {{"a", "b"}, {"1", "x,y"}, {"it's"}}, "\"a\",\"b\"\r\n\"1\",\"x,y\"\r\n\"it's\"\r\n", nullptr},
      {"\"a\",\"b\"\r\n\"1\",\"x,y\"\r\n", {{"c"}, {"2", "3", "4"}},
       "\"a\",\"b\",\"c\"\r\n\"1\",\"x,y\"\r\n\"2\",\"3\",\"4\"\r\n", "\"a\",\"b\"\r\n\"1\",\"x,y\"\r\n"},
      {"\"h1\",\"h2\"\n\"plain\"\nraw", {{"h3"}, {"v"}}, "\"h1\",\"h2\",\"h3\"\r\n\"plain\"\r\nraw\r\n\"v\"\r\n",
       "\"h1\",\"h2\"\r\n\"plain\"\r\nraw\r\n"},
      {"a,b\n", {{"h3"}}, "\"a\",\"b\",\"h3\"\r\n", "a,b\r\n"},
      {"\"solo\"\r\n", {{"h3"}}, "\"solo\",\"h3\"\r\n", "\"solo\"\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    ScratchFolder dir;
    const std::string path = dir.Path("t.csv");
    if (c.before) WriteBytes(path, c.before);
    AppendToTextFile(path, c.table);
    EXPECT_EQ(ReadBytes(path), c.after);
    EXPECT_EQ(ReadBytes(path + ".bak"), c.bak ? c.bak : "");
  }
}

// Another program's workbook: its sheet's table is copied to the backup
// sheet and the file to NAME.bak, each once; the header takes new names on
// the right only while they are all distinct; the rows go below, under the
// first columns. Blank header names stand as F<column>; cells right of the
// header and blank rows at the end are dropped; a sheet whose first row is
// empty is replaced.
TEST(SheetAppendWorkbook, RowsGoBelowTheOldTableWhichIsBackedUpOnce) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  ScratchFolder dir;
  const std::string path = dir.Path("calc.xls");
  const std::string original = ReadBytes(std::string(TIECALC_SOURCE_DIR) + "/tests/platform/sheetdb/data/calc-values.xls");
  WriteBytes(path, original);
  const Texts old{{"文本", "1", "2", "3.5", "-4"}, {"formula", "3", "2", "TRUE", "0.1"}, {"100000", "0.25"}, {"end"}};
  AppendToWorkbook(path, "Values", {{"x", "y"}, {"p", "q"}}, {1, 1, 1});
  AppendToWorkbook(path, "Values", {{"x"}, {"r"}}, {1, 1, 1});
  EXPECT_EQ(ReadBytes(path + ".bak"), original);

  sheetdb::Workbook book = sheetdb::LoadWorkbookFile(path);
  book.sheets.push_back({"S", {{"a", "", "b", ""}, {"1", "2", "3", "4"}, {"", ""}}});
  book.sheets.push_back({"T", {{"", ""}, {"old"}}});
  sheetdb::SaveWorkbookFile(path, book, false);
  AppendToWorkbook(path, "S", {{"x"}, {"p"}}, {1, 1, 1});
  AppendToWorkbook(path, "T", {{"n"}, {"v"}}, {1, 1, 1});

  const auto sheets = ReadBack(path);
  ASSERT_EQ(sheets.size(), 5u);
  EXPECT_EQ(FindSheet(sheets, "旧文件备份")->rows, old);
  Texts values = old;
  values[0].insert(values[0].end(), {"x", "y"});
  values.push_back({"p", "q"});
  values.push_back({"r"});
  EXPECT_EQ(FindSheet(sheets, "Values")->rows, values);
  EXPECT_EQ(FindSheet(sheets, "S")->rows, (Texts{{"a", "F2", "b", "x"}, {"1", "2", "3"}, {"p"}}));
  EXPECT_EQ(FindSheet(sheets, "T")->rows, (Texts{{"n"}, {"v"}}));
}

}  // namespace
}  // namespace tiecalc
