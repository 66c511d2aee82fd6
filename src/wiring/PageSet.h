#pragma once
// The four pages of the program together, in the order of the window's tabs,
// each made and wired (export and report behind its buttons) exactly as the
// window and the command-line tool make it, and each known by its short name
// ("three-rod", "four-rod-1", "four-rod-2", "rod-check"). The rod-check
// page's 轴力取自 list follows the force pages in every page set, the bare
// one of the quick command-line front too.

#include <array>
#include <memory>
#include <string_view>

#include "case/CaseFile.h"
#include "pages/FourRodPage.h"
#include "pages/RodCheckPage.h"
#include "pages/RodLink.h"
#include "pages/ThreeRod.h"

namespace tiecalc {

class CPageSet {
 public:
  static constexpr int kCount = 4;
  // The short names, in tab order.
  static constexpr std::array<const char*, kCount> kNames = {"three-rod", "four-rod-1", "four-rod-2", "rod-check"};

  // Makes and wires the four pages; they are not created yet (Create(), or
  // one by one as the window does).
  CPageSet();
  ~CPageSet();
  CPageSet(const CPageSet&) = delete;
  CPageSet& operator=(const CPageSet&) = delete;

  int Count() const { return kCount; }
  CPage& Page(int index) const { return *m_pages.at(static_cast<size_t>(index)); }
  static const char* Name(int index) { return kNames.at(static_cast<size_t>(index)); }
  // The tab index of a short name, or -1.
  static int IndexOf(std::string_view name);
  // The page of a short name, or nullptr.
  CPage* Find(std::string_view name) const;

  CThreeRod& ThreeRod() const { return static_cast<CThreeRod&>(Page(0)); }
  CFourRodParallelPage& FourRodParallel() const { return static_cast<CFourRodParallelPage&>(Page(1)); }
  CFourRodTurnedPage& FourRodTurned() const { return static_cast<CFourRodTurnedPage&>(Page(2)); }
  CRodCheckPage& RodCheck() const { return static_cast<CRodCheckPage&>(Page(3)); }
  // The force page of a tab index 0..2.
  CForcePage& ForcePage(int index) const { return dynamic_cast<CForcePage&>(Page(index)); }

  // Gives every page the desktop that answers its dialogs and shows its
  // messages, then creates the pages in tab order (each runs its start
  // sequence).
  void Create(IDesktop* desktop);

  // The case's calculation book settings (project, load cases, rod
  // sections, levels), which the 计算书 buttons use.
  CaseBook& Book() { return m_book; }
  const CaseBook& Book() const { return m_book; }

 private:
  std::array<std::unique_ptr<CPage>, kCount> m_pages;
  CRodLink m_rodLink;
  CaseBook m_book;
};

}  // namespace tiecalc
