#pragma once
// Building page templates: controls added one by one, and labelled edits
// laid out on a grid of rows and columns (the label left of its edit).

#include <string>
#include <vector>

#include "pages/Page.h"
#include "platform/dialog/Dialog.h"

namespace tiecalc {

// One labelled edit of a page: id, short name, the label beside it, its
// tooltip. Outputs are read-only; an input may start read-only too (locked)
// until the page unlocks it.
struct FieldDef {
  int id = 0;
  const char* name = "";
  const char* label = "";
  const char* tooltip = "";
  bool input = false;
  bool locked = false;
};

// Cells of a grid of labelled edits, in dialog units.
struct FieldGrid {
  int x = 0, y = 0;       // top left of the first label
  int columnStep = 0;     // from one column to the next
  int rowStep = 0;        // from one row to the next
  int labelWidth = 0;     // the label, then a gap of 1, then the edit
  int editWidth = 0;
  int editHeight = 12;

  DialogRect Label(int row, int column) const;
  DialogRect Edit(int row, int column) const;
};

// The names of the fields of rows, inputs first, each group in row order.
std::vector<NamedControl> NamesOf(const std::vector<std::vector<FieldDef>>& rows);

class CTemplateBuilder {
 public:
  CTemplateBuilder(int id, int width, int height, int fontSize);

  void Group(const std::string& caption, DialogRect r);
  void Label(const std::string& caption, DialogRect r, unsigned style = kStyleNone);
  void Static(int id, const std::string& caption, DialogRect r, unsigned style = kStyleNone);
  void Edit(int id, DialogRect r, const std::string& tooltip, unsigned style = kStyleNone);
  void Button(int id, const std::string& caption, DialogRect r, unsigned style = kStyleNone);
  void CheckBox(int id, const std::string& caption, DialogRect r);
  void Combo(int id, std::vector<std::string> items, DialogRect r);
  void Picture(int id, int bitmap, DialogRect r, unsigned style = kStyleNone);

  // The field at a grid cell: its label and its edit.
  void Field(const FieldDef& f, const FieldGrid& g, int row, int column);
  // Fields row by row; an id of 0 leaves its cell empty.
  void Fields(const std::vector<std::vector<FieldDef>>& rows, const FieldGrid& g);

  DialogTemplate Take() { return std::move(m_t); }

 private:
  DialogTemplate m_t;
};

}  // namespace tiecalc
