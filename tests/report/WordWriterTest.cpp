#include "report/WordWriter.h"

#include <gtest/gtest.h>

#include "platform/word/RecordingWord.h"
#include "platform/word/TempFolder.h"
#include "platform/word/TestDocuments.h"
#include "platform/word/WordError.h"

namespace tiecalc {
namespace {

std::string Messages(const CScriptedDesktop& desktop) {
  std::string text;
  for (const auto& message : desktop.Messages()) {
    const char* icon = message.icon == MessageIcon::None ? "None" : message.icon == MessageIcon::Exclamation ? "Exclamation" : "Other";
    text += std::string(icon) + " " + message.text + "\n";
  }
  return text;
}

const std::string kStart =
    "LookupClass(\"Word.Application\")\n"
    "GetRunningInstance\n"
    "CreateInstance\n";
const std::string kNewDocument =
    "Application.Documents\n"
    "Documents.Add(\"\", BOOL false, I4 0, BOOL true)\n"
    "Release Document\n"
    "Application.ActiveDocument\n"
    "Application.Selection\n"
    "Document.Range(-, -)\n"
    "Document.Tables\n";

TEST(WordWriter, MakesTheseCallsWithTheseArgumentsInThisOrder) {
  CScriptedDesktop desktop;
  auto registry = std::make_shared<CRecordingWordRegistry>();
  {
    CWordWriter writer(desktop, registry);
    EXPECT_EQ(writer.StartNewDocument(), 1);
    EXPECT_EQ(writer.SaveDocumentAs("/r/报告.doc"), 1);
    EXPECT_EQ(writer.OpenDocument("/r/报告.doc"), 1);
    writer.SetFont("宋体", 25, 0, 0);
    writer.SetFontStyle(1, 0, 0);
    writer.SetAlignment(1);
    writer.WriteText("标题\r\n");
    writer.NewParagraphs(2);
    writer.NewParagraphs(0);
    writer.NewParagraphs(-1);
    writer.InsertDocumentFile("/p/31.doc");
    EXPECT_EQ(writer.SaveDocument(), 1);
    writer.CloseWord();
  }
  EXPECT_EQ(registry->Text(),
            kStart + kNewDocument +
                "Document.SaveAs(\"/r/报告.doc\", -, -, -, -, -, -, -, -, -, -, -, -, -, -, -)\n"
                "Documents.Open(\"/r/报告.doc\", I2 1, I2 0, I2 0, -, -, -, -, -, -, -, -, -, I2 0, -, -)\n"
                "Release Document\n"
                "Application.Selection\n"
                "Release Selection\n"
                "Document.Range(-, -)\n"
                "Release Range\n"
                "Document.Tables\n"
                "Release Tables\n"
                "Selection.Text = \"F\"\n"
                "Selection.Font\n"
                "Font.Size = R4 25\n"
                "Font.Name = \"宋体\"\n"
                "Font.Color = I4 0\n"
                "Selection.Font = Font\n"
                "Selection.Range\n"
                "Range.HighlightColorIndex = I4 0\n"
                "Release Range\n"
                "Selection.Text = \"F\"\n"
                "Selection.Font\n"
                "Release Font\n"
                "Font.Bold = I4 1\n"
                "Font.Italic = I4 0\n"
                "Font.Underline = I4 0\n"
                "Selection.Font = Font\n"
                "Selection.ParagraphFormat\n"
                "ParagraphFormat.Alignment = I4 1\n"
                "Selection.ParagraphFormat = ParagraphFormat\n"
                "Release ParagraphFormat\n"
                "Selection.TypeText(\"标题\\r\\n\")\n"
                "Selection.TypeParagraph\n"
                "Selection.TypeParagraph\n"
                "Selection.InsertFile(\"/p/31.doc\", \"\", I2 0, I2 0, I2 0)\n"
                "Document.Save\n"
                "Application.Quit(I2 0, I2 1, I2 0)\n"
                "Release Tables\n"
                "Release Range\n"
                "Release Selection\n"
                "Release Document\n"
                "Release Documents\n"
                "Release Application\n"
                "Release Font\n");
  EXPECT_EQ(Messages(desktop), "");
}

TEST(WordWriter, LeavesARunningInstanceRunningAndReleasesItFirst) {
  CScriptedDesktop desktop;
  auto registry = std::make_shared<CRecordingWordRegistry>();
  registry->Faults().running = true;
  CWordWriter writer(desktop, registry);
  EXPECT_EQ(writer.StartNewDocument(), 1);
  registry->Clear();
  writer.CloseWord();
  writer.CloseWord();  // as the destructor does: nothing left to do
  EXPECT_EQ(registry->Text(),
            "Release Application\nRelease Tables\nRelease Range\nRelease Selection\n"
            "Release Document\nRelease Documents\n");
  registry->Clear();
  CWordWriter other(desktop, registry);
  other.StartNewDocument();
  EXPECT_EQ(registry->Calls().at(1), "GetRunningInstance");
  EXPECT_EQ(registry->Calls().at(2), "RunningInstance.QueryApplication");
  EXPECT_EQ(registry->Calls().at(3), "Release RunningInstance");
  EXPECT_EQ(registry->Calls().at(4), "Application.Documents");
  EXPECT_EQ(Messages(desktop), "");
}

// One fault each: what StartNewDocument gives, the messages of the start and
// of a following report sequence, and the last call the writer made.
TEST(WordWriter, ReportsEachFailureWithItsTextAndIconAndGoesOn) {
  struct Case {
    bool WordFaults::*fault;
    int started;
    std::string messages;
  };
  const std::string noDocument = "Exclamation Document获取失败!\n";
  const std::string noSelection = "Exclamation Select为空，字体设置失败!\n";
  const Case cases[] = {
      {&WordFaults::noClass, 0, "None 没有安装OFFICE,请确保安装了word 2000或以上版本!\n"},
      {&WordFaults::noDispatch, 0, "None 没有取得IDispatchPtr\nExclamation Documents创建失败!\n"},
      {&WordFaults::noInstance, 0, "Exclamation Application创建失败,请确保安装了word 2000或以上版本!\n"},
      {&WordFaults::noDocuments, 0, "Exclamation Documents创建失败!\n"},
      {&WordFaults::noActiveDocument, 0, noDocument},
      {&WordFaults::noSelection, 1, "Exclamation Select获取失败!\n" "Exclamation Select获取失败!\n" + noSelection + noSelection},
      {&WordFaults::noRange, 1, "Exclamation Range获取失败!\nExclamation Range获取失败!\n"},
      {&WordFaults::noTables, 1, "Exclamation Table获取失败!\nExclamation Table获取失败!\n"},
      {&WordFaults::noOpenedDocument, 1, noDocument + noDocument},
  };
  for (const Case& c : cases) {
    CScriptedDesktop desktop;
    auto registry = std::make_shared<CRecordingWordRegistry>();
    if (c.fault == &WordFaults::noDispatch) registry->Faults().running = true;
    registry->Faults().*c.fault = true;
    {
      CWordWriter writer(desktop, registry);
      const int started = writer.StartNewDocument();
      EXPECT_EQ(started, c.started);
      if (started) {  // a report goes on whatever the later calls give
        writer.SaveDocumentAs("/r.doc");
        writer.OpenDocument("/r.doc");
        writer.SetFont("宋体", 14, 0, 0);
        writer.SetFontStyle(0, 0, 0);
        writer.SetAlignment(0);
        writer.WriteText("x");
        writer.SaveDocument();
        writer.CloseWord();
      }
    }
    EXPECT_EQ(Messages(desktop), c.messages) << registry->Text();
    // A Word the writer started is quit, also after a failed start.
    const bool started = !registry->Faults().noClass && !registry->Faults().noInstance &&
                         !registry->Faults().running;
    EXPECT_EQ(registry->Text().find("Application.Quit(I2 0, I2 1, I2 0)") != std::string::npos, started)
        << registry->Text();
  }
  // Nothing is written when the class is unknown: the lookup was the only call.
  CScriptedDesktop desktop;
  auto registry = std::make_shared<CRecordingWordRegistry>();
  registry->Faults().noClass = true;
  CWordWriter(desktop, registry).StartNewDocument();
  EXPECT_EQ(registry->Text(), "LookupClass(\"Word.Application\")\n");

  // A writer that never started finds every reference empty.
  CScriptedDesktop fresh;
  {
    CWordWriter writer(fresh, std::make_shared<CRecordingWordRegistry>());
    EXPECT_EQ(writer.SaveDocumentAs("/r.doc"), 0);
    EXPECT_EQ(writer.OpenDocument("/r.doc"), 0);
    EXPECT_EQ(writer.SaveDocument(), 0);
    writer.SetFont("宋体", 14, 0, 0);
    writer.WriteText("x");
    writer.InsertDocumentFile("/p.doc");
  }
  EXPECT_EQ(Messages(fresh), noDocument + "Exclamation Documents为空!\n" + noDocument + noSelection);
}

// A report-like sequence through the embedded engine, recorded on the way.
void Compose(CWordWriter& writer, const std::string& path, const std::string& fragment) {
  ASSERT_EQ(writer.StartNewDocument(), 1);
  writer.SaveDocumentAs(path);
  writer.OpenDocument(path);
  writer.SetFont("宋体", 25, 0, 0);
  writer.SetFontStyle(1, 0, 0);
  writer.SetAlignment(1);
  writer.WriteText("塔式起重机三杆附着分析报告");
  writer.NewParagraphs(1);
  writer.SetFont("宋体", 14, 0, 0);
  writer.SetFontStyle(0, 0, 0);
  writer.SetAlignment(0);
  writer.InsertDocumentFile(fragment);
  writer.WriteText("  A=900 mm");
  writer.WriteText("     B=900 mm");
  writer.NewParagraphs(1);
  writer.SetFont("宋体", 14, 65280, 0);
  writer.NewParagraphs(1);
  writer.WriteText("附着杆长细比<120，整体刚度满足要求！");
  writer.NewParagraphs(1);
  writer.SetFont("宋体", 14, 255, 0);
  writer.WriteText("σ≥235/1.34\r\n附着杆整体稳定性 不 满足要求！");
  writer.NewParagraphs(1);
  writer.SaveDocument();
}

const char* const kComposed =
    "P CENTER \"塔式起重机三杆附着分析报告\"\n"
    "  R \"塔式起重机三杆附着分析报告\" 宋体/宋体 25 000000 1 0 0 -\n"
    "P - \"甲 计算模型\"\n"
    "  R \"甲 计算模型\" 黑体/黑体 - - - - - -\n"
    "P - \"\"\n"
    "  MATH oMath(r(t\"F1=\")f(num(r(t\"M\"))den(r(t\"2a\")))r(t\"+R\")func(fName(r(t\"sin\"))e(r(t\"θ\"))))\n"
    "P CENTER \"\"\n"
    "  R \"\" -/- - - - - - -\n"
    "  PIC image/png 129\n"
    "P - \"  图1 计算模型\"\n"
    "  R \"  图1 计算模型\" -/- - - - - - -\n"
    "P LEFT \"  A=900 mm     B=900 mm\"\n"
    "  R \"  A=900 mm\" 宋体/宋体 14 000000 0 0 0 -\n"
    "  R \"     B=900 mm\" 宋体/宋体 14 000000 0 0 0 -\n"
    "P LEFT \"\"\n"
    "P LEFT \"附着杆长细比<120，整体刚度满足要求！\"\n"
    "  R \"附着杆长细比<120，整体刚度满足要求！\" 宋体/宋体 14 00FF00 0 0 0 -\n"
    "P LEFT \"σ≥235/1.34\"\n"
    "  R \"σ≥235/1.34\" 宋体/宋体 14 FF0000 0 0 0 -\n"
    "P LEFT \"附着杆整体稳定性 不 满足要求！\"\n"
    "  R \"附着杆整体稳定性 不 满足要求！\" 宋体/宋体 14 FF0000 0 0 0 -\n"
    "P LEFT \"\"\n"
    "FOOTER \"第  页 共 1 页\" PAGE,NUMPAGES\n";

TEST(WordWriter, ComposesADocumentThatAnIndependentReaderReadsBack) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  WritePackage(folder.Path("31.doc"), testdocs::Fragment("甲 计算模型", testdocs::Png(), true));
  CScriptedDesktop desktop;
  auto registry = std::make_shared<CRecordingWordRegistry>(std::make_shared<CEmbeddedWordRegistry>());
  {
    CWordWriter writer(desktop, registry);
    Compose(writer, folder.Path("报告.doc"), folder.Path("31.doc"));
    writer.CloseWord();
  }
  EXPECT_EQ(testdocs::ReadBack(folder.Path("报告.doc")), kComposed);
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"31.doc", "报告.doc"}));
  EXPECT_EQ(Messages(desktop), "");
  EXPECT_NE(registry->Text().find("Application.Quit(I2 0, I2 1, I2 0)\n"), std::string::npos);
}

TEST(WordWriter, ARunningEngineKeepsTheReportOpenAfterCloseWord) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  WritePackage(folder.Path("31.doc"), testdocs::Fragment("甲 计算模型", testdocs::Png(), true));
  CScriptedDesktop desktop;
  std::shared_ptr<IWordApplication> running = CreateWordEngine();
  {
    CWordWriter writer(desktop, std::make_shared<CEmbeddedWordRegistry>(running));
    Compose(writer, folder.Path("r.docx"), folder.Path("31.doc"));
    writer.CloseWord();
  }
  EXPECT_EQ(testdocs::ReadBack(folder.Path("r.docx")), kComposed);
  // Still open there, and still in use.
  ASSERT_NE(running->ActiveDocument(), nullptr);
  running->Selection()->TypeText("补充");
  running->ActiveDocument()->Save();
  const std::string after = testdocs::ReadBack(folder.Path("r.docx"));
  EXPECT_NE(after.find("P LEFT \"补充\""), std::string::npos) << after;
}

TEST(WordWriter, LetsEngineErrorsThroughAndLeavesNoPartialFile) {
  TempFolder folder;
  CScriptedDesktop desktop;
  auto registry = std::make_shared<CRecordingWordRegistry>(std::make_shared<CEmbeddedWordRegistry>());
  {
    CWordWriter writer(desktop, registry);
    ASSERT_EQ(writer.StartNewDocument(), 1);
    // An unwritable target: its folder is missing.
    EXPECT_THROW(writer.SaveDocumentAs(folder.Path("missing/r.doc")), WordError);
    ASSERT_EQ(writer.SaveDocumentAs(folder.Path("r.doc")), 1);
    const std::string saved = folder.Read("r.doc");
    writer.OpenDocument(folder.Path("r.doc"));
    writer.WriteText("正文");
    try {
      writer.InsertDocumentFile(folder.Path("33.doc"));
      ADD_FAILURE() << "a missing fragment was inserted";
    } catch (const WordError& error) {
      EXPECT_NE(std::string(error.what()).find(folder.Path("33.doc")), std::string::npos) << error.what();
    }
    EXPECT_EQ(folder.Read("r.doc"), saved);
  }  // the destructor quits the engine it started, without saving
  EXPECT_EQ(folder.Names(), (std::vector<std::string>{"r.doc"}));
  EXPECT_NE(registry->Text().find("Application.Quit(I2 0, I2 1, I2 0)\nRelease Tables"), std::string::npos);
  EXPECT_EQ(Messages(desktop), "");
}

#ifdef TIECALC_FRAGMENT_DOCUMENTS
// Every report fragment spliced into one document comes back exactly as the
// fragments read alone, in order, with the typed lines between them and the
// first footer met.
TEST(WordWriter, ADocumentOfAllTheReportFragmentsReadsBackAsItsParts) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  const char* const names[] = {"31",  "32",  "33",  "41",  "42",  "43",  "44",  "411", "412", "413",
                               "414", "sf1", "sf2", "sf3", "sf4", "sf5", "sf6", "sf7", "st1", "st3",
                               "st6", "st8", "st9", "lb1", "lb3", "lb9", "lt1", "sb1"};
  TempFolder folder;
  CScriptedDesktop desktop;
  std::string expected =
      "P CENTER \"塔式起重机三杆附着分析报告\"\n"
      "  R \"塔式起重机三杆附着分析报告\" 宋体/宋体 25 000000 1 0 0 -\n";
  std::string footer;
  {
    CWordWriter writer(desktop);
    ASSERT_EQ(writer.StartNewDocument(), 1);
    writer.SaveDocumentAs(folder.Path("all.doc"));
    writer.OpenDocument(folder.Path("all.doc"));
    writer.SetFont("宋体", 25, 0, 0);
    writer.SetFontStyle(1, 0, 0);
    writer.SetAlignment(1);
    writer.WriteText("塔式起重机三杆附着分析报告");
    writer.NewParagraphs(1);
    writer.SetFont("宋体", 14, 0, 0);
    writer.SetFontStyle(0, 0, 0);
    writer.SetAlignment(0);
    for (const char* name : names) {
      const std::string path = std::string(TIECALC_FRAGMENT_DOCUMENTS) + "/" + name + ".doc";
      std::string alone = testdocs::ReadBack(path);
      ASSERT_EQ(alone.rfind("P ", 0), 0u) << name << ": " << alone;
      if (const size_t at = alone.find("FOOTER "); at != std::string::npos) {
        if (footer.empty()) footer = alone.substr(at);
        alone.erase(at);
      }
      const std::string line = std::string("  A=900 mm [") + name + ".doc]";
      expected += alone + "P LEFT \"" + line + "\"\n  R \"" + line + "\" 宋体/宋体 14 000000 0 0 0 -\n";
      writer.InsertDocumentFile(path);
      writer.WriteText(line);
      writer.NewParagraphs(1);
    }
    writer.SaveDocument();
    writer.CloseWord();
  }
  expected += "P LEFT \"\"\n" + footer;
  EXPECT_NE(expected.find("  MATH "), std::string::npos);
  EXPECT_NE(expected.find("  PIC image/png"), std::string::npos);
  EXPECT_EQ(testdocs::ReadBack(folder.Path("all.doc")), expected);
  EXPECT_EQ(Messages(desktop), "");
}
#endif

}  // namespace
}  // namespace tiecalc
