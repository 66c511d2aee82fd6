#include "pages/PageTemplate.h"

namespace tiecalc {

DialogRect FieldGrid::Label(int row, int column) const {
  // Labels sit two units lower than their edit, so that the texts align.
  return {x + column * columnStep, y + row * rowStep + 2, labelWidth, editHeight - 2};
}

DialogRect FieldGrid::Edit(int row, int column) const {
  return {x + column * columnStep + labelWidth + 1, y + row * rowStep, editWidth, editHeight};
}

std::vector<NamedControl> NamesOf(const std::vector<std::vector<FieldDef>>& rows) {
  std::vector<NamedControl> names;
  for (bool input : {true, false})
    for (const auto& row : rows)
      for (const FieldDef& f : row)
        if (f.id != 0 && f.input == input) names.push_back({f.name, f.id, f.input});
  return names;
}

namespace {

ControlTemplate Make(int id, ControlKind kind, const std::string& caption, DialogRect r, unsigned style) {
  ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.caption = caption;
  c.rect = r;
  c.style = style;
  return c;
}

}  // namespace

CTemplateBuilder::CTemplateBuilder(int id, int width, int height, int fontSize) {
  m_t.id = id;
  m_t.width = width;
  m_t.height = height;
  m_t.fontName = "宋体";
  m_t.fontSize = fontSize;
}

void CTemplateBuilder::Group(const std::string& caption, DialogRect r) {
  m_t.controls.push_back(Make(kStaticId, ControlKind::GroupBox, caption, r, kStyleNone));
}

void CTemplateBuilder::Label(const std::string& caption, DialogRect r, unsigned style) {
  m_t.controls.push_back(Make(kStaticId, ControlKind::Static, caption, r, style));
}

void CTemplateBuilder::Static(int id, const std::string& caption, DialogRect r, unsigned style) {
  m_t.controls.push_back(Make(id, ControlKind::Static, caption, r, style));
}

void CTemplateBuilder::Edit(int id, DialogRect r, const std::string& tooltip, unsigned style) {
  ControlTemplate c = Make(id, ControlKind::Edit, "", r, style);
  c.tooltip = tooltip;
  m_t.controls.push_back(std::move(c));
}

void CTemplateBuilder::Button(int id, const std::string& caption, DialogRect r, unsigned style) {
  m_t.controls.push_back(Make(id, ControlKind::Button, caption, r, style));
}

void CTemplateBuilder::CheckBox(int id, const std::string& caption, DialogRect r) {
  m_t.controls.push_back(Make(id, ControlKind::CheckBox, caption, r, kStyleNone));
}

void CTemplateBuilder::Combo(int id, std::vector<std::string> items, DialogRect r) {
  ControlTemplate c = Make(id, ControlKind::ComboBox, "", r, kStyleNone);
  c.items = std::move(items);
  m_t.controls.push_back(std::move(c));
}

void CTemplateBuilder::Picture(int id, int bitmap, DialogRect r, unsigned style) {
  ControlTemplate c = Make(id, ControlKind::Picture, "", r, style);
  c.bitmap = bitmap;
  m_t.controls.push_back(std::move(c));
}

void CTemplateBuilder::Field(const FieldDef& f, const FieldGrid& g, int row, int column) {
  Label(f.label, g.Label(row, column));
  Edit(f.id, g.Edit(row, column), f.tooltip, f.input && !f.locked ? kStyleNone : kReadOnly);
}

void CTemplateBuilder::Fields(const std::vector<std::vector<FieldDef>>& rows, const FieldGrid& g) {
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t c = 0; c < rows[r].size(); ++c)
      if (rows[r][c].id != 0) Field(rows[r][c], g, static_cast<int>(r), static_cast<int>(c));
}

}  // namespace tiecalc
