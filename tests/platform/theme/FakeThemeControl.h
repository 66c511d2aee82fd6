#pragma once
// Loads the fake theme library for a test and keeps it loaded, so that what
// it records survives the program's own load and unload around every call.

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include "FakeTheme.h"

class FakeThemeControl {
 public:
  // Its own reference, apart from the program's QLibrary.
  // (The system's own calls: Qt's QLibrary instances of one file share
  // their load, and the program's unload would end this one's too.)
  FakeThemeControl() {
#ifdef _WIN32
    m_lib = LoadLibraryA(TIECALC_FAKE_THEME);
    const auto symbol = [this](const char* name) { return reinterpret_cast<void*>(GetProcAddress(m_lib, name)); };
#else
    m_lib = dlopen(TIECALC_FAKE_THEME, RTLD_NOW);
    const auto symbol = [this](const char* name) { return dlsym(m_lib, name); };
#endif
    if (!m_lib) return;
    m_reset = reinterpret_cast<FakeThemeResetFn>(symbol("FakeThemeReset"));
    m_count = reinterpret_cast<FakeThemeCountFn>(symbol("FakeThemeCount"));
    m_call = reinterpret_cast<FakeThemeCallFn>(symbol("FakeThemeCallAt"));
    m_opens = reinterpret_cast<FakeThemeOpenCountFn>(symbol("FakeThemeOpenCount"));
    if (Loaded()) Reset(1, 0);
  }
  ~FakeThemeControl() {
#ifdef _WIN32
    if (m_lib) FreeLibrary(m_lib);
#else
    if (m_lib) dlclose(m_lib);
#endif
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
#ifdef _WIN32
  HMODULE m_lib = nullptr;
#else
  void* m_lib = nullptr;
#endif
  FakeThemeResetFn m_reset = nullptr;
  FakeThemeCountFn m_count = nullptr;
  FakeThemeCallFn m_call = nullptr;
  FakeThemeOpenCountFn m_opens = nullptr;
};
