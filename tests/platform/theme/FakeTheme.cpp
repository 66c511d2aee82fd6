// A theme library with the three entry points of the desktop's, recording
// every call and painting each part in a plain colour of its own.

#include <algorithm>
#include <vector>

#include "FakeTheme.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {
int g_active = 1;
std::int32_t g_result = 0;
int g_opens = 0;
std::vector<FakeThemeCall> g_calls;
char g_theme;  // its address is the theme handle
}  // namespace

extern "C" {

__attribute__((visibility("default"))) int IsThemeActive() { return g_active; }

__attribute__((visibility("default"))) void* OpenThemeData(void*, const char16_t* classList) {
  ++g_opens;
  FakeThemeCall c{};
  for (int i = 0; i < 31 && classList[i]; ++i) c.className[i] = classList[i];
  c.part = -1;
  g_calls.push_back(c);
  return &g_theme;
}

__attribute__((visibility("default"))) std::int32_t DrawThemeBackground(void* theme, void* dc, int part, int state,
                                                                       const tiecalc::ThemeRect* rect,
                                                                       const tiecalc::ThemeRect* clip) {
  if (theme != &g_theme || g_calls.empty()) return static_cast<std::int32_t>(0x80070057u);
  FakeThemeCall& c = g_calls.back();
  c.part = part;
  c.state = state;
  c.rect = *rect;
  c.hadClip = clip != nullptr;
  std::uint32_t colour = kFakePane;
  if (part == 1) colour = state == 3 ? kFakeSelected : state == 2 ? kFakeHot : kFakeNormal;
#ifdef _WIN32
  // A device context over the caller's pixels: painted as the system would.
  auto hdc = static_cast<HDC>(dc);
  BITMAP bitmap{};
  GetObject(GetCurrentObject(hdc, OBJ_BITMAP), sizeof bitmap, &bitmap);
  c.surfaceWidth = bitmap.bmWidth;
  c.surfaceHeight = bitmap.bmHeight;
  const RECT r{rect->left, rect->top, rect->right, rect->bottom};
  HBRUSH brush = CreateSolidBrush(RGB((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF));
  FillRect(hdc, &r, brush);
  DeleteObject(brush);
#else
  auto* surface = static_cast<tiecalc::ThemeSurface*>(dc);
  c.surfaceWidth = surface->width;
  c.surfaceHeight = surface->height;
  for (int y = std::max(0, rect->top); y < std::min(surface->height, static_cast<int>(rect->bottom)); ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(reinterpret_cast<char*>(surface->bits) + y * surface->stride);
    for (int x = std::max(0, rect->left); x < std::min(surface->width, static_cast<int>(rect->right)); ++x)
      row[x] = colour;
  }
#endif
  return g_result;
}

__attribute__((visibility("default"))) void FakeThemeReset(int active, std::int32_t result) {
  g_active = active;
  g_result = result;
  g_opens = 0;
  g_calls.clear();
}
__attribute__((visibility("default"))) int FakeThemeCount() { return static_cast<int>(g_calls.size()); }
__attribute__((visibility("default"))) FakeThemeCall FakeThemeCallAt(int index) { return g_calls.at(static_cast<size_t>(index)); }
__attribute__((visibility("default"))) int FakeThemeOpenCount() { return g_opens; }
}
