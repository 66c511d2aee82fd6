#include "chart/ForceChart.h"
#include "chart/ChartDrawing.h"

#include <cairo.h>
#include <png.h>
#include <zlib.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <mutex>
#include <stdexcept>

#include "core/input/Format.h"
#include "platform/memory/ScratchBuffer.h"

namespace tiecalc {

namespace {

// Colours that stay apart on screen and in print, each with its own dash
// pattern and mark, so that the rods stay apart in greyscale too.
struct RodLook {
  ChartColour colour;
  std::vector<double> dash;
  MarkShape mark;
};
const std::array<RodLook, 4> kRodLooks = {{
    {{0x0b, 0x3c, 0x8c}, {}, MarkShape::Circle},            // dark blue, solid
    {{0xd5, 0x5e, 0x00}, {9, 4}, MarkShape::Square},        // vermilion, long dashes
    {{0x00, 0x8c, 0x5a}, {9, 3, 2, 3}, MarkShape::Triangle},  // green, dash-dot
    {{0xa8, 0x2c, 0x8c}, {2, 3}, MarkShape::Diamond},       // purple, dotted
}};
constexpr ChartColour kBlack{0, 0, 0};
constexpr ChartColour kAxis{0x40, 0x40, 0x40};
constexpr ChartColour kGrid{0xe2, 0xe2, 0xe2};
constexpr ChartColour kGrey{0xb4, 0xb4, 0xb4};
constexpr ChartColour kWhite{0xff, 0xff, 0xff};
constexpr ChartColour kThetaLine{0x70, 0x70, 0x70};

constexpr const char* kFontFamilies = "Noto Sans CJK SC, Source Han Sans SC, Microsoft YaHei, SimSun, sans-serif";
constexpr double kTickSize = 12.0;
constexpr double kLabelSize = 11.0;
constexpr double kTitleSize = 13.0;

constexpr const char* kXTitle = "θ (°)";
constexpr const char* kYTitle = "轴力 (kN)";
constexpr const char* kNote = "正值为拉力,负值为压力";
constexpr const char* kMarksNote = "标记点为各杆极值(已考虑M正负向)";

// ---- text metrics through pango ----

struct PangoLayoutDeleter {
  void operator()(PangoLayout* l) const { g_object_unref(l); }
};
using LayoutPtr = std::unique_ptr<PangoLayout, PangoLayoutDeleter>;

LayoutPtr MakeLayout(PangoContext* context, const std::string& text, double size) {
  LayoutPtr layout(pango_layout_new(context));
  PangoFontDescription* font = pango_font_description_from_string(kFontFamilies);
  pango_font_description_set_absolute_size(font, size * PANGO_SCALE);
  pango_layout_set_font_description(layout.get(), font);
  pango_font_description_free(font);
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  return layout;
}

// A text context of the default font map, with metrics unhinted so that texts
// measure alike at every scale. Making one costs milliseconds (the fonts
// are looked up), so the chart keeps two for the program's run: one to
// measure with, one to draw with (moved to each surface's transformation).
// A chart may be drawn off the window's thread (a report draws its figure
// while it writes the text before it): one thread at a time uses them, under
// TextLock.
PangoContext* NewTextContext() {
  PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  pango_cairo_context_set_font_options(c, options);
  cairo_font_options_destroy(options);
  return c;
}

std::mutex& TextLock() {
  static std::mutex lock;
  return lock;
}

PangoContext* MeasuringContext() {
  static PangoContext* context = NewTextContext();
  return context;
}

PangoContext* DrawingContext() {
  static PangoContext* context = NewTextContext();
  return context;
}

double TextWidth(const std::string& text, double size) {
  const std::lock_guard<std::mutex> hold(TextLock());
  LayoutPtr layout = MakeLayout(MeasuringContext(), text, size);
  int width = 0, height = 0;
  pango_layout_get_size(layout.get(), &width, &height);
  return static_cast<double>(width) / PANGO_SCALE;
}

// ---- axes ----

// A step of 1, 2 or 5 times a power of ten giving about `count` intervals.
double NiceStep(double span, int count) {
  const double raw = span / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (raw <= m * power * 1.0000001) return m * power;
  return 10.0 * power;
}

std::string TickText(double value, double step) {
  int decimals = 0;
  while (decimals < 6 && std::fabs(step * std::pow(10.0, decimals) - std::round(step * std::pow(10.0, decimals))) > 1e-9)
    ++decimals;
  if (std::fabs(value) < step * 1e-9) value = 0.0;
  return FormatFixed(value, decimals);
}

double Wrap360(double theta) {
  double t = std::fmod(theta, 360.0);
  if (t < 0) t += 360.0;
  return t;
}

// An angle as an engineer writes it: whole degrees without decimals.
std::string AngleText(double theta) {
  return std::fabs(theta - std::round(theta)) < 1e-9 ? FormatFixed(theta, 0) : FormatFixed(theta, 2);
}

struct Box {
  double left, top, right, bottom;
  bool Overlaps(const Box& o) const { return left < o.right && o.left < right && top < o.bottom && o.top < bottom; }
};

}  // namespace


ChartScene LayOutForceChart(const ForceChartData& data, double width, double height, const ChartState& state) {
  ChartScene scene;
  scene.width = width;
  scene.height = height;
  const int rods = data.sweep.rods;

  // The force range: every finite force and extreme, and zero.
  double lo = 0.0, hi = 0.0;
  for (const ForceSweep::Point& p : data.sweep.points)
    for (int i = 0; i < rods; ++i)
      if (std::isfinite(p.forces.F[static_cast<size_t>(i)])) {
        lo = std::min(lo, p.forces.F[static_cast<size_t>(i)]);
        hi = std::max(hi, p.forces.F[static_cast<size_t>(i)]);
      }
  for (const auto& marks : data.extremes)
    for (const ChartExtreme& e : marks)
      if (std::isfinite(e.force)) lo = std::min(lo, e.force), hi = std::max(hi, e.force);
  if (hi - lo < 1e-9) lo = -1.0, hi = 1.0;
  const double pad = (hi - lo) * 0.08;  // room for the extremes' labels
  const double step = NiceStep(hi - lo + 2 * pad, 6);
  const double yLo = std::floor((lo - pad) / step) * step;
  const double yHi = std::ceil((hi + pad) / step) * step;

  // Margins from the texts they hold.
  double tickWidth = 0.0;
  for (double v = yLo; v <= yHi + step * 0.5; v += step) tickWidth = std::max(tickWidth, TextWidth(TickText(v, step), kTickSize));
  const double left = 8 + kTitleSize + 8 + tickWidth + 6;
  const double right = 18.0;
  const double top = 30.0;     // the legend
  const double bottom = 62.0;  // tick texts, the axis title, the note
  const double plotW = std::max(10.0, width - left - right);
  const double plotH = std::max(10.0, height - top - bottom);
  scene.x0 = left;
  scene.sx = plotW / 360.0;
  scene.sy = plotH / (yHi - yLo);
  scene.y0 = top + yHi * scene.sy;
  auto X = [&](double theta) { return scene.x0 + theta * scene.sx; };
  auto Y = [&](double force) { return scene.y0 - force * scene.sy; };
  const double plotBottom = top + plotH;

  // Grid, axes and their texts.
  for (int t = 0; t <= 360; t += 30) {
    scene.items.push_back(SceneLine{{X(t), top}, {X(t), plotBottom}, {kGrid, 1.0, {}}});
    scene.items.push_back(SceneLine{{X(t), plotBottom}, {X(t), plotBottom + 4}, {kAxis, 1.0, {}}});
    scene.items.push_back(SceneText{{X(t), plotBottom + 18}, std::to_string(t), kTickSize, kBlack, TextAnchor::Middle});
  }
  for (double v = yLo; v <= yHi + step * 0.5; v += step) {
    scene.items.push_back(SceneLine{{left, Y(v)}, {left + plotW, Y(v)}, {kGrid, 1.0, {}}});
    scene.items.push_back(SceneLine{{left - 4, Y(v)}, {left, Y(v)}, {kAxis, 1.0, {}}});
    scene.items.push_back(
        SceneText{{left - 7, Y(v) + kTickSize * 0.36}, TickText(v, step), kTickSize, kBlack, TextAnchor::End});
  }
  scene.items.push_back(SceneRect{{left, top}, plotW, plotH, kWhite, 0.0, true});
  scene.items.push_back(SceneLine{{left, Y(0)}, {left + plotW, Y(0)}, {kBlack, 1.2, {}}});
  scene.items.push_back(
      SceneText{{left + plotW / 2, plotBottom + 36}, kXTitle, kTitleSize, kBlack, TextAnchor::Middle});
  scene.items.push_back(SceneText{{8 + kTitleSize, top + plotH / 2}, kYTitle, kTitleSize, kBlack, TextAnchor::Middle, true});
  scene.items.push_back(SceneText{{left, plotBottom + 56}, kNote, kLabelSize, kBlack, TextAnchor::Start});
  scene.items.push_back(SceneText{{left + plotW, plotBottom + 56}, kMarksNote, kLabelSize, kBlack, TextAnchor::End});

  // The current θ.
  const double thetaX = X(Wrap360(data.theta));
  scene.items.push_back(SceneLine{{thetaX, top}, {thetaX, plotBottom}, {kThetaLine, 1.2, {4, 3}}});
  const std::string thetaText = "θ=" + AngleText(data.theta) + "°";
  const double thetaW = TextWidth(thetaText, kLabelSize);
  const bool thetaLeft = thetaX + 4 + thetaW > left + plotW;
  scene.items.push_back(SceneText{{thetaLeft ? thetaX - 4 : thetaX + 4, top + 13}, thetaText, kLabelSize, kThetaLine,
                                  thetaLeft ? TextAnchor::End : TextAnchor::Start});

  // The legend above the plot.
  double legendX = left;
  for (int i = 0; i < rods; ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    const ChartColour c = state.greyed ? kGrey : look.colour;
    scene.items.push_back(SceneLine{{legendX, top - 12}, {legendX + 30, top - 12}, {c, 2.0, look.dash}});
    scene.items.push_back(SceneMark{{legendX + 15, top - 12}, look.mark, 3.5, c});
    scene.items.push_back(SceneText{{legendX + 36, top - 12 + kTickSize * 0.36}, RodLabel(i), kTickSize, kBlack});
    legendX += 36 + TextWidth(RodLabel(i), kTickSize) + 22;
  }

  // The curves.
  for (int i = 0; i < rods; ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    ScenePath path{"rod" + std::to_string(i + 1), RodLabel(i), {}, {state.greyed ? kGrey : look.colour, 2.0, look.dash}};
    std::vector<ChartPoint> run;
    for (const ForceSweep::Point& p : data.sweep.points) {
      const double f = p.forces.F[static_cast<size_t>(i)];
      if (std::isfinite(f)) {
        run.push_back({X(p.theta), Y(f)});
      } else if (!run.empty()) {
        path.runs.push_back(std::move(run));
        run.clear();
      }
    }
    if (!run.empty()) path.runs.push_back(std::move(run));
    scene.items.push_back(std::move(path));
  }

  // The extremes, each labelled with its value above (tension) or below
  // (compression) its mark, moved off labels placed before it.
  std::vector<Box> placed;
  for (int i = 0; i < rods && i < static_cast<int>(data.extremes.size()); ++i) {
    const RodLook& look = kRodLooks[static_cast<size_t>(i)];
    const ChartColour c = state.greyed ? kGrey : look.colour;
    for (const ChartExtreme& e : data.extremes[static_cast<size_t>(i)]) {
      if (!std::isfinite(e.force) || !std::isfinite(e.theta)) continue;
      const ChartPoint at{X(Wrap360(e.theta)), Y(e.force)};
      scene.items.push_back(SceneMark{at, look.mark, 4.0, c});
      const double w = TextWidth(e.label, kLabelSize);
      const double h = kLabelSize + 2;
      double cx = std::clamp(at.x, left + w / 2 + 2, left + plotW - w / 2 - 2);
      const double dir = e.force >= 0 ? -1.0 : 1.0;
      double baseline = e.force >= 0 ? at.y - 7 : at.y + 7 + kLabelSize * 0.8;
      Box box{cx - w / 2, baseline - kLabelSize * 0.8, cx + w / 2, baseline - kLabelSize * 0.8 + h};
      for (int tries = 0; tries < 6; ++tries) {
        bool clash = false;
        for (const Box& b : placed) clash = clash || box.Overlaps(b);
        if (!clash) break;
        baseline += dir * h;
        box.top += dir * h;
        box.bottom += dir * h;
      }
      placed.push_back(box);
      scene.items.push_back(SceneText{{cx, baseline}, e.label, kLabelSize, c, TextAnchor::Middle});
    }
  }

  // The status over greyed curves.
  if (!state.status.empty()) {
    const double w = TextWidth(state.status, kTitleSize) + 24;
    const double h = kTitleSize + 16;
    const ChartPoint centre{left + plotW / 2, top + plotH / 2};
    scene.items.push_back(SceneRect{{centre.x - w / 2, centre.y - h / 2}, w, h, kWhite, 0.9, true});
    scene.items.push_back(
        SceneText{{centre.x, centre.y + kTitleSize * 0.36}, state.status, kTitleSize, kBlack, TextAnchor::Middle});
  }
  return scene;
}

// ---- cairo -------------------------------------------------------------------

namespace {

void SetColour(cairo_t* cr, ChartColour c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void SetStroke(cairo_t* cr, const ChartStroke& s) {
  SetColour(cr, s.colour);
  cairo_set_line_width(cr, s.width);
  cairo_set_dash(cr, s.dash.empty() ? nullptr : s.dash.data(), static_cast<int>(s.dash.size()), 0.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
}

struct Drawer {
  cairo_t* cr;
  PangoContext* context;

  void operator()(const SceneLine& l) const {
    SetStroke(cr, l.stroke);
    cairo_move_to(cr, l.from.x, l.from.y);
    cairo_line_to(cr, l.to.x, l.to.y);
    cairo_stroke(cr);
  }
  void operator()(const ScenePath& p) const {
    cairo_new_path(cr);
    SetStroke(cr, p.stroke);
    for (const auto& run : p.runs) {
      for (size_t k = 0; k < run.size(); ++k)
        (k == 0 ? cairo_move_to : cairo_line_to)(cr, run[k].x, run[k].y);
    }
    cairo_stroke(cr);
  }
  void operator()(const SceneMark& m) const {
    cairo_new_path(cr);  // a text leaves its start as the current point
    const std::vector<ChartPoint> outline = MarkOutline(m);
    if (outline.empty()) {
      cairo_arc(cr, m.at.x, m.at.y, m.size, 0, 2 * M_PI);
    } else {
      for (size_t k = 0; k < outline.size(); ++k)
        (k == 0 ? cairo_move_to : cairo_line_to)(cr, outline[k].x, outline[k].y);
      cairo_close_path(cr);
    }
    SetColour(cr, m.colour);
    cairo_fill_preserve(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, kWhite);
    cairo_stroke(cr);
  }
  void operator()(const SceneText& t) const {
    LayoutPtr layout = MakeLayout(context, t.text, t.size);
    int width = 0, height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    const double w = static_cast<double>(width) / PANGO_SCALE;
    const double baseline = static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE;
    const double shift = t.anchor == TextAnchor::Start ? 0.0 : t.anchor == TextAnchor::Middle ? w / 2 : w;
    cairo_save(cr);
    cairo_translate(cr, t.at.x, t.at.y);
    if (t.vertical) cairo_rotate(cr, -M_PI / 2);
    cairo_move_to(cr, -shift, -baseline);
    SetColour(cr, t.colour);
    pango_cairo_update_layout(cr, layout.get());
    pango_cairo_show_layout(cr, layout.get());
    cairo_new_path(cr);
    cairo_restore(cr);
  }
  void operator()(const SceneRect& r) const {
    cairo_rectangle(cr, r.at.x, r.at.y, r.width, r.height);
    if (r.opacity > 0) {
      SetColour(cr, r.fill, r.opacity);
      cairo_fill_preserve(cr);
    }
    if (r.outline) {
      cairo_set_dash(cr, nullptr, 0, 0.0);
      cairo_set_line_width(cr, 1.0);
      SetColour(cr, kAxis);
      cairo_stroke(cr);
    }
    cairo_new_path(cr);
  }
};

struct SurfaceDeleter {
  void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
struct CairoDeleter {
  void operator()(cairo_t* c) const { cairo_destroy(c); }
};

// Draws the scene at scale into pixels of the size DevicePixels gives, row
// after row stride bytes apart; every pixel is painted, the ground first.
void Paint(unsigned char* pixels, int width, int height, int stride, const ChartScene& scene, double scale) {
  std::unique_ptr<cairo_surface_t, SurfaceDeleter> owner(
      cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, width, height, stride));
  cairo_surface_t* surface = owner.get();
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("无法绘制受力曲线: 图像过大");
  std::unique_ptr<cairo_t, CairoDeleter> cr(cairo_create(surface));
  cairo_scale(cr.get(), scale, scale);
  SetColour(cr.get(), kWhite);
  cairo_paint(cr.get());
  const std::lock_guard<std::mutex> hold(TextLock());
  PangoContext* context = DrawingContext();
  pango_cairo_update_context(cr.get(), context);
  const Drawer draw{cr.get(), context};
  for (const SceneItem& item : scene.items) std::visit(draw, item);
  cairo_surface_flush(surface);
}

int DevicePixels(double size, double scale) { return std::max(1, static_cast<int>(std::lround(size * scale))); }

}  // namespace

void DrawChart(const ChartScene& scene, double scale, ChartBitmap& bitmap) {
  // Drawn straight into the bitmap's own storage, which a window redrawing
  // on every keystroke keeps: a fresh megabyte a time costs more than the
  // drawing.
  bitmap.width = DevicePixels(scene.width, scale);
  bitmap.height = DevicePixels(scene.height, scale);
  bitmap.stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, bitmap.width);
  bitmap.pixels.resize(static_cast<size_t>(bitmap.stride) * static_cast<size_t>(bitmap.height));
  Paint(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.stride, scene, scale);
}

std::string ChartPng(const ChartScene& scene, double scale) {
  // The chart is opaque lines on white: written as 8-bit RGB, the rows
  // unfiltered and deflated as runs (long runs of white) at the fastest level,
  // it is a few times quicker to encode than cairo's own PNG writer and
  // hardly larger, which matters at the 300 dpi of a report figure.
  // Drawn into scratch memory of its own: the pixels are only read row by
  // row into the encoder, and fresh memory costs a page fault per page.
  const int width = DevicePixels(scene.width, scale), height = DevicePixels(scene.height, scale);
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, width);
  if (stride <= 0) throw std::runtime_error("无法绘制受力曲线: 图像过大");
  const ScratchBuffer pixels(static_cast<size_t>(stride) * static_cast<size_t>(height));
  Paint(pixels.Data(), width, height, stride, scene, scale);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  std::string bytes;
  // Room at once for the PNG, not grown through copies of itself: an eighth
  // of the rows' bytes, more than a chart's PNG takes (about a fourteenth).
  bytes.reserve(static_cast<size_t>(width) * static_cast<size_t>(height) * 3 / 8);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("无法生成受力曲线图片");
  }
  png_set_write_fn(
      png, &bytes,
      [](png_structp p, png_bytep data, png_size_t length) {
        static_cast<std::string*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), length);
      },
      nullptr);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_level(png, 1);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    // cairo's ARGB32 is a native-endian 32-bit word per pixel; the chart is
    // painted on opaque white, so no alpha needs undoing.
    const auto* pixel = reinterpret_cast<const uint32_t*>(pixels.Data() + static_cast<size_t>(y) * stride);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<unsigned char>(pixel[x] >> 16);
      row[3 * x + 1] = static_cast<unsigned char>(pixel[x] >> 8);
      row[3 * x + 2] = static_cast<unsigned char>(pixel[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

}  // namespace tiecalc

// The module's entry (ChartDrawing.h): everything else in it stays hidden.
extern "C" __attribute__((visibility("default"))) const tiecalc::ChartDrawing* tiecalc_chart_drawing_v1() {
  static const tiecalc::ChartDrawing table{
      &tiecalc::LayOutForceChart,
      static_cast<void (*)(const tiecalc::ChartScene&, double, tiecalc::ChartBitmap&)>(&tiecalc::DrawChart),
      &tiecalc::ChartPng};
  return &table;
}
