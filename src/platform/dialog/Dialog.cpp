#include "platform/dialog/Dialog.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace tiecalc {

CDialog::CDialog(DialogTemplate tmpl) : m_template(std::move(tmpl)) {
  // The controls exist from the start so that a page can attach its
  // handlers in its constructor; Create() then runs the initialisation.
  m_controls.reserve(m_template.controls.size());
  for (const ControlTemplate& t : m_template.controls) {
    if (t.id == kStaticId) continue;
    if (m_index.count(t.id)) throw std::logic_error("dialog template has a duplicate control id");
    Control c;
    c.tmpl = &t;
    c.text = t.caption;
    c.readOnly = (t.style & kReadOnly) != 0;
    c.bitmap = t.bitmap;
    m_index.emplace(t.id, m_controls.size());
    m_controls.push_back(std::move(c));
  }
}

void CDialog::Create() {
  if (m_created) return;
  m_created = true;
  OnInitDialog();
}

CDialog::Control* CDialog::Find(int id) {
  auto it = m_index.find(id);
  return it == m_index.end() ? nullptr : &m_controls[it->second];
}

CDialog::Control& CDialog::At(int id) {
  Control* c = Find(id);
  if (!c) throw std::out_of_range("dialog " + std::to_string(m_template.id) + " has no control " + std::to_string(id));
  return *c;
}

const CDialog::Control& CDialog::At(int id) const { return const_cast<CDialog*>(this)->At(id); }

bool CDialog::HasControl(int id) const { return m_index.count(id) != 0; }

ControlKind CDialog::KindOf(int id) const { return At(id).tmpl->kind; }

void CDialog::MarkChanged(int id) {
  if (std::find(m_changed.begin(), m_changed.end(), id) == m_changed.end()) m_changed.push_back(id);
}

std::vector<int> CDialog::TakeChanges() {
  std::vector<int> out;
  out.swap(m_changed);
  return out;
}

void CDialog::Run(int id, const Handler& handler) {
  struct Depth {
    int& running;
    explicit Depth(int& r) : running(r) { ++running; }
    ~Depth() { --running; }
  };
  {
    const Depth depth(m_handlersRunning);
    if (handler) handler();
  }
  if (m_handlersRunning == 0 && m_anyChange) {
    const std::function<void(int)> listener = m_anyChange;
    listener(id);
  }
}

void CDialog::RunGuarded(int id, const Handler& handler) {
  try {
    Run(id, handler);
  } catch (const std::exception& e) {
    if (!m_desktop) throw;
    m_desktop->ShowMessage(e.what(), MessageIcon::Error);
  }
}

void CDialog::SetText(int id, const std::string& text) {
  Control& c = At(id);
  c.text = text;
  MarkChanged(id);
  // Copy first: a handler may replace handlers while it runs.
  if (c.tmpl->kind == ControlKind::Edit) {
    Handler h = c.onChange;
    Run(id, h);
  }
}

const std::string& CDialog::GetText(int id) const { return At(id).text; }

void CDialog::SetReadOnly(int id, bool readOnly) {
  Control& c = At(id);
  if (c.readOnly == readOnly) return;
  c.readOnly = readOnly;
  MarkChanged(id);
}

bool CDialog::IsReadOnly(int id) const { return At(id).readOnly; }

void CDialog::SetCheck(int id, bool checked) {
  Control& c = At(id);
  if (c.checked == checked) return;
  c.checked = checked;
  MarkChanged(id);
}

bool CDialog::GetCheck(int id) const { return At(id).checked; }

void CDialog::SetCurSel(int id, int index) {
  Control& c = At(id);
  int n = static_cast<int>(c.tmpl->items.size());
  int sel = (index >= 0 && index < n) ? index : -1;
  if (c.selection == sel) return;
  c.selection = sel;
  c.text = sel >= 0 ? c.tmpl->items[static_cast<size_t>(sel)] : std::string();
  MarkChanged(id);
}

int CDialog::GetCurSel(int id) const { return At(id).selection; }

void CDialog::SetBitmap(int id, int bitmap) {
  Control& c = At(id);
  if (c.bitmap == bitmap) return;
  c.bitmap = bitmap;
  MarkChanged(id);
}

int CDialog::GetBitmap(int id) const { return At(id).bitmap; }

bool CDialog::UserType(int id, const std::string& text) {
  Control* c = Find(id);
  if (!c || c->tmpl->kind != ControlKind::Edit || c->readOnly) return false;
  c->text = text;
  MarkChanged(id);
  RunGuarded(id, Handler(c->onChange));
  return true;
}

bool CDialog::UserSelect(int id, int index) {
  Control* c = Find(id);
  if (!c || c->tmpl->kind != ControlKind::ComboBox) return false;
  if (index < 0 || index >= static_cast<int>(c->tmpl->items.size())) return false;
  // Picking the item already selected is no change of selection.
  if (index == c->selection) return true;
  SetCurSel(id, index);
  RunGuarded(id, Handler(c->onSelChange));
  return true;
}

bool CDialog::UserClick(int id) {
  Control* c = Find(id);
  if (!c) return false;
  if (c->tmpl->kind == ControlKind::CheckBox) {
    SetCheck(id, !c->checked);
  } else if (c->tmpl->kind != ControlKind::Button) {
    return false;
  }
  RunGuarded(id, Handler(c->onClick));
  return true;
}

std::optional<std::string> CDialog::TooltipText(int id) const {
  if (id == 0) return std::nullopt;
  for (const ControlTemplate& t : m_template.controls)
    if (t.id == id && !t.tooltip.empty()) return t.tooltip;
  return std::nullopt;
}

void CDialog::OnChange(int id, Handler handler) { At(id).onChange = std::move(handler); }
void CDialog::OnSelChange(int id, Handler handler) { At(id).onSelChange = std::move(handler); }
void CDialog::OnClick(int id, Handler handler) { At(id).onClick = std::move(handler); }

}  // namespace tiecalc
