// Pictures of the four pages for the manual: the main window with each page
// shown and its worked example typed, as PNG files in the folder given.
// Build-time tool, run under the offscreen platform: tiecalc_manual_pictures DIR
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "pages/Page.h"
#include "ui/DialogView.h"
#include "ui/MainApp.h"
#include "ui/MainDlg.h"
#include "ui/Pages.h"
#include "ui/XPTabCtrl.h"

namespace {

using Inputs = std::vector<std::pair<const char*, const char*>>;

// The worked examples of the manual, page by page; a list takes its index.
const std::pair<const char*, Inputs> kPictures[] = {
    {"three-rod",
     {{"A", "900"}, {"B", "900"}, {"C", "900"}, {"D", "900"}, {"X1", "3000"}, {"X2", "3000"}, {"X3", "1500"},
      {"H", "5000"}, {"R", "100"}, {"M", "200"}, {"theta", "30"}}},
    {"four-rod-1",
     {{"A", "800"}, {"B", "800"}, {"C", "800"}, {"D", "800"}, {"E", "800"}, {"F", "800"}, {"X1", "3000"},
      {"X2", "3000"}, {"X3", "1200"}, {"X4", "1200"}, {"Y1", "4000"}, {"Y2", "4000"}, {"R", "100"}, {"M", "300"},
      {"theta", "30"}}},
    {"four-rod-2",
     {{"A", "900"}, {"B", "900"}, {"C", "300"}, {"D", "1000"}, {"E", "300"}, {"F", "100"}, {"G", "300"},
      {"H", "1000"}, {"X1", "3500"}, {"X2", "3500"}, {"X3", "1500"}, {"X4", "1500"}, {"Y1", "4500"},
      {"Y2", "4500"}, {"R", "100"}, {"M", "300"}, {"theta", "30"}}},
    {"rod-check",
     {{"form", "1"}, {"F", "200"}, {"L", "8000"}, {"G", "800"}, {"A", "6000"}, {"h", "250"},
      {"Imax", "150000000"}, {"Imin", "150000000"}, {"Az", "1000"}, {"I1", "2000000"}, {"Iz", "500000"},
      {"delta", "10"}, {"L1", "600"}, {"a", "400"}}},
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tiecalc_manual_pictures DIR\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  tiecalc::CMainApp::SetDialogColours(app);
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) return 1;

  tiecalc::CMainDlg dlg(&tiecalc::MakePages);
  dlg.show();
  for (int index = 0; index < dlg.PageCount(); ++index) {
    auto& page = static_cast<tiecalc::CPage&>(dlg.Page(index));
    for (const auto& [name, text] : kPictures[index].second) {
      const int id = page.IdOf(name);
      if (page.KindOf(id) == tiecalc::ControlKind::ComboBox)
        page.UserSelect(id, std::stoi(text));
      else
        page.UserType(id, text);
    }
    dlg.PageView(index).Sync();
    dlg.Tab().SetCurSel(index);
    dlg.OnTabSelChange();
    app.processEvents();
    const QString file = dir.filePath(QString::fromUtf8(kPictures[index].first) + QStringLiteral(".png"));
    if (!dlg.grab().save(file, "PNG")) {
      std::fprintf(stderr, "tiecalc_manual_pictures: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
