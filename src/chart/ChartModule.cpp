#include "chart/ChartDrawing.h"
#include "chart/ForceChart.h"
#include "chart/PlanDrawing.h"
#if !TIECALC_CHART_QPAINTER
#include <mutex>
#include <stdexcept>
#include <thread>

#include "platform/process/Exec.h"
#include "platform/process/Module.h"
#endif

namespace tiecalc {

namespace {

#if TIECALC_CHART_QPAINTER
const ChartDrawing& Drawing() { return QtChartDrawing(); }
#else
// Installed, libtiecalc-chart.so sits in libexec/tiecalc beside
// tiecalc-cli-full; /usr/bin/tiecalc reaches it from its own folder
// (TIECALC_CHART_MODULE_FROM_BIN). In the build folder it is found where it
// was built (TIECALC_CHART_MODULE_BUILT). Loaded once, by whichever thread
// draws first; a failed load is tried again at the next chart.
const ChartDrawing& Drawing() {
  static const ChartDrawing* table = nullptr;
  static std::once_flag once;
  std::call_once(once, [] {
    const std::filesystem::path dir = process::RunningProgramFolder();
    const char* name = "libtiecalc-chart.so";
    std::vector<std::filesystem::path> files;
    if (!dir.empty()) files = {dir / name, dir / TIECALC_CHART_MODULE_FROM_BIN / name};
    files.push_back(TIECALC_CHART_MODULE_BUILT);
    // fontconfig reads its configuration (some fifty files) and its font
    // caches at its first use, about as long as loading the module's forty
    // libraries takes: it starts on a thread of its own meanwhile, and the
    // module's fontconfig is then the one already set up.
    std::jthread fonts;
    if (const auto init = reinterpret_cast<int (*)()>(process::SystemLibrarySymbol("libfontconfig.so.1", "FcInit")))
      fonts = std::jthread(init);
    try {
      using Entry = const ChartDrawing* (*)();
      table = reinterpret_cast<Entry>(process::LoadModuleSymbol(files, kChartDrawingEntry))();
    } catch (const std::exception& e) {
      throw std::runtime_error(std::string("无法载入受力曲线的绘图模块: ") + e.what());
    }
  });
  return *table;
}
#endif

}  // namespace

ChartScene LayOutForceChart(const ForceChartData& data, double width, double height, const ChartState& state) {
  return LayOutForceChart(data, width, height, state, Drawing().textWidth);
}

void DrawChart(const ChartScene& scene, double scale, ChartBitmap& bitmap) { Drawing().draw(scene, scale, bitmap); }

ChartBitmap DrawChart(const ChartScene& scene, double scale) {
  ChartBitmap bitmap;
  DrawChart(scene, scale, bitmap);
  return bitmap;
}

std::string ChartPng(const ChartScene& scene, double scale) { return Drawing().png(scene, scale); }

ChartScene LayOutPlanDrawing(const ForcePageRecord& record, double width, double height, double printedWidth) {
  return LayOutPlanDrawing(record, width, height, printedWidth, Drawing().textWidth);
}

std::string ChartPngPrinted(const ChartScene& scene, double printedWidth, double dpi) {
  return ChartPng(scene, PrintedScale(scene.width, printedWidth, dpi));
}

ChartPngFormat ChartPngFormatOf(double width, double height, double scale) {
#if TIECALC_CHART_QPAINTER
  const int dotsPerMetre = QtPngDotsPerMetre(scale);
#else
  const int dotsPerMetre = 0;
#endif
  return {DevicePixels(width, scale), DevicePixels(height, scale), dotsPerMetre};
}

void PrepareChartDrawing() {
  // A Chinese label and digits, as the chart's texts have: the fonts that
  // cover them are looked up once for the program's run.
  Drawing().textWidth("杆1 受力 -123.45 θ=0°", 12.0);
}

}  // namespace tiecalc
