// Every stored fragment as a report splices it in: its paragraphs, texts and
// equations in order against its readable source, its pictures with their
// media, its footer; a few texts checked by hand; and all of them spliced
// into one document, read back by an independent reader.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fragc/FragmentSource.h"
#include "platform/word/TempFolder.h"
#include "platform/word/TestDocuments.h"
#include "platform/word/WordDocument.h"
#include "platform/word/ZipPackage.h"
#include "report/fragments/Fragments.h"
#include "tools/OmmlReader.h"

namespace tiecalc {
namespace {

namespace fs = std::filesystem;
using fragc::Piece;

const fs::path kSources = fs::path(TIECALC_SOURCE_DIR) / "resources/fragments";
const fs::path kDiagrams = fs::path(TIECALC_SOURCE_DIR) / "resources/diagrams";

std::string_view Bytes(FragmentId id) {
  const std::span<const unsigned char> bytes = FragmentPackage(id);
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// One fragment as a report finds it: its stored package.
struct StoredFragment {
  PackageParts parts;
  pugi::xml_document document, relationships;
  std::vector<pugi::xml_node> paragraphs;

  explicit StoredFragment(FragmentId id) {
    parts = ReadPackage(Bytes(id), "fragment");
    EXPECT_TRUE(test::LoadXml(document, parts["word/document.xml"]));
    EXPECT_TRUE(test::LoadXml(relationships, parts["word/_rels/document.xml.rels"]));
    for (pugi::xml_node p : document.child("w:document").child("w:body").children("w:p")) paragraphs.push_back(p);
  }

  std::string Part(const std::string& name) const {
    const auto found = parts.find(name);
    return found == parts.end() ? std::string() : found->second;
  }

  std::string Target(const std::string& id) const {
    const auto found = relationships.select_node(("//Relationship[@Id='" + id + "']").c_str());
    return found ? found.node().attribute("Target").value() : "";
  }

  // A paragraph's content as pieces: runs of text, equations in notation,
  // pictures by name, fields by name.
  std::vector<Piece> Pieces(pugi::xml_node p) const {
    std::vector<Piece> pieces;
    for (pugi::xml_node child : p.children()) {
      const std::string name = child.name();
      if (name == "w:r" && child.child("w:drawing")) {
        pugi::xml_node picture = child.child("w:drawing").child("wp:inline");
        pieces.push_back({Piece::Kind::Drawing, picture.child("wp:docPr").attribute("name").value(), ""});
      } else if (name == "w:r") {
        pieces.push_back({Piece::Kind::Text, child.child("w:t").text().get(), ""});
      } else if (name == "m:oMath") {
        pieces.push_back({Piece::Kind::Equation, test::OmmlToNotation(child), ""});
      } else if (name == "m:oMathPara") {
        for (pugi::xml_node math : child.children("m:oMath"))
          pieces.push_back({Piece::Kind::Equation, test::OmmlToNotation(math), ""});
      } else if (name == "w:fldSimple") {
        std::string instruction = child.attribute("w:instr").value();
        instruction.erase(0, instruction.find_first_not_of(' '));
        instruction.erase(instruction.find_last_not_of(' ') + 1);
        pieces.push_back({Piece::Kind::Field, instruction, ""});
      }
    }
    return pieces;
  }

  std::string Text(std::size_t paragraph) const {
    std::string text;
    for (const Piece& piece : Pieces(paragraphs.at(paragraph))) text += piece.value;
    return text;
  }
};

std::string Describe(const std::vector<Piece>& pieces) {
  static const char* const kKinds[] = {"text", "equation", "drawing", "field"};
  std::string text;
  for (const Piece& piece : pieces) text += std::string("[") + kKinds[static_cast<int>(piece.kind)] + ": " + piece.value + "] ";
  return text;
}

// A figure is in its fragment once its drawing exists, when the build can
// render drawings at all.
bool Drawn(const std::string& figure) {
  return TIECALC_CAN_RENDER_FIGURES && fs::exists(kDiagrams / (figure + ".svg"));
}

std::string Stem(const char* fileName) { return fs::path(fileName).stem().string(); }

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FragmentContentTest, EveryFragmentIsStoredAsCompiled) {
  for (const FragmentInfo& info : AllFragments()) {
    SCOPED_TRACE(info.fileName);
    const std::string compiled = ReadFile(fs::path(TIECALC_FRAGMENT_DOCUMENTS) / info.fileName);
    ASSERT_FALSE(compiled.empty());
    EXPECT_EQ(Bytes(info.id), compiled);
  }
  EXPECT_TRUE(FragmentPackage(static_cast<FragmentId>(999)).empty());
}

TEST(FragmentContentTest, EveryFragmentReadsBackAsItsSource) {
  std::vector<std::string> notDrawn;
  for (const FragmentInfo& info : AllFragments()) {
    SCOPED_TRACE(info.fileName);
    const StoredFragment stored(info.id);
    const fragc::FragmentSource source = fragc::LoadFragmentSource(kSources / (Stem(info.fileName) + ".frag"));
    ASSERT_EQ(stored.paragraphs.size(), source.paragraphs.size());
    for (std::size_t i = 0; i < source.paragraphs.size(); ++i) {
      SCOPED_TRACE("paragraph " + std::to_string(i + 1));
      std::vector<Piece> expected = source.paragraphs[i].pieces;
      const std::vector<Piece> found = stored.Pieces(stored.paragraphs[i]);
      // A figure whose drawing does not exist yet leaves its paragraph empty.
      std::erase_if(expected, [&](const Piece& piece) {
        const bool absent = piece.kind == Piece::Kind::Drawing && !Drawn(piece.value);
        if (absent) notDrawn.push_back(piece.value);
        return absent;
      });
      ASSERT_EQ(found.size(), expected.size()) << Describe(found);
      for (std::size_t k = 0; k < found.size(); ++k) {
        EXPECT_EQ(found[k].kind, expected[k].kind) << k;
        EXPECT_EQ(found[k].value, expected[k].value) << k;
      }
    }
    // Chinese text is set in 宋体.
    for (pugi::xpath_node run : stored.document.select_nodes("//w:body//w:r[w:t]"))
      EXPECT_STREQ(run.node().child("w:rPr").child("w:rFonts").attribute("w:eastAsia").value(), "宋体");
  }
  if (!notDrawn.empty()) {
    std::string names;
    for (const std::string& name : notDrawn) names += " " + name;
    std::cout << "figures not drawn yet:" << names << "\n";
  }
}

// The report a fragment belongs to; a book's wording belongs to the report
// of the fragment it rewords.
FragmentReport ReportOf(const FragmentInfo& info) {
  for (const FragmentInfo& original : AllFragments())
    if (original.usedBy != FragmentReport::Book && BookVariantOf(original.id) == info.id) return original.usedBy;
  return info.usedBy;
}

TEST(FragmentContentTest, PicturesAreStoredWithTheFragment) {
  std::size_t pictures = 0;
  std::set<unsigned> ids;
  for (const FragmentInfo& info : AllFragments()) {
    SCOPED_TRACE(info.fileName);
    // The book's wording keeps the pictures of the fragment it rewords, and
    // never goes into a document beside it.
    if (info.usedBy == FragmentReport::Book) continue;
    const StoredFragment stored(info.id);
    for (pugi::xpath_node inline_ : stored.document.select_nodes("//wp:inline")) {
      const pugi::xml_node picture = inline_.node();
      const std::string name = picture.child("wp:docPr").attribute("name").value();
      const std::string id = picture.select_node(".//a:blip").node().attribute("r:embed").value();
      const std::string media = "word/" + stored.Target(id);
      ASSERT_EQ(media, "word/media/" + name + ".png");
      const std::string png = stored.Part(media);
      ASSERT_GT(png.size(), 8u);
      EXPECT_EQ(png.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)), 0);
      // shown at a sensible size: at least 5 cm wide, no wider than the text
      const long long width = picture.child("wp:extent").attribute("cx").as_llong();
      EXPECT_GE(width, 5 * 360000);
      EXPECT_LE(width, (11906LL - 2 * 1800) * 635);
      EXPECT_GT(picture.child("wp:extent").attribute("cy").as_llong(), 0);
      ids.insert(picture.child("wp:docPr").attribute("id").as_uint());
      ++pictures;
    }
  }
  EXPECT_EQ(ids.size(), pictures);  // no two pictures of a report share an id
  std::size_t drawn = 0;
  for (const char* figure : {"fig_threerod_1", "fig_threerod_2", "fig_fourrod1_1", "fig_fourrod1_2",
                             "fig_fourrod1_3", "fig_fourrod1_4", "fig_fourrod2_1", "fig_fourrod2_2",
                             "fig_fourrod2_3", "fig_fourrod2_4"})
    drawn += Drawn(figure);
  EXPECT_EQ(pictures, drawn);
}

TEST(FragmentContentTest, RodCheckFragmentsHavePageOfPagesFooter) {
  for (const FragmentInfo& info : AllFragments()) {
    SCOPED_TRACE(info.fileName);
    const StoredFragment stored(info.id);
    const pugi::xml_node reference =
        stored.document.child("w:document").child("w:body").child("w:sectPr").child("w:footerReference");
    if (ReportOf(info) != FragmentReport::RodCheck) {
      EXPECT_FALSE(reference);
      continue;
    }
    ASSERT_TRUE(reference);
    const std::string target = stored.Target(reference.attribute("r:id").value());
    ASSERT_EQ(target, "footer1.xml");
    pugi::xml_document footer;
    ASSERT_TRUE(test::LoadXml(footer, stored.Part("word/footer1.xml")));
    const std::vector<Piece> pieces = stored.Pieces(footer.child("w:ftr").child("w:p"));
    ASSERT_EQ(pieces.size(), 3u) << Describe(pieces);
    EXPECT_EQ(pieces[0].kind, Piece::Kind::Field);
    EXPECT_EQ(pieces[0].value, "PAGE");
    EXPECT_EQ(pieces[1].value, " / ");
    EXPECT_EQ(pieces[2].kind, Piece::Kind::Field);
    EXPECT_EQ(pieces[2].value, "NUMPAGES");
  }
}

// Texts checked by hand, whatever the sources say.
TEST(FragmentContentTest, KnownTextsAndEquations) {
  const StoredFragment method(FragmentId::ThreeRodMethod);
  ASSERT_EQ(method.paragraphs.size(), 30u);
  EXPECT_EQ(method.Text(29), "    求得各附着杆内力极值及对应的θ角度值如下：");
  EXPECT_EQ(method.Text(12), "对Q点取矩： M_{Q}=0");
  EXPECT_EQ(method.Text(6), "X1t=X1+(t)/(tanα)");

  const StoredFragment force(FragmentId::FourRodIMethod);
  ASSERT_EQ(force.paragraphs.size(), 52u);
  const std::vector<Piece> coefficients = force.Pieces(force.paragraphs[20]);
  ASSERT_EQ(coefficients.size(), 3u);
  EXPECT_EQ(coefficients[1].value, std::string(10, ' '));
  EXPECT_EQ(coefficients[0].value.substr(0, 8), "{P_{A1}=");
  EXPECT_EQ(force.Pieces(force.paragraphs[21]).at(1).value, std::string(20, ' '));
  EXPECT_EQ(force.Text(38), "δ_{11}=∑_{i=1}^{4}(F_{Qi}^{2}L_{i})/(E_{i}A_{i})");
  EXPECT_EQ(force.Text(31), "我们可将上式简化为：");

  const StoredFragment layoutTwo(FragmentId::FourRodIIMethod);
  ASSERT_EQ(layoutTwo.paragraphs.size(), 52u);
  EXPECT_EQ(layoutTwo.Text(31), "将上式简化为：");
  EXPECT_EQ(layoutTwo.Text(6), "X_{1t}=(Y_{1t}+B)/(tanα)");
  EXPECT_EQ(layoutTwo.Text(47), "因θ_{im}同时存在于1、3象限或2、4象限，故F_{i}的极大值和极小值对应的角度值分别为：");

  const StoredFragment stability(FragmentId::OverallStability);
  ASSERT_EQ(stability.paragraphs.size(), 2u);
  EXPECT_EQ(stability.Text(0), "1、附着杆整体稳定性验算：");
  EXPECT_EQ(stability.Text(1), "σ=(F)/(Aφ)+((1)/(1-(F)/(0.9F_{E})))(M)/(W) ");

  const StoredFragment laced(FragmentId::SlendernessLaced);
  EXPECT_EQ(laced.Text(3), "附着杆换算长细比：λ_{换}=sqrt(λ^{2}+40(A)/(2A_{z}))");
  const StoredFragment battens(FragmentId::BattenCheck);
  ASSERT_EQ(battens.paragraphs.size(), 8u);
  EXPECT_EQ(battens.Text(7), "缀板复合应力：σ_{z复}=sqrt(σ_{z}^{2}+3τ_{z}^{2})");
  EXPECT_EQ(battens.Text(2), "缀板剪力：F_{z}=(F_{c}L_{1})/(2a)");
}

// Every fragment spliced into one document comes back exactly as the
// fragments read alone, in order, with the typed lines between them and the
// first footer met.
TEST(FragmentContentTest, AllFragmentsSplicedIntoOneDocumentReadBackAsTheyReadAlone) {
  TIECALC_SKIP_WITHOUT_INDEPENDENT_READER();
  TempFolder folder;
  CWordDocument document;
  RunFormat body;
  body.font = "宋体";
  body.size = 14;
  document.SetFormat(body);
  std::string expected, footer;
  for (const FragmentInfo& info : AllFragments()) {
    std::string alone = testdocs::ReadBack((fs::path(TIECALC_FRAGMENT_DOCUMENTS) / info.fileName).string());
    ASSERT_EQ(alone.rfind("P ", 0), 0u) << info.fileName << ": " << alone;
    if (const size_t at = alone.find("FOOTER "); at != std::string::npos) {
      if (footer.empty()) footer = alone.substr(at);
      alone.erase(at);
    }
    const std::string line = std::string("  A=900 mm [") + info.fileName + "]";
    expected += alone + "P - \"" + line + "\"\n  R \"" + line + "\" 宋体/宋体 14 - - - - -\n";
    document.InsertPackage(ReadPackage(Bytes(info.id), info.fileName), info.fileName);
    document.TypeText(line);
    document.TypeParagraph();
  }
  expected += "P - \"\"\n" + footer;
  EXPECT_NE(expected.find("  MATH "), std::string::npos);
  EXPECT_NE(expected.find("  PIC image/png"), std::string::npos);
  std::ofstream(folder.Path("all.docx"), std::ios::binary) << document.PackageBytes();
  EXPECT_EQ(testdocs::ReadBack(folder.Path("all.docx")), expected);
}

}  // namespace
}  // namespace tiecalc
