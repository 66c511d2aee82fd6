#pragma once
// A small headless dialog: the controls of a template with their state, and
// change notifications dispatched synchronously to the page's handlers, the
// way the pages rely on (setting a text from code fires its change handler
// before the call returns). A view renders a dialog and mirrors its changes;
// the command-line tool and the tests drive the same object without a screen.

#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/dialog/Desktop.h"

namespace tiecalc {

enum class ControlKind { Edit, Static, GroupBox, Button, ComboBox, CheckBox, Picture };

enum ControlStyle : unsigned {
  kStyleNone = 0,
  kReadOnly = 1u << 0,   // edit: shows text, takes no typing
  kMultiLine = 1u << 1,  // edit or button: text over several lines ("\r\n" or "\n")
  kCentred = 1u << 2,    // text centred in the control
};

// Labels and frames that code never addresses.
inline constexpr int kStaticId = -1;

struct DialogRect {
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
};

struct ControlTemplate {
  int id = kStaticId;
  ControlKind kind = ControlKind::Static;
  std::string caption;             // start text: labels, buttons, group boxes, check boxes
  DialogRect rect;
  unsigned style = kStyleNone;
  std::vector<std::string> items;  // drop-down list items
  int bitmap = 0;                  // picture: bitmap shown at creation
  std::string tooltip;             // empty: the control has no tooltip
};

// A page's word on one of its inputs, for a view to show with the control:
// a text the reader does not take as typed, or a value that breaks the
// page's rule.
struct ControlNote {
  enum Kind { kUnreadable, kBreaksRule };
  int id = 0;
  Kind kind = kUnreadable;
  std::string text;  // Chinese, shown first in the control's tooltip
};

// How one line of a control's text reads: a verdict that passes or fails.
enum class LineTone { Plain, Pass, Fail };

// One row of a page's summary: a label (with its unit) and the value shown.
struct SummaryRow {
  std::string label;
  std::string value;
};

struct DialogTemplate {
  int id = 0;
  std::string title;
  int width = 0, height = 0;  // dialog units
  std::string fontName;
  int fontSize = 10;  // points
  std::vector<ControlTemplate> controls;
};

class CDialog {
 public:
  using Handler = std::function<void()>;

  explicit CDialog(DialogTemplate tmpl);
  virtual ~CDialog() = default;
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  const DialogTemplate& Template() const { return m_template; }

  // Creates the controls from the template, then runs OnInitDialog.
  void Create();
  bool IsCreated() const { return m_created; }

  // --- what code does to a control -------------------------------------
  // Setting an edit's text fires its change handler at once, also when the
  // text does not change.
  void SetText(int id, const std::string& text);
  const std::string& GetText(int id) const;
  void SetReadOnly(int id, bool readOnly);
  bool IsReadOnly(int id) const;
  void SetCheck(int id, bool checked);  // fires nothing
  bool GetCheck(int id) const;
  void SetCurSel(int id, int index);  // fires nothing
  int GetCurSel(int id) const;        // -1: nothing selected
  void SetBitmap(int id, int bitmap);
  int GetBitmap(int id) const;
  bool HasControl(int id) const;
  ControlKind KindOf(int id) const;

  // --- what a user does ------------------------------------------------
  // Each returns false, and changes nothing, when the control cannot take
  // the action (no such control, wrong kind, a read-only edit, an index
  // outside the list). An exception that ends a handler is shown as a
  // message box through the desktop, as a framework's default handler
  // would, and the dialog goes on.
  bool UserType(int id, const std::string& text);
  bool UserSelect(int id, int index);  // fires the selection change, unless index is selected already
  bool UserClick(int id);              // a check box toggles first

  // The tooltip of a control, when it has one.
  std::optional<std::string> TooltipText(int id) const;

  // The controls whose state changed since the last call, each once, in the
  // order of their first change. A view repaints just these.
  std::vector<int> TakeChanges();

  // The desktop that answers save dialogs and shows messages.
  void SetDesktop(IDesktop* desktop) { m_desktop = desktop; }
  IDesktop* Desktop() const { return m_desktop; }

  // --- what a view may ask beyond the controls' states ------------------
  // Computed from the current state on each call; nothing here fires.
  // Inputs to mark, each with why.
  virtual std::vector<ControlNote> Notes() const { return {}; }
  // Results that belong to earlier inputs (the inputs now are invalid).
  virtual std::vector<int> StaleControls() const { return {}; }
  // How a line of a control's text reads.
  virtual LineTone ToneOf(int /*id*/, const std::string& /*line*/) const { return LineTone::Plain; }
  // Every input and result, inputs first, as the page shows them.
  virtual std::vector<SummaryRow> Summary() const { return {}; }

  // --- handlers ---------------------------------------------------------
  void OnChange(int id, Handler handler);     // edit text changed
  void OnSelChange(int id, Handler handler);  // drop-down selection changed by the user
  void OnClick(int id, Handler handler);      // button or check box clicked
  // Told the control once a change from outside the dialog's own handlers
  // has run its handler (a user's action, a text set from elsewhere), after
  // everything that change set off inside the dialog. Whoever depends on
  // the dialog's state as a whole (another page that follows it) listens
  // here; one listener per dialog.
  void OnAnyChange(std::function<void(int id)> listener) { m_anyChange = std::move(listener); }

 protected:
  virtual void OnInitDialog() {}

 private:
  struct Control {
    const ControlTemplate* tmpl = nullptr;
    std::string text;
    bool readOnly = false;
    bool checked = false;
    int selection = -1;
    int bitmap = 0;
    Handler onChange, onSelChange, onClick;
  };

  Control& At(int id);
  const Control& At(int id) const;
  Control* Find(int id);
  void MarkChanged(int id);
  void Run(int id, const Handler& handler);
  void RunGuarded(int id, const Handler& handler);

  DialogTemplate m_template;
  std::vector<Control> m_controls;  // addressable controls, template order
  std::unordered_map<int, size_t> m_index;
  std::vector<int> m_changed;
  IDesktop* m_desktop = nullptr;
  bool m_created = false;
  int m_handlersRunning = 0;
  std::function<void(int)> m_anyChange;
};

}  // namespace tiecalc
