#include "pages/RodLink.h"

#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

using J = CJiaoHe;

std::optional<std::vector<LayoutRod>> ShownRods(const CPage& page, bool valid, const std::vector<int>& pairIds,
                                                const std::vector<int>& lengthIds) {
  if (!valid) return std::nullopt;
  std::vector<LayoutRod> rods;
  for (size_t i = 0; i < pairIds.size(); ++i) rods.push_back({page.GetText(pairIds[i]), page.GetText(lengthIds[i])});
  return rods;
}

double ValueOf(const CPage& page, int id) { return CPage::ReadFieldValue(page.GetText(id)); }

}  // namespace

std::optional<std::vector<LayoutRod>> RodsOf(const CThreeRod& page) {
  using P = CThreeRod;
  return ShownRods(page, page.IsInputValid(), {P::kF1m, P::kF2m, P::kF3m}, {P::kL1, P::kL2, P::kL3});
}

std::optional<std::vector<LayoutRod>> RodsOf(const CFourRodPage& page) {
  using P = CFourRodPage;
  return ShownRods(page, page.IsInputValid(), {P::kF1m, P::kF2m, P::kF3m, P::kF4m},
                   {P::kL1, P::kL2, P::kL3, P::kL4});
}

RodTexts TextsForRod(const LayoutRod& rod, const CJiaoHe& section) {
  RodTexts t;
  const size_t slash = rod.pair.find('/');
  std::string a = rod.pair.substr(0, slash);
  std::string b = slash == std::string::npos ? a : rod.pair.substr(slash + 1);
  if (ParseDouble(b) > ParseDouble(a)) std::swap(a, b);
  t.Fmax = a;
  t.Fmin = b;
  // Compression counts positive in the check; + 0.0 keeps a zero from
  // showing as "-0.00".
  t.F = FormatFixed(-ParseDouble(t.Fmin) + 0.0, 2);
  t.L = rod.length;
  // G and L of the section fix its weight per length; a non-uniform rod
  // keeps the same share of its length in the large section.
  // Without a length of its own the section has no weight per length: G
  // stays as typed.
  const double Li = CPage::ReadFieldValue(rod.length);
  const double L = ValueOf(section, J::kL);
  if (!(L > 0) || !std::isfinite(L)) {
    t.G = section.GetText(J::kG);
    return t;
  }
  t.G = FormatFixed(ValueOf(section, J::kG) * Li / L, 2);
  if (ValueOf(section, J::kImax) != ValueOf(section, J::kImin))
    t.Ld = FormatFixed(ValueOf(section, J::kLd) * Li / L, 2);
  return t;
}

void TypeRodTexts(CJiaoHe& page, const RodTexts& texts) {
  page.SetText(J::kF, texts.F);
  page.SetText(J::kL, texts.L);
  page.SetText(J::kG, texts.G);
  if (texts.Ld) page.SetText(J::kLd, *texts.Ld);
}

CRodLink::CRodLink(CThreeRod& threeRod, CFourRod& fourRodI, CFourRod1& fourRodII, CJiaoHe& rodCheck)
    : m_threeRod(threeRod), m_fourRodI(fourRodI), m_fourRodII(fourRodII), m_rodCheck(rodCheck) {
  m_rodCheck.OnSelChange(J::kSource, [this] { Follow(); });
  m_rodCheck.OnAnyChange([this](int id) {
    if (m_typing || (id != J::kF && id != J::kL && id != J::kG) || m_rodCheck.GetCurSel(J::kSource) <= 0) return;
    m_rodCheck.SetCurSel(J::kSource, 0);
    m_rodCheck.SetSourceNote("");
  });
  for (CPage* page : {static_cast<CPage*>(&threeRod), static_cast<CPage*>(&fourRodI), static_cast<CPage*>(&fourRodII)})
    page->OnAnyChange([this, page](int) {
      if (PageOf(m_rodCheck.GetCurSel(J::kSource)) == page) Follow();
    });
}

const CPage* CRodLink::PageOf(int choice) const {
  // The list: 手动输入, three rods of the three-rod page, four of each
  // four-rod page.
  if (choice <= 0) return nullptr;
  return choice <= 3 ? static_cast<const CPage*>(&m_threeRod)
         : choice <= 7 ? static_cast<const CPage*>(&m_fourRodI)
                       : static_cast<const CPage*>(&m_fourRodII);
}

void CRodLink::Follow() {
  const int choice = m_rodCheck.GetCurSel(J::kSource);
  const CPage* page = PageOf(choice);
  if (!page) {
    m_rodCheck.SetSourceNote("");
    return;
  }
  const int rod = choice <= 3 ? choice - 1 : (choice - 4) % 4;
  const std::optional<std::vector<LayoutRod>> rods =
      page == &m_threeRod ? RodsOf(m_threeRod) : RodsOf(static_cast<const CFourRodPage&>(*page));
  if (!rods) {
    m_rodCheck.SetSourceNote("轴力取自 " + CJiaoHe::SourceItems()[static_cast<size_t>(choice)] +
                             "：该页数据错误或不完整，本值未随之更新");
    return;
  }
  m_rodCheck.SetSourceNote("");
  const RodTexts texts = TextsForRod((*rods)[static_cast<size_t>(rod)], m_rodCheck);
  // The same compression and length: the weight and the large section, scaled
  // by the length, are the same too (typing them again would only round
  // what was typed by hand).
  if (texts.F == m_rodCheck.GetText(J::kF) && texts.L == m_rodCheck.GetText(J::kL)) return;
  struct OwnTyping {
    bool& typing;
    explicit OwnTyping(bool& t) : typing(t) { typing = true; }
    ~OwnTyping() { typing = false; }
  } own(m_typing);
  TypeRodTexts(m_rodCheck, texts);
  // A uniform rod's large section is the whole rod.
  if (!texts.Ld && m_rodCheck.IsReadOnly(J::kLd)) m_rodCheck.SyncLargeSectionLength();
}

}  // namespace tiecalc
