#include "export/SweepTable.h"

#include <algorithm>
#include <cmath>

#include "core/input/Format.h"

namespace tiecalc {

namespace {

using sheetdb::Cell;
using Row = std::vector<Cell>;

// v shown with `decimals` decimals: a number cell of that value, or the text
// alone where a spreadsheet would not show the digits computed (more than
// the 15 a double keeps, or no number at all: "nan", "inf").
Cell ValueCell(double v, int decimals) {
  std::string text = FormatDecimals(v, decimals);
  const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  if (!std::isfinite(v) || digits > 15) return Cell(std::move(text));
  const double shown = ParseDouble(text);
  return Cell(std::move(text), shown, decimals);
}

Row Blanks(size_t count) { return Row(count, Cell(" ")); }

// What the layouts' tables differ in after the sweep rows: how many of the
// inputs go in each row (a header and a row of values), the blanks after
// each such pair, and whether the rods' angles follow the inputs (the
// lengths then go with the extremes) or have a row of their own with the
// lengths.
struct TableShape {
  std::vector<size_t> parameterRows;
  size_t separator;
  bool anglesWithParameters;
};

const TableShape& ShapeOf(ForceLayout layout) {
  static const TableShape kThreeRod = {{10}, 9, false};
  static const TableShape kFourRodParallel = {{13, 13}, 1, true};
  static const TableShape kFourRodTurned = {{8, 8, 12}, 1, true};
  switch (layout) {
    case ForceLayout::ThreeRod: return kThreeRod;
    case ForceLayout::FourRodParallel: return kFourRodParallel;
    case ForceLayout::FourRodTurned: break;
  }
  return kFourRodTurned;
}

// A header cell "label(unit)" above each value.
void AppendLabelled(SheetTable& t, const std::vector<LabelledValue>& cells) {
  Row header, row;
  for (const LabelledValue& c : cells) {
    header.emplace_back(c.label + "(" + c.unit + ")");
    row.push_back(ValueCell(c.value, 2));
  }
  t.push_back(std::move(header));
  t.push_back(std::move(row));
}

// The sweep to 359° under its header: θ and the rods' forces, then each
// rod's two components (not rounded before they are shown); then nine
// blanks.
void AppendSweepRows(SheetTable& t, const ForceSweep& sweep) {
  const size_t rods = static_cast<size_t>(sweep.rods);
  Row header{Cell("θ角度(°)")};
  for (size_t i = 1; i <= rods; ++i) header.emplace_back("F" + std::to_string(i) + "(KN)");
  for (size_t i = 1; i <= rods; ++i)
    for (const char* axis : {"x", "y"}) header.emplace_back("F" + std::to_string(i) + axis + "(KN)");
  t.push_back(std::move(header));
  for (const ForceSweep::Point& p : sweep.points) {
    if (p.theta > kTableLastTheta) break;
    Row row{ValueCell(p.theta, 0)};
    for (size_t i = 0; i < rods; ++i) row.push_back(ValueCell(p.forces.F[i], 2));
    for (size_t i = 0; i < rods; ++i) {
      row.push_back(ValueCell(p.forces.Fx[i], 2));
      row.push_back(ValueCell(p.forces.Fy[i], 2));
    }
    t.push_back(std::move(row));
  }
  t.push_back(Blanks(9));
}

}  // namespace

SheetTable SweepTable(const ForcePageRecord& page) {
  static constexpr const char* kAngles[] = {"α", "β", "γ", "δ"};
  const TableShape& shape = ShapeOf(page.layout);
  SheetTable t;
  AppendSweepRows(t, page.sweep);

  std::vector<LabelledValue> inputs = page.parameters;
  if (shape.anglesWithParameters)
    for (size_t i = 0; i < page.rods.size(); ++i) inputs.push_back({kAngles[i], page.rods[i].angle, "°"});
  size_t next = 0;
  for (size_t count : shape.parameterRows) {
    AppendLabelled(t, std::vector<LabelledValue>(inputs.begin() + static_cast<long>(next),
                                                 inputs.begin() + static_cast<long>(next + count)));
    next += count;
    t.push_back(Blanks(shape.separator));
  }

  // The rods' angles (unless they went with the inputs) and lengths, then
  // the extremes as the page shows them: in the same row as the lengths
  // when the angles went with the inputs, else in a row of their own.
  std::vector<LabelledValue> rods;
  if (!shape.anglesWithParameters)
    for (size_t i = 0; i < page.rods.size(); ++i) rods.push_back({kAngles[i], page.rods[i].angle, "°"});
  for (size_t i = 0; i < page.rods.size(); ++i)
    rods.push_back({"L" + std::to_string(i + 1), page.rods[i].length, "mm"});
  AppendLabelled(t, rods);
  if (!shape.anglesWithParameters) {
    t.push_back(Blanks(shape.separator));
    t.push_back({});
    t.push_back({});
  }
  Row& header = t[t.size() - 2];
  Row& row = t.back();
  for (size_t i = 0; i < page.rods.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    header.emplace_back("F" + n + "m(KN)");
    header.emplace_back("θ" + n + "(°)");
    row.emplace_back(page.rods[i].extremes.ForcePair());
    row.emplace_back(page.rods[i].extremes.AnglePair());
  }
  return t;
}

}  // namespace tiecalc
