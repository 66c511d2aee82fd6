#include "core/sections/SectionGeometry.h"

#include <cmath>
#include <cstddef>

namespace tiecalc {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Appends the arc of radius r that rounds corner p between its neighbours.
void AppendRoundedCorner(std::vector<Point2>& out, const OutlineCorner& prev, const OutlineCorner& p,
                         const OutlineCorner& next, int chords) {
  double ux = prev.x - p.x, uy = prev.y - p.y;
  double vx = next.x - p.x, vy = next.y - p.y;
  const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
  ux /= lu, uy /= lu, vx /= lv, vy /= lv;
  const double cosTheta = std::fmax(-1.0, std::fmin(1.0, ux * vx + uy * vy));
  const double theta = std::acos(cosTheta);  // angle between the two edges
  const double tangent = p.radius / std::tan(theta / 2);
  double bx = ux + vx, by = uy + vy;
  const double lb = std::hypot(bx, by);
  bx /= lb, by /= lb;
  const double toCentre = p.radius / std::sin(theta / 2);
  const double cx = p.x + bx * toCentre, cy = p.y + by * toCentre;
  const double a1 = std::atan2(p.y + uy * tangent - cy, p.x + ux * tangent - cx);
  const double a2 = std::atan2(p.y + vy * tangent - cy, p.x + vx * tangent - cx);
  double sweep = a2 - a1;
  while (sweep > kPi) sweep -= 2 * kPi;
  while (sweep < -kPi) sweep += 2 * kPi;
  for (int k = 0; k <= chords; ++k) {
    const double a = a1 + sweep * k / chords;
    out.push_back({cx + p.radius * std::cos(a), cy + p.radius * std::sin(a)});
  }
}

// Signed sums of one polygon: area, first and second moments about the origin.
struct Sums {
  double A = 0, Sx = 0, Sy = 0, Ixx = 0, Iyy = 0, Ixy = 0;
};
Sums SumsOf(const std::vector<Point2>& poly) {
  Sums s;
  const std::size_t n = poly.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Point2& p = poly[i];
    const Point2& q = poly[(i + 1) % n];
    const double c = p.x * q.y - q.x * p.y;
    s.A += c / 2;
    s.Sx += (p.x + q.x) * c / 6;
    s.Sy += (p.y + q.y) * c / 6;
    s.Iyy += (p.x * p.x + p.x * q.x + q.x * q.x) * c / 12;
    s.Ixx += (p.y * p.y + p.y * q.y + q.y * q.y) * c / 12;
    s.Ixy += (p.x * q.y + 2 * p.x * p.y + 2 * q.x * q.y + q.x * p.y) * c / 24;
  }
  if (s.A < 0) s = {-s.A, -s.Sx, -s.Sy, -s.Ixx, -s.Iyy, -s.Ixy};
  return s;
}

std::vector<OutlineCorner> RoundedRectangle(double width, double depth, double radius) {
  const double x = width / 2, y = depth / 2;
  return {{-x, -y, radius}, {x, -y, radius}, {x, y, radius}, {-x, y, radius}};
}

}  // namespace

std::vector<Point2> TraceOutline(const std::vector<OutlineCorner>& corners, int chordsPerArc) {
  std::vector<Point2> out;
  const std::size_t n = corners.size();
  for (std::size_t i = 0; i < n; ++i) {
    const OutlineCorner& p = corners[i];
    if (p.radius <= 0) {
      out.push_back({p.x, p.y});
      continue;
    }
    AppendRoundedCorner(out, corners[(i + n - 1) % n], p, corners[(i + 1) % n], chordsPerArc);
  }
  return out;
}

AreaProperties PropertiesOf(const std::vector<Point2>& outer, const std::vector<std::vector<Point2>>& holes) {
  Sums s = SumsOf(outer);
  for (const auto& hole : holes) {
    const Sums h = SumsOf(hole);
    s.A -= h.A, s.Sx -= h.Sx, s.Sy -= h.Sy, s.Ixx -= h.Ixx, s.Iyy -= h.Iyy, s.Ixy -= h.Ixy;
  }
  AreaProperties p;
  p.A = s.A;
  p.cx = s.Sx / s.A;
  p.cy = s.Sy / s.A;
  p.Ixx = s.Ixx - s.A * p.cy * p.cy;
  p.Iyy = s.Iyy - s.A * p.cx * p.cx;
  p.Ixy = s.Ixy - s.A * p.cx * p.cy;
  const double mean = (p.Ixx + p.Iyy) / 2;
  const double radius = std::hypot((p.Ixx - p.Iyy) / 2, p.Ixy);
  p.Imajor = mean + radius;
  p.Iminor = mean - radius;
  // The minor axis turns from the vertical by φ with tan 2φ = 2·Ixy / (Ixx − Iyy).
  p.minorSlope = std::fabs(std::tan(0.5 * std::atan2(2 * p.Ixy, p.Ixx - p.Iyy)));
  return p;
}

SectionOutline OutlineOf(const SteelSection& s, int chords) {
  SectionOutline o;
  switch (s.family) {
    case SectionFamily::EqualAngle:
    case SectionFamily::UnequalAngle: {
      const double B = s.h, b = s.family == SectionFamily::EqualAngle ? s.h : s.b, d = s.d;
      o.outer = TraceOutline({{0, 0, 0}, {b, 0, 0}, {b, d, s.r1}, {d, d, s.r}, {d, B, s.r1}, {0, B, 0}}, chords);
      break;
    }
    case SectionFamily::Channel: {
      // The flange's inner face falls 1:10 towards the toe; t is its thickness
      // halfway between the web's face and the toe.
      const double y = s.h / 2, fall = (s.b - s.d) / 20;
      o.outer = TraceOutline({{0, -y, 0},
                              {s.b, -y, 0},
                              {s.b, -y + s.t - fall, s.r1},
                              {s.d, -y + s.t + fall, s.r},
                              {s.d, y - s.t - fall, s.r},
                              {s.b, y - s.t + fall, s.r1},
                              {s.b, y, 0},
                              {0, y, 0}},
                             chords);
      break;
    }
    case SectionFamily::IBeam: {
      // Slope 1:6; t is the thickness halfway along each half flange's outstand.
      const double x = s.b / 2, y = s.h / 2, w = s.d / 2, fall = (s.b - s.d) / 24;
      o.outer = TraceOutline({{-x, -y, 0},
                              {x, -y, 0},
                              {x, -y + s.t - fall, s.r1},
                              {w, -y + s.t + fall, s.r},
                              {w, y - s.t - fall, s.r},
                              {x, y - s.t + fall, s.r1},
                              {x, y, 0},
                              {-x, y, 0},
                              {-x, y - s.t + fall, s.r1},
                              {-w, y - s.t - fall, s.r},
                              {-w, -y + s.t + fall, s.r},
                              {-x, -y + s.t - fall, s.r1}},
                             chords);
      break;
    }
    case SectionFamily::RoundTube: {
      const int n = 4 * chords;
      for (const double radius : {s.h / 2, s.h / 2 - s.d}) {
        std::vector<Point2> circle;
        for (int k = 0; k < n; ++k)
          circle.push_back({radius * std::cos(2 * kPi * k / n), radius * std::sin(2 * kPi * k / n)});
        if (o.outer.empty())
          o.outer = std::move(circle);
        else
          o.holes.push_back(std::move(circle));
      }
      break;
    }
    case SectionFamily::HollowSection:
      o.outer = TraceOutline(RoundedRectangle(s.b, s.h, s.r), chords);
      o.holes.push_back(TraceOutline(RoundedRectangle(s.b - 2 * s.d, s.h - 2 * s.d, s.r1), chords));
      break;
  }
  return o;
}

}  // namespace tiecalc
