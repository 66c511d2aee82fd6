#include "pages/NamedInput.h"

#include <vector>

namespace tiecalc {

namespace {
const std::vector<std::string>& ItemsOf(const CPage& page, int id) {
  for (const ControlTemplate& t : page.Template().controls)
    if (t.id == id) return t.items;
  static const std::vector<std::string> none;
  return none;
}
}  // namespace

std::string NamedText(const CPage& page, const NamedControl& n) {
  switch (page.KindOf(n.id)) {
    case ControlKind::CheckBox: return page.GetCheck(n.id) ? "1" : "0";
    case ControlKind::ComboBox: {
      const int selection = page.GetCurSel(n.id);
      if (n.values) return selection >= 0 && selection < static_cast<int>(n.values->size()) ? (*n.values)[selection] : "";
      return n.byIndex ? std::to_string(selection) : page.GetText(n.id);
    }
    default: return page.GetText(n.id);
  }
}

int NamedListIndex(const CPage& page, const NamedControl& n, const std::string& value) {
  const std::vector<std::string>& items = n.values ? *n.values : ItemsOf(page, n.id);
  for (size_t i = 0; i < items.size(); ++i)
    if (n.byIndex ? value == std::to_string(i) : value == items[i]) return static_cast<int>(i);
  return -1;
}

bool NamedAccepts(const CPage& page, const NamedControl& n, const std::string& value) {
  switch (page.KindOf(n.id)) {
    case ControlKind::CheckBox: return value == "0" || value == "1";
    case ControlKind::ComboBox: return NamedListIndex(page, n, value) >= 0;
    default: return true;
  }
}

std::string NamedAllowedValues(const CPage& page, const NamedControl& n) {
  if (page.KindOf(n.id) == ControlKind::CheckBox) return "0, 1";
  const std::vector<std::string>& items = n.values ? *n.values : ItemsOf(page, n.id);
  if (n.byIndex) return "0.." + std::to_string(items.size() - 1);
  std::string s;
  for (const std::string& it : items) s += (s.empty() ? "" : ", ") + it;
  return s;
}

bool UserSetNamed(CPage& page, const NamedControl& n, const std::string& value) {
  if (!NamedAccepts(page, n, value)) return false;
  switch (page.KindOf(n.id)) {
    case ControlKind::CheckBox:
      if (page.GetCheck(n.id) != (value == "1")) page.UserClick(n.id);
      return true;
    case ControlKind::ComboBox: page.UserSelect(n.id, NamedListIndex(page, n, value)); return true;
    default: return page.UserType(n.id, value);
  }
}

const NamedControl* FindInput(const CPage& page, const std::string& name) {
  for (const NamedControl& n : page.Names())
    if (n.input && n.name == name) return &n;
  return nullptr;
}

}  // namespace tiecalc
