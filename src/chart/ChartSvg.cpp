// The chart scene as SVG: lines, one <path> per curve (id "rodN", the rod's
// label as its <title>), marks as polygons or circles, texts as <text> with
// the font families the bitmaps use.

#include <pugixml.hpp>

#include <sstream>

#include "chart/ForceChart.h"
#include "core/input/Format.h"

namespace tiecalc {

namespace {

std::string Num(double v) { return FormatFixed(v, 2); }

std::string Colour(ChartColour c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
  return text;
}

void SetStroke(pugi::xml_node node, const ChartStroke& s) {
  node.append_attribute("fill") = "none";
  node.append_attribute("stroke") = Colour(s.colour).c_str();
  node.append_attribute("stroke-width") = Num(s.width).c_str();
  node.append_attribute("stroke-linejoin") = "round";
  if (!s.dash.empty()) {
    std::string dash;
    for (double d : s.dash) dash += (dash.empty() ? "" : ",") + Num(d);
    node.append_attribute("stroke-dasharray") = dash.c_str();
  }
}

struct Writer {
  mutable pugi::xml_node root;

  void operator()(const SceneLine& l) const {
    pugi::xml_node n = root.append_child("line");
    n.append_attribute("x1") = Num(l.from.x).c_str();
    n.append_attribute("y1") = Num(l.from.y).c_str();
    n.append_attribute("x2") = Num(l.to.x).c_str();
    n.append_attribute("y2") = Num(l.to.y).c_str();
    SetStroke(n, l.stroke);
  }
  void operator()(const ScenePath& p) const {
    pugi::xml_node n = root.append_child("path");
    n.append_attribute("id") = p.id.c_str();
    std::string d;
    for (const auto& run : p.runs)
      for (size_t k = 0; k < run.size(); ++k) d += (k == 0 ? (d.empty() ? "M" : " M") : " L") + Num(run[k].x) + "," + Num(run[k].y);
    n.append_attribute("d") = d.c_str();
    SetStroke(n, p.stroke);
    n.append_child("title").text().set(p.title.c_str());
  }
  void operator()(const SceneMark& m) const {
    pugi::xml_node n;
    if (m.shape == MarkShape::Circle) {
      n = root.append_child("circle");
      n.append_attribute("cx") = Num(m.at.x).c_str();
      n.append_attribute("cy") = Num(m.at.y).c_str();
      n.append_attribute("r") = Num(m.size).c_str();
    } else {
      std::string points;
      for (const ChartPoint& p : MarkOutline(m)) points += (points.empty() ? "" : " ") + Num(p.x) + "," + Num(p.y);
      n = root.append_child("polygon");
      n.append_attribute("points") = points.c_str();
    }
    n.append_attribute("fill") = Colour(m.colour).c_str();
    n.append_attribute("stroke") = "#ffffff";
    n.append_attribute("stroke-width") = "1";
  }
  void operator()(const SceneText& t) const {
    pugi::xml_node n = root.append_child("text");
    n.append_attribute("x") = Num(t.at.x).c_str();
    n.append_attribute("y") = Num(t.at.y).c_str();
    n.append_attribute("font-size") = Num(t.size).c_str();
    n.append_attribute("fill") = Colour(t.colour).c_str();
    if (t.anchor != TextAnchor::Start) n.append_attribute("text-anchor") = t.anchor == TextAnchor::Middle ? "middle" : "end";
    if (t.vertical)
      n.append_attribute("transform") = ("rotate(-90 " + Num(t.at.x) + " " + Num(t.at.y) + ")").c_str();
    n.text().set(t.text.c_str());
  }
  void operator()(const SceneRect& r) const {
    pugi::xml_node n = root.append_child("rect");
    n.append_attribute("x") = Num(r.at.x).c_str();
    n.append_attribute("y") = Num(r.at.y).c_str();
    n.append_attribute("width") = Num(r.width).c_str();
    n.append_attribute("height") = Num(r.height).c_str();
    if (r.opacity > 0) {
      n.append_attribute("fill") = Colour(r.fill).c_str();
      if (r.opacity < 1) n.append_attribute("fill-opacity") = Num(r.opacity).c_str();
    } else {
      n.append_attribute("fill") = "none";
    }
    if (r.outline) {
      n.append_attribute("stroke") = "#404040";
      n.append_attribute("stroke-width") = "1";
    }
  }
};

}  // namespace

std::string ChartSvg(const ChartScene& scene) {
  pugi::xml_document doc;
  auto decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  pugi::xml_node svg = doc.append_child("svg");
  svg.append_attribute("xmlns") = "http://www.w3.org/2000/svg";
  svg.append_attribute("width") = Num(scene.width).c_str();
  svg.append_attribute("height") = Num(scene.height).c_str();
  svg.append_attribute("viewBox") = ("0 0 " + Num(scene.width) + " " + Num(scene.height)).c_str();
  svg.append_attribute("font-family") = "'Noto Sans CJK SC', 'Source Han Sans SC', 'Microsoft YaHei', SimSun, sans-serif";
  svg.append_child("title").text().set("各附着杆轴力随θ变化曲线");
  pugi::xml_node ground = svg.append_child("rect");
  ground.append_attribute("width") = "100%";
  ground.append_attribute("height") = "100%";
  ground.append_attribute("fill") = "#ffffff";
  const Writer write{svg};
  for (const SceneItem& item : scene.items) std::visit(write, item);
  std::ostringstream out;
  doc.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  return out.str();
}

}  // namespace tiecalc
