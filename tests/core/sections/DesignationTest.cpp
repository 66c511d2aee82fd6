#include <gtest/gtest.h>

#include <string>

#include "core/sections/SteelSection.h"

namespace tiecalc {
namespace {

TEST(Designation, TypedFormsFindTheirSection) {
  const struct {
    const char* typed;
    const char* found;  // nullptr: no such section
  } cases[] = {
      {"∟63×6", "∟63×6"},          {"L63x6", "∟63×6"},          {"63x6", "∟63×6"},
      {"l63X6", "∟63×6"},          {"L 63 * 6", "∟63×6"},       {"∠63×63×6", "∟63×6"},
      {"L63x63x6", "∟63×6"},       {"L100x63x8", "∟100×63×8"},  {"63x100x8", "∟100×63×8"},
      {"∟100×63×8", "∟100×63×8"},  {"[20b", "[20b"},            {"C20b", "[20b"},
      {"c20B", "[20b"},            {"槽20a", "[20a"},           {"［12.6", "[12.6"},
      {"I25a", "I25a"},            {"i25A", "I25a"},            {"工25a", "I25a"},
      {"I12.6", "I12.6"},          {"D159x6", "Φ159×6"},        {"φ159×6", "Φ159×6"},
      {"P48.3x3.5", "Φ48.3×3.5"},  {"□200×10", "□200×10"},      {"口200x10", "□200×10"},
      {"SHS200x10", "□200×10"},    {"□200×200×10", "□200×10"},  {"RHS200x100x8", "□200×100×8"},
      {"rhs100x200x8", "□200×100×8"},
      // Not in the tables, or not a section at all.
      {"L63x9", nullptr},          {"[21a", nullptr},           {"I25d", nullptr},
      {"D159", nullptr},           {"H200x200", nullptr},       {"", nullptr},
      {"L63x", nullptr},           {"[20bb", nullptr},          {"63x0", nullptr},
  };
  for (const auto& c : cases) {
    const SteelSection* s = FindSection(c.typed);
    if (!c.found) {
      EXPECT_EQ(s, nullptr) << c.typed;
      continue;
    }
    ASSERT_NE(s, nullptr) << c.typed;
    EXPECT_EQ(s->designation, c.found) << c.typed;
  }
}

TEST(Designation, NormalizingNamesSectionsOutsideTheTables) {
  EXPECT_EQ(NormalizeDesignation("L63x9"), "∟63×9");
  EXPECT_EQ(NormalizeDesignation("C21a"), "[21a");
  EXPECT_EQ(NormalizeDesignation("d 159.0 x 6"), "Φ159×6");
  EXPECT_EQ(NormalizeDesignation("H200x200"), std::nullopt);
  EXPECT_EQ(NormalizeDesignation("Lx6"), std::nullopt);
}

}  // namespace
}  // namespace tiecalc
