#include "fragc/Notation.h"

#include <gtest/gtest.h>

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "tools/OmmlReader.h"

namespace tiecalc::fragc {
namespace {

using test::OmmlToNotation;

struct Compiled {
  pugi::xml_document document;
  pugi::xml_node math;
};

// Compiles the notation and reads the markup back with an XML parser.
void Compile(const std::string& notation, Compiled& out) {
  const std::string xml = NotationToOmml(notation);
  ASSERT_TRUE(out.document.load_string(xml.c_str(), pugi::parse_default | pugi::parse_ws_pcdata)) << xml;
  out.math = out.document.child("m:oMath");
  ASSERT_TRUE(out.math);
}

// The element children of a node, properties left out.
std::vector<pugi::xml_node> Items(pugi::xml_node node) {
  std::vector<pugi::xml_node> items;
  for (pugi::xml_node child : node.children()) {
    const std::string name = child.name();
    if (name.size() < 2 || name.compare(name.size() - 2, 2, "Pr") != 0) items.push_back(child);
  }
  return items;
}

std::vector<std::string> Names(pugi::xml_node node) {
  std::vector<std::string> names;
  for (pugi::xml_node item : Items(node)) names.emplace_back(item.name());
  return names;
}

using Names_ = std::vector<std::string>;

// The two-line force of rod 2 of the three-rod frame: one fraction on the
// first line, two on the second, the lines stacked.
TEST(NotationTest, ThreeRodForceOfRodTwoStandsOnTwoLines) {
  const std::string notation =
      "F2=(Rsinθ((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct)))/(sinβ(At+Ct)(X1t+X2t)) ⏎ "
      "−(Rcosθ(Bt(X1t+X2t)−Ht(At+Ct)))/(sinβ(At+Ct)(X1t+X2t))−(M((X1t+X2t)−(At+Ct)))/(sinβ(At+Ct)(X1t+X2t))";
  Compiled c;
  Compile(notation, c);
  EXPECT_EQ(Names(c.math), Names_{"m:eqArr"});
  const std::vector<pugi::xml_node> lines = Items(c.math.child("m:eqArr"));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(OmmlToNotation(lines[0]).substr(0, 3), "F2=");
  EXPECT_EQ(Names(lines[0]).back(), "m:f");
  std::size_t fractions = 0;
  for (const std::string& name : Names(lines[1])) fractions += name == "m:f";
  EXPECT_EQ(fractions, 2u);
  // The numerator keeps its printed brackets, the delimiting ones are gone.
  EXPECT_EQ(OmmlToNotation(lines[0].child("m:f").child("m:num")),
            "Rsinθ((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct))");
  EXPECT_EQ(OmmlToNotation(c.math), notation);
}

TEST(NotationTest, ThreeRodExtremeAngleOfRodTwo) {
  const std::string notation =
      "θ_{2m1}=arctan(((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct))/(Ht(At+Ct)−Bt(X1t+X2t))) ⏎ "
      "θ_{2m2}=arctan(((At+Ct)(X1t+X2t)−Ct(X1t+X2t)−X1t(At+Ct))/(Ht(At+Ct)−Bt(X1t+X2t)))+180°";
  Compiled c;
  Compile(notation, c);
  const std::vector<pugi::xml_node> lines = Items(c.math.child("m:eqArr"));
  ASSERT_EQ(lines.size(), 2u);
  for (pugi::xml_node line : lines) {
    const std::vector<pugi::xml_node> items = Items(line);
    ASSERT_GE(items.size(), 3u);
    EXPECT_STREQ(items[0].name(), "m:sSub");
    EXPECT_EQ(OmmlToNotation(items[0].child("m:e")), "θ");
    // arctan of a bracket that grows round its fraction
    pugi::xml_node bracket = line.child("m:d");
    ASSERT_TRUE(bracket);
    EXPECT_EQ(Names(bracket.child("m:e")), Names_{"m:f"});
  }
  EXPECT_TRUE(OmmlToNotation(lines[1]).ends_with(")+180°"));
  EXPECT_EQ(OmmlToNotation(c.math), notation);
}

// The base structure's rod forces of the four-rod frame: a left brace before
// four lines, each a fraction times a bracket of three fractions.
TEST(NotationTest, FourRodBaseForcesStandInALeftBrace) {
  const std::string notation =
      "{F_{p1}=(1)/(X_{1t}+X_{2t})((X_{2t}cosβ)/(sin(α-β))Fsinθ-((X_{1t}+X_{2t})sinβ-Y_{1t}cosβ)/(sin(α-β))Fcosθ+(cosβ)/(sin(α-β))M) ⏎ "
      "F_{p2}=(1)/(X_{1t}+X_{2t})(-(X_{2t}cosα)/(sin(α-β))Fsinθ+((X_{1t}+X_{2t})sinα-Y_{1t}cosα)/(sin(α-β))Fcosθ-(cosα)/(sin(α-β))M) ⏎ "
      "F_{p3}=(1)/(X_{1t}+X_{2t})(-(X_{1t}cosδ)/(sin(δ-γ))Fsinθ+(Y_{1t}cosδ)/(sin(δ-γ))Fcosθ+(cosδ)/(sin(δ-γ))M) ⏎ "
      "F_{p4}=(1)/(X_{1t}+X_{2t})((X_{1t}cosγ)/(sin(δ-γ))Fsinθ-(Y_{1t}cosγ)/(sin(δ-γ))Fcosθ-(cosγ)/(sin(δ-γ))M)}";
  Compiled c;
  Compile(notation, c);
  ASSERT_EQ(Names(c.math), Names_{"m:d"});
  pugi::xml_node brace = c.math.child("m:d");
  EXPECT_STREQ(brace.child("m:dPr").child("m:begChr").attribute("m:val").value(), "{");
  ASSERT_TRUE(brace.child("m:dPr").child("m:endChr").attribute("m:val"));
  EXPECT_STREQ(brace.child("m:dPr").child("m:endChr").attribute("m:val").value(), "");
  const std::vector<pugi::xml_node> lines = Items(brace.child("m:e").child("m:eqArr"));
  ASSERT_EQ(lines.size(), 4u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    const std::vector<std::string> names = Names(lines[i]);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names, (Names_{"m:sSub", "m:r", "m:f", "m:d"}));
    EXPECT_EQ(OmmlToNotation(lines[i].child("m:sSub")), "F_{p" + std::to_string(i + 1) + "}");
    EXPECT_EQ(OmmlToNotation(lines[i].child("m:f")), "(1)/(X_{1t}+X_{2t})");
    std::size_t fractions = 0;
    for (const std::string& name : Names(lines[i].child("m:d").child("m:e"))) fractions += name == "m:f";
    EXPECT_EQ(fractions, 3u);
  }
  EXPECT_EQ(OmmlToNotation(c.math), notation);
}

// The redundant's coefficients: fractions of two sums with limits.
TEST(NotationTest, FourRodRedundantCoefficientsAreRatiosOfSums) {
  const std::string notation =
      "{X_{A}=(∑_{i=1}^{4}(P_{Ai}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i})) ⏎ "
      "X_{B}=(∑_{i=1}^{4}(P_{Bi}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i})) ⏎ "
      "X_{C}=(∑_{i=1}^{4}(P_{Ci}Q_{i}L_{i})/(E_{i}A_{i}))/(∑_{i=1}^{4}(Q_{i}^{2}L_{i})/(E_{i}A_{i}))}";
  Compiled c;
  Compile(notation, c);
  const std::vector<pugi::xml_node> lines = Items(c.math.child("m:d").child("m:e").child("m:eqArr"));
  ASSERT_EQ(lines.size(), 3u);
  for (pugi::xml_node line : lines) {
    EXPECT_EQ(Names(line), (Names_{"m:sSub", "m:r", "m:f"}));
    for (const char* part : {"m:num", "m:den"}) {
      pugi::xml_node sum = line.child("m:f").child(part).child("m:nary");
      ASSERT_TRUE(sum) << part;
      EXPECT_STREQ(sum.child("m:naryPr").child("m:chr").attribute("m:val").value(), "∑");
      EXPECT_EQ(OmmlToNotation(sum.child("m:sub")), "i=1");
      EXPECT_EQ(OmmlToNotation(sum.child("m:sup")), "4");
      EXPECT_EQ(Names(sum.child("m:e")), Names_{"m:f"});
    }
    // Q_{i}^{2}: one base with both scripts
    EXPECT_TRUE(line.child("m:f").child("m:den").child("m:nary").child("m:e").child("m:f").child("m:num").child("m:sSubSup"));
  }
  EXPECT_EQ(OmmlToNotation(c.math), notation);
}

TEST(NotationTest, SummationTakesWhatFollowsUpToTheEqualsSign) {
  Compiled c;
  Compile("δ_{11}=∑_{i=1}^{4}(F_{Qi}^{2}L_{i})/(E_{i}A_{i})", c);
  EXPECT_EQ(Names(c.math), (Names_{"m:sSub", "m:r", "m:nary"}));
  Compiled d;
  Compile("∑_{i=1}^{4}a_{i}b=c", d);
  EXPECT_EQ(Names(d.math), (Names_{"m:nary", "m:r"}));
  EXPECT_EQ(Names(d.math.child("m:nary").child("m:e")), (Names_{"m:sSub", "m:r"}));
  // Without limits the sign is only printed.
  Compiled e;
  Compile("∑x=0; ∑y=0; ∑M_{P1}=0", e);
  EXPECT_FALSE(e.math.child("m:nary"));
  EXPECT_EQ(OmmlToNotation(e.math), "∑x=0; ∑y=0; ∑M_{P1}=0");
}

TEST(NotationTest, RadicalsScriptsAndBracketsOfTheRodCheck) {
  Compiled lacing;
  Compile("F_{z}=(F_{c}sqrt(a^{2}+((L_{1})/(2))^{2}))/(2a)", lacing);
  pugi::xml_node radical = lacing.math.child("m:f").child("m:num").child("m:rad");
  ASSERT_TRUE(radical);
  EXPECT_STREQ(radical.child("m:radPr").child("m:degHide").attribute("m:val").value(), "1");
  // ((L_{1})/(2))^{2}: the printed bracket round the fraction is the base
  EXPECT_EQ(Names(radical.child("m:e")), (Names_{"m:sSup", "m:r", "m:sSup"}));
  pugi::xml_node square = Items(radical.child("m:e")).back();
  EXPECT_EQ(Names(square.child("m:e")), Names_{"m:d"});
  EXPECT_EQ(Names(square.child("m:e").child("m:d").child("m:e")), Names_{"m:f"});
  EXPECT_EQ(OmmlToNotation(lacing.math), "F_{z}=(F_{c}sqrt(a^{2}+((L_{1})/(2))^{2}))/(2a)");

  Compiled bar;
  Compile("λ_{z}=(sqrt(L_{1}^{2}/4+a^{2}))/(r_{z})", bar);
  pugi::xml_node inner = bar.math.child("m:f").child("m:num").child("m:rad").child("m:e");
  EXPECT_EQ(Names(inner), (Names_{"m:sSubSup", "m:r", "m:sSup"}));
  EXPECT_EQ(OmmlToNotation(inner.child("m:r")), "/4+");  // a slash not before "(" is printed

  // A bracket that holds no built-up part is printed as characters.
  Compiled flat;
  Compile("Bt=B−(D−Ct)tanγ", flat);
  EXPECT_FALSE(flat.math.child("m:d"));
  EXPECT_EQ(OmmlToNotation(flat.math), "Bt=B−(D−Ct)tanγ");
}

TEST(NotationTest, BlanksAndFunctionNamesAreKept) {
  Compiled c;
  Compile("θ_{im1 }（i=1、2、3）", c);
  EXPECT_EQ(OmmlToNotation(c.math.child("m:sSub").child("m:sub")), "im1 ");
  EXPECT_EQ(OmmlToNotation(c.math), "θ_{im1 }（i=1、2、3）");

  Compiled spaced;
  Compile("  E_{i} ，A_{i}  ", spaced);  // blanks at the ends only lay it out
  EXPECT_EQ(OmmlToNotation(spaced.math), "E_{i} ，A_{i}");

  Compiled f;
  Compile("F1=(RCtsinθ+RBtcosθ+M)/(sinα(At+Ct))", f);
  std::vector<std::string> upright;
  for (pugi::xpath_node run : f.math.select_nodes(".//m:r[m:rPr/m:sty/@m:val='p']"))
    upright.emplace_back(run.node().child("m:t").text().get());
  EXPECT_EQ(upright, (Names_{"sin", "cos", "sin"}));
  for (pugi::xpath_node t : f.math.select_nodes(".//m:t"))
    EXPECT_STREQ(t.node().attribute("xml:space").value(), "preserve");
}

TEST(NotationTest, FaultsAreReportedWithTheirPlace) {
  struct Case {
    const char* notation;
    std::size_t position;
  };
  const Case cases[] = {
      {"(a+b", 0},        // bracket never closed
      {"a+b)", 3},        // closed, never opened
      {"x_y", 1},         // script without braces
      {"_{1}x", 0},       // script without base
      {"x_{1}_{2}", 5},   // second subscript
      {"(a ⏎ b)", 3},     // line break inside a part
      {"{a ⏎ b", 0},      // brace never closed
      {"sqrt(x", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.notation);
    try {
      ParseNotation(c.notation);
      ADD_FAILURE() << "accepted";
    } catch (const NotationError& error) {
      EXPECT_EQ(error.Position(), c.position);
      EXPECT_NE(std::string(error.what()).find(c.notation), std::string::npos);
    }
  }
  EXPECT_THROW(ParseNotation("   "), NotationError);
}

}  // namespace
}  // namespace tiecalc::fragc
