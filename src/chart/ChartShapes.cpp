#include "chart/ForceChart.h"

// What the drawing and the SVG writer share, with no drawing library.

namespace tiecalc {

std::string RodLabel(int rod) { return "杆" + std::to_string(rod + 1); }

std::vector<ChartPoint> MarkOutline(const SceneMark& m) {
  const double s = m.size, x = m.at.x, y = m.at.y;
  switch (m.shape) {
    case MarkShape::Square: return {{x - s, y - s}, {x + s, y - s}, {x + s, y + s}, {x - s, y + s}};
    case MarkShape::Triangle: return {{x, y - s * 1.2}, {x + s * 1.1, y + s * 0.8}, {x - s * 1.1, y + s * 0.8}};
    case MarkShape::Diamond: return {{x, y - s * 1.25}, {x + s * 1.25, y}, {x, y + s * 1.25}, {x - s * 1.25, y}};
    case MarkShape::Circle: break;
  }
  return {};
}

}  // namespace tiecalc
