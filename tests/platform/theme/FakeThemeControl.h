#pragma once
// Loads the fake theme library for a test and keeps it loaded, so that what
// it records survives the program's own load and unload around every call.

#include <QLibrary>
#include <string>

#include "FakeTheme.h"

class FakeThemeControl {
 public:
  // Its own reference, apart from the program's QLibrary.
  FakeThemeControl() : m_lib(QStringLiteral(TIECALC_FAKE_THEME)) {
    if (!m_lib.load()) return;
    m_reset = reinterpret_cast<FakeThemeResetFn>(m_lib.resolve("FakeThemeReset"));
    m_count = reinterpret_cast<FakeThemeCountFn>(m_lib.resolve("FakeThemeCount"));
    m_call = reinterpret_cast<FakeThemeCallFn>(m_lib.resolve("FakeThemeCallAt"));
    m_opens = reinterpret_cast<FakeThemeOpenCountFn>(m_lib.resolve("FakeThemeOpenCount"));
    if (Loaded()) Reset(1, 0);
  }
  ~FakeThemeControl() { m_lib.unload(); }
  FakeThemeControl(const FakeThemeControl&) = delete;
  FakeThemeControl& operator=(const FakeThemeControl&) = delete;
  bool Loaded() const { return m_reset && m_count && m_call && m_opens; }
  static std::string Path() { return TIECALC_FAKE_THEME; }

  void Reset(int active, std::int32_t result) { m_reset(active, result); }
  int Count() const { return m_count(); }
  FakeThemeCall Call(int i) const { return m_call(i); }
  int Opens() const { return m_opens(); }

 private:
  QLibrary m_lib;
  FakeThemeResetFn m_reset = nullptr;
  FakeThemeCountFn m_count = nullptr;
  FakeThemeCallFn m_call = nullptr;
  FakeThemeOpenCountFn m_opens = nullptr;
};
