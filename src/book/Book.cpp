#include "book/Book.h"

#include <cmath>
#include <memory>

#include "core/input/Format.h"
#include "pages/OutputCheck.h"

namespace tiecalc {

namespace {

// A fresh rod-check page brought to the state the section page is in: the
// same selections and input texts, set in the page's own order through its
// own handlers, and the same results shown (a run on invalid inputs leaves
// the results of the run before it on screen).
std::unique_ptr<CRodCheckPage> CopyOf(const CRodCheckPage& section) {
  auto copy = std::make_unique<CRodCheckPage>();
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

CalculationBook ComputeBook(const std::optional<std::vector<RodRecord>>& rods, const CRodCheckPage& section) {
  CalculationBook book;
  if (!rods) {
    book.refusal = kBookNeedsForces;
    return book;
  }
  if (!section.Data().verdict.inputValid || section.Data().L <= 0) {
    book.refusal = kBookNeedsSection;
    return book;
  }

  std::string failing;
  for (size_t i = 0; i < rods->size(); ++i) {
    BookRod rod;
    rod.rod = static_cast<int>(i) + 1;
    rod.texts = TextsForRod((*rods)[i], section);
    std::unique_ptr<CRodCheckPage> page = CopyOf(section);
    TypeRodTexts(*page, rod.texts);
    rod.data = page->Data();
    for (const NamedControl& n : page->Names())
      if (!n.input) rod.fields.emplace_back(n.name, page->GetText(n.id));
    rod.valid = rod.data.verdict.inputValid;

    // The rod check knows compression only; a rod that is ever pulled is
    // checked for tension on the main limbs' area.
    const double Fmax = rod.texts.FmaxValue;
    if (Fmax > 0) {
      TensionLine t;
      t.sigma = Fmax * 1000 / rod.data.A;
      t.sigmaText = FormatFixed(t.sigma, 2);
      const double allowable = AllowableStress(rod.data.mainGrade, rod.data.k);
      t.passes = t.sigma > 0 && t.sigma < allowable;
      t.message = t.passes ? kTensionOk : t.sigma >= allowable ? kTensionFails : "";
      rod.tension = t;
    }
    rod.passes = rod.valid && !rod.data.verdict.AnyFails() && (!rod.tension || rod.tension->passes);
    if (!rod.passes) failing += (failing.empty() ? "" : "、") + std::to_string(rod.rod);
    book.rods.push_back(std::move(rod));
  }
  book.verdict = failing.empty() ? kBookAllRodsPass : "附着杆 " + failing + " 不 满足要求！";
  return book;
}

CalculationBook ComputeBook(const CForcePage& page, const CRodCheckPage& section) {
  return WithReasons(ComputeBook(RodsOf(page.Record()), section), page);
}

}  // namespace tiecalc
