#pragma once
// Loads the fake theme library for a test and keeps it loaded, so that what
// it records survives the program's own load and unload around every call.

#include <dlfcn.h>

#include <string>

#include "FakeTheme.h"

class FakeThemeControl {
 public:
  // Its own reference, apart from the program's QLibrary.
  FakeThemeControl() : m_lib(dlopen(TIECALC_FAKE_THEME, RTLD_NOW)) {
    if (!m_lib) return;
    m_reset = reinterpret_cast<FakeThemeResetFn>(dlsym(m_lib, "FakeThemeReset"));
    m_count = reinterpret_cast<FakeThemeCountFn>(dlsym(m_lib, "FakeThemeCount"));
    m_call = reinterpret_cast<FakeThemeCallFn>(dlsym(m_lib, "FakeThemeCallAt"));
    m_opens = reinterpret_cast<FakeThemeOpenCountFn>(dlsym(m_lib, "FakeThemeOpenCount"));
    if (Loaded()) Reset(1, 0);
  }
  ~FakeThemeControl() {
    if (m_lib) dlclose(m_lib);
  }
  FakeThemeControl(const FakeThemeControl&) = delete;
  FakeThemeControl& operator=(const FakeThemeControl&) = delete;
  bool Loaded() const { return m_reset && m_count && m_call && m_opens; }
  static std::string Path() { return TIECALC_FAKE_THEME; }

  void Reset(int active, std::int32_t result) { m_reset(active, result); }
  int Count() const { return m_count(); }
  FakeThemeCall Call(int i) const { return m_call(i); }
  int Opens() const { return m_opens(); }

 private:
  void* m_lib;
  FakeThemeResetFn m_reset = nullptr;
  FakeThemeCountFn m_count = nullptr;
  FakeThemeCallFn m_call = nullptr;
  FakeThemeOpenCountFn m_opens = nullptr;
};
