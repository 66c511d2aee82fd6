#pragma once
// Control of the fake theme library the tests load in place of the desktop's.

#include <cstdint>

#include "platform/theme/ThemeServices.h"

struct FakeThemeCall {
  int part, state;
  tiecalc::ThemeRect rect;
  int surfaceWidth, surfaceHeight;
  char16_t className[32];
  int hadClip;
};

// Each drawn part is filled with a colour of its part and state.
inline constexpr std::uint32_t kFakePane = 0xFF0000FFu;      // blue
inline constexpr std::uint32_t kFakeNormal = 0xFF00FF00u;    // green
inline constexpr std::uint32_t kFakeHot = 0xFFFFFF00u;       // yellow
inline constexpr std::uint32_t kFakeSelected = 0xFFFF0000u;  // red

extern "C" {
using FakeThemeResetFn = void (*)(int active, std::int32_t result);
using FakeThemeCountFn = int (*)();
using FakeThemeCallFn = FakeThemeCall (*)(int index);
using FakeThemeOpenCountFn = int (*)();
}
