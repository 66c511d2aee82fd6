// The fragments' documents as the compiler builds them: the package builder
// of the document layer with the notation as its equation writer.

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <string>

#include "fragc/FragmentSource.h"
#include "fragc/Notation.h"
#include "platform/word/PackageBuilder.h"
#include "platform/word/WordError.h"
#include "tools/OmmlReader.h"

namespace tiecalc::fragc {
namespace {

void PutBigEndian(std::string& bytes, unsigned value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBigEndian(png, static_cast<unsigned>(data.size()));
  png += type;
  png += data;
  PutBigEndian(png, 0);  // the check sum is not read here
}

// The head of a PNG of that size; dotsPerMetre 0 leaves the resolution out.
std::string PngHead(unsigned width, unsigned height, unsigned dotsPerMetre) {
  std::string png("\x89PNG\r\n\x1a\n", 8), header, physical;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x02\x00\x00\x00", 5);
  PutChunk(png, "IHDR", header);
  if (dotsPerMetre) {
    PutBigEndian(physical, dotsPerMetre);
    PutBigEndian(physical, dotsPerMetre);
    physical.push_back('\x01');
    PutChunk(png, "pHYs", physical);
  }
  PutChunk(png, "IDAT", "");
  PutChunk(png, "IEND", "");
  return png;
}

FragmentSource Source(const std::string& text) {
  return ParseFragmentSource(text, "test.frag", [](const std::string&) -> FragmentSource { throw SourceError("none"); });
}

PackageParts BuildFragmentDocument(const FragmentSource& source, const FigureSet& figures) {
  return BuildPackage(source, figures, AppendNotation);
}

struct Package {
  std::map<std::string, std::string> parts;
  pugi::xml_document document, relationships, types;

  explicit Package(std::map<std::string, std::string> built) : parts(std::move(built)) {
    EXPECT_TRUE(test::LoadXml(document, parts.at("word/document.xml")));
    EXPECT_TRUE(test::LoadXml(relationships, parts.at("word/_rels/document.xml.rels")));
    EXPECT_TRUE(test::LoadXml(types, parts.at("[Content_Types].xml")));
  }
  pugi::xml_node Body() const { return document.child("w:document").child("w:body"); }
  std::string Target(const std::string& id) const {
    const auto found = relationships.select_node(("//Relationship[@Id='" + id + "']").c_str());
    return found ? found.node().attribute("Target").value() : "";
  }
};

TEST(FragmentDocumentTest, ParagraphsRunsAndEquationsInOrder) {
  const Package package(BuildFragmentDocument(
      Source("1. \"求解\" [equation: F_{1}] \"的\"\n2. [equation: t=(a)/(b)]\n3. [equation: a] (3 blanks) [equation: b]\n"),
      {}));
  const std::vector<pugi::xml_node> paragraphs = [&] {
    std::vector<pugi::xml_node> found;
    for (pugi::xml_node p : package.Body().children("w:p")) found.push_back(p);
    return found;
  }();
  ASSERT_EQ(paragraphs.size(), 3u);
  // inline: text, equation, text
  std::vector<std::string> first;
  for (pugi::xml_node child : paragraphs[0].children()) first.emplace_back(child.name());
  EXPECT_EQ(first, (std::vector<std::string>{"w:r", "m:oMath", "w:r"}));
  pugi::xml_node run = paragraphs[0].child("w:r");
  EXPECT_STREQ(run.child("w:t").text().get(), "求解");
  EXPECT_STREQ(run.child("w:rPr").child("w:rFonts").attribute("w:eastAsia").value(), "宋体");
  EXPECT_EQ(test::OmmlToNotation(paragraphs[0].child("m:oMath")), "F_{1}");
  // an equation alone is a display equation
  EXPECT_EQ(test::OmmlToNotation(paragraphs[1].child("m:oMathPara").child("m:oMath")), "t=(a)/(b)");
  // two equations with blanks between stay in line
  EXPECT_FALSE(paragraphs[2].child("m:oMathPara"));
  EXPECT_STREQ(paragraphs[2].child("w:r").child("w:t").text().get(), "   ");
  EXPECT_STREQ(paragraphs[2].child("w:r").child("w:t").attribute("xml:space").value(), "preserve");
  // no footer: none referenced, none stored
  EXPECT_FALSE(package.Body().child("w:sectPr").child("w:footerReference"));
  EXPECT_EQ(package.parts.count("word/footer1.xml"), 0u);
  EXPECT_THROW(BuildFragmentDocument(Source("1. [equation: (a]\n"), {}), NotationError);
}

TEST(FragmentDocumentTest, PicturesCarryTheirMediaAndSize) {
  FigureSet figures;
  figures.pngs["fig_a"] = PngHead(600, 300, 11811);    // 300 dpi: 2 in by 1 in
  figures.pngs["fig_wide"] = PngHead(3000, 1500, 0);  // no resolution stated: the fallback
  figures.fallbackDpi = 100;                          // 30 in wide: narrowed to the text width
  figures.missing.insert("fig_later");
  const Package package(BuildFragmentDocument(
      Source("1. [drawing fig_a: a]\n2. [drawing fig_later: b]\n3. [drawing fig_wide: c]\n"), figures));
  const pugi::xpath_node_set pictures = package.document.select_nodes("//wp:inline");
  ASSERT_EQ(pictures.size(), 2u);

  pugi::xml_node a = pictures[0].node();
  EXPECT_NEAR(a.child("wp:extent").attribute("cx").as_double(), 2 * 914400, 100);
  EXPECT_NEAR(a.child("wp:extent").attribute("cy").as_double(), 914400, 100);
  const std::string id = a.select_node(".//a:blip").node().attribute("r:embed").value();
  EXPECT_EQ(package.Target(id), "media/fig_a.png");
  EXPECT_EQ(package.parts.at("word/media/fig_a.png"), figures.pngs["fig_a"]);
  EXPECT_TRUE(package.types.select_node("//Default[@Extension='png'][@ContentType='image/png']"));

  pugi::xml_node wide = pictures[1].node();
  EXPECT_EQ(wide.child("wp:extent").attribute("cx").as_llong(), kTextWidthEmu);
  EXPECT_EQ(wide.child("wp:extent").attribute("cy").as_llong(), kTextWidthEmu / 2);

  // the figure not drawn yet leaves its paragraph empty
  pugi::xml_node second = package.Body().child("w:p").next_sibling("w:p");
  EXPECT_FALSE(second.child("w:r"));
  EXPECT_THROW(BuildFragmentDocument(Source("1. [drawing fig_unknown: d]\n"), figures), WordError);
  figures.pngs["fig_bad"] = "GIF89a";
  EXPECT_THROW(BuildFragmentDocument(Source("1. [drawing fig_bad: d]\n"), figures), WordError);
}

TEST(FragmentDocumentTest, FooterHoldsPageOfPages) {
  const Package package(
      BuildFragmentDocument(Source("1. \"a\"\nfooter: [field PAGE] \" / \" [field NUMPAGES]\n"), {}));
  pugi::xml_node reference = package.Body().child("w:sectPr").child("w:footerReference");
  ASSERT_TRUE(reference);
  EXPECT_STREQ(reference.attribute("w:type").value(), "default");
  EXPECT_EQ(package.Target(reference.attribute("r:id").value()), "footer1.xml");
  EXPECT_TRUE(package.types.select_node("//Override[@PartName='/word/footer1.xml']"));
  pugi::xml_document footer;
  ASSERT_TRUE(test::LoadXml(footer, package.parts.at("word/footer1.xml")));
  std::vector<std::string> pieces;
  for (pugi::xml_node child : footer.child("w:ftr").child("w:p").children()) {
    if (std::string(child.name()) == "w:fldSimple") pieces.emplace_back(child.attribute("w:instr").value());
    if (std::string(child.name()) == "w:r") pieces.emplace_back(child.child("w:t").text().get());
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{" PAGE ", " / ", " NUMPAGES "}));
}

}  // namespace
}  // namespace tiecalc::fragc
