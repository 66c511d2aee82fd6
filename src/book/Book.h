#pragma once
// The calculation book of one layout: every rod of a force page checked
// under every load case and attachment level the case sets (or the page's
// own R and M), each rod with its own section (or the rod-check page's).
//
// Each load case is typed into a copy of the force page (R, then M) as a
// user would, so a case's forces are the page's, value for value. A rod's
// envelope - its largest tension and largest compression over the cases -
// is typed over a copy of its section's rod-check page (compression as F,
// its length as L, G and a variable section's Ld scaled to it), so the
// check is the page's own, text for text; the book adds the tension line
// the rod check lacks, the reasons of every failing check, the wall
// reactions and the verdict over all rods and levels.

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "case/CaseFile.h"
#include "core/rodcheck/RodCheck.h"
#include "pages/ForcePage.h"
#include "pages/RodCheckPage.h"
#include "pages/RodLink.h"

namespace tiecalc {

inline constexpr const char* kBookNeedsForces = "请先完成附着杆内力计算!";
inline constexpr const char* kBookNeedsSection = "请先在附着杆校核页设定杆件截面参数!";
inline constexpr const char* kBookAllRodsPass = "全部附着杆满足要求！";
inline constexpr const char* kTensionOk = "附着杆受拉强度满足要求！";
inline constexpr const char* kTensionFails = "附着杆受拉强度 不 满足要求！";

// The tension check of a rod that is ever pulled: σt = Fmax·1000/A against
// the main grade's allowable stress.
struct TensionLine {
  double sigma = 0.0;     // MPa
  std::string sigmaText;  // "%.2f"
  std::string message;    // kTensionOk, kTensionFails, or empty when σt passes no test
  bool passes = false;
};

// A check that fails, in words and numbers: "单肢刚度：λ1 = 23.93 ≥ 0.7·λ换 = 20.13".
struct FailingCheck {
  std::string check;   // "单肢刚度"
  std::string detail;  // "λ1 = 23.93 ≥ 0.7·λ换 = 20.13"
  std::string Text() const { return check + "：" + detail; }
};

// One rod's two extremes under one load case (kN, tension positive).
struct CaseRodForces {
  double Fmax = 0.0, Fmin = 0.0;
  std::string FmaxText, FminText;  // as the page shows them
};

// A load case of a level: its name, the R and M it typed, and what the
// force page computed with them.
struct BookCase {
  std::string name;  // empty: the page's own R and M, no case set
  std::string R, M;  // as typed
  ForcePageRecord record;
  std::vector<CaseRodForces> rods;
};

struct BookRod {
  int rod = 0;  // 1..n
  RodTexts texts;  // the envelope's texts typed over the rod-check page
  std::string tensionCase, compressionCase;  // the cases of Fmax and Fmin (empty without cases)
  int section = -1;  // the rod's section: an index into CaseBook::sections, -1 the rod-check page's
  RodCheckData data;  // the record of the rod's check, as the page keeps it
  // The texts of the page's results ("mu" .. "sigmaz", "message"), as shown.
  std::vector<std::pair<std::string, std::string>> fields;
  std::optional<TensionLine> tension;
  std::vector<FailingCheck> failing;  // every check that fails, the tension line's too
  bool valid = false;   // the check could run on these inputs
  bool passes = false;  // valid, no failing line, and the tension line passes

  const std::string& Field(const std::string& name) const;
  // σ/[σ] of the overall stability check.
  double Utilisation() const;
};

// What a rod's end does to the wall: its force split normal to the wall
// line (positive pulls the anchor off the wall) and along it, from the
// rod's angle to the wall line as the page shows it.
struct WallForce {
  double F = 0.0;         // kN, tension positive
  double normal = 0.0;    // F·sin α, kN
  double parallel = 0.0;  // F·cos α, kN
  std::string caseName;
};

struct RodWallReaction {
  int rod = 0;
  double angle = 0.0;  // degrees
  std::vector<std::pair<WallForce, WallForce>> cases;  // per case: under Fmax, under Fmin
  WallForce tension, compression;  // the envelope: under the largest Fmax and the smallest Fmin
};

struct BookLevel {
  std::string name, height;  // empty without levels
  ForcePageRecord record;    // the page as it stands (its own R and M)
  std::vector<BookCase> cases;
  std::vector<BookRod> rods;
  std::vector<RodWallReaction> reactions;
  std::string verdict;  // the verdict over this level's rods
  bool passes = false;
};

struct CalculationBook {
  std::string refusal;  // set when the book cannot be made; levels are then empty
  std::vector<BookLevel> levels;
  std::string verdict;  // the overall verdict
  // The fields of the load cases and of the levels not shown that do not
  // read as typed, each with its level and case ("第二道 工况“工作状态”：R
  // 无法识别，按 0 计算"): the pages' own are theirs to tell.
  std::vector<std::string> unreadable;
  // The rod-check page of each CaseBook::sections entry, brought to its saved
  // inputs, as the rods were checked with it.
  std::vector<std::shared_ptr<const CRodCheckPage>> sectionPages;

  bool Refused() const { return !refusal.empty(); }
  const std::string& Status() const { return Refused() ? refusal : verdict; }
};

// The numbers of a level's rods that fail or cannot be checked: "2、3"; empty
// when all pass.
std::string FailingRods(const BookLevel& level);

// The key of a layout in case files and on the command line: "three-rod",
// "four-rod-1", "four-rod-2".
const char* ForceLayoutKey(ForceLayout layout);

// The book of a force page with the rod-check page's section and the case's
// book settings (load cases, rod sections, levels). With levels, the level
// settings.level is the one the page shows; the others come from their own
// inputs. Refused (kBookNeedsForces and, below it, the reasons the page
// marks its fields with) while an input of a level or a case cannot be
// calculated, and while a section cannot be checked.
CalculationBook ComputeBook(const CForcePage& page, const CRodCheckPage& section, const CaseBook& settings = {});
// The book of one level's rods under one case (their records), with the
// rod-check page's section; refused with kBookNeedsForces without rods.
CalculationBook ComputeBook(const std::optional<std::vector<RodRecord>>& rods, const CRodCheckPage& section);

}  // namespace tiecalc
