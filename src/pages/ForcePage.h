#pragma once
// What the three force pages have in common for what lies behind their
// buttons: whether their inputs can be calculated, and their record.

#include <string>
#include <utility>
#include <vector>

#include "pages/ForcePageRecord.h"
#include "pages/Page.h"

namespace tiecalc {

class CForcePage : public CPage {
 public:
  static constexpr int kBookButton = 2002;   // "计算书": the calculation book of the layout
  static constexpr int kChartButton = 2001;  // "受力曲线": the force chart window (installed by the window)

  // Can the current inputs be calculated and shown? The page shows a success
  // exactly when this holds; every output tests it too, so that none pairs
  // the current inputs with results of earlier ones.
  virtual bool IsInputValid() const = 0;
  // What the page computed last, as values.
  virtual ForcePageRecord Record() const = 0;

  // The buttons of the sweep table and of the report.
  int ExportButton() const { return m_exportButton; }
  int ReportButton() const { return m_reportButton; }

 protected:
  CForcePage(DialogTemplate tmpl, int statusId, std::vector<NamedControl> names, int exportButton,
             int reportButton)
      : CPage(std::move(tmpl), statusId, std::move(names)),
        m_exportButton(exportButton),
        m_reportButton(reportButton) {}

 private:
  int m_exportButton;
  int m_reportButton;
};

}  // namespace tiecalc
