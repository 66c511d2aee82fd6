#pragma once
// What the four calculation pages share: reading an input field into its
// member (one change handler per input, reading only its own field, then the
// page's recalculation), the rounding and formatting rule, the display of
// bound doubles, the status line, and a table of short control names that
// the command-line tool and the tests address controls by.

#include <string>
#include <utility>
#include <vector>

#include "core/input/FieldText.h"
#include "platform/dialog/Dialog.h"

namespace tiecalc {

// A control that has a short name ("A", "alpha", "manualL").
struct NamedControl {
  std::string name;
  int id = 0;
  bool input = false;    // typed (or selected, ticked) by the user
  bool byIndex = false;  // drop-down list: named by its selection index, not its text
  // drop-down list: named by these texts, one per item, not by its items
  const std::vector<std::string>* values = nullptr;
  // drop-down list that types into other inputs when chosen (the 轴力取自
  // list): set after them when a page is brought to a saved state
  bool fillsInputs = false;
};

class CPage : public CDialog {
 public:
  // The value of a field text: the program's one field reader.
  static double ReadFieldValue(std::string text);
  static double Round2(double v);
  static std::string Format2(double v);

  // The status line (the result box on the rod-check page).
  int StatusId() const { return m_statusId; }
  const std::string& Status() const { return GetText(m_statusId); }

  // Every input and output control by its short name, inputs first.
  const std::vector<NamedControl>& Names() const { return m_names; }
  // The control of a name, or 0.
  int IdOf(const std::string& name) const;

  // Does the status say that the inputs are invalid?
  bool ShowsInvalidInputs() const { return Status() == InvalidStatus(); }

  // Why the current inputs cannot be calculated, each reason once, in the
  // order of the page's rules ("不满足 H>B", "杆2截面积必须大于0"); empty
  // exactly when they can. The outputs' refusals give these.
  std::vector<std::string> InvalidReasons() const;

  // The editable inputs whose text does not read as typed, with how the
  // reader takes it.
  std::vector<std::pair<int, FieldCheck>> UnreadableInputs() const;
  // Editable inputs whose text does not read as typed; while the status
  // says the inputs are invalid, also the inputs of every broken rule.
  std::vector<ControlNote> Notes() const override;
  // While the status says the inputs are invalid: the results, which still
  // show the last valid inputs.
  std::vector<int> StaleControls() const override;
  // Whether a locked input shows what the page itself wrote there from
  // earlier inputs (a result of them, or a copy it reads): a saved state
  // gives such a text back as it was. Here: the stale results.
  virtual bool ShowsWrittenText(int id) const;
  // Every named control, inputs first, as "label(unit)" and the text shown
  // (a list's item, "是"/"否" for a check box, a text of several lines as
  // several rows), then the status.
  std::vector<SummaryRow> Summary() const override;

 protected:
  CPage(DialogTemplate tmpl, int statusId, std::vector<NamedControl> names);

  // Installs the change handler of an input edit: read its text into member,
  // then Recalculate().
  void BindInput(int id, double& member);
  // A double bound to a read-only field, shown as "%.15g".
  void ShowBound(int id, double value);
  // Sets the texts in the order given; each input's change handler runs.
  void SetTexts(const std::vector<std::pair<int, std::string>>& texts);

  virtual void Recalculate() = 0;
  // Ends every recalculation. While the inputs are valid and each reads as
  // typed, the results shown are kept; when the inputs turn invalid, the
  // results greyed (StaleControls) show the kept ones again, never results
  // of a text the reader took for another number than typed.
  void KeepCleanResults();
  // The kept results belong to controls that now mean something else.
  void ForgetCleanResults() { m_cleanResults.clear(); }
  // The rule of inputs that break no other rule but still give an infinite
  // or undefined result.
  static BrokenRule NonFiniteResultsRule() { return {"", {}, "计算结果超出数值范围"}; }

  // The status text of invalid inputs, and the rules the inputs break now.
  virtual std::string InvalidStatus() const = 0;
  virtual std::vector<BrokenRule> BrokenRules() const = 0;

 private:
  int m_statusId;
  std::vector<NamedControl> m_names;
  std::vector<std::pair<int, std::string>> m_cleanResults;  // see KeepCleanResults
};

}  // namespace tiecalc
