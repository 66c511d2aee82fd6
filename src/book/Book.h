#pragma once
// The calculation book of one layout: every rod of a force page checked with
// the section set on the rod-check page. Each rod's governing compression
// and its own length are typed over the rod-check page's inputs (on a copy
// of that page, which is left as it is), so the check is the page's own,
// value for value and text for text; the book adds the tension line the
// rod check lacks and the verdict over all rods.

#include <optional>
#include <string>
#include <utility>
#include <vector>

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

struct BookRod {
  int rod = 0;  // 1..n
  RodTexts texts;
  RodCheckData data;  // the record of the rod's check, as the page keeps it
  // The texts of the page's results ("mu" .. "sigmaz", "message"), as shown.
  std::vector<std::pair<std::string, std::string>> fields;
  std::optional<TensionLine> tension;
  bool valid = false;   // the check could run on these inputs
  bool passes = false;  // valid, no failing line, and the tension line passes

  const std::string& Field(const std::string& name) const;
};

struct CalculationBook {
  std::string refusal;  // set when the book cannot be made; rods are then empty
  std::vector<BookRod> rods;
  std::string verdict;  // the overall verdict

  bool Refused() const { return !refusal.empty(); }
  const std::string& Status() const { return Refused() ? refusal : verdict; }
};

// The book of a layout's rods with the section of the rod-check page.
CalculationBook ComputeBook(const std::optional<std::vector<RodRecord>>& rods, const CRodCheckPage& section);
// The book of a force page; refused while its inputs are invalid with
// kBookNeedsForces and, below it, the reasons the page marks its fields with.
CalculationBook ComputeBook(const CForcePage& page, const CRodCheckPage& section);

}  // namespace tiecalc
