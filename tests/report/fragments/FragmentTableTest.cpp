#include "report/fragments/Fragments.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tiecalc {
namespace {

std::vector<std::string> FileNames(std::span<const FragmentId> ids) {
  std::vector<std::string> names;
  for (FragmentId id : ids) {
    const FragmentInfo* info = FindFragment(static_cast<int>(id));
    names.push_back(info ? info->fileName : "?");
  }
  return names;
}

using Names = std::vector<std::string>;

TEST(FragmentTableTest, EveryFragmentHasItsIdAndFileName) {
  const std::pair<int, const char*> expected[] = {
      {162, "31.doc"},  {163, "32.doc"},  {161, "33.doc"},  {165, "41.doc"},  {166, "42.doc"},
      {167, "43.doc"},  {164, "44.doc"},  {168, "411.doc"}, {169, "412.doc"}, {170, "413.doc"},
      {171, "414.doc"}, {176, "sf1.doc"}, {177, "sf2.doc"}, {178, "sf3.doc"}, {179, "sf4.doc"},
      {180, "sf5.doc"}, {181, "sf6.doc"}, {182, "sf7.doc"}, {183, "st1.doc"}, {184, "st3.doc"},
      {185, "st6.doc"}, {186, "st8.doc"}, {187, "st9.doc"}, {188, "lb1.doc"}, {189, "lb3.doc"},
      {190, "lb9.doc"}, {191, "lt1.doc"}, {192, "sb1.doc"}, {193, "b44.doc"}, {194, "b414.doc"},
      {195, "bst3.doc"}, {196, "bst9.doc"}, {197, "blb3.doc"}, {198, "blb9.doc"}};
  ASSERT_EQ(AllFragments().size(), std::size(expected));
  std::set<int> ids;
  std::set<std::string> names;
  for (const auto& [id, name] : expected) {
    const FragmentInfo* info = FindFragment(id);
    ASSERT_NE(info, nullptr) << id;
    EXPECT_STREQ(info->fileName, name) << id;
    ids.insert(static_cast<int>(info->id));
    names.insert(info->fileName);
  }
  EXPECT_EQ(ids.size(), 34u);
  EXPECT_EQ(names.size(), 34u);
  EXPECT_EQ(FindFragment(160), nullptr);
  EXPECT_EQ(FindFragment(199), nullptr);
  // The book's wording replaces exactly these, and no report inserts it.
  for (const auto& [report, book] : {std::pair{164, 193}, {171, 194}, {184, 195}, {187, 196}, {189, 197}, {190, 198}})
    EXPECT_EQ(static_cast<int>(BookVariantOf(static_cast<FragmentId>(report))), book);
  EXPECT_EQ(BookVariantOf(FragmentId::ThreeRodMethod), FragmentId::ThreeRodMethod);
}

TEST(FragmentTableTest, ReportsInsertTheirFragmentsInOrder) {
  EXPECT_EQ(FileNames(ReportFragments(FragmentReport::ThreeRod)), (Names{"31.doc", "32.doc", "33.doc"}));
  EXPECT_EQ(FileNames(ReportFragments(FragmentReport::FourRodLayoutI)),
            (Names{"41.doc", "42.doc", "43.doc", "44.doc"}));
  EXPECT_EQ(FileNames(ReportFragments(FragmentReport::FourRodLayoutII)),
            (Names{"411.doc", "412.doc", "413.doc", "414.doc"}));
  const Names forms[] = {
      {"sf1.doc", "sf2.doc", "sf3.doc", "sf4.doc", "sf5.doc", "sf6.doc", "sf7.doc"},
      {"lb1.doc", "sf2.doc", "lb3.doc", "sf4.doc", "sf5.doc", "st6.doc", "sf7.doc", "st8.doc", "lb9.doc"},
      {"lt1.doc", "sf2.doc", "st3.doc", "sf4.doc", "sf5.doc", "st6.doc", "sf7.doc", "st8.doc", "st9.doc"},
      {"sb1.doc", "sf2.doc", "lb3.doc", "sf4.doc", "sf5.doc", "st6.doc", "sf7.doc", "st8.doc", "lb9.doc"},
      {"st1.doc", "sf2.doc", "st3.doc", "sf4.doc", "sf5.doc", "st6.doc", "sf7.doc", "st8.doc", "st9.doc"},
  };
  for (int form = 0; form < 5; ++form)
    EXPECT_EQ(FileNames(ReportFragments(FragmentReport::RodCheck, form)), forms[form]) << form;
  EXPECT_TRUE(ReportFragments(FragmentReport::RodCheck, 5).empty());
  EXPECT_TRUE(ReportFragments(FragmentReport::RodCheck, -1).empty());
}

// Each fragment is used by the report it names, by no other, and at most once
// in any one report.
TEST(FragmentTableTest, EveryFragmentIsUsedByItsReportOnly) {
  std::set<int> used;
  const auto check = [&](FragmentReport report, int form) {
    std::set<int> once;
    for (FragmentId id : ReportFragments(report, form)) {
      const FragmentInfo* info = FindFragment(static_cast<int>(id));
      ASSERT_NE(info, nullptr);
      EXPECT_EQ(info->usedBy, report) << info->fileName;
      EXPECT_TRUE(once.insert(static_cast<int>(id)).second) << info->fileName;
      used.insert(static_cast<int>(id));
    }
  };
  check(FragmentReport::ThreeRod, 0);
  check(FragmentReport::FourRodLayoutI, 0);
  check(FragmentReport::FourRodLayoutII, 0);
  for (int form = 0; form < 5; ++form) check(FragmentReport::RodCheck, form);
  // The rest are the book's wording of some of them.
  for (const FragmentInfo& info : AllFragments())
    if (!used.count(static_cast<int>(info.id))) EXPECT_EQ(info.usedBy, FragmentReport::Book) << info.fileName;
  EXPECT_EQ(used.size(), AllFragments().size() - 6);
}

}  // namespace
}  // namespace tiecalc
