// The chart drawn by cairo, its texts by pango: the module libtiecalc-chart.so
// (ChartDrawing.h).

#include "chart/ChartDrawing.h"

#include <cairo.h>
#include <png.h>
#include <zlib.h>
#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <stdexcept>

#include "platform/memory/ScratchBuffer.h"

namespace tiecalc {

namespace {

constexpr const char* kFontFamilies = "Noto Sans CJK SC, Source Han Sans SC, Microsoft YaHei, SimSun, sans-serif";

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

// The chart's one text context, of the default font map, with metrics
// unhinted so that texts measure alike at every scale. Texts are laid out in
// it at their own size in chart units and drawn through the surface's
// transformation, so measuring and drawing share its fonts: each text size
// costs one font look-up for the program's run (fontconfig sorts every font
// for it, a few milliseconds apiece), where a context moved to each surface's
// scale looked the fonts up again for every scale and turn drawn, with the
// same pixels. A chart may be drawn off the window's thread (a report draws
// its figure while it writes the text before it, a book several figures at
// once): one thread at a time uses it, under TextLock, while the lines of
// other drawings go on.
PangoContext* TextContext() {
  static PangoContext* context = [] {
    PangoContext* c = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(c, options);
    cairo_font_options_destroy(options);
    return c;
  }();
  return context;
}

std::mutex& TextLock() {
  static std::mutex lock;
  return lock;
}

double TextWidth(const std::string& text, double size) {
  const std::lock_guard<std::mutex> hold(TextLock());
  LayoutPtr layout = MakeLayout(TextContext(), text, size);
  int width = 0, height = 0;
  pango_layout_get_size(layout.get(), &width, &height);
  return static_cast<double>(width) / PANGO_SCALE;
}

// ---- cairo ----

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
    SetColour(cr, kChartWhite);
    cairo_stroke(cr);
  }
  void operator()(const SceneText& t) const {
    // The text context is shared: its texts are laid out and shown one
    // thread at a time; lines, paths and marks need no lock.
    const std::lock_guard<std::mutex> hold(TextLock());
    LayoutPtr layout = MakeLayout(TextContext(), t.text, t.size);
    int width = 0, height = 0;
    pango_layout_get_size(layout.get(), &width, &height);
    const double w = static_cast<double>(width) / PANGO_SCALE;
    const double baseline = static_cast<double>(pango_layout_get_baseline(layout.get())) / PANGO_SCALE;
    cairo_save(cr);
    cairo_translate(cr, t.at.x, t.at.y);
    if (t.vertical) cairo_rotate(cr, -M_PI / 2);
    cairo_move_to(cr, -AnchorShift(t.anchor, w), -baseline);
    SetColour(cr, t.colour);
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
      SetColour(cr, kChartAxis);
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
  SetColour(cr.get(), kChartWhite);
  cairo_paint(cr.get());
  const Drawer draw{cr.get()};
  for (const SceneItem& item : scene.items) std::visit(draw, item);
  cairo_surface_flush(surface);
}

void Draw(const ChartScene& scene, double scale, ChartBitmap& bitmap) {
  // Drawn straight into the bitmap's own storage, which a window redrawing
  // on every keystroke keeps: a fresh megabyte a time costs more than the
  // drawing.
  bitmap.width = DevicePixels(scene.width, scale);
  bitmap.height = DevicePixels(scene.height, scale);
  bitmap.stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, bitmap.width);
  bitmap.pixels.resize(static_cast<size_t>(bitmap.stride) * static_cast<size_t>(bitmap.height));
  Paint(bitmap.pixels.data(), bitmap.width, bitmap.height, bitmap.stride, scene, scale);
}

std::string Png(const ChartScene& scene, double scale) {
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

}  // namespace

}  // namespace tiecalc

// The module's entry (ChartDrawing.h): everything else in it stays hidden.
extern "C" __attribute__((visibility("default"))) const tiecalc::ChartDrawing* tiecalc_chart_drawing_v2() {
  static const tiecalc::ChartDrawing table{&tiecalc::TextWidth, &tiecalc::Draw, &tiecalc::Png};
  return &table;
}
