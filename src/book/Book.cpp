#include "book/Book.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/analysis/Angles.h"
#include "core/input/Format.h"
#include "pages/FourRodPage.h"
#include "pages/NamedInput.h"
#include "pages/OutputCheck.h"
#include "pages/ThreeRod.h"

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

std::unique_ptr<CForcePage> NewForcePage(ForceLayout layout) {
  switch (layout) {
    case ForceLayout::ThreeRod: return std::make_unique<CThreeRod>();
    case ForceLayout::FourRodParallel: return std::make_unique<CFourRodParallelPage>();
    case ForceLayout::FourRodTurned: return std::make_unique<CFourRodTurnedPage>();
  }
  return nullptr;
}

// A freshly started page with saved inputs brought in as a user types them.
template <class TPage>
void Bring(TPage& page, const CasePage& saved) {
  CaseState state;
  state.pages.push_back(saved);
  ApplyCase(state, {{saved.name, &page}});
}

std::unique_ptr<CForcePage> ForcePageWith(ForceLayout layout, const CasePage* saved) {
  std::unique_ptr<CForcePage> page = NewForcePage(layout);
  page->Create();
  if (saved) Bring(*page, *saved);
  return page;
}

const NamedControl& InputNamed(const CPage& page, const std::string& name) {
  if (const NamedControl* n = FindInput(page, name)) return *n;
  throw std::logic_error("no input " + name);
}

std::string Where(const std::string& level, const std::string& loadCase) {
  std::string s = level;
  if (!loadCase.empty()) s += (s.empty() ? "" : " ") + ("工况“" + loadCase + "”");
  return s.empty() ? s : s + "：";
}

// ---- the reasons a check fails ----------------------------------------------

std::string Number(double v) { return std::isfinite(v) ? FormatFixedNoMinusZero(v, 2) : "∞"; }

FailingCheck StressReason(const char* check, const char* symbol, double sigma, double allowable) {
  return {check, std::string(symbol) + " = " + Number(sigma) + " MPa ≥ [σ] = " + Number(allowable) + " MPa"};
}

std::vector<FailingCheck> FailingChecks(const RodCheckData& d) {
  std::vector<FailingCheck> out;
  if (!d.verdict.inputValid) {
    out.push_back({"校核输入", CRodCheckPage::kInvalidInput});
    return out;
  }
  const RodCheckVerdict& v = d.verdict;
  const bool lattice = IsLattice(d.form);
  const std::string lambda = lattice ? "λ换" : "λ";
  const auto fails = [](CheckOutcome o) { return o == CheckOutcome::Fails; };
  if (fails(v.overallStiffness)) out.push_back({"整体刚度", lambda + " = " + Number(d.lambda) + " ≥ [λ] = 120"});
  if (fails(v.limbStiffness)) {
    if (IsLaced(d.form))
      out.push_back({"单肢刚度", "λ1 = " + Number(d.lambda1) + " ≥ 0.7·λ换 = " + Number(0.7 * d.lambda)});
    else if (d.lambda1 >= 40)
      out.push_back({"单肢刚度", "λ1 = " + Number(d.lambda1) + " ≥ 40"});
    else
      out.push_back({"单肢刚度", "λ1 = " + Number(d.lambda1) + " ≥ 0.5·λ换 = " + Number(0.5 * d.lambda)});
  }
  if (fails(v.lacingStiffness)) out.push_back({"缀条刚度", "λz = " + Number(d.lambdaZ) + " ≥ [λ] = 120"});
  const double main = AllowableStress(d.mainGrade, d.k);
  if (fails(v.overallStability)) out.push_back(StressReason("整体稳定性", "σ", d.sigma, main));
  if (fails(v.limbStability)) out.push_back(StressReason("单肢稳定性", "σ1", d.sigma1, main));
  if (fails(v.lacingMembers))
    out.push_back(StressReason(IsBattened(d.form) ? "缀板强度" : "缀条稳定性", "σz", d.sigmaZ,
                               AllowableStress(d.lacingGrade, d.k)));
  return out;
}

// ---- one level -----------------------------------------------------------------

bool CanCheck(const CRodCheckPage& section) { return section.Data().verdict.inputValid && section.Data().L > 0; }

void AddCaseForces(BookCase& c) {
  for (const RodRecord& rod : c.record.rods) {
    const RodExtremes& e = rod.extremes;
    const size_t larger = e.Larger();
    c.rods.push_back({e.forces[larger], e.forces[1 - larger], e.forceTexts[larger], e.forceTexts[1 - larger]});
  }
}

// The cases of a level as the page computes them; a refusal when one cannot be.
// The lines of copy's unreadable fields that page does not have itself.
void AddUnreadable(const CPage& copy, const CPage* page, const std::string& where, std::vector<std::string>& out) {
  const std::vector<std::string> own = page ? UnreadableFieldLines(*page) : std::vector<std::string>{};
  for (const std::string& line : UnreadableFieldLines(copy))
    if (std::find(own.begin(), own.end(), line) == own.end()) out.push_back(where + line);
}

std::string ComputeCases(const CForcePage& page, const std::vector<CaseLoadCase>& cases, const std::string& level,
                         BookLevel& out, std::vector<std::string>& unreadable) {
  if (cases.empty()) {
    if (!page.IsInputValid()) return Where(level, "") + InvalidInputsRefusal(page, kBookNeedsForces);
    out.cases.push_back({"", "", "", page.Record(), {}});
  }
  const CasePage inputs = CapturePage(ForceLayoutKey(page.Record().layout), page);
  for (const CaseLoadCase& c : cases) {
    std::unique_ptr<CForcePage> copy = ForcePageWith(page.Record().layout, &inputs);
    UserSetNamed(*copy, InputNamed(*copy, "R"), c.R);
    UserSetNamed(*copy, InputNamed(*copy, "M"), c.M);
    if (!copy->IsInputValid()) return Where(level, c.name) + InvalidInputsRefusal(*copy, kBookNeedsForces);
    AddUnreadable(*copy, &page, Where(level, c.name), unreadable);
    out.cases.push_back({c.name, c.R, c.M, copy->Record(), {}});
  }
  for (BookCase& c : out.cases) AddCaseForces(c);
  return "";
}

WallForce WallForceOf(double F, double angle, const std::string& caseName) {
  return {F, F * std::sin(Rad(angle)), F * std::cos(Rad(angle)), caseName};
}

BookRod CheckRod(int index, const BookLevel& level, const CaseBook& settings, const CRodCheckPage& main,
                 const std::vector<std::shared_ptr<const CRodCheckPage>>& sections) {
  BookRod rod;
  rod.rod = index + 1;
  // The envelope over the cases: the first case that reaches the extreme governs.
  const BookCase* tensionCase = &level.cases.front();
  const BookCase* compressionCase = tensionCase;
  for (const BookCase& c : level.cases) {
    if (c.rods[index].Fmax > tensionCase->rods[index].Fmax) tensionCase = &c;
    if (c.rods[index].Fmin < compressionCase->rods[index].Fmin) compressionCase = &c;
  }
  rod.tensionCase = tensionCase->name;
  rod.compressionCase = compressionCase->name;
  RodRecord envelope = level.cases.front().record.rods[index];
  const CaseRodForces& t = tensionCase->rods[index];
  const CaseRodForces& c = compressionCase->rods[index];
  envelope.extremes.forces = {t.Fmax, c.Fmin};
  envelope.extremes.forceTexts = {t.FmaxText, c.FminText};

  const CaseRodSection* own = settings.SectionOf(rod.rod);
  rod.section = own ? static_cast<int>(own - settings.sections.data()) : -1;
  const CRodCheckPage& section = own ? *sections[static_cast<size_t>(rod.section)] : main;
  rod.texts = TextsForRod(envelope, section);
  std::unique_ptr<CRodCheckPage> page = CopyOf(section);
  TypeRodTexts(*page, rod.texts);
  rod.data = page->Data();
  for (const NamedControl& n : page->Names())
    if (!n.input) rod.fields.emplace_back(n.name, page->GetText(n.id));
  rod.valid = rod.data.verdict.inputValid;
  rod.failing = FailingChecks(rod.data);

  // The rod check knows compression only; a rod that is ever pulled is
  // checked for tension on the main limbs' area.
  const double Fmax = rod.texts.FmaxValue;
  if (Fmax > 0) {
    TensionLine tl;
    tl.sigma = Fmax * 1000 / rod.data.A;
    tl.sigmaText = FormatFixed(tl.sigma, 2);
    const double allowable = AllowableStress(rod.data.mainGrade, rod.data.k);
    tl.passes = tl.sigma > 0 && tl.sigma < allowable;
    tl.message = tl.passes ? kTensionOk : tl.sigma >= allowable ? kTensionFails : "";
    if (tl.sigma >= allowable) rod.failing.push_back(StressReason("受拉强度", "σt", tl.sigma, allowable));
    rod.tension = tl;
  }
  rod.passes = rod.valid && !rod.data.verdict.AnyFails() && (!rod.tension || rod.tension->passes);
  return rod;
}

void ComputeReactions(BookLevel& level) {
  for (size_t i = 0; i < level.rods.size(); ++i) {
    RodWallReaction r;
    r.rod = static_cast<int>(i) + 1;
    r.angle = level.cases.front().record.rods[i].angle;
    for (const BookCase& c : level.cases)
      r.cases.emplace_back(WallForceOf(c.rods[i].Fmax, r.angle, c.name), WallForceOf(c.rods[i].Fmin, r.angle, c.name));
    const BookRod& rod = level.rods[i];
    r.tension = WallForceOf(rod.texts.FmaxValue, r.angle, rod.tensionCase);
    r.compression = WallForceOf(rod.texts.FminValue, r.angle, rod.compressionCase);
    level.reactions.push_back(std::move(r));
  }
}

std::string LevelVerdict(const BookLevel& level) {
  const std::string failing = FailingRods(level);
  std::string reasons;
  for (const BookRod& rod : level.rods)
    for (const FailingCheck& f : rod.failing) reasons += "\n杆" + std::to_string(rod.rod) + " " + f.Text();
  return failing.empty() ? kBookAllRodsPass : "附着杆 " + failing + " 不 满足要求！" + reasons;
}

// Every rod of every level checked, the levels' cases computed.
CalculationBook CheckLevels(CalculationBook book, const CRodCheckPage& section, const CaseBook& settings) {
  if (!CanCheck(section)) {
    // Only a rod left to the rod-check page needs it.
    const size_t rods = book.levels.front().cases.front().record.rods.size();
    for (size_t r = 1; r <= rods; ++r)
      if (!settings.SectionOf(static_cast<int>(r))) {
        book.refusal = kBookNeedsSection;
        book.levels.clear();
        return book;
      }
  }
  for (const CaseRodSection& s : settings.sections) {
    auto own = std::make_shared<CRodCheckPage>();
    own->Create();
    try {
      Bring(*own, s.page);
    } catch (const CCaseError& e) {
      book.refusal = kBookNeedsSection + std::string("\n") + e.what();
      book.levels.clear();
      return book;
    }
    if (!CanCheck(*own)) {
      std::string rods;
      for (int r : s.rods) rods += (rods.empty() ? "" : "、") + std::to_string(r);
      book.refusal = kBookNeedsSection + std::string("\n附着杆 ") + rods + " 的截面参数无效或杆长 L 不大于0";
      book.levels.clear();
      return book;
    }
    book.sectionPages.push_back(std::move(own));
  }

  std::string verdict;
  bool all = true;
  for (BookLevel& level : book.levels) {
    const size_t rods = level.cases.front().record.rods.size();
    for (size_t r = 0; r < rods; ++r) level.rods.push_back(CheckRod(static_cast<int>(r), level, settings, section, book.sectionPages));
    ComputeReactions(level);
    level.passes = std::all_of(level.rods.begin(), level.rods.end(), [](const BookRod& r) { return r.passes; });
    level.verdict = LevelVerdict(level);
    all = all && level.passes;
    if (!level.passes) verdict += (verdict.empty() ? "" : "\n") + Where(level.name, "") + level.verdict;
  }
  book.verdict = all ? kBookAllRodsPass : verdict;
  return book;
}

}  // namespace

std::string FailingRods(const BookLevel& level) {
  std::string failing;
  for (const BookRod& rod : level.rods)
    if (!rod.passes) failing += (failing.empty() ? "" : "、") + std::to_string(rod.rod);
  return failing;
}

const char* ForceLayoutKey(ForceLayout layout) {
  switch (layout) {
    case ForceLayout::ThreeRod: return "three-rod";
    case ForceLayout::FourRodParallel: return "four-rod-1";
    case ForceLayout::FourRodTurned: return "four-rod-2";
  }
  return "";
}

const std::string& BookRod::Field(const std::string& name) const {
  static const std::string kNone;
  for (const auto& [n, text] : fields)
    if (n == name) return text;
  return kNone;
}

double BookRod::Utilisation() const { return data.sigma / AllowableStress(data.mainGrade, data.k); }

CalculationBook ComputeBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings) {
  CalculationBook book;
  const ForceLayout layout = page.Record().layout;
  // The pages of every level: the one shown is the page itself.
  std::vector<std::unique_ptr<CForcePage>> levelPages;
  std::vector<const CForcePage*> pages;
  try {
    for (size_t i = 0; i < settings.levels.size(); ++i) {
      if (static_cast<int>(i) == settings.level) {
        pages.push_back(&page);
        continue;
      }
      levelPages.push_back(ForcePageWith(layout, settings.levels[i].Find(ForceLayoutKey(layout))));
      pages.push_back(levelPages.back().get());
    }
  } catch (const CCaseError& e) {
    book.refusal = kBookNeedsForces + std::string("\n") + e.what();
    return book;
  }
  if (pages.empty()) pages.push_back(&page);

  for (size_t i = 0; i < pages.size(); ++i) {
    BookLevel level;
    const CaseLevel* saved = settings.levels.empty() ? nullptr : &settings.levels[i];
    if (saved) level.name = saved->name, level.height = saved->height;
    level.record = pages[i]->Record();
    const std::vector<CaseLoadCase>& cases = saved && !saved->cases.empty() ? saved->cases : settings.cases;
    if (pages[i] != &page) AddUnreadable(*pages[i], nullptr, Where(level.name, ""), book.unreadable);
    if (std::string why = ComputeCases(*pages[i], cases, level.name, level, book.unreadable); !why.empty()) {
      book.refusal = std::move(why);
      book.levels.clear();
      return book;
    }
    book.levels.push_back(std::move(level));
  }

  return CheckLevels(std::move(book), section, settings);
}

CalculationBook ComputeBook(const std::optional<std::vector<RodRecord>>& rods, const CRodCheckPage& section) {
  CalculationBook book;
  if (!rods) {
    book.refusal = kBookNeedsForces;
    return book;
  }
  BookLevel level;
  BookCase only;
  only.record.rods = *rods;
  level.cases.push_back(std::move(only));
  for (BookCase& c : level.cases) AddCaseForces(c);
  book.levels.push_back(std::move(level));
  return CheckLevels(std::move(book), section, {});
}

}  // namespace tiecalc
