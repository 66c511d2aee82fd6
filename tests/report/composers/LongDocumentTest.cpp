// A calculation book's blocks: a cover, a table of contents, numbered
// headings, captions kept with long tables, verdicts in colour, numbers kept
// with their units; read back by python-docx.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "ReportTestSupport.h"
#include "platform/word/PackageBuilder.h"
#include "platform/word/WordError.h"
#include "report/composers/ReportComposer.h"

namespace tiecalc {
namespace {

using LongDocument = ReportTest;

RunFormat Colour(uint32_t rgb) {
  RunFormat format;
  format.color = rgb;
  return format;
}

TEST_F(LongDocument, ReadsBackWithNumberedHeadingsContentsAndLongTables) {
  CWordDocument document;
  CReportComposer book(document);
  book.UseFont(22, kTextBlack, true);
  book.Align(Alignment::Center);
  book.Spacing(0, 24);
  book.TextLine("计算书");
  book.UseFont(14);
  TableCell signature;
  signature.underlined = true;
  TableLayout cover;
  cover.borders = false;
  cover.centred = true;
  cover.columnWidths = {1500, 3000};
  book.Table({{"计算：", signature}}, cover, 14);
  book.PageBreak();
  book.TableOfContents();
  book.PageBreak();
  book.Align(Alignment::Left);
  book.NumberedHeading(1, "总则");
  book.TextLine("σ=" + WithUnit("175.37", "MPa"));
  book.NumberedHeading(2, "材料");
  book.NumberedHeading(3, "钢材");
  book.KeepWithNext();
  book.TextLine("表1 杆件");
  TableLayout data;
  data.headerRows = 1;
  data.keepRowsWhole = true;
  data.columnAlignment = {Alignment::Left, Alignment::Right, Alignment::Center};
  RunFormat bold;
  bold.bold = true;
  book.Table({{{"杆件", bold}, {"N", bold}, {"结论", bold}},
              {"杆1", "12.5", {"满足", Colour(kTextDarkGreen)}},
              {"杆2", "-3.0", {"不满足", Colour(kTextDarkRed)}}},
             data, 12);
  book.PageBreak();
  book.NumberedHeading(1, "计算");
  book.NumberedHeading(2, "内力");
  book.PageBreak();
  DocumentContent appendix;
  appendix.paragraphs.push_back({0, {{DocumentPiece::Kind::Text, "附录", ""}}});
  document.InsertPackage(BuildPackage(appendix, {}), "附录");
  const std::string path = Out("book.docx");
  std::ofstream(path, std::ios::binary) << document.PackageBytes();

  const std::vector<std::string> lines = RunReader("report/composers/read_outline.py", path);
  if (ReaderMissing()) GTEST_SKIP() << "python-docx missing";
  // The contents list the headings typed after them, each linked to its
  // heading's bookmark, the page counted from the page breaks; the
  // paragraphs after a heading have the formatting of those before it.
  const std::vector<std::string> expected = {
      "P|Normal|None|None|24|计算书",
      "T|4500|center|0|fixed",
      "  R|0|0|计算：/000000/False/CENTER (1)/0;/-/-/CENTER (1)/1",
      "P|TOC Heading|True|None|-|目录",
      "P|toc 1|None|None|-|1 总则3",
      R"(  LINK|_Toc1|1 总则|PAGEREF _Toc1 \h|3)",
      "P|toc 2|None|None|-|1.1 材料3",
      R"(  LINK|_Toc2|1.1 材料|PAGEREF _Toc2 \h|3)",
      "P|toc 3|None|None|-|1.1.1 钢材3",
      R"(  LINK|_Toc3|1.1.1 钢材|PAGEREF _Toc3 \h|3)",
      "P|toc 1|None|None|-|2 计算4",
      R"(  LINK|_Toc4|2 计算|PAGEREF _Toc4 \h|4)",
      "P|toc 2|None|None|-|2.1 内力4",
      R"(  LINK|_Toc5|2.1 内力|PAGEREF _Toc5 \h|4)",
      "P|Normal|None|None|-|",  // the contents' end
      "P|Heading 1|True|None|-|总则",
      "  MARK|_Toc1",
      "P|Normal|None|None|24|σ=175.37~MPa",
      "P|Heading 2|None|None|-|材料",
      "  MARK|_Toc2",
      "P|Heading 3|None|None|-|钢材",
      "  MARK|_Toc3",
      "P|Normal|None|True|24|表1 杆件",
      "T|8306|-|1|-",
      "  R|1|1|杆件/000000/True/LEFT (0)/0;N/000000/True/RIGHT (2)/0;结论/000000/True/CENTER (1)/0",
      "  R|0|1|杆1/000000/False/LEFT (0)/0;12.5/000000/False/RIGHT (2)/0;满足/006100/False/CENTER (1)/0",
      "  R|0|1|杆2/000000/False/LEFT (0)/0;-3.0/000000/False/RIGHT (2)/0;不满足/C00000/False/CENTER (1)/0",
      "P|Heading 1|True|None|-|计算",
      "  MARK|_Toc4",
      "P|Heading 2|None|None|-|内力",
      "  MARK|_Toc5",
      "P|Normal|True|None|-|附录",
      "P|Normal|None|None|24|",
      "STYLE|Heading 1|1.0|0|True|黑体|18",
      "STYLE|Heading 2|1.1|1|True|黑体|16",
      "STYLE|Heading 3|1.2|2|True|黑体|14",
      "LEVEL|0|%1|Heading1",
      "LEVEL|1|%1.%2|Heading2",
      "LEVEL|2|%1.%2.%3|Heading3",
      "UPDATE|true",
  };
  EXPECT_EQ(lines, expected);
}

// Each refused call names what is wrong and leaves the document as it was.
TEST(LongDocumentErrors, AreNamedAndLeaveTheDocumentAsItWas) {
  const struct {
    std::function<void(CWordDocument&)> call;
    std::string says;
  } cases[] = {
      {[](CWordDocument& d) { d.TypeHeading(0, "甲"); }, "标题级别无效: 0"},
      {[](CWordDocument& d) { d.TypeHeading(4, "甲"); }, "标题级别无效: 4"},
      {[](CWordDocument& d) { d.TypeHeading(3, "甲"); }, "标题级别 3 之前缺少上一级标题: 甲"},
      {[](CWordDocument& d) { d.TypeHeading(1, "甲\r\n乙"); }, "标题不能分段: 甲\r\n乙"},
      {[](CWordDocument& d) { d.InsertTableOfContents("目录"); }, "文档中已有目录"},
      {[](CWordDocument& d) { d.InsertTable({{"a", "b"}}, TableLayout{.columnWidths = {100}}); },
       "表格的列宽无效: 1 个列宽, 2 列"},
      {[](CWordDocument& d) { d.InsertTable({{"a"}}, TableLayout{.columnWidths = {0}}); }, "表格的列宽无效: 1 个列宽, 1 列"},
      {[](CWordDocument& d) { d.InsertTable({{"a"}}, TableLayout{.headerRows = -1}); }, "表格的标题行数无效: -1"},
  };
  CWordDocument fresh;
  try {
    fresh.TypeHeading(2, "乙");
    ADD_FAILURE() << "a level 2 before any level 1";
  } catch (const WordError& error) {
    EXPECT_STREQ(error.what(), "标题级别 2 之前缺少上一级标题: 乙");
  }
  CWordDocument document;
  document.InsertTableOfContents("目录");
  document.TypeHeading(1, "总则");
  document.TypeText("正文");
  const std::string before = document.PackageBytes();
  for (const auto& c : cases) {
    try {
      c.call(document);
      ADD_FAILURE() << c.says;
    } catch (const WordError& error) {
      EXPECT_EQ(error.what(), c.says);
    }
    EXPECT_EQ(document.PackageBytes(), before) << c.says;
  }
}

}  // namespace
}  // namespace tiecalc
