#include "core/sections/RodSection.h"

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "core/input/Format.h"
#include "core/sections/SteelSection.h"

namespace tiecalc {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSteelKgPerMm3 = 7.85e-6;

std::string N(double v) { return FormatInput(v); }

// A profile of the library in the check's units.
struct Profile {
  const SteelSection* s = nullptr;
  double A = 0;       // mm²
  double Ix = 0;      // mm⁴, about the strong (table x) axis
  double Iy = 0;      // mm⁴, about the table y axis
  double least = 0;   // mm⁴, the least second moment
  double z0 = 0;      // mm
  double m = 0;       // kg/m
};

Profile ProfileOf(const SteelSection& s) {
  return {&s, s.A * 100, s.Ix * 1e4, s.Iy * 1e4, s.LeastI() * 1e4, s.z0 * 10, s.m};
}

class Builder {
 public:
  Builder(RodForm form, const RodSectionChoice& c) : form_(form), c_(c) {}

  BuiltRodSection Run();

 private:
  bool Fail(std::string why) {
    out_.error = std::move(why);
    return false;
  }
  void Derive(const char* name, double& field, double value, std::string text) {
    field = value;
    out_.derivations.push_back({name, value, std::move(text)});
  }
  bool TakeProfile(const std::string& designation, Profile& p, const char* role);
  bool CheckLength();
  bool SolidWeb();
  bool TwoLimb();
  bool FourLimb();
  bool Lattice(int faces, double meanWidth, double meanDepth);
  void Weight(double chords, const std::string& chordText, double lattice, const std::string& latticeText);
  // Ld and Imin for a section whose X-axis moment at the ends is endI.
  void EndSection(double endI, const std::string& endText);

  RodForm form_;
  const RodSectionChoice& c_;
  BuiltRodSection out_;
  Profile chord_;
};

bool Builder::TakeProfile(const std::string& designation, Profile& p, const char* role) {
  const SteelSection* s = FindSection(designation);
  if (!s) return Fail(std::string(role) + "“" + designation + "”不在型钢表中");
  p = ProfileOf(*s);
  return true;
}

bool Builder::CheckLength() {
  if (!(c_.L > 0)) return Fail("杆长L须大于0");
  const bool variable = c_.endWidth > 0 || c_.endDepth > 0;
  if (variable && !(c_.Ld > 0 && c_.Ld <= c_.L)) return Fail("变截面杆的大截面长度Ld须在0与L之间");
  return true;
}

void Builder::EndSection(double endI, const std::string& endText) {
  RodSectionInputs& in = out_.inputs;
  const bool variable = c_.endWidth > 0 || c_.endDepth > 0;
  if (!variable) {
    Derive("Imin", in.Imin, in.Imax, "Imin = Imax = " + N(in.Imax) + " mm⁴（等截面）");
    Derive("Ld", in.Ld, c_.L, "Ld = L = " + N(c_.L) + " mm（等截面）");
    return;
  }
  Derive("Imin", in.Imin, endI, endText);
  Derive("Ld", in.Ld, c_.Ld, "Ld = " + N(c_.Ld) + " mm（大截面长度）");
  if (endI > in.Imax) out_.notes.push_back("端部截面的惯性矩大于中部截面：变截面的计算长度系数不适用");
}

void Builder::Weight(double chords, const std::string& chordText, double lattice, const std::string& latticeText) {
  std::string text = "G = " + chordText;
  if (lattice > 0) text += " + " + latticeText;
  text += " = " + N(chords + lattice) + " kg";
  Derive("G", out_.inputs.G, chords + lattice, text);
}

bool Builder::SolidWeb() {
  RodSectionInputs& in = out_.inputs;
  const Profile& p = chord_;
  const SteelSection& s = *p.s;
  const double L = c_.L;
  if (c_.pair == PairLayout::Single) {
    if (c_.endWidth > 0 || c_.endDepth > 0) return Fail("单根型钢的实腹杆没有端部外宽");
    Derive("A", in.A, p.A, "A = " + N(p.A) + " mm²（" + s.designation + "）");
    Derive("h", in.h, s.LeastAxisExtreme(),
           "h = " + N(s.LeastAxisExtreme()) + " mm（" + s.LeastAxis() + "轴至最远点）");
    Derive("Imax", in.Imax, p.least, "Imax = I" + std::string(s.LeastAxis()) + " = " + N(p.least) + " mm⁴（弱轴）");
    EndSection(0, "");
    Weight(p.m * L / 1000, N(p.m) + "×" + N(L) + "/1000", 0, "");
    return true;
  }
  const bool channel = s.family == SectionFamily::Channel;
  if (!channel && s.family != SectionFamily::IBeam) return Fail("只有槽钢或工字钢可两根合成实腹截面");
  if (!channel && c_.pair == PairLayout::BackToBack) return Fail("工字钢不能背靠背合成");
  const double tight = 2 * s.b;
  const double w = c_.width > 0 ? c_.width : tight;
  if (w < tight - 1e-9) return Fail("外宽小于两根型钢的宽度之和 " + N(tight) + " mm");
  // Distance of each profile's centroid from the middle, across the pair.
  auto offset = [&](double width) {
    if (!channel) return width / 2 - s.b / 2;
    return c_.pair == PairLayout::Box ? width / 2 - p.z0 : width / 2 - s.b + p.z0;
  };
  auto offsetText = [&](double width) {
    if (!channel) return N(width) + "/2−" + N(s.b) + "/2";
    return c_.pair == PairLayout::Box ? N(width) + "/2−" + N(p.z0) : N(width) + "/2−" + N(s.b) + "+" + N(p.z0);
  };
  auto across = [&](double width) { return 2 * (p.Iy + p.A * std::pow(offset(width), 2)); };
  auto acrossText = [&](double width) {
    return "2×(" + N(p.Iy) + " + " + N(p.A) + "×(" + offsetText(width) + ")²)";
  };
  const double along = 2 * p.Ix;
  Derive("A", in.A, 2 * p.A, "A = 2×" + N(p.A) + " = " + N(2 * p.A) + " mm²");
  const double wide = across(w);
  if (wide <= along) {
    Derive("h", in.h, w / 2, "h = " + N(w) + "/2 = " + N(w / 2) + " mm");
    Derive("Imax", in.Imax, wide, "Imax = " + acrossText(w) + " = " + N(wide) + " mm⁴");
    const double endW = c_.endWidth > 0 ? c_.endWidth : w;
    if (endW < tight - 1e-9) return Fail("端部外宽小于两根型钢的宽度之和 " + N(tight) + " mm");
    EndSection(across(endW), "Imin = " + acrossText(endW) + " = " + N(across(endW)) + " mm⁴");
  } else {
    Derive("h", in.h, s.h / 2, "h = " + N(s.h) + "/2 = " + N(s.h / 2) + " mm");
    Derive("Imax", in.Imax, along, "Imax = 2×" + N(p.Ix) + " = " + N(along) + " mm⁴（两肢x轴，弱于跨两肢的轴）");
    if (c_.endWidth > 0 && across(c_.endWidth) < along)
      out_.notes.push_back("端部截面跨两肢的轴弱于两肢x轴：端部弱轴与中部不同");
    EndSection(along, "Imin = 2×" + N(p.Ix) + " = " + N(along) + " mm⁴（两肢x轴与外宽无关）");
  }
  Weight(2 * p.m * c_.L / 1000, "2×" + N(p.m) + "×" + N(c_.L) + "/1000", 0, "");
  return true;
}

// Battens or lacing across `faces` faces, the mean widths over the length
// being meanWidth (the faces perpendicular to X) and meanDepth (the others,
// four-limb only).
bool Builder::Lattice(int faces, double meanWidth, double meanDepth) {
  RodSectionInputs& in = out_.inputs;
  const bool laced = form_ == RodForm::TwoLimbLaced || form_ == RodForm::FourLimbLaced;
  const double L = c_.L;
  const double chords = (faces == 2 ? 2 : 4) * chord_.m * L / 1000;
  const std::string chordText = (faces == 2 ? "2×" : "4×") + N(chord_.m) + "×" + N(L) + "/1000";
  // Face widths as (count, mean width) pairs.
  std::vector<std::pair<int, double>> faceWidths{{2, meanWidth}};
  if (faces == 4) faceWidths.push_back({2, meanDepth});
  if (!laced) {
    const double b = c_.battenWidth, t = c_.battenThickness;
    if (!(b > 0 && t > 0)) return Fail("缀板宽度与厚度须大于0");
    if (!(c_.spacing > b)) return Fail("缀板间距L1须大于缀板宽度");
    Derive("Az", in.Az, b * t, "Az = " + N(b) + "×" + N(t) + " = " + N(b * t) + " mm²");
    Derive("Iz", in.Iz, t * b * b * b / 12,
           "Iz = " + N(t) + "×" + N(b) + "³/12 = " + N(t * b * b * b / 12) + " mm⁴");
    Derive("delta", in.delta, t, "δ = " + N(t) + " mm");
    Derive("L1", in.L1, c_.spacing, "L1 = " + N(c_.spacing) + " mm");
    const int levels = static_cast<int>(std::floor(L / c_.spacing + 1e-9)) + 1;
    double plates = 0;
    std::string text;
    for (const auto& [count, width] : faceWidths) {
      plates += count * levels * b * t * width * kSteelKgPerMm3;
      if (!text.empty()) text += " + ";
      text += N(count) + "×" + N(levels) + "×" + N(b) + "×" + N(t) + "×" + N(width) + "×7.85e-6";
    }
    Weight(chords, chordText, plates, text);
    return true;
  }
  Profile bar;
  if (!TakeProfile(c_.lacing, bar, "缀条")) return false;
  Derive("Az", in.Az, bar.A, "Az = " + N(bar.A) + " mm²（" + bar.s->designation + "）");
  Derive("Iz", in.Iz, bar.least,
         "Iz = I" + std::string(bar.s->LeastAxis()) + " = " + N(bar.least) + " mm⁴（" + bar.s->designation + "弱轴）");
  if (c_.lacingAngle > 0) {
    if (!(c_.lacingAngle < 90)) return Fail("缀条与杆轴的夹角须小于90°");
    const double L1 = 2 * in.a / std::tan(c_.lacingAngle * kPi / 180);
    Derive("L1", in.L1, L1, "L1 = 2×" + N(in.a) + "/tan" + N(c_.lacingAngle) + "° = " + N(L1) + " mm");
  } else {
    if (!(c_.spacing > 0)) return Fail("缀条间距L1须大于0（或给出缀条倾角）");
    Derive("L1", in.L1, c_.spacing, "L1 = " + N(c_.spacing) + " mm");
  }
  // Two bars a panel on every face.
  const double panels = L / in.L1;
  double bars = 0;
  std::string text;
  for (const auto& [count, width] : faceWidths) {
    const double length = std::sqrt(in.L1 * in.L1 / 4 + width * width);
    bars += count * 2 * panels * length * bar.m / 1000;
    if (!text.empty()) text += " + ";
    text += N(count) + "×2×" + N(panels) + "×" + N(length) + "×" + N(bar.m) + "/1000";
  }
  Weight(chords, chordText, bars, text);
  return true;
}

// The mean side over the rod: the middle part at `side`, the ends falling
// linearly to `end`.
double MeanSide(double side, double end, double L, double Ld) {
  if (!(end > 0) || end == side) return side;
  return (Ld * side + (L - Ld) * (side + end) / 2) / L;
}

bool Builder::TwoLimb() {
  RodSectionInputs& in = out_.inputs;
  const Profile& p = chord_;
  const SteelSection& s = *p.s;
  const bool channel = s.family == SectionFamily::Channel;
  if (!channel && s.family != SectionFamily::IBeam) return Fail("两肢格构杆的肢须为槽钢或工字钢");
  const double w = c_.width;
  if (!(w >= 2 * s.b)) return Fail("外宽须不小于两肢宽度之和 " + N(2 * s.b) + " mm");
  const double endW = c_.endWidth > 0 ? c_.endWidth : w;
  if (!(endW >= 2 * s.b)) return Fail("端部外宽须不小于两肢宽度之和 " + N(2 * s.b) + " mm");
  auto offset = [&](double width) {
    if (!channel) return width / 2 - s.b / 2;
    return c_.flanges == ChannelFlanges::Inward ? width / 2 - p.z0 : width / 2 - s.b + p.z0;
  };
  auto offsetText = [&](double width) {
    if (!channel) return N(width) + "/2−" + N(s.b) + "/2";
    return c_.flanges == ChannelFlanges::Inward ? N(width) + "/2−" + N(p.z0)
                                                : N(width) + "/2−" + N(s.b) + "+" + N(p.z0);
  };
  auto virtualI = [&](double width) { return 2 * (p.Iy + p.A * std::pow(offset(width), 2)); };
  auto virtualText = [&](double width) {
    return "2×(" + N(p.Iy) + " + " + N(p.A) + "×(" + offsetText(width) + ")²) = " + N(virtualI(width)) + " mm⁴";
  };
  Derive("A", in.A, 2 * p.A, "A = 2×" + N(p.A) + " = " + N(2 * p.A) + " mm²");
  Derive("h", in.h, w / 2, "h = " + N(w) + "/2 = " + N(w / 2) + " mm");
  Derive("Imax", in.Imax, virtualI(w), "Imax = " + virtualText(w) + "（虚轴）");
  EndSection(virtualI(endW), "Imin = " + virtualText(endW) + "（端部，虚轴）");
  Derive("I1", in.I1, p.Iy, "I1 = Iy = " + N(p.Iy) + " mm⁴（" + s.designation + "）");
  Derive("a", in.a, w, "a = " + N(w) + " mm（缀件面外宽）");
  if (2 * p.Ix < in.Imax)
    out_.notes.push_back("实轴惯性矩 2×" + N(p.Ix) + " = " + N(2 * p.Ix) + " mm⁴ 小于虚轴的：实轴控制，校核只算虚轴");
  return Lattice(2, MeanSide(w, endW, c_.L, c_.Ld), 0);
}

bool Builder::FourLimb() {
  RodSectionInputs& in = out_.inputs;
  const Profile& p = chord_;
  const SteelSection& s = *p.s;
  if (s.family != SectionFamily::EqualAngle) return Fail("四肢格构杆的肢须为等边角钢");
  const double tight = 2 * s.h;
  const double w = c_.width, dp = c_.depth;
  const double endW = c_.endWidth > 0 ? c_.endWidth : w, endD = c_.endDepth > 0 ? c_.endDepth : dp;
  if (!(w >= tight && dp >= tight && endW >= tight && endD >= tight))
    return Fail("各边外宽须不小于两肢宽度之和 " + N(tight) + " mm");
  // About the axis parallel to a side, the limbs lie (other side)/2 − z0 off it.
  auto I = [&](double across) { return 4 * (p.Ix + p.A * std::pow(across / 2 - p.z0, 2)); };
  auto IText = [&](double across) {
    return "4×(" + N(p.Ix) + " + " + N(p.A) + "×(" + N(across) + "/2−" + N(p.z0) + ")²) = " + N(I(across)) + " mm⁴";
  };
  // X is the weak axis: the one across the smaller side.
  const bool acrossDepth = I(dp) <= I(w);
  const double side = acrossDepth ? dp : w, other = acrossDepth ? w : dp;
  const double endSide = acrossDepth ? endD : endW, endOther = acrossDepth ? endW : endD;
  Derive("A", in.A, 4 * p.A, "A = 4×" + N(p.A) + " = " + N(4 * p.A) + " mm²");
  Derive("h", in.h, side / 2, "h = " + N(side) + "/2 = " + N(side / 2) + " mm");
  Derive("Imax", in.Imax, I(side), "Imax = " + IText(side));
  EndSection(I(endSide), "Imin = " + IText(endSide) + "（端部）");
  Derive("I1", in.I1, p.least, "I1 = Iy0 = " + N(p.least) + " mm⁴（" + s.designation + "）");
  Derive("a", in.a, side, "a = " + N(side) + " mm（缀件面外宽）");
  return Lattice(4, MeanSide(side, endSide, c_.L, c_.Ld), MeanSide(other, endOther, c_.L, c_.Ld));
}

BuiltRodSection Builder::Run() {
  if (!TakeProfile(c_.profile, chord_, "型钢") || !CheckLength()) return out_;
  bool built = false;
  switch (form_) {
    case RodForm::SolidWeb: built = SolidWeb(); break;
    case RodForm::TwoLimbBattened:
    case RodForm::TwoLimbLaced: built = TwoLimb(); break;
    case RodForm::FourLimbBattened:
    case RodForm::FourLimbLaced: built = FourLimb(); break;
  }
  if (!built) {
    out_.inputs = {};
    out_.derivations.clear();
    out_.notes.clear();
  }
  return out_;
}

}  // namespace

BuiltRodSection Build(RodForm form, const RodSectionChoice& choice) { return Builder(form, choice).Run(); }

std::string DescribeSection(RodForm form, const RodSectionChoice& c) {
  const SteelSection* s = FindSection(c.profile);
  const std::string profile = s ? s->designation : c.profile;
  const auto sides = [](double w, double d) { return d > 0 ? N(w) + "×" + N(d) : N(w); };
  const bool variable = c.endWidth > 0 || c.endDepth > 0;
  std::string text;
  if (form == RodForm::SolidWeb) {
    if (c.pair == PairLayout::Single) return profile;
    text = "2" + profile + (c.pair == PairLayout::Box ? "，箱形" : "，背靠背");
    if (c.width > 0) text += "，外宽" + N(c.width);
    if (variable) text += "，端部外宽" + N(c.endWidth);
    return text;
  }
  const bool four = form == RodForm::FourLimbBattened || form == RodForm::FourLimbLaced;
  text = (four ? "4" : "2") + profile;
  if (four) {
    text += "，外廓" + sides(c.width, c.depth > 0 ? c.depth : c.width);
    if (variable) text += "，端部" + sides(c.endWidth > 0 ? c.endWidth : c.width, c.endDepth > 0 ? c.endDepth : c.depth);
  } else {
    text += "，外宽" + N(c.width);
    if (s && s->family == SectionFamily::Channel && c.flanges == ChannelFlanges::Outward) text += "，肢尖朝外";
    if (variable) text += "，端部外宽" + N(c.endWidth);
  }
  if (form == RodForm::TwoLimbLaced || form == RodForm::FourLimbLaced) {
    const SteelSection* bar = FindSection(c.lacing);
    text += "，缀条" + (bar ? bar->designation : c.lacing);
    text += c.lacingAngle > 0 ? "，倾角" + N(c.lacingAngle) + "°" : "，L1=" + N(c.spacing);
  } else {
    text += "，缀板-" + N(c.battenWidth) + "×" + N(c.battenThickness) + "，L1=" + N(c.spacing);
  }
  return text;
}

void ApplyTo(const RodSectionInputs& in, RodForm form, RodCheckData& d) {
  d.form = form;
  d.A = in.A, d.h = in.h, d.Imax = in.Imax, d.Imin = in.Imin, d.Ld = in.Ld, d.G = in.G;
  d.Az = in.Az, d.I1 = in.I1, d.Iz = in.Iz, d.delta = in.delta, d.L1 = in.L1, d.a = in.a;
}

}  // namespace tiecalc
