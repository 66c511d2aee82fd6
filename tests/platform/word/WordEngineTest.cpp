#include "platform/word/WordEngine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "platform/word/WordError.h"
#include "platform/word/ZipPackage.h"
#include "platform/word/TempFolder.h"
#include "platform/word/TestDocuments.h"

namespace tiecalc {
namespace {

using testdocs::ReadBack;

// An engine with one blank document and its selection.
struct Engine {
  std::shared_ptr<IWordApplication> app = CreateWordEngine();
  std::shared_ptr<IWordDocument> doc = app->Documents()->Add("", false, 0, true);
  std::shared_ptr<IWordSelection> sel = app->Selection();

  void Font(const std::string& name, float size, int32_t color) {
    sel->SetText("F");
    auto font = sel->GetFont();
    font->SetSize(size);
    font->SetName(name);
    font->SetColor(color);
    sel->SetFont(font);
  }
  void Style(int32_t bold, int32_t italic, int32_t underline) {
    sel->SetText("F");
    auto font = sel->GetFont();
    font->SetBold(bold);
    font->SetItalic(italic);
    font->SetUnderline(underline);
    sel->SetFont(font);
  }
  void Align(int32_t alignment) {
    auto format = sel->GetParagraphFormat();
    format->SetAlignment(alignment);
    sel->SetParagraphFormat(format);
  }
  void SaveAs(const std::string& path) {
    WordSaveAsArgs args;
    args.fileName = path;
    doc->SaveAs(args);
  }
};

TEST(WordEngine, FormattingLandsOnThePlaceholderAndPassesToTheTextTypedOverIt) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  Engine e;
  e.Font("宋体", 25, 0);
  e.sel->GetRange()->SetHighlightColorIndex(7);
  e.Style(1, 0, 0);  // a fresh placeholder keeps the font and the highlight
  e.Align(1);
  e.sel->TypeText("报告 Report");
  e.sel->TypeParagraph();
  e.Font("宋体", 14, 255);  // red, as 0x00BBGGRR
  e.sel->GetRange()->SetHighlightColorIndex(0);
  e.Style(0, -1, 1);
  e.Align(0);
  e.sel->TypeText("σ<235/1.34\r\n满足要求！\tend");
  e.sel->TypeParagraph();
  e.Font("Arial", 10.5f, 0x00FF8000);  // blue 0x0080FF
  e.sel->TypeText("  two spaces");
  e.SaveAs(folder.Path("a.doc"));
  EXPECT_EQ(ReadBack(folder.Path("a.doc")),
            "P CENTER \"报告 Report\"\n"
            "  R \"报告 Report\" 宋体/宋体 25 000000 1 0 0 YELLOW\n"
            "P LEFT \"σ<235/1.34\"\n"
            "  R \"σ<235/1.34\" 宋体/宋体 14 FF0000 0 1 1 -\n"
            "P LEFT \"满足要求！\tend\"\n"
            "  R \"满足要求！\tend\" 宋体/宋体 14 FF0000 0 1 1 -\n"
            "P LEFT \"  two spaces\"\n"
            "  R \"  two spaces\" Arial/Arial 10.5 0080FF 0 1 1 -\n");
}

TEST(WordEngine, RefusesValuesOutOfRangeAsAnEngineError) {
  Engine e;
  e.sel->SetText("F");
  auto font = e.sel->GetFont();
  EXPECT_THROW(font->SetSize(0), WordError);
  EXPECT_THROW(font->SetUnderline(5), WordError);
  EXPECT_THROW(e.sel->GetRange()->SetHighlightColorIndex(17), WordError);
  EXPECT_THROW(e.sel->GetParagraphFormat()->SetAlignment(6), WordError);
  EXPECT_THROW(e.doc->Save(), WordError);  // never saved: no file name
  EXPECT_THROW(e.app->Documents()->Add("Normal.dotm", false, 0, true), WordError);
}

TEST(WordEngine, TablesGoWhereTheTextIsTypedAndTakeItsFormat) {
  TempFolder folder;
  Engine e;
  e.sel->TypeText("上");
  e.Font("宋体", 10.5f, 0);
  auto table = e.doc->Tables()->Add(e.sel->GetRange(), 2, 3);
  table->Cell(1, 1)->Range()->SetText("杆件");
  table->Cell(2, 3)->Range()->SetText("满足要求");
  table->Cell(2, 3)->Range()->SetText("不 满足要求");  // replaces the text
  EXPECT_THROW(table->Cell(3, 1), WordError);
  EXPECT_THROW(table->Cell(1, 0), WordError);
  EXPECT_THROW(e.doc->Tables()->Add(e.sel->GetRange(), 0, 3), WordError);
  e.sel->TypeText("下");
  e.SaveAs(folder.Path("t.doc"));
  const std::string xml = ReadPackage(folder.Path("t.doc")).at("word/document.xml");
  const std::regex order(R"(<w:t>上</w:t>.*<w:tbl>.*<w:gridCol w:w="2768"/>.*<w:sz w:val="21"/>.*<w:t>杆件</w:t>)"
                         R"(.*<w:t>不 满足要求</w:t></w:r></w:p></w:tc></w:tr></w:tbl><w:p>.*<w:t>下</w:t>)");
  EXPECT_TRUE(std::regex_search(xml, order)) << xml;
  EXPECT_EQ(xml.find("<w:t>满足要求</w:t>"), std::string::npos);
}

// The fragment "甲" with a footer, text typed between, then the fragment "乙"
// whose picture has the same part name and relationship id but other bytes.
std::string ComposeWithFragments(TempFolder& folder) {
  std::string other = testdocs::Png();
  other += std::string(7, '\0');  // trailing bytes after IEND: still a PNG, another size
  WritePackage(folder.Path("31.doc"), testdocs::Fragment("甲 计算模型", testdocs::Png(), true));
  WritePackage(folder.Path("32.doc"), testdocs::Fragment("乙", other, true));
  Engine e;
  e.Font("宋体", 14, 0);
  e.sel->TypeText("前文");
  e.sel->TypeParagraph();
  e.Style(0, 0, 0);  // the placeholder is replaced by the inserted file
  e.sel->InsertFile(folder.Path("31.doc"), "", 0, 0, 0);
  e.sel->TypeText("  A=900 mm");
  e.sel->InsertFile(folder.Path("32.doc"), "", 0, 0, 0);  // in mid-paragraph: it is split
  e.sel->TypeText("后文");
  e.SaveAs(folder.Path("report.doc"));
  return folder.Path("report.doc");
}

TEST(WordEngine, InsertFileSplicesParagraphsEquationsPicturesAndTheFooterOnce) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  const std::string report = ComposeWithFragments(folder);
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
  EXPECT_EQ(ReadBack(report),
            "P - \"前文\"\n"
            "  R \"前文\" 宋体/宋体 14 000000 - - - -\n" +
                fragment("甲 计算模型", 129) +
                "P - \"  A=900 mm\"\n"
                "  R \"  A=900 mm\" 宋体/宋体 14 000000 0 0 0 -\n" +
                fragment("乙", 136) +
                "P - \"后文\"\n"
                "  R \"后文\" 宋体/宋体 14 000000 0 0 0 -\n"
                "FOOTER \"第  页 共 1 页\" PAGE,NUMPAGES\n");

  // Inside the package: unique relationship ids and drawing ids, both media
  // kept, the fragment's style and namespaces carried over.
  const PackageParts parts = ReadPackage(report);
  EXPECT_EQ(parts.at("word/media/image1.png"), testdocs::Png());
  EXPECT_EQ(parts.at("word/media/image2.png").size(), 136u);
  EXPECT_EQ(parts.count("word/footer2.xml"), 0u);
  const std::string& rels = parts.at("word/_rels/document.xml.rels");
  std::set<std::string> ids;
  const std::regex idPattern("Id=\"([^\"]+)\"");
  for (std::sregex_iterator it(rels.begin(), rels.end(), idPattern), end; it != end; ++it)
    EXPECT_TRUE(ids.insert((*it)[1]).second) << (*it)[1];
  EXPECT_EQ(ids.size(), 5u);  // styles, settings, two pictures, one footer
  const std::string& xml = parts.at("word/document.xml");
  EXPECT_NE(xml.find("wp:docPr id=\"1\""), std::string::npos);
  EXPECT_NE(xml.find("wp:docPr id=\"2\""), std::string::npos);
  EXPECT_NE(xml.find("xmlns:x14=\"urn:tiecalc-test-extension\""), std::string::npos);
  EXPECT_NE(parts.at("word/styles.xml").find("w:styleId=\"FragHeading\""), std::string::npos);
  EXPECT_NE(parts.at("[Content_Types].xml").find("/word/footer1.xml"), std::string::npos);
}

// A file inserted again is spliced again in full, and a file rewritten under
// the same name gives what it holds when it is inserted, in this document and
// in the next.
TEST(WordEngine, InsertFileTakesTheFileAsItIsEachTime) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  const std::string other = testdocs::Png() + std::string(7, '\0');
  const auto headingsAndPictures = [](const std::string& path) {
    std::string out;
    std::istringstream lines(ReadBack(path));
    for (std::string line; std::getline(lines, line);)
      if (line.find("黑体") != std::string::npos || line.find("PIC") != std::string::npos) out += line + "\n";
    return out;
  };
  const auto lines = [](const std::string& heading, int bytes) {
    return "  R \"" + heading + "\" 黑体/黑体 - - - - - -\n  PIC image/png " + std::to_string(bytes) + "\n";
  };
  Engine first;
  WritePackage(folder.Path("f.doc"), testdocs::Fragment("甲", testdocs::Png(), true));
  first.sel->InsertFile(folder.Path("f.doc"), "", 0, 0, 0);
  first.sel->InsertFile(folder.Path("f.doc"), "", 0, 0, 0);
  WritePackage(folder.Path("f.doc"), testdocs::Fragment("乙", other, false));
  first.sel->InsertFile(folder.Path("f.doc"), "", 0, 0, 0);
  first.SaveAs(folder.Path("first.doc"));
  Engine second;
  second.sel->InsertFile(folder.Path("f.doc"), "", 0, 0, 0);
  second.SaveAs(folder.Path("second.doc"));

  EXPECT_EQ(headingsAndPictures(folder.Path("first.doc")), lines("甲", 129) + lines("甲", 129) + lines("乙", 136));
  EXPECT_EQ(headingsAndPictures(folder.Path("second.doc")), lines("乙", 136));
  const std::string xml = ReadPackage(folder.Path("first.doc")).at("word/document.xml");
  for (const char* id : {"wp:docPr id=\"1\"", "wp:docPr id=\"2\"", "wp:docPr id=\"3\""})
    EXPECT_NE(xml.find(id), std::string::npos) << id;
  EXPECT_EQ(ReadPackage(folder.Path("second.doc")).count("word/footer1.xml"), 0u);
}

TEST(WordEngine, OpenReturnsTheDocumentOpenUnderThatNameAndLoadsOthersFromTheirFiles) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  Engine e;
  e.SaveAs(folder.Path("r.doc"));
  WordOpenArgs args;
  args.fileName = folder.Path("r.doc");
  auto reopened = e.app->Documents()->Open(args);
  e.app->Selection()->TypeText("留在原文档");
  reopened->Save();
  EXPECT_EQ(ReadBack(folder.Path("r.doc")), "P - \"留在原文档\"\n  R \"留在原文档\" -/- - - - - - -\n");

  // A stored document opens with the insertion point at its start.
  WritePackage(folder.Path("f.docx"), testdocs::Fragment("标题", testdocs::Png(), false));
  args.fileName = folder.Path("f.docx");
  auto opened = e.app->Documents()->Open(args);
  e.app->Selection()->TypeText("开头");
  WordSaveAsArgs save;
  save.fileName = folder.Path("g.docx");
  opened->SaveAs(save);
  const std::string expected =
      "P - \"开头标题\"\n  R \"开头\" -/- - - - - - -\n  R \"标题\" 黑体/黑体 - - - - - -\nP - \"\"\n  MATH ";
  const std::string got = ReadBack(folder.Path("g.docx"));
  EXPECT_EQ(got.substr(0, expected.size()), expected) << got;
}

TEST(WordEngine, FailuresNameTheFileAndLeaveDocumentAndFolderAsTheyWere) {
  TempFolder folder;
  Engine e;
  e.sel->TypeText("正文");
  e.SaveAs(folder.Path("before.docx"));
  const std::string before = folder.Read("before.docx");

  auto expectFailure = [&](auto call, const std::string& named) {
    try {
      call();
      ADD_FAILURE() << "no error for " << named;
    } catch (const WordError& error) {
      EXPECT_NE(std::string(error.what()).find(named), std::string::npos) << error.what();
    }
  };
  // A fragment file that is missing, not a zip, or a zip without a document.
  expectFailure([&] { e.sel->InsertFile(folder.Path("missing.doc"), "", 0, 0, 0); }, folder.Path("missing.doc"));
  std::ofstream(folder.Path("text.doc")) << "plain text";
  expectFailure([&] { e.sel->InsertFile(folder.Path("text.doc"), "", 0, 0, 0); }, folder.Path("text.doc"));
  WritePackage(folder.Path("empty.doc"), {{"a.txt", "x"}});
  expectFailure([&] { e.sel->InsertFile(folder.Path("empty.doc"), "", 0, 0, 0); }, folder.Path("empty.doc"));
  // A fragment whose picture part is missing fails before anything changes.
  PackageParts broken = testdocs::Fragment("坏", testdocs::Png(), true);
  broken.erase("word/media/image1.png");
  WritePackage(folder.Path("broken.doc"), broken);
  expectFailure([&] { e.sel->InsertFile(folder.Path("broken.doc"), "", 0, 0, 0); }, "word/media/image1.png");
  WordOpenArgs open;
  open.fileName = folder.Path("text.doc");
  expectFailure([&] { e.app->Documents()->Open(open); }, folder.Path("text.doc"));

  // Unwritable targets: a folder that is a file, a folder that is missing.
  expectFailure([&] { e.SaveAs(folder.Path("text.doc/r.docx")); }, folder.Path("text.doc/r.docx"));
  expectFailure([&] { e.SaveAs(folder.Path("none/r.docx")); }, folder.Path("none/r.docx"));

  e.SaveAs(folder.Path("after.docx"));
  EXPECT_EQ(folder.Read("after.docx"), before);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"after.docx", "before.docx", "broken.doc", "empty.doc",
                                                      "text.doc"}));
}

TEST(WordEngine, QuitClosesEveryDocumentWithoutSavingIt) {
  TempFolder folder;
  Engine e;
  e.SaveAs(folder.Path("q.docx"));
  const std::string saved = folder.Read("q.docx");
  e.sel->TypeText("not saved");
  e.app->Quit(0, 1, 0);
  EXPECT_EQ(folder.Read("q.docx"), saved);
  EXPECT_THROW(e.sel->TypeText("x"), WordError);
  EXPECT_THROW(e.app->Documents(), WordError);
}

}  // namespace
}  // namespace tiecalc
