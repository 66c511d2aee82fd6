#pragma once
// A page started as the window starts it, with a scripted desktop, and
// helpers that address its controls by their short names.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "pages/Page.h"

namespace tiecalc {

template <class TPage>
struct Started {
  CScriptedDesktop desktop;
  TPage page;
  Started() {
    page.SetDesktop(&desktop);
    page.Create();
  }
};

inline int Id(const CPage& p, const std::string& name) {
  const int id = p.IdOf(name);
  EXPECT_NE(id, 0) << name;
  return id;
}

inline std::string Shown(const CPage& p, const std::string& name) { return p.GetText(Id(p, name)); }

inline void Type(CPage& p, const std::string& name, const std::string& text) {
  EXPECT_TRUE(p.UserType(Id(p, name), text)) << name << " takes no typing";
}

using Entries = std::vector<std::pair<std::string, std::string>>;

// The worked examples of the three force pages, typed in page order.
inline const Entries kThreeRodExample = {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"},
                                         {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"}, {"H", "5000"},
                                         {"R", "100"}, {"M", "200"}, {"theta", "30"}};
inline const Entries kFourRodIExample = {{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"},
                                         {"E", "800"}, {"F", "800"}, {"X1", "3000"}, {"X2", "3000"},
                                         {"X3", "1200"}, {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"},
                                         {"R", "100"}, {"M", "300"}, {"theta", "30"}};
inline const Entries kFourRodIIExample = {{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"},
                                          {"E", "300"}, {"F", "100"}, {"G", "300"}, {"H", "1000"},
                                          {"X1", "3500"}, {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"},
                                          {"Y1", "4500"}, {"Y2", "4500"}, {"R", "100"}, {"M", "300"},
                                          {"theta", "30"}};

// The rod-check page's worked examples: a solid-web rod, and the lattice
// rod of the four lattice forms (delta is typed only where the form has
// battens).
inline const Entries kRodCheckSolidExample = {{"F", "100"}, {"L", "6000"}, {"G", "300"}, {"A", "5000"},
                                              {"h", "150"}, {"Imax", "50000000"}, {"Imin", "50000000"}};
inline Entries RodCheckLatticeExample(bool battened) {
  Entries e = {{"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"},
               {"Imax", "150000000"}, {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2000000"},
               {"Iz", "500000"}, {"L1", "600"}, {"a", "400"}};
  if (battened) e.push_back({"delta", "10"});
  return e;
}

// Types the entries in order and returns the status after each one.
inline std::vector<std::string> TypeAll(CPage& p, const Entries& entries) {
  std::vector<std::string> statuses;
  for (const auto& [name, text] : entries) {
    Type(p, name, text);
    statuses.push_back(p.Status());
  }
  return statuses;
}

// The statuses expected when the data first become valid at entry n.
inline std::vector<std::string> InvalidUntil(size_t n, size_t count, const std::string& invalid,
                                             const std::string& valid) {
  std::vector<std::string> s(count, valid);
  for (size_t i = 0; i < n && i < count; ++i) s[i] = invalid;
  return s;
}

// The inputs the page marks as breaking a rule, by short name, with the note.
using Marks = std::vector<std::pair<std::string, std::string>>;
inline Marks RuleMarks(const CPage& p) {
  Marks marks;
  for (const ControlNote& note : p.Notes())
    if (note.kind == ControlNote::kBreaksRule)
      for (const NamedControl& n : p.Names())
        if (n.id == note.id) marks.push_back({n.name, note.text});
  return marks;
}

// Expects every named control to show its text.
inline void ExpectShown(const CPage& p, const Entries& expected) {
  for (const auto& [name, text] : expected) EXPECT_EQ(Shown(p, name), text) << name;
}

}  // namespace tiecalc
