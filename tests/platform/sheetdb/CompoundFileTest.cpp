// The compound-file container of .xls workbooks: what we write, what others
// write (libgsf, the fixtures), and files made to break the reader.

#include "platform/sheetdb/CompoundFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/sheetdb/SheetDbError.h"
#include "platform/sheetdb/SheetDbMessages.h"
#include "platform/sheetdb/SheetTestSupport.h"
#include "platform/sheetdb/Workbook.h"
#if TIECALC_HAVE_GSF
#include "platform/sheetdb/GsfCompound.h"
#endif

namespace tiecalc::sheetdb {
namespace {

std::string Bytes(size_t size, unsigned seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245u + 12345u;
    s[i] = static_cast<char>(seed >> 16);
  }
  return s;
}

std::optional<std::string> OurRead(const std::string& file, const std::string& name) {
  return CCompoundFileReader(file).ReadStream(name);
}

// Mini stream, its edges, the 4096-byte cutoff, plain chains, and a stream
// whose FAT needs more than the header's 109 sectors (DIFAT).
const size_t kSizes[] = {0, 1, 63, 64, 100, 4095, 4096, 4097, 70000, 7400000};

TEST(CompoundFile, EveryStreamSizeReadsBackFromOurFile) {
  for (size_t size : kSizes) {
    SCOPED_TRACE(size);
    const std::string stream = Bytes(size, static_cast<unsigned>(size));
    const std::string file = WriteCompoundFile("Workbook", stream);
    EXPECT_EQ(file.size() % 512, 0u);
    EXPECT_EQ(OurRead(file, "Workbook"), stream);
    EXPECT_EQ(OurRead(file, "WORKBOOK"), stream) << "names compare without case";
    EXPECT_EQ(OurRead(file, "Book"), std::nullopt);
    if (size == 7400000) {
      EXPECT_NE(file.substr(72, 4), std::string(4, '\0')) << "DIFAT sectors";
    }
  }
}

#if TIECALC_HAVE_GSF
TEST(CompoundFile, LibgsfReadsOursAndWeReadLibgsfs) {
  for (size_t size : kSizes) {
    SCOPED_TRACE(size);
    const std::string stream = Bytes(size, static_cast<unsigned>(size) + 7);
    EXPECT_EQ(gsfcompound::Read(WriteCompoundFile("Workbook", stream), "Workbook"), stream);
    EXPECT_EQ(OurRead(gsfcompound::Write({{"Workbook", stream}}), "Workbook"), stream);
  }
}

TEST(CompoundFile, OtherStreamsAndStoragesBesideTheWorkbookAreIgnored) {
  const std::string workbook = Bytes(9000, 3);
  const std::string file = gsfcompound::Write({{"\x05SummaryInformation", Bytes(300, 1)},
                                               {"_VBA_PROJECT_CUR/PROJECT", Bytes(5000, 2)},
                                               {"Workbook", workbook},
                                               {"_VBA_PROJECT_CUR/Workbook", Bytes(200, 4)},
                                               {"\x05" "DocumentSummaryInformation", Bytes(4100, 5)},
                                               {"Ctls", Bytes(64, 6)}});
  EXPECT_EQ(OurRead(file, "Workbook"), workbook) << "the root's own stream, not the storage's";
  EXPECT_EQ(OurRead(file, "Ctls"), Bytes(64, 6));
  EXPECT_EQ(OurRead(file, "PROJECT"), std::nullopt) << "a stream inside a storage is not the root's";
}

TEST(CompoundFile, FixturesGiveLibgsfsStreamByteForByte) {
  const std::string fixture = testing::ReadBytes(TIECALC_SOURCE_DIR "/tests/platform/sheetdb/data/calc-values.xls");
  ASSERT_FALSE(fixture.empty());
  const auto expected = gsfcompound::Read(fixture, "Workbook");
  ASSERT_TRUE(expected);
  EXPECT_EQ(OurRead(fixture, "Workbook"), expected);
}

// An export's workbook taken apart and put together again by libgsf reads
// back cell for cell, and so does libgsf's container of our stream.
TEST(CompoundFile, ExportsSurviveLibgsfBothWays) {
  Workbook book;
  book.sheets.push_back({"三杆附着", {{"θ", "F1", "F2"}, {"0", "311.42", "-358.77"}, {"", "", "数据计算成功"}}});
  std::vector<std::vector<sheetdb::Cell>> many;
  for (int r = 0; r < 800; ++r) many.push_back({std::to_string(r), "杆件" + std::to_string(r * 7)});
  book.sheets.push_back({"Sweep", many});
  const std::string ours = WriteXls(book);
  const auto stream = gsfcompound::Read(ours, "Workbook");
  ASSERT_TRUE(stream);
  const Workbook back = ReadXls(gsfcompound::Write({{"Workbook", *stream}}), "back.xls");
  ASSERT_EQ(back.sheets.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(back.sheets[i].name, book.sheets[i].name);
    EXPECT_EQ(back.sheets[i].rows, book.sheets[i].rows);
  }
}
#endif

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

// Files made to break the reader: each is refused with a reason, never read
// out of bounds, never looped over, never allocated beyond its size.
TEST(CompoundFile, HostileFilesAreRefused) {
  // Layout of our file for a 5000-byte stream: FAT sector 0, directory
  // sector 1, data sectors 2..11. For a 100-byte stream: FAT 0, directory
  // 1, mini FAT 2, mini stream 3.
  const std::string big = WriteCompoundFile("Workbook", Bytes(5000, 9));
  const std::string small = WriteCompoundFile("Workbook", Bytes(100, 9));
  const std::string huge = WriteCompoundFile("Workbook", Bytes(130000, 9));  // 256 sectors
  const size_t fat = 512, dir = 1024;
  struct Case {
    const char* what;
    const std::string* file;
    std::function<void(std::string&)> spoil;
    const char* reason;
  };
  const Case cases[] = {
      {"too short", &big, [](std::string& f) { f.resize(100); }, "文件太短"},
      {"signature", &big, [](std::string& f) { f[0] = 'P'; }, "不是复合文档"},
      {"sector shift", &big, [](std::string& f) { f[30] = 20; }, "扇区大小"},
      {"FAT count", &big, [](std::string& f) { Put32(f, 44, 0xFFFFFFFF); }, "扇区分配表的扇区数"},
      {"FAT sector outside", &big, [](std::string& f) { Put32(f, 76, 0x7FFFFFFF); }, "扇区在文件之外"},
      {"directory outside", &big, [](std::string& f) { Put32(f, 48, 5000); }, "目录的扇区链已损坏"},
      {"directory loops", &big, [&](std::string& f) { Put32(f, fat + 4 * 1, 1); }, "目录的扇区链首尾相接"},
      {"stream chain loops", &big, [&](std::string& f) { Put32(f, fat + 4 * 11, 2); }, "数据流的扇区链首尾相接"},
      {"stream beyond file", &big, [&](std::string& f) { Put32(f, dir + 128 + 120, 0x7FFFFFFF); }, "长度超过文件"},
      {"stream beyond chain", &big, [&](std::string& f) { Put32(f, dir + 128 + 120, 6000); }, "超过它的扇区"},
      {"cut short", &big, [](std::string& f) { f.resize(f.size() - 300); }, "文件不完整"},
      {"tree loops", &big,
       [&](std::string& f) {
         Put32(f, dir + 76, 2);              // the root's child: the unused entry,
         Put32(f, dir + 2 * 128 + 68, 2);    // whose left sibling is itself
       },
       "目录树已损坏"},
      {"tree outside", &big, [&](std::string& f) { Put32(f, dir + 76, 77); }, "目录树已损坏"},
      {"no root", &big, [&](std::string& f) { f[dir + 66] = 1; }, "没有根条目"},
      {"mini chain outside", &small, [&](std::string& f) { Put32(f, 512 * 3, 1000); }, "小数据流的扇区链已损坏"},
      {"mini stream missing", &small, [&](std::string& f) { Put32(f, dir + 120, 0); }, "长度超过文件"},
      {"DIFAT loops", &huge,
       [&](std::string& f) {
         Put32(f, 44, 109 + 127 + 1);  // two DIFAT sectors needed
         for (size_t i = 0; i < 109; ++i) Put32(f, 76 + 4 * i, 0);
         Put32(f, 68, 5);               // the first DIFAT sector names itself as the next
         for (size_t i = 0; i < 127; ++i) Put32(f, 512 * 6 + 4 * i, 0);
         Put32(f, 512 * 6 + 4 * 127, 5);
       },
       "扇区列表首尾相接"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string file = *c.file;
    ASSERT_NO_THROW(OurRead(file, "Workbook"));
    c.spoil(file);
    try {
      OurRead(file, "Workbook");
      ADD_FAILURE() << "read";
    } catch (const CCompoundFileError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << e.what();
    }
  }
}

TEST(CompoundFile, BrokenContainerIsAClearWorkbookError) {
  try {
    ReadXls(std::string(600, 'x'), "张三.xls");
    ADD_FAILURE() << "read";
  } catch (const CSheetDbError& e) {
    EXPECT_EQ(std::string(e.what()), NotReadableMessage("张三.xls", ".xls", "不是复合文档"));
  }
  try {
    ReadXls(WriteCompoundFile("Book", "old"), "old.xls");
    ADD_FAILURE() << "read";
  } catch (const CSheetDbError& e) {
    EXPECT_EQ(std::string(e.what()), NotReadableMessage("old.xls", ".xls", "是 97 版以前的 .xls 格式"));
  }
}

}  // namespace
}  // namespace tiecalc::sheetdb
