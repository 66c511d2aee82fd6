#pragma once
// The desktop's visual-theme services, looked up by name in the theme
// library each time they are needed, so that the program also runs where the
// library does not exist. Nothing is linked against it.

#include <cstdint>
#include <functional>
#include <string>

namespace tiecalc {

// Layout of the platform's rectangle: left, top, right, bottom.
struct ThemeRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What the drawing calls receive as their device context where the platform
// has none of its own: 32-bit pixels, rows of `stride` bytes, top row first.
struct ThemeSurface {
  std::uint32_t* bits = nullptr;
  int width = 0, height = 0;
  int stride = 0;
};

// The generic failure result (E_FAIL).
inline constexpr std::int32_t kThemeFail = static_cast<std::int32_t>(0x80004005u);

class CThemeServices {
 public:
  // The operating-system version as major * 65536 + minor.
  using VersionQuery = std::function<unsigned()>;

  static constexpr const char* kDefaultLibrary = "UxTheme.dll";

  explicit CThemeServices(std::string library = kDefaultLibrary, VersionQuery version = {});

  // The version is 5.1 or later, the library and "IsThemeActive" exist and
  // the function reports an active theme.
  bool IsThemeActiveXP();

  // Draws part/state of the theme class `className` into `dc` on `rect`
  // ("OpenThemeData", then "DrawThemeBackground"); kThemeFail when the
  // version, the library, an active theme or a function is missing, or the
  // class name is empty. The theme handle is not kept between calls.
  std::int32_t DrawThemePart(void* dc, int part, int state, const std::string& className,
                             const ThemeRect& rect);

  // Major * 65536 + minor of the running system, as the default query reports it.
  static unsigned SystemVersion();

 private:
  bool VersionOk();

  std::string m_library;
  VersionQuery m_versionQuery;
  unsigned m_version = 0;
  bool m_versionKnown = false;
};

}  // namespace tiecalc
