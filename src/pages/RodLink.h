#pragma once
// The rod-check page's 轴力取自 list as a live link: while a rod of a force
// page is chosen, the rod-check page's F, L and G (and the large section's
// length) are that rod's, and follow it whenever its page changes. The
// calculation book types each rod the same way, so a rod checked on the
// page and in the book is checked alike.

#include <optional>
#include <string>
#include <vector>

#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"

namespace tiecalc {

// The rods of a force page's record, or nothing when its inputs cannot be
// calculated.
std::optional<std::vector<RodRecord>> RodsOf(const ForcePageRecord& page);

// The texts typed over the rod-check page's inputs for one rod.
struct RodTexts {
  std::string Fmax, Fmin;  // the larger and the smaller of the pair, as shown
  double FmaxValue = 0.0, FminValue = 0.0;  // the same, kN
  std::string F;           // the compression -Fmin, "%.2f"
  std::string L;           // the rod's length text
  std::string G;           // the section's weight per length over this length, "%.2f"
  std::optional<std::string> Ld;  // the large section's share of the length, non-uniform rods only
};

// What scales with a rod's length: the section's weight per length and the
// large section's share of the length (non-uniform rods), from the section
// page's G, L and Ld; without a length of its own the section has neither,
// and G stays as typed.
struct SectionScale {
  std::optional<double> weightPerLength;
  std::optional<double> largeShare;
  std::string G;
};
SectionScale ScaleOf(const CRodCheckPage& section);

// The rod's texts with the weight and the large section scaled by its length.
RodTexts TextsForRod(const RodRecord& rod, const SectionScale& scale);
RodTexts TextsForRod(const RodRecord& rod, const CRodCheckPage& section);
// Types F, L, G and then Ld (when there is one) into the page, as a user does.
void TypeRodTexts(CRodCheckPage& page, const RodTexts& texts);

// The link between the four pages of one page set; made with the pages,
// before they are created, and living as long as they do.
//
// - Choosing a rod types its F, L and G (Ld of a non-uniform rod; a uniform
//   rod's locked Ld follows L) when they are not the rod's already.
// - Any change on the chosen rod's page does the same again.
// - While that page cannot be calculated, the texts stay as they are and
//   F, L and G carry a note saying so; they follow again once it can.
// - Typing into F, L or G (not the link's own typing) makes the list
//   手动输入 again.
class CRodLink {
 public:
  CRodLink(CForcePage& threeRod, CForcePage& fourRodI, CForcePage& fourRodII, CRodCheckPage& rodCheck);
  CRodLink(const CRodLink&) = delete;
  CRodLink& operator=(const CRodLink&) = delete;

 private:
  // The force page of a list index (1..11), or nullptr for 手动输入.
  const CForcePage* PageOf(int choice) const;
  void Follow();

  const CForcePage& m_threeRod;
  const CForcePage& m_fourRodI;
  const CForcePage& m_fourRodII;
  CRodCheckPage& m_rodCheck;
  bool m_typing = false;  // the link's own typing into the rod-check page
  // The section's scale when the link took over: scaling each time from the
  // texts it typed itself (rounded to 0.01) would let G and Ld drift.
  std::optional<SectionScale> m_scale;
};

}  // namespace tiecalc
