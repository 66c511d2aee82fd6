#include "book/Book.h"

#include <cmath>
#include <memory>

#include "core/input/Format.h"
#include "pages/OutputCheck.h"

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

// A fresh rod-check page brought to the state the section page is in: the
// same selections and input texts, set in the page's own order through its
// own handlers, and the same results shown (a run on invalid inputs leaves
// the results of the run before it on screen).
std::unique_ptr<CJiaoHe> CopyOf(const CJiaoHe& section) {
  auto copy = std::make_unique<CJiaoHe>();
  copy->Create();
  for (const NamedControl& n : section.Names()) {
    if (!n.input) continue;
    if (section.KindOf(n.id) == ControlKind::ComboBox)
      copy->UserSelect(n.id, section.GetCurSel(n.id));
    else
      copy->SetText(n.id, section.GetText(n.id));
  }
  for (const NamedControl& n : section.Names())
    if (!n.input) copy->SetText(n.id, section.GetText(n.id));
  return copy;
}

bool HasFailingLine(const std::string& message) { return message.find(" 不 满足要求") != std::string::npos; }

CalculationBook WithReasons(CalculationBook book, const CPage& page) {
  if (book.refusal == kBookNeedsForces) book.refusal = InvalidInputsRefusal(page, kBookNeedsForces);
  return book;
}

}  // namespace

const std::string& BookRod::Field(const std::string& name) const {
  static const std::string kNone;
  for (const auto& [n, text] : fields)
    if (n == name) return text;
  return kNone;
}

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

CalculationBook ComputeBook(const std::optional<std::vector<LayoutRod>>& rods, const CJiaoHe& section) {
  CalculationBook book;
  if (!rods) {
    book.refusal = kBookNeedsForces;
    return book;
  }
  if (section.Data().message == kRodCheckInvalidInput || ValueOf(section, J::kL) <= 0) {
    book.refusal = kBookNeedsSection;
    return book;
  }

  std::string failing;
  for (size_t i = 0; i < rods->size(); ++i) {
    BookRod rod;
    rod.rod = static_cast<int>(i) + 1;
    rod.texts = TextsForRod((*rods)[i], section);
    std::unique_ptr<CJiaoHe> page = CopyOf(section);
    TypeRodTexts(*page, rod.texts);
    rod.data = page->Data();
    for (const NamedControl& n : page->Names())
      if (!n.input) rod.fields.emplace_back(n.name, page->GetText(n.id));
    rod.valid = rod.data.message != kRodCheckInvalidInput;

    // The rod check knows compression only; a rod that is ever pulled is
    // checked for tension on the main limbs' area.
    const double Fmax = ParseDouble(rod.texts.Fmax);
    if (Fmax > 0) {
      TensionLine t;
      t.sigma = Fmax * 1000 / rod.data.A;
      t.sigmaText = FormatFixed(t.sigma, 2);
      const double allowable = AllowableStress(rod.data.mainGrade, rod.data.k);
      t.passes = t.sigma > 0 && t.sigma < allowable;
      t.message = t.passes ? kTensionOk : t.sigma >= allowable ? kTensionFails : "";
      rod.tension = t;
    }
    rod.passes = rod.valid && !HasFailingLine(rod.data.message) && (!rod.tension || rod.tension->passes);
    if (!rod.passes) failing += (failing.empty() ? "" : "、") + std::to_string(rod.rod);
    book.rods.push_back(std::move(rod));
  }
  book.verdict = failing.empty() ? kBookAllRodsPass : "附着杆 " + failing + " 不 满足要求！";
  return book;
}

CalculationBook ComputeBook(const CThreeRod& page, const CJiaoHe& section) {
  return WithReasons(ComputeBook(RodsOf(page), section), page);
}

CalculationBook ComputeBook(const CFourRodPage& page, const CJiaoHe& section) {
  return WithReasons(ComputeBook(RodsOf(page), section), page);
}

}  // namespace tiecalc
