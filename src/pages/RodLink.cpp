#include "pages/RodLink.h"

#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

using RC = CRodCheckPage;

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

SectionScale ScaleOf(const CRodCheckPage& section) {
  SectionScale scale;
  scale.G = section.GetText(RC::kG);
  const double L = ValueOf(section, RC::kL);
  if (!(L > 0) || !std::isfinite(L)) return scale;
  scale.weightPerLength = ValueOf(section, RC::kG) / L;
  if (ValueOf(section, RC::kImax) != ValueOf(section, RC::kImin)) scale.largeShare = ValueOf(section, RC::kLd) / L;
  return scale;
}

RodTexts TextsForRod(const LayoutRod& rod, const SectionScale& scale) {
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
  if (!scale.weightPerLength) {
    t.G = scale.G;
    return t;
  }
  const double Li = CPage::ReadFieldValue(rod.length);
  t.G = FormatFixed(*scale.weightPerLength * Li, 2);
  if (scale.largeShare) t.Ld = FormatFixed(*scale.largeShare * Li, 2);
  return t;
}

RodTexts TextsForRod(const LayoutRod& rod, const CRodCheckPage& section) { return TextsForRod(rod, ScaleOf(section)); }

void TypeRodTexts(CRodCheckPage& page, const RodTexts& texts) {
  page.SetText(RC::kF, texts.F);
  page.SetText(RC::kL, texts.L);
  page.SetText(RC::kG, texts.G);
  if (texts.Ld) page.SetText(RC::kLd, *texts.Ld);
}

CRodLink::CRodLink(CThreeRod& threeRod, CFourRodParallelPage& fourRodI, CFourRodTurnedPage& fourRodII, CRodCheckPage& rodCheck)
    : m_threeRod(threeRod), m_fourRodI(fourRodI), m_fourRodII(fourRodII), m_rodCheck(rodCheck) {
  m_rodCheck.OnSelChange(RC::kSource, [this] {
    m_scale.reset();
    Follow();
  });
  m_rodCheck.OnAnyChange([this](int id) {
    if (m_typing) return;
    // The weight per length stays what it was when the rod was chosen (G
    // and L typed by hand end the link); the large section's share follows
    // what the user types into Ld, Imax or Imin.
    if (m_scale && id != RC::kSource) m_scale->largeShare = ScaleOf(m_rodCheck).largeShare;
    if ((id != RC::kF && id != RC::kL && id != RC::kG) || m_rodCheck.GetCurSel(RC::kSource) <= 0) return;
    m_rodCheck.SetCurSel(RC::kSource, 0);
    m_rodCheck.SetSourceNote("");
  });
  for (CPage* page : {static_cast<CPage*>(&threeRod), static_cast<CPage*>(&fourRodI), static_cast<CPage*>(&fourRodII)})
    page->OnAnyChange([this, page](int) {
      if (PageOf(m_rodCheck.GetCurSel(RC::kSource)) == page) Follow();
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
  const int choice = m_rodCheck.GetCurSel(RC::kSource);
  const CPage* page = PageOf(choice);
  if (!page) {
    m_rodCheck.SetSourceNote("");
    return;
  }
  const int rod = choice <= 3 ? choice - 1 : (choice - 4) % 4;
  const std::optional<std::vector<LayoutRod>> rods =
      page == &m_threeRod ? RodsOf(m_threeRod) : RodsOf(static_cast<const CFourRodPage&>(*page));
  if (!rods) {
    m_rodCheck.SetSourceNote("轴力取自 " + CRodCheckPage::SourceItems()[static_cast<size_t>(choice)] +
                             "：该页数据错误或不完整，本值未随之更新");
    return;
  }
  m_rodCheck.SetSourceNote("");
  if (!m_scale) m_scale = ScaleOf(m_rodCheck);
  const RodTexts texts = TextsForRod((*rods)[static_cast<size_t>(rod)], *m_scale);
  // The same compression and length: the weight and the large section, scaled
  // by the length, are the same too (typing them again would only round
  // what was typed by hand).
  if (texts.F == m_rodCheck.GetText(RC::kF) && texts.L == m_rodCheck.GetText(RC::kL)) return;
  struct OwnTyping {
    bool& typing;
    explicit OwnTyping(bool& t) : typing(t) { typing = true; }
    ~OwnTyping() { typing = false; }
  } own(m_typing);
  TypeRodTexts(m_rodCheck, texts);
  // A uniform rod's large section is the whole rod.
  if (!texts.Ld && m_rodCheck.IsReadOnly(RC::kLd)) m_rodCheck.SyncLargeSectionLength();
}

}  // namespace tiecalc
