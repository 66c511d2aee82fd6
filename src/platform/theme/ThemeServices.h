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

// The pixels a theme part is drawn into: 32-bit premultiplied ARGB, rows of
// `stride` bytes, top row first. On Windows the theme library draws into a
// device context, which is made over a copy of these pixels for the call;
// elsewhere the library receives the surface itself as its context.
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

  // Draws part/state of the theme class `className` into `surface` on
  // `rect` ("OpenThemeData", then "DrawThemeBackground"); kThemeFail when
  // the version, the library, an active theme or a function is missing, or
  // the class name is empty. The theme handle is not kept between calls.
  // On Windows the pixels drawn come back opaque (the system's drawing
  // leaves their alpha undefined).
  std::int32_t DrawThemePart(ThemeSurface& surface, int part, int state, const std::string& className,
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
