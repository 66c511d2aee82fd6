#include "platform/word/WordDocument.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>

#include "platform/word/TempFolder.h"
#include "platform/word/TestDocuments.h"
#include "platform/word/WordError.h"

namespace tiecalc {
namespace {

RunFormat Format(const std::string& font, double size, uint32_t color) {
  RunFormat format;
  format.font = font;
  format.size = size;
  format.color = color;
  return format;
}

RunFormat Style(bool bold, bool italic, bool underline) {
  RunFormat format;
  format.bold = bold;
  format.italic = italic;
  format.underline = underline;
  return format;
}

// The document as the independent reader sees it.
std::string ReadBack(const CWordDocument& document) {
  TempFolder folder;
  std::ofstream(folder.Path("d.docx"), std::ios::binary) << document.PackageBytes();
  return testdocs::ReadBack(folder.Path("d.docx"));
}

TEST(WordDocument, TextTakesTheFormatOfItsMomentAndParagraphsTheirAlignment) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  CWordDocument document;
  document.SetFormat(Format("宋体", 25, 0x000000));
  document.SetFormat(Style(true, false, false));  // adds to the font set before
  document.SetAlignment(Alignment::Center);
  document.TypeText("报告 Report");
  document.TypeParagraph();
  document.SetFormat(Format("宋体", 14, 0xFF0000));
  document.SetFormat(Style(false, true, true));
  document.SetAlignment(Alignment::Left);
  document.TypeText("σ<235/1.34\r\n满足要求！\tend");
  document.TypeParagraph();
  document.SetFormat(Format("Arial", 10.5, 0x0080FF));
  document.SetAlignment(Alignment::Justify);
  document.TypeText("  two spaces");
  EXPECT_EQ(ReadBack(document),
            "P CENTER \"报告 Report\"\n"
            "  R \"报告 Report\" 宋体/宋体 25 000000 1 0 0 -\n"
            "P LEFT \"σ<235/1.34\"\n"
            "  R \"σ<235/1.34\" 宋体/宋体 14 FF0000 0 1 1 -\n"
            "P LEFT \"满足要求！\tend\"\n"
            "  R \"满足要求！\tend\" 宋体/宋体 14 FF0000 0 1 1 -\n"
            "P JUSTIFY \"  two spaces\"\n"
            "  R \"  two spaces\" Arial/Arial 10.5 0080FF 0 1 1 -\n");
}

TEST(WordDocument, TablesGoWhereTheTextIsTypedAndTakeItsFormat) {
  CWordDocument document;
  document.TypeText("上");
  document.SetFormat(Format("宋体", 10.5, 0));
  EXPECT_THROW(document.InsertTable({}), WordError);
  EXPECT_THROW(document.InsertTable({{}}), WordError);
  document.InsertTable({{"杆件", "", "L"}, {"杆1", "3352.53", "不 满足要求", "dropped"}});
  document.TypeText("下");
  const std::string xml = ReadPackage(document.PackageBytes(), "t").at("word/document.xml");
  const std::regex order(R"(<w:t>上</w:t>.*<w:tbl>.*<w:gridCol w:w="2768"/>.*<w:sz w:val="21"/>.*<w:t>杆件</w:t>)"
                         R"(.*<w:t>不 满足要求</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p>.*<w:t>下</w:t>)");
  EXPECT_TRUE(std::regex_search(xml, order)) << xml;
  EXPECT_EQ(xml.find("dropped"), std::string::npos);
  EXPECT_EQ(xml.find("<w:tbl>", xml.find("<w:tbl>") + 1), std::string::npos) << "the refused tables left nothing";
}

// The fragment "甲" with a footer, text typed after it, then the fragment "乙"
// in mid-paragraph, whose picture has the same part name and relationship id
// but other bytes, then "甲" again.
TEST(WordDocument, PackagesAreSplicedWithTheirEquationsPicturesStylesAndOneFooter) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  const std::string other = testdocs::Png() + std::string(7, '\0');  // still a PNG, another size
  CWordDocument document;
  document.SetFormat(Format("宋体", 14, 0));
  document.TypeText("前文");
  document.TypeParagraph();
  document.InsertPackage(testdocs::Fragment("甲 计算模型", testdocs::Png(), true), "31.doc");
  document.TypeText("  A=900 mm");
  document.InsertPackage(testdocs::Fragment("乙", other, true), "32.doc");
  document.InsertPackage(testdocs::Fragment("甲 计算模型", testdocs::Png(), true), "31.doc");
  document.TypeText("后文");
  const auto fragment = [](const std::string& heading, int bytes) {
    return "P - \"" + heading + "\"\n"
           "  R \"" + heading + "\" 黑体/黑体 - - - - - -\n"
           "P - \"\"\n"
           "  MATH oMath(r(t\"F1=\")f(num(r(t\"M\"))den(r(t\"2a\")))r(t\"+R\")func(fName(r(t\"sin\"))e(r(t\"θ\"))))\n"
           "P CENTER \"\"\n"
           "  R \"\" -/- - - - - - -\n"
           "  PIC image/png " + std::to_string(bytes) + "\n"
           "P - \"  图1 计算模型\"\n"
           "  R \"  图1 计算模型\" -/- - - - - - -\n";
  };
  // The reader's footer text leaves out the text of a simple field.
  EXPECT_EQ(ReadBack(document),
            "P - \"前文\"\n"
            "  R \"前文\" 宋体/宋体 14 000000 - - - -\n" +
                fragment("甲 计算模型", 129) +
                "P - \"  A=900 mm\"\n"
                "  R \"  A=900 mm\" 宋体/宋体 14 000000 - - - -\n" +
                fragment("乙", 136) + fragment("甲 计算模型", 129) +
                "P - \"后文\"\n"
                "  R \"后文\" 宋体/宋体 14 000000 - - - -\n"
                "FOOTER \"第  页 共 1 页\" PAGE,NUMPAGES\n");

  // Inside the package: unique relationship ids and drawing ids, every
  // picture kept, one footer, the fragment's style and namespaces carried over.
  const PackageParts parts = ReadPackage(document.PackageBytes(), "report");
  EXPECT_EQ(parts.at("word/media/image1.png"), testdocs::Png());
  EXPECT_EQ(parts.at("word/media/image2.png"), other);
  EXPECT_EQ(parts.at("word/media/image3.png"), testdocs::Png());
  EXPECT_EQ(parts.count("word/footer2.xml"), 0u);
  const std::string& rels = parts.at("word/_rels/document.xml.rels");
  std::set<std::string> ids;
  const std::regex idPattern("Id=\"([^\"]+)\"");
  for (std::sregex_iterator it(rels.begin(), rels.end(), idPattern), end; it != end; ++it)
    EXPECT_TRUE(ids.insert((*it)[1]).second) << (*it)[1];
  EXPECT_EQ(ids.size(), 6u);  // styles, settings, three pictures, one footer
  const std::string& xml = parts.at("word/document.xml");
  for (const char* id : {"wp:docPr id=\"1\"", "wp:docPr id=\"2\"", "wp:docPr id=\"3\""})
    EXPECT_NE(xml.find(id), std::string::npos) << id;
  EXPECT_NE(xml.find("xmlns:x14=\"urn:tiecalc-test-extension\""), std::string::npos);
  EXPECT_NE(parts.at("word/styles.xml").find("w:styleId=\"FragHeading\""), std::string::npos);
  EXPECT_NE(parts.at("[Content_Types].xml").find("/word/footer1.xml"), std::string::npos);
}

TEST(WordDocument, AFaultyPackageIsNamedAndLeavesTheDocumentAsItWas) {
  CWordDocument document;
  document.TypeText("正文");
  const std::string before = document.PackageBytes();
  PackageParts missingPicture = testdocs::Fragment("坏", testdocs::Png(), true);
  missingPicture.erase("word/media/image1.png");
  PackageParts noBody = testdocs::Fragment("坏", testdocs::Png(), false);
  noBody["word/document.xml"] = R"(<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"/>)";
  const struct {
    PackageParts parts;
    std::string says;
  } cases[] = {
      {{{"a.txt", "x"}}, "文档 bad.doc 不是 Word 文档(缺少 _rels/.rels)"},
      {missingPicture, "文档 bad.doc 缺少部件 word/media/image1.png"},
      {noBody, "文档 bad.doc 不是 Word 文档正文"},
  };
  for (const auto& c : cases) {
    try {
      document.InsertPackage(c.parts, "bad.doc");
      ADD_FAILURE() << c.says;
    } catch (const WordError& error) {
      EXPECT_EQ(error.what(), c.says);
    }
    EXPECT_EQ(document.PackageBytes(), before);
  }
}

}  // namespace
}  // namespace tiecalc
