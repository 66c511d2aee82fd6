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

Row Values2(std::initializer_list<double> values) {
  Row row;
  for (double v : values) row.push_back(ValueCell(v, 2));
  return row;
}

Row Texts(std::initializer_list<const char*> texts) { return Row(texts.begin(), texts.end()); }

Row Blanks(size_t count) { return Row(count, Cell(" ")); }

// The sweep under its header: θ and the rods' forces, then each rod's two
// components (not rounded before they are shown); then nine blanks.
SheetTable SweepRows(Row header, const ForceSweep& sweep) {
  SheetTable t{std::move(header)};
  const size_t rods = static_cast<size_t>(sweep.rods);
  for (const ForceSweep::Point& p : sweep.points) {
    Row row{ValueCell(p.theta, 0)};
    for (size_t i = 0; i < rods; ++i) row.push_back(ValueCell(p.forces.F[i], 2));
    for (size_t i = 0; i < rods; ++i) {
      row.push_back(ValueCell(p.forces.Fx[i], 2));
      row.push_back(ValueCell(p.forces.Fy[i], 2));
    }
    t.push_back(std::move(row));
  }
  t.push_back(Blanks(9));
  return t;
}

SheetTable FourRodSweepRows(const ForceSweep& sweep) {
  return SweepRows(Texts({"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F4(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)",
                          "F3x(KN)", "F3y(KN)", "F4x(KN)", "F4y(KN)"}),
                   sweep);
}

// The rows every four-rod table ends with: the lengths and the extreme texts.
void AppendFourRodExtremes(SheetTable& t, const FourRodResult& r) {
  t.push_back(Texts({"L1(mm)", "L2(mm)", "L3(mm)", "L4(mm)", "F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)",
                     "F4m(KN)", "θ4(°)"}));
  Row row = Values2({r.L[0], r.L[1], r.L[2], r.L[3]});
  for (size_t i = 0; i < 4; ++i) {
    row.push_back(r.ForceText[i]);
    row.push_back(r.AngleText[i]);
  }
  t.push_back(std::move(row));
}

}  // namespace

SheetTable ThreeRodSweepTable(const ForceSweep& sweep, const ThreeRodInput& in, const ThreeRodResult& r) {
  SheetTable t = SweepRows(Texts({"θ角度(°)", "F1(KN)", "F2(KN)", "F3(KN)", "F1x(KN)", "F1y(KN)", "F2x(KN)", "F2y(KN)",
                                  "F3x(KN)", "F3y(KN)"}),
                           sweep);
  t.push_back(Texts({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "H(mm)", "R(KN)", "M(KN.m)"}));
  t.push_back(Values2({in.A, in.B, in.C, in.D, in.X1, in.X2, in.X3, in.H, in.R, in.M}));
  t.push_back(Blanks(9));
  t.push_back(Texts({"α(°)", "β(°)", "γ(°)", "L1(mm)", "L2(mm)", "L3(mm)"}));
  t.push_back(Values2({r.Alpha, r.Beta, r.Gamma, r.L1, r.L2, r.L3}));
  t.push_back(Blanks(9));
  t.push_back(Texts({"F1m(KN)", "θ1(°)", "F2m(KN)", "θ2(°)", "F3m(KN)", "θ3(°)"}));
  t.push_back({r.F1m, r.Theta1, r.F2m, r.Theta2, r.F3m, r.Theta3});
  return t;
}

SheetTable FourRodSweepTable(const ForceSweep& sweep, const FourRodLayoutI& g, const FourRodTableValues& v) {
  SheetTable t = FourRodSweepRows(sweep);
  const FourRodAngles& a = v.angles;
  t.push_back(Texts({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)",
                     "Y1(mm)", "Y2(mm)", "R(KN)"}));
  t.push_back(Values2({g.A, g.B, g.C, g.D, g.E, g.F, g.X1, g.X2, g.X3, g.X4, g.Y1, g.Y2, v.R}));
  t.push_back(Blanks(1));
  t.push_back(Texts({"M(KN.m)", "E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)",
                     "S4(mm^2)", "α(°)", "β(°)", "γ(°)", "δ(°)"}));
  t.push_back(Values2({v.M, v.E[0], v.E[1], v.E[2], v.E[3], v.S[0], v.S[1], v.S[2], v.S[3], a.Alpha, a.Beta, a.Gamma,
                       a.Delta}));
  t.push_back(Blanks(1));
  AppendFourRodExtremes(t, v.result);
  return t;
}

SheetTable FourRodSweepTable(const ForceSweep& sweep, const FourRodLayoutII& g, const FourRodTableValues& v) {
  SheetTable t = FourRodSweepRows(sweep);
  const FourRodAngles& a = v.angles;
  t.push_back(Texts({"A(mm)", "B(mm)", "C(mm)", "D(mm)", "E(mm)", "F(mm)", "G(mm)", "H(mm)"}));
  t.push_back(Values2({g.A, g.B, g.C, g.D, g.E, g.F, g.G, g.H}));
  t.push_back(Blanks(1));
  t.push_back(Texts({"X1(mm)", "X2(mm)", "X3(mm)", "X4(mm)", "Y1(mm)", "Y2(mm)", "R(KN)", "M(KN.m)"}));
  t.push_back(Values2({g.X1, g.X2, g.X3, g.X4, g.Y1, g.Y2, v.R, v.M}));
  t.push_back(Blanks(1));
  t.push_back(Texts({"E1(GPa)", "E2(GPa)", "E3(GPa)", "E4(GPa)", "S1(mm^2)", "S2(mm^2)", "S3(mm^2)", "S4(mm^2)", "α(°)",
                     "β(°)", "γ(°)", "δ(°)"}));
  t.push_back(Values2({v.E[0], v.E[1], v.E[2], v.E[3], v.S[0], v.S[1], v.S[2], v.S[3], a.Alpha, a.Beta, a.Gamma,
                       a.Delta}));
  t.push_back(Blanks(1));
  AppendFourRodExtremes(t, v.result);
  return t;
}

}  // namespace tiecalc
