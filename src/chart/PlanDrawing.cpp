// The plan's layout: the layout's points from the record's dimensions and
// rod angles, the standard scale that fits the picture, then the frame, the
// rods, the wall, the dimensions and the texts, each text moved off what is
// drawn before it.

#include "chart/PlanDrawing.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>

#include "chart/ChartDrawing.h"
#include "core/analysis/Angles.h"
#include "core/input/Format.h"

namespace tiecalc {

namespace {

// ---- the layout in millimetres ----
// The frame of the force calculations: origin at the mast centre, x along the
// wall towards rods 1 and 2, y towards the wall.

struct PlanRod {
  ChartPoint frame, wall;
  int side = 1;  // +1: on the side of rods 1 and 2 (x > 0), -1: the other side
};

enum class DimSide { Top, Bottom, Left, Right };

// A dimension between two points, along x (Top, Bottom) or y (Left, Right).
// Tier 1 lies nearest the drawing; a dimension overlapping one already in
// its tier moves out.
struct PlanDimension {
  ChartPoint a, b;
  DimSide side = DimSide::Bottom;
  int tier = 1;
};

struct PlanLayout {
  std::vector<ChartPoint> frame;  // its outline, corner after corner
  std::vector<PlanRod> rods;
  double wall1 = 0.0, wall2 = 0.0;  // the wall's y on either side
  std::vector<PlanDimension> dims;
};

// Rod from its frame point at its angle to the wall (degrees, measured on the
// side of sign) until it meets the wall y = wallY: as the force calculation
// draws it, through the model's radians, so its length is run / sin(angle).
PlanRod RodTo(ChartPoint frame, double angle, int side, double wallY) {
  const double run = wallY - frame.y;
  return {frame, {frame.x + side * run * std::cos(Rad(angle)) / std::sin(Rad(angle)), wallY}, side};
}

double Cross(ChartPoint o, ChartPoint a, ChartPoint b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// The convex hull, corner after corner.
std::vector<ChartPoint> Hull(std::vector<ChartPoint> points) {
  std::sort(points.begin(), points.end(),
            [](ChartPoint a, ChartPoint b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  std::vector<ChartPoint> hull(2 * points.size());
  size_t k = 0;
  for (size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k > 1 ? k - 1 : k);
  return hull;
}

// The layout of a valid record; nothing when the record's inputs cannot be
// calculated, a dimension of its layout is missing or not finite, or a rod
// does not reach its wall.
std::optional<PlanLayout> LayoutOf(const ForcePageRecord& record) {
  if (!record.valid) return std::nullopt;
  std::map<std::string, double> in;
  for (const LabelledValue& p : record.parameters) in[p.label] = p.value;
  bool complete = true;
  const auto get = [&](const char* name) {
    const auto it = in.find(name);
    if (it == in.end() || !std::isfinite(it->second)) return complete = false, 0.0;
    return it->second;
  };
  const size_t rods = record.layout == ForceLayout::ThreeRod ? 3 : 4;
  if (record.rods.size() != rods) return std::nullopt;
  const auto angle = [&](size_t i) { return record.rods[i].angle; };

  PlanLayout l;
  const double X1 = get("X1"), X2 = get("X2"), X3 = get("X3");
  const double A = get("A"), B = get("B"), C = get("C"), D = get("D");
  if (record.layout == ForceLayout::ThreeRod) {
    const double H = get("H");
    l.wall1 = l.wall2 = H;
    l.rods = {RodTo({A, B}, angle(0), 1, H), RodTo({C - D, B}, angle(1), 1, H), RodTo({-D, B}, angle(2), -1, H)};
    l.frame = Hull({{A, -B}, {A, B}, {-D, B}, {-D, -B}});
    l.dims = {{{0, H}, {X1, H}, DimSide::Bottom},      {{0, H}, {-X2, H}, DimSide::Bottom},
              {{X1 - X3, H}, {X1, H}, DimSide::Bottom}, {{0, -B}, {A, -B}, DimSide::Top},
              {{0, -B}, {-D, -B}, DimSide::Top},        {{-D, B}, {C - D, B}, DimSide::Top, 2},
              {{X1, 0}, {X1, H}, DimSide::Left}};
  } else {
    const double E = get("E"), F = get("F"), X4 = get("X4"), Y1 = get("Y1"), Y2 = get("Y2");
    l.wall1 = Y1;
    l.wall2 = Y2;
    std::array<ChartPoint, 4> t;
    if (record.layout == ForceLayout::FourRodParallel) {
      t = {{{A, -B}, {D, C}, {-E, C}, {-F, -B}}};
      l.frame = Hull({t.begin(), t.end()});
    } else {
      const double G = get("G"), H = get("H");
      t = {{{A, -C}, {E, D}, {F, H}, {-B, G}}};
      // The frame turned to the wall: rods 1, 3 and 4 at three of its
      // corners, the fourth opposite rod 3's.
      l.frame = Hull({t[0], t[1], t[2], t[3], {t[0].x + t[3].x - t[2].x, t[0].y + t[3].y - t[2].y}});
    }
    l.rods = {RodTo(t[0], angle(0), 1, Y1), RodTo(t[1], angle(1), 1, Y1), RodTo(t[2], angle(2), -1, Y2),
              RodTo(t[3], angle(3), -1, Y2)};
    l.dims = {{{0, Y1}, {X1, Y1}, DimSide::Bottom},
              {{0, Y2}, {-X2, Y2}, DimSide::Bottom},
              {{X1 - X3, Y1}, {X1, Y1}, DimSide::Bottom, 2},
              {{-X2, Y2}, {X4 - X2, Y2}, DimSide::Bottom, 2},
              {{0, t[0].y}, {t[0].x, t[0].y}, DimSide::Top},
              {{0, t[3].y}, {t[3].x, t[3].y}, DimSide::Top},
              {{0, t[1].y}, {t[1].x, t[1].y}, DimSide::Top, 2},
              {{0, t[2].y}, {t[2].x, t[2].y}, DimSide::Top, 2},
              {{X1, 0}, {X1, Y1}, DimSide::Left},
              {{-X2, 0}, {-X2, Y2}, DimSide::Right}};
  }
  if (!complete) return std::nullopt;
  for (const PlanRod& r : l.rods)
    if (!(r.wall.y > r.frame.y) || !std::isfinite(r.wall.x)) return std::nullopt;
  return l;
}

// ---- the picture ----

constexpr ChartColour kInk{0, 0, 0};
constexpr ChartColour kDimInk{0x30, 0x30, 0x30};
constexpr ChartColour kCentreInk{0x70, 0x70, 0x70};

// Sizes on paper (mm).
constexpr double kTextSize = 2.8;      // labels, notes
constexpr double kDimTextSize = 2.5;   // dimension values
constexpr double kOuter = 2.0;         // the picture's margin
constexpr double kFirstTier = 6.5;     // from the drawing to the first dimension line
constexpr double kTierStep = 5.0;      // between dimension lines
constexpr double kWallRun = 7.0;       // the wall beyond its outermost anchors
constexpr double kHatch = 1.8;         // depth of the wall's hatching
constexpr double kLabelGap = 1.2;      // from a rod to its label

struct Segment {
  ChartPoint a, b;
  int weight = 3;  // how much a text on it is in the way
};

// Whether the segment passes through the box (Liang-Barsky clipping).
bool Hits(const Segment& s, const ChartBox& box) {
  double t0 = 0.0, t1 = 1.0;
  const double dx = s.b.x - s.a.x, dy = s.b.y - s.a.y;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {s.a.x - box.left, box.right - s.a.x, s.a.y - box.top, box.bottom - s.a.y};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0) return false;
    } else {
      const double t = q[i] / p[i];
      if (p[i] < 0) t0 = std::max(t0, t);
      else t1 = std::min(t1, t);
    }
  }
  return t0 <= t1;
}

// The standard scales 1:N of drawings, smallest first.
std::vector<double> StandardScales() {
  std::vector<double> scales;
  for (double p = 1.0; p <= 1e9; p *= 10)
    for (double m : {1.0, 2.0, 2.5, 5.0})
      if (std::fmod(m * p, 1.0) == 0.0) scales.push_back(m * p);
  return scales;
}

// Puts the plan's items into its scene, sized in paper millimetres, and
// keeps the texts off each other and off the lines given as obstacles.
class PlanPainter {
 public:
  PlanPainter(ChartScene& scene, double mm, ChartTextWidth textWidth)
      : m_scene(scene), m_mm(mm), m_textWidth(textWidth) {}

  double Mm(double paper) const { return paper * m_mm; }
  double Width(const std::string& text, double size) const { return m_textWidth(text, size); }

  void Line(ChartPoint a, ChartPoint b, double width, ChartColour colour = kInk, std::vector<double> dash = {}) {
    for (double& d : dash) d = Mm(d);
    m_scene.items.push_back(SceneLine{a, b, {colour, Mm(width), std::move(dash)}});
  }
  // A line texts keep off; a centre line (soft) only where there is no
  // better place.
  void Obstacle(ChartPoint a, ChartPoint b, bool soft = false) { m_segments.push_back({a, b, soft ? 1 : 3}); }

  // A text's box for its baseline point and anchor; vertical texts run up.
  ChartBox TextBox(ChartPoint at, const std::string& text, double size, TextAnchor anchor, bool vertical = false) const {
    const double w = Width(text, size), shift = AnchorShift(anchor, w);
    if (vertical) return {at.x - 0.85 * size, at.y - w + shift, at.x + 0.25 * size, at.y + shift};
    return {at.x - shift, at.y - 0.85 * size, at.x - shift + w, at.y + 0.25 * size};
  }
  void Text(ChartPoint at, const std::string& text, double size, TextAnchor anchor, bool vertical = false) {
    m_boxes.push_back(TextBox(at, text, size, anchor, vertical));
    m_scene.items.push_back(SceneText{at, text, size, kInk, anchor, vertical});
  }

  // How much a box is in the way: outside the picture, or on each text and
  // each obstacle placed so far; 0 when it is free.
  int Clashes(const ChartBox& text) const {
    const double margin = Mm(kOuter) / 2, pad = Mm(0.5);
    const ChartBox box{text.left - pad, text.top - pad, text.right + pad, text.bottom + pad};
    int clashes = 0;
    if (box.left < margin || box.top < margin || box.right > m_scene.width - margin ||
        box.bottom > m_scene.height - margin)
      clashes += 100;
    for (const ChartBox& b : m_boxes) clashes += b.Overlaps(box) ? 4 : 0;
    for (const Segment& s : m_segments) clashes += Hits(s, box) ? s.weight : 0;
    return clashes;
  }

  // Lines of text centred in the box, of those centred at candidates, that
  // is least in the way with the candidate's own penalty added (none: 0):
  // the first free one. Returns the candidate taken and the box.
  std::pair<size_t, ChartBox> TextBlock(const std::vector<ChartPoint>& candidates, const std::vector<std::string>& lines,
                                   double size, const std::vector<int>& penalties = {}) {
    double w = 0.0;
    for (const std::string& line : lines) w = std::max(w, Width(line, size));
    const double lineStep = size * 1.15, h = lineStep * static_cast<double>(lines.size());
    ChartPoint centre = candidates.front();
    size_t taken = 0;
    int least = std::numeric_limits<int>::max();
    for (size_t i = 0; i < candidates.size() && least > 0; ++i) {
      const ChartPoint& c = candidates[i];
      const int clashes = Clashes({c.x - w / 2, c.y - h / 2, c.x + w / 2, c.y + h / 2}) +
                          (i < penalties.size() ? penalties[i] : 0);
      if (clashes < least) least = clashes, centre = c, taken = i;
    }
    centre.x = std::clamp(centre.x, w / 2 + Mm(kOuter), m_scene.width - w / 2 - Mm(kOuter));
    centre.y = std::clamp(centre.y, h / 2 + Mm(kOuter), m_scene.height - h / 2 - Mm(kOuter));
    for (size_t i = 0; i < lines.size(); ++i)
      Text({centre.x, centre.y - h / 2 + lineStep * static_cast<double>(i) + size * 0.85}, lines[i], size,
           TextAnchor::Middle);
    return {taken, {centre.x - w / 2, centre.y - h / 2, centre.x + w / 2, centre.y + h / 2}};
  }

 private:
  ChartScene& m_scene;
  double m_mm;  // chart units per paper millimetre
  ChartTextWidth m_textWidth;
  std::vector<ChartBox> m_boxes;
  std::vector<Segment> m_segments;
};

// The lowest tier at or above each dimension's own where it overlaps no
// other along its side.
void SpreadTiers(std::vector<PlanDimension>& dims) {
  const auto along = [](const PlanDimension& d, int end) {
    const bool x = d.side == DimSide::Top || d.side == DimSide::Bottom;
    const double u = x ? d.a.x : d.a.y, v = x ? d.b.x : d.b.y;
    return end == 0 ? std::min(u, v) : std::max(u, v);
  };
  for (size_t i = 0; i < dims.size(); ++i)
    for (bool moved = true; moved;) {
      moved = false;
      for (size_t j = 0; j < i; ++j)
        if (dims[j].side == dims[i].side && dims[j].tier == dims[i].tier &&
            along(dims[j], 0) < along(dims[i], 1) - 1e-9 &&
            along(dims[i], 0) < along(dims[j], 1) - 1e-9) {
          ++dims[i].tier;
          moved = true;
        }
    }
}

int Tiers(const std::vector<PlanDimension>& dims, DimSide side) {
  int n = 0;
  for (const PlanDimension& d : dims)
    if (d.side == side) n = std::max(n, d.tier);
  return n;
}

double TierDistance(int tier) { return kFirstTier + (tier - 1) * kTierStep; }

}  // namespace

ChartScene LayOutPlanDrawing(const ForcePageRecord& record, double width, double height, double printedWidth,
                             ChartTextWidth textWidth) {
  ChartScene scene;
  scene.width = width;
  scene.height = height;
  const double mm = printedWidth > 0 && std::isfinite(printedWidth) ? width / printedWidth : 0.0;
  PlanPainter paint(scene, mm, textWidth);
  const auto note = [&](const char* text) {
    scene.items.push_back(
        SceneText{{width / 2, height / 2}, text, paint.Mm(kTextSize), kInk, TextAnchor::Middle});
    return scene;
  };
  std::optional<PlanLayout> layout = LayoutOf(record);
  if (!layout || !(mm > 0) || !std::isfinite(height)) return note(kPlanNoLayoutNote);
  std::vector<PlanDimension>& dims = layout->dims;
  dims.erase(std::remove_if(dims.begin(), dims.end(),
                            [](const PlanDimension& d) { return std::hypot(d.b.x - d.a.x, d.b.y - d.a.y) < 0.5; }),
             dims.end());
  SpreadTiers(dims);

  // The extent of the frame and the rods, in millimetres.
  double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
  const auto extend = [&](ChartPoint p) {
    xMin = std::min(xMin, p.x), xMax = std::max(xMax, p.x), yMin = std::min(yMin, p.y), yMax = std::max(yMax, p.y);
  };
  for (const ChartPoint& p : layout->frame) extend(p);
  for (const PlanRod& r : layout->rods) extend(r.frame), extend(r.wall);

  // Room around it for the dimensions, the wall's run and the scale line;
  // the smallest standard scale whose drawing fits the rest.
  const auto side = [&](DimSide s) { const int n = Tiers(dims, s); return n ? TierDistance(n) : 0.0; };
  const double top = paint.Mm(kOuter + kTextSize + 2 + side(DimSide::Top) + kDimTextSize + 1);
  const double bottom = paint.Mm(std::max(side(DimSide::Bottom), kHatch) + kOuter + 1);
  const double left = paint.Mm(kOuter + kDimTextSize + 1 + side(DimSide::Left) + kWallRun);
  const double right = paint.Mm(kOuter + 1 + side(DimSide::Right) + kWallRun);
  const double roomW = width - left - right, roomH = height - top - bottom;
  double scale = 0.0;
  for (double n : StandardScales())
    if ((xMax - xMin) * mm / n <= roomW && (yMax - yMin) * mm / n <= roomH) {
      scale = n;
      break;
    }
  if (scale == 0.0 || roomW <= 0 || roomH <= 0) return note(kPlanTooSmallNote);
  const double k = mm / scale;  // chart units per millimetre of the layout
  const double ox = left + roomW / 2 + k * (xMin + xMax) / 2, oy = top + roomH / 2 - k * (yMin + yMax) / 2;
  const auto at = [&](ChartPoint p) { return ChartPoint{ox - k * p.x, oy + k * p.y}; };
  const double drawLeft = ox - k * xMax - paint.Mm(kWallRun), drawRight = ox - k * xMin + paint.Mm(kWallRun);
  const double drawTop = oy + k * yMin, drawBottom = oy + k * yMax;

  // The dimension lines' places, for the centre lines to reach them.
  const auto lineAt = [&](const PlanDimension& d) {
    const double off = paint.Mm(TierDistance(d.tier));
    switch (d.side) {
      case DimSide::Top: return drawTop - off;
      case DimSide::Bottom: return drawBottom + off;
      case DimSide::Left: return drawLeft - off;
      case DimSide::Right: return drawRight + off;
    }
    return 0.0;
  };
  double centreTop = drawTop - paint.Mm(3), centreBottom = drawBottom + paint.Mm(3);
  double refLeft = drawLeft, refRight = drawRight;
  for (const PlanDimension& d : dims) {
    const double p = lineAt(d);
    if (d.side == DimSide::Top && d.tier == 1) centreTop = std::min(centreTop, p - paint.Mm(1.5));
    if (d.side == DimSide::Bottom && d.tier == 1) centreBottom = std::max(centreBottom, p + paint.Mm(1.5));
    if (d.side == DimSide::Left) refLeft = std::min(refLeft, p - paint.Mm(1.5));
    if (d.side == DimSide::Right) refRight = std::max(refRight, p + paint.Mm(1.5));
  }

  // The centre lines of the mast.
  const std::vector<double> dashDot = {6, 1.2, 0.8, 1.2};
  const ChartPoint centre = at({0, 0});
  paint.Line({centre.x, centreTop}, {centre.x, centreBottom}, 0.18, kCentreInk, dashDot);
  paint.Line({refLeft, centre.y}, {refRight, centre.y}, 0.18, kCentreInk, dashDot);
  paint.Obstacle({centre.x, centreTop}, {centre.x, centreBottom}, true);
  paint.Obstacle({refLeft, centre.y}, {refRight, centre.y}, true);

  // The wall: one line, or one on either side with a step between where the
  // two sides' walls lie apart; hatched on the building's side.
  // The inner and the outer anchor's x on either side.
  double in1 = 1e300, out1 = -1e300, in2 = -1e300, out2 = 1e300;
  for (const PlanRod& r : layout->rods) {
    if (r.side > 0) in1 = std::min(in1, r.wall.x), out1 = std::max(out1, r.wall.x);
    else in2 = std::max(in2, r.wall.x), out2 = std::min(out2, r.wall.x);
  }
  std::vector<Segment> walls;  // screen, each with the building below it or beside it
  std::vector<ChartPoint> buildingSide;
  const double run = paint.Mm(kWallRun);
  const double w1 = layout->wall1, w2 = layout->wall2;
  const double leftEnd = at({out1, w1}).x - run, rightEnd = at({out2, w2}).x + run;
  if (std::fabs(w1 - w2) < 0.5) {
    walls.push_back({{leftEnd, at({0, w1}).y}, {rightEnd, at({0, w1}).y}});
    buildingSide.push_back({0, 1});
  } else if (in1 > in2) {
    const double step = at({(in1 + in2) / 2, 0}).x;
    walls.push_back({{leftEnd, at({0, w1}).y}, {step, at({0, w1}).y}});
    walls.push_back({{step, at({0, w2}).y}, {rightEnd, at({0, w2}).y}});
    walls.push_back({{step, at({0, std::min(w1, w2)}).y}, {step, at({0, std::max(w1, w2)}).y}});
    buildingSide.insert(buildingSide.end(), {{0, 1}, {0, 1}, {w1 < w2 ? -1.0 : 1.0, 0}});
  } else {
    walls.push_back({{leftEnd, at({0, w1}).y}, {at({in1, w1}).x + run, at({0, w1}).y}});
    walls.push_back({{at({in2, w2}).x - run, at({0, w2}).y}, {rightEnd, at({0, w2}).y}});
    buildingSide.insert(buildingSide.end(), {{0, 1}, {0, 1}});
  }
  for (size_t i = 0; i < walls.size(); ++i) {
    const Segment& s = walls[i];
    const ChartPoint n = buildingSide[i];
    const double len = std::hypot(s.b.x - s.a.x, s.b.y - s.a.y);
    const ChartPoint t{(s.b.x - s.a.x) / len, (s.b.y - s.a.y) / len};
    const double depth = paint.Mm(kHatch), pitch = paint.Mm(1.6);
    for (double d = pitch / 2; d < len; d += pitch) {
      const ChartPoint p{s.a.x + t.x * d, s.a.y + t.y * d};
      paint.Line(p, {p.x + (n.x - t.x) * depth, p.y + (n.y - t.y) * depth}, 0.13);
    }
    paint.Line(s.a, s.b, 0.6);
    paint.Obstacle(s.a, s.b);
  }

  // The frame and the rods, with marks at their ends.
  ScenePath frame{"frame", "塔身", {{}}, {kInk, paint.Mm(0.5), {}}};
  for (const ChartPoint& p : layout->frame) frame.runs[0].push_back(at(p));
  if (!frame.runs[0].empty()) frame.runs[0].push_back(frame.runs[0].front());
  for (size_t i = 0; i + 1 < frame.runs[0].size(); ++i) paint.Obstacle(frame.runs[0][i], frame.runs[0][i + 1]);
  scene.items.push_back(std::move(frame));
  for (size_t i = 0; i < layout->rods.size(); ++i) {
    const ChartPoint a = at(layout->rods[i].frame), b = at(layout->rods[i].wall);
    scene.items.push_back(ScenePath{"rod" + std::to_string(i + 1), RodLabel(static_cast<int>(i)), {{a, b}},
                                    {kInk, paint.Mm(0.45), {}}});
    paint.Obstacle(a, b);
  }
  for (const PlanRod& r : layout->rods)
    for (const ChartPoint& p : {r.frame, r.wall})
      scene.items.push_back(SceneMark{at(p), MarkShape::Circle, paint.Mm(0.55), kInk});

  // The dimensions: extension lines from the points measured (none from a
  // point on a centre line, which is one), the dimension line with oblique
  // ticks, its value above it or, where it does not fit, beyond its end.
  const double tick = paint.Mm(1.0), dimText = paint.Mm(kDimTextSize);
  for (const PlanDimension& d : dims) {
    const bool alongX = d.side == DimSide::Top || d.side == DimSide::Bottom;
    const double line = lineAt(d);
    const ChartPoint a = at(d.a), b = at(d.b);
    const auto onLine = [&](ChartPoint p) { return alongX ? ChartPoint{p.x, line} : ChartPoint{line, p.y}; };
    for (const auto& [model, p] : {std::pair{d.a, a}, std::pair{d.b, b}}) {
      if ((alongX ? model.x : model.y) == 0.0) continue;
      const ChartPoint q = onLine(p);
      const double len = std::hypot(q.x - p.x, q.y - p.y);
      if (len < 1e-9) continue;
      const ChartPoint u{(q.x - p.x) / len, (q.y - p.y) / len};
      const double gap = paint.Mm(0.8), over = paint.Mm(1.2);
      paint.Line({p.x + u.x * gap, p.y + u.y * gap}, {q.x + u.x * over, q.y + u.y * over}, 0.13, kDimInk);
      paint.Obstacle(p, q);
    }
    const ChartPoint pa = onLine(a), pb = onLine(b);
    paint.Line(pa, pb, 0.18, kDimInk);
    paint.Obstacle(pa, pb);
    for (const ChartPoint& p : {pa, pb})
      paint.Line({p.x - tick, p.y + tick}, {p.x + tick, p.y - tick}, 0.35, kDimInk);
    const std::string text = FormatInput(alongX ? std::fabs(d.b.x - d.a.x) : std::fabs(d.b.y - d.a.y));
    const double w = paint.Width(text, dimText);
    if (alongX) {
      const double lo = std::min(pa.x, pb.x), hi = std::max(pa.x, pb.x);
      const double baseline = line - paint.Mm(0.8);
      if (w + 2 * tick <= hi - lo) paint.Text({(lo + hi) / 2, baseline}, text, dimText, TextAnchor::Middle);
      else if ((lo + hi) / 2 < centre.x) paint.Text({lo - tick, baseline}, text, dimText, TextAnchor::End);
      else paint.Text({hi + tick, baseline}, text, dimText, TextAnchor::Start);
    } else {
      const double lo = std::min(pa.y, pb.y), hi = std::max(pa.y, pb.y);
      const double x = line - paint.Mm(0.8);
      if (w + 2 * tick <= hi - lo) paint.Text({x, (lo + hi) / 2}, text, dimText, TextAnchor::Middle, true);
      else paint.Text({x, lo - tick}, text, dimText, TextAnchor::Start, true);
    }
  }

  // The scale and the unit, at the top.
  const double textSize = paint.Mm(kTextSize);
  paint.Text({paint.Mm(kOuter), paint.Mm(kOuter) + textSize}, "比例 1:" + FormatFixed(scale, 0), textSize,
             TextAnchor::Start);
  paint.Text({width - paint.Mm(kOuter), paint.Mm(kOuter) + textSize}, "尺寸单位: mm", textSize, TextAnchor::End);

  // 塔身 inside the frame, about its middle, where there is room; else
  // beside it.
  ChartPoint middle{0, 0};
  double frameLeft = 1e300, frameRight = -1e300;
  for (const ChartPoint& p : layout->frame) {
    const ChartPoint q = at(p);
    const double share = 1.0 / static_cast<double>(layout->frame.size());
    middle = {middle.x + q.x * share, middle.y + q.y * share};
    frameLeft = std::min(frameLeft, q.x), frameRight = std::max(frameRight, q.x);
  }
  std::vector<ChartPoint> spots;
  for (double dx = -8; dx <= 8; dx += 1)
    for (double dy = -2; dy <= 2; dy += 0.5) spots.push_back({middle.x + paint.Mm(dx), middle.y + dy * textSize});
  std::stable_sort(spots.begin(), spots.end(), [&](ChartPoint a, ChartPoint b) {
    return std::hypot(a.x - middle.x, a.y - middle.y) < std::hypot(b.x - middle.x, b.y - middle.y);
  });
  spots.push_back({frameLeft - paint.Mm(5), middle.y});
  spots.push_back({frameRight + paint.Mm(5), middle.y});
  paint.TextBlock(spots, {"塔身"}, textSize);

  // Each rod's label and length beside it, off the centre line's side first,
  // along the rod from its middle outwards.
  for (size_t i = 0; i < layout->rods.size(); ++i) {
    const PlanRod& r = layout->rods[i];
    const ChartPoint a = at(r.frame), b = at(r.wall);
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    ChartPoint n{-(b.y - a.y) / len, (b.x - a.x) / len};
    if ((n.x < 0) != (r.side > 0)) n = {-n.x, -n.y};  // outwards: rods 1 and 2 lie to the left
    const std::string name = RodLabel(static_cast<int>(i));
    const std::string length = "L" + std::to_string(i + 1) + "=" + FormatFixed(record.rods[i].length, 0);
    const double w = std::max(paint.Width(name, textSize), paint.Width(length, textSize)), h = textSize * 2.3;
    const double off = std::fabs(n.x) * w / 2 + std::fabs(n.y) * h / 2 + paint.Mm(kLabelGap);
    std::vector<ChartPoint> candidates, onRod;
    std::vector<int> penalties;
    const double steps[] = {0.5, 0.4, 0.6, 0.3, 0.7, 0.2, 0.8};
    for (const auto& [away, penalty] : {std::pair{1.0, 0}, {2.0, 2}, {3.5, 4}})
      for (double sense : {1.0, -1.0})
        for (double t : steps) {
          onRod.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
          const double d = sense * off * away;
          candidates.push_back({onRod.back().x + n.x * d, onRod.back().y + n.y * d});
          penalties.push_back(penalty);
        }
    // A label off its rod's side is tied to it by a leader.
    const auto [taken, box] = paint.TextBlock(candidates, {name, length}, textSize, penalties);
    if (taken >= 2 * std::size(steps)) {
      const ChartPoint from = onRod[taken];
      const ChartPoint to{std::clamp(from.x, box.left, box.right), std::clamp(from.y, box.top, box.bottom)};
      paint.Line(from, to, 0.13);
    }
  }

  // 墙面 above the wall, nearest the centre line where there is room.
  std::vector<ChartPoint> along;
  for (double d = paint.Mm(5); d < width; d += paint.Mm(3))
    for (const Segment& s : walls)
      if (s.a.y == s.b.y)
        for (double x : {centre.x + d, centre.x - d})
          if (x > s.a.x + paint.Mm(3) && x < s.b.x - paint.Mm(3)) along.push_back({x, s.a.y - textSize * 0.8});
  if (along.empty()) along.push_back({walls.front().a.x, walls.front().a.y - textSize * 0.8});
  paint.TextBlock(along, {"墙面"}, textSize);
  return scene;
}

}  // namespace tiecalc
