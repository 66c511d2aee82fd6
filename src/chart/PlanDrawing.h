#pragma once
// The plan of a force page's attachment layout, drawn to scale: the frame
// around the mast (塔身) with its centre lines, each rod from its frame point
// to its anchor on the wall with its label and length (杆1, L1=5280), the
// wall line (墙面) hatched on the building side, the dimensions that place
// the frame points and the anchors, and the scale (比例 1:100).
//
// Each rod is drawn as the force calculation sees it: from its frame point
// at the page's rounded angle until it meets its wall line, so that it is as
// long as the length the page computed (to the hundredth it rounds to). With
// lengths typed by hand the rod is still drawn where the dimensions put it;
// its label gives the length the forces were solved with.
//
// The scene is in the chart's units, like the force chart's, and drawn by the
// same drawings (ChartPng, ChartSvg). Its stated scale holds on paper when the
// picture is printed printedWidth millimetres wide; every text and line width
// is sized for that paper, so that a picture about 15 cm wide reads well.
// Each rod is a ScenePath with id "rodN" and its label as title.

#include <string>

#include "chart/ForceChart.h"
#include "pages/ForcePageRecord.h"

namespace tiecalc {

// The printed width (mm) the plan's scale holds for unless told otherwise.
inline constexpr double kPlanPrintedWidth = 150.0;

// What the plan shows instead of a layout for a record whose inputs cannot be
// calculated (or lack a dimension of their layout, or are not finite), and
// for a picture too small to hold any standard scale.
inline constexpr const char* kPlanNoLayoutNote = "输入数据无效, 无法绘制附着平面布置图";
inline constexpr const char* kPlanTooSmallNote = "图幅过小, 无法按比例绘制附着平面布置图";

// The plan of record on width x height (chart units), printed printedWidth mm
// wide. An invalid record gives a scene with only kPlanNoLayoutNote.
ChartScene LayOutPlanDrawing(const ForcePageRecord& record, double width, double height,
                             double printedWidth = kPlanPrintedWidth);

// The same with its texts measured by textWidth (ChartDrawing.h's ChartTextWidth).
ChartScene LayOutPlanDrawing(const ForcePageRecord& record, double width, double height, double printedWidth,
                             double (*textWidth)(const std::string& text, double size));

}  // namespace tiecalc
