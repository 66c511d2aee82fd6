#include "pages/RodLink.h"

#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

using RC = CRodCheckPage;

}  // namespace

std::optional<std::vector<RodRecord>> RodsOf(const ForcePageRecord& page) {
  if (!page.valid) return std::nullopt;
  return page.rods;
}

SectionScale ScaleOf(const CRodCheckPage& section) {
  // The section page's record holds its inputs as it last read them, which
  // is after every change.
  const RodCheckData& d = section.Data();
  SectionScale scale;
  scale.G = section.GetText(RC::kG);
  if (!(d.L > 0) || !std::isfinite(d.L)) return scale;
  scale.weightPerLength = d.G / d.L;
  if (d.Imax != d.Imin) scale.largeShare = d.Ld / d.L;
  return scale;
}

RodTexts TextsForRod(const RodRecord& rod, const SectionScale& scale) {
  RodTexts t;
  const RodExtremes& e = rod.extremes;
  const size_t larger = e.Larger();
  t.Fmax = e.forceTexts[larger];
  t.Fmin = e.forceTexts[1 - larger];
  t.FmaxValue = e.forces[larger];
  t.FminValue = e.forces[1 - larger];
  // Compression counts positive in the check.
  t.F = FormatFixedNoMinusZero(-t.FminValue, 2);
  t.L = rod.lengthText;
  // G and L of the section fix its weight per length; a non-uniform rod
  // keeps the same share of its length in the large section.
  if (!scale.weightPerLength) {
    t.G = scale.G;
    return t;
  }
  // The length as the rod-check page reads the text typed into its L.
  const double Li = CPage::ReadFieldValue(t.L);
  t.G = FormatFixed(*scale.weightPerLength * Li, 2);
  if (scale.largeShare) t.Ld = FormatFixed(*scale.largeShare * Li, 2);
  return t;
}

RodTexts TextsForRod(const RodRecord& rod, const CRodCheckPage& section) { return TextsForRod(rod, ScaleOf(section)); }

void TypeRodTexts(CRodCheckPage& page, const RodTexts& texts) {
  page.SetText(RC::kF, texts.F);
  page.SetText(RC::kL, texts.L);
  page.SetText(RC::kG, texts.G);
  if (texts.Ld) page.SetText(RC::kLd, *texts.Ld);
}

CRodLink::CRodLink(CForcePage& threeRod, CForcePage& fourRodI, CForcePage& fourRodII, CRodCheckPage& rodCheck)
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
  for (CForcePage* page : {&threeRod, &fourRodI, &fourRodII})
    page->OnAnyChange([this, page](int) {
      if (PageOf(m_rodCheck.GetCurSel(RC::kSource)) == page) Follow();
    });
}

const CForcePage* CRodLink::PageOf(int choice) const {
  // The list: 手动输入, three rods of the three-rod page, four of each
  // four-rod page.
  if (choice <= 0) return nullptr;
  return choice <= 3 ? &m_threeRod : choice <= 7 ? &m_fourRodI : &m_fourRodII;
}

void CRodLink::Follow() {
  const int choice = m_rodCheck.GetCurSel(RC::kSource);
  const CForcePage* page = PageOf(choice);
  if (!page) {
    m_rodCheck.SetSourceNote("");
    return;
  }
  const int rod = choice <= 3 ? choice - 1 : (choice - 4) % 4;
  const std::optional<std::vector<RodRecord>> rods = RodsOf(page->Record());
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
