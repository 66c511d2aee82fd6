#pragma once
// The outline of a rolled or hollow section as a polygon with its rounded
// corners traced in short chords, and the area properties of such outlines.
// The library computes hollow sections from it; the tables of the rolled
// sections are checked against it.

#include <vector>

#include "core/sections/SteelSection.h"

namespace tiecalc {

struct Point2 {
  double x = 0;
  double y = 0;
};

// A corner of an outline and the radius that rounds it (0: sharp). The radius
// may round a convex corner (a toe) or a re-entrant one (a root).
struct OutlineCorner {
  double x = 0;
  double y = 0;
  double radius = 0;
};

// The corners traced: every rounded corner becomes an arc tangent to both of
// its edges, in chordsPerArc chords.
std::vector<Point2> TraceOutline(const std::vector<OutlineCorner>& corners, int chordsPerArc = 64);

// Area properties about the centroid of a region: the outer polygon less the
// holes (every polygon in either turning sense). Units as the points'.
struct AreaProperties {
  double A = 0;
  double cx = 0, cy = 0;        // centroid
  double Ixx = 0, Iyy = 0;      // about the horizontal and the vertical axis
  double Ixy = 0;               // product of area
  double Imajor = 0, Iminor = 0;  // principal
  double minorSlope = 0;        // |tan| of the angle between the minor axis and the vertical
};
AreaProperties PropertiesOf(const std::vector<Point2>& outer, const std::vector<std::vector<Point2>>& holes = {});

// The outline of a section in mm: angles with the heel at the origin, the long
// leg up the y axis and the short one along x; channels with the back of the
// web on the y axis; I-beams, tubes and hollow sections centred on the origin.
// Rolled sections follow their dimensions with the flange slopes 1:10
// (channels) and 1:6 (I-beams). Tubes and hollow sections have one hole.
struct SectionOutline {
  std::vector<Point2> outer;
  std::vector<std::vector<Point2>> holes;
};
SectionOutline OutlineOf(const SteelSection& section, int chordsPerArc = 64);

}  // namespace tiecalc
