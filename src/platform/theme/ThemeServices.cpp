#include "platform/theme/ThemeServices.h"

#include <QLibrary>
#include <QOperatingSystemVersion>
#include <QString>
#include <QSysInfo>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace tiecalc {

namespace {

#if defined(_WIN32) && !defined(_WIN64)
#define TIECALC_WINAPI __stdcall
#else
#define TIECALC_WINAPI
#endif

// The three entry points, with the platform's types spelled out: BOOL is a
// 32-bit int, handles are pointers, strings are UTF-16, results are 32-bit.
using IsThemeActiveFn = int(TIECALC_WINAPI*)();
using OpenThemeDataFn = void*(TIECALC_WINAPI*)(void* window, const char16_t* classList);
using DrawThemeBackgroundFn = std::int32_t(TIECALC_WINAPI*)(void* theme, void* dc, int part, int state,
                                                            const ThemeRect* rect, const ThemeRect* clip);
using CloseThemeDataFn = std::int32_t(TIECALC_WINAPI*)(void* theme);

constexpr unsigned kVersion50 = 5u * 65536u + 0u;

// Unloads the library on every way out of a call.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const std::string& name) : m_lib(QString::fromStdString(name)) { m_lib.load(); }
  ~LoadedLibrary() {
    if (m_lib.isLoaded()) m_lib.unload();
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  bool Loaded() const { return m_lib.isLoaded(); }
  template <class Fn>
  Fn Resolve(const char* symbol) {
    return reinterpret_cast<Fn>(m_lib.resolve(symbol));
  }

 private:
  QLibrary m_lib;
};

#ifdef _WIN32
// Runs draw(dc) on a memory device context over a top-down 32-bit bitmap
// that holds a copy of the surface, then copies the pixels back, opaque.
std::int32_t DrawOnDeviceContext(ThemeSurface& surface, const std::function<std::int32_t(void*)>& draw) {
  if (!surface.bits || surface.width <= 0 || surface.height <= 0) return kThemeFail;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = surface.width;
  info.bmiHeader.biHeight = -surface.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (!bitmap) {
    if (dc) DeleteDC(dc);
    return kThemeFail;
  }
  const size_t row = static_cast<size_t>(surface.width) * 4;
  auto surfaceRow = [&](int y) { return reinterpret_cast<char*>(surface.bits) + static_cast<size_t>(y) * surface.stride; };
  for (int y = 0; y < surface.height; ++y) std::memcpy(static_cast<char*>(bits) + y * row, surfaceRow(y), row);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const std::int32_t result = draw(dc);
  GdiFlush();
  for (int y = 0; y < surface.height; ++y) {
    auto* out = reinterpret_cast<std::uint32_t*>(surfaceRow(y));
    const auto* in = reinterpret_cast<const std::uint32_t*>(static_cast<char*>(bits) + y * row);
    for (int x = 0; x < surface.width; ++x) out[x] = in[x] | 0xFF000000u;
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return result;
}
#endif

bool ThemeActive(LoadedLibrary& lib) {
  auto isThemeActive = lib.Resolve<IsThemeActiveFn>("IsThemeActive");
  return isThemeActive && isThemeActive() != 0;
}

}  // namespace

CThemeServices::CThemeServices(std::string library, VersionQuery version)
    : m_library(std::move(library)), m_versionQuery(std::move(version)) {
  if (!m_versionQuery) m_versionQuery = &CThemeServices::SystemVersion;
}

unsigned CThemeServices::SystemVersion() {
  const QOperatingSystemVersion os = QOperatingSystemVersion::current();
  if (os.type() == QOperatingSystemVersion::Windows)
    return static_cast<unsigned>(os.majorVersion()) * 65536u + static_cast<unsigned>(os.minorVersion());
  // Elsewhere the kernel's version stands in; the theme library decides.
  const QStringList parts = QSysInfo::kernelVersion().split(u'.');
  const unsigned major = parts.size() > 0 ? parts[0].toUInt() : 0;
  const unsigned minor = parts.size() > 1 ? parts[1].toUInt() : 0;
  return major * 65536u + minor;
}

bool CThemeServices::VersionOk() {
  if (!m_versionKnown) {
    m_version = m_versionQuery();
    m_versionKnown = true;
  }
  return m_version > kVersion50;
}

bool CThemeServices::IsThemeActiveXP() {
  if (!VersionOk()) return false;
  LoadedLibrary lib(m_library);
  return lib.Loaded() && ThemeActive(lib);
}

std::int32_t CThemeServices::DrawThemePart(ThemeSurface& surface, int part, int state, const std::string& className,
                                           const ThemeRect& rect) {
  if (!VersionOk()) return kThemeFail;
  LoadedLibrary lib(m_library);
  if (!lib.Loaded() || !ThemeActive(lib)) return kThemeFail;

  std::u16string name = QString::fromStdString(className).left(128).toStdU16String();
  if (name.empty()) return kThemeFail;

  auto openThemeData = lib.Resolve<OpenThemeDataFn>("OpenThemeData");
  void* theme = openThemeData ? openThemeData(nullptr, name.c_str()) : nullptr;
  if (!theme) return kThemeFail;
  auto drawThemeBackground = lib.Resolve<DrawThemeBackgroundFn>("DrawThemeBackground");
  std::int32_t result = kThemeFail;
  if (drawThemeBackground) {
    auto draw = [&](void* dc) { return drawThemeBackground(theme, dc, part, state, &rect, nullptr); };
#ifdef _WIN32
    result = DrawOnDeviceContext(surface, draw);
#else
    result = draw(&surface);
#endif
  }
  if (auto closeThemeData = lib.Resolve<CloseThemeDataFn>("CloseThemeData")) closeThemeData(theme);
  return result;
}

}  // namespace tiecalc
