#include "fragc/FragmentSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

namespace tiecalc::fragc {
namespace {

using Kind = Piece::Kind;

FragmentSource Parse(const std::string& text, const std::map<std::string, std::string>& others = {}) {
  std::function<FragmentSource(const std::string&)> load = [&](const std::string& name) {
    const auto found = others.find(name);
    if (found == others.end()) throw SourceError("no " + name);
    return ParseFragmentSource(found->second, name, load);
  };
  return ParseFragmentSource(text, "test.frag", load);
}

std::string ErrorOf(const std::string& text) {
  try {
    Parse(text);
  } catch (const SourceError& error) {
    return error.what();
  }
  return "accepted";
}

TEST(FragmentSourceTest, ReadsTextsEquationsBlanksDrawingsAndFooter) {
  const FragmentSource source = Parse(
      "# comment\n"
      "\n"
      "1. \"对Q点取矩： \" [equation: M_{Q}=0]\n"
      "2. [equation: {a ⏎ b}] (10 blanks) [equation: c]\r\n"
      "3. [drawing fig_x: the model, with [brackets]]\n"
      "4. \"    求得\"\n"
      "footer: [field PAGE] \" / \" [field NUMPAGES]\n");
  ASSERT_EQ(source.paragraphs.size(), 4u);
  const auto& first = source.paragraphs[0].pieces;
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].kind, Kind::Text);
  EXPECT_EQ(first[0].value, "对Q点取矩： ");
  EXPECT_EQ(first[1].kind, Kind::Equation);
  EXPECT_EQ(first[1].value, "M_{Q}=0");
  const auto& second = source.paragraphs[1].pieces;
  ASSERT_EQ(second.size(), 3u);
  EXPECT_EQ(second[1].kind, Kind::Text);
  EXPECT_EQ(second[1].value, std::string(10, ' '));
  EXPECT_EQ(second[2].value, "c");
  const Piece& drawing = source.paragraphs[2].pieces.at(0);
  EXPECT_EQ(drawing.kind, Kind::Drawing);
  EXPECT_EQ(drawing.value, "fig_x");
  EXPECT_EQ(drawing.description, "the model, with [brackets]");
  EXPECT_EQ(source.paragraphs[3].pieces.at(0).value, "    求得");
  ASSERT_TRUE(source.footer);
  ASSERT_EQ(source.footer->pieces.size(), 3u);
  EXPECT_EQ(source.footer->pieces[0].kind, Kind::Field);
  EXPECT_EQ(source.footer->pieces[0].value, "PAGE");
  EXPECT_EQ(source.footer->pieces[1].value, " / ");
  EXPECT_EQ(source.footer->pieces[2].value, "NUMPAGES");
  EXPECT_EQ(FigureNames(source), std::vector<std::string>{"fig_x"});
}

TEST(FragmentSourceTest, SameAsReplacesTheNumberedParagraphsOnly) {
  const std::map<std::string, std::string> others{
      {"base.frag", "1. \"a\"\n2. \"b\"\n3. [drawing fig_1: one]\nfooter: [field PAGE]\n"}};
  const FragmentSource source = Parse("same as: base.frag\n3. [drawing fig_2: two]\n2. \"B\"\n", others);
  ASSERT_EQ(source.paragraphs.size(), 3u);
  EXPECT_EQ(source.paragraphs[0].pieces[0].value, "a");
  EXPECT_EQ(source.paragraphs[1].pieces[0].value, "B");
  EXPECT_EQ(source.paragraphs[2].pieces[0].value, "fig_2");
  EXPECT_TRUE(source.footer);
  EXPECT_NE(ErrorOf("same as: base.frag\n"), "accepted");  // base unknown here
  EXPECT_NE(std::string(ErrorOf("1. \"a\"\nsame as: base.frag\n")).find("must come first"), std::string::npos);
}

TEST(FragmentSourceTest, FaultsNameTheLine) {
  EXPECT_EQ(ErrorOf("1. \"a\"\n3. \"c\"\n"), "test.frag:2: paragraph 3 where 2 was due");
  EXPECT_EQ(ErrorOf("1. \"a\n"), "test.frag:1: text without closing quote");
  EXPECT_EQ(ErrorOf("\"a\"\n"), "test.frag:1: expected a numbered paragraph \"n. ...\"");
  EXPECT_EQ(ErrorOf("1. [equation: a\n"), "test.frag:1: \"[\" without \"]\"");
  EXPECT_EQ(ErrorOf("1. [picture: a]\n"), "test.frag:1: unknown piece \"[picture: a]\"");
  EXPECT_EQ(ErrorOf("1. (ten blanks)\n"), "test.frag:1: expected \"(n blanks)\"");
  EXPECT_EQ(ErrorOf("1. [field DATE]\n"), "test.frag:1: unknown field \"DATE\"");
  EXPECT_EQ(ErrorOf("1. \"a\" stray\n"), "test.frag:1: unexpected \"stray\"");
  EXPECT_EQ(ErrorOf("# nothing\n"), "test.frag: no paragraph");
}

TEST(FragmentSourceTest, FilesThatNameEachOtherAreRefused) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("tiecalc-fragc-test-" + std::to_string(std::random_device()()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "a.frag") << "same as: b.frag\n";
  std::ofstream(folder / "b.frag") << "same as: a.frag\n";
  std::ofstream(folder / "c.frag") << "same as: d.frag\n2. \"Y\"\n";
  std::ofstream(folder / "d.frag") << "1. \"x\"\n2. \"y\"\n";
  EXPECT_THROW(LoadFragmentSource(folder / "a.frag"), SourceError);
  const FragmentSource c = LoadFragmentSource(folder / "c.frag");
  ASSERT_EQ(c.paragraphs.size(), 2u);
  EXPECT_EQ(c.paragraphs[1].pieces.at(0).value, "Y");
  EXPECT_THROW(LoadFragmentSource(folder / "missing.frag"), SourceError);
  std::filesystem::remove_all(folder);
}

// The layout II method is the layout I one with its own geometry, wording
// and figures: every other paragraph is the same.
TEST(FragmentSourceTest, LayoutTwoMethodDiffersFromLayoutOneWhereItShould) {
  const std::string folder = std::string(TIECALC_SOURCE_DIR) + "/resources/fragments/";
  const FragmentSource one = LoadFragmentSource(folder + "44.frag");
  const FragmentSource two = LoadFragmentSource(folder + "414.frag");
  ASSERT_EQ(one.paragraphs.size(), 52u);
  ASSERT_EQ(two.paragraphs.size(), 52u);
  std::vector<int> differing;
  for (std::size_t i = 0; i < one.paragraphs.size(); ++i) {
    const auto& a = one.paragraphs[i].pieces;
    const auto& b = two.paragraphs[i].pieces;
    bool same = a.size() == b.size();
    for (std::size_t k = 0; same && k < a.size(); ++k) same = a[k].kind == b[k].kind && a[k].value == b[k].value;
    if (!same) differing.push_back(static_cast<int>(i) + 1);
  }
  EXPECT_EQ(differing, (std::vector<int>{3, 6, 7, 8, 11, 24, 32, 48}));
  EXPECT_EQ(FigureNames(two), (std::vector<std::string>{"fig_fourrod2_2", "fig_fourrod2_3", "fig_fourrod2_4"}));
  EXPECT_EQ(two.paragraphs[31].pieces.at(0).value, "将上式简化为：");
  EXPECT_EQ(one.paragraphs[31].pieces.at(0).value, "我们可将上式简化为：");
}

}  // namespace
}  // namespace tiecalc::fragc
