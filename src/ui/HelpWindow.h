#pragma once
// The help window: the user manual (Markdown files, one per section) shown
// by Qt's own Markdown renderer, with contents, back and forward.

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace tiecalc {

class CHelpWindow : public QWidget {
  Q_OBJECT
 public:
  static const char* const kTitle;
  // The manual's sections the program opens directly.
  static const char* const kContents;  // "index.md"
  static const char* const kVersions;  // "versions.md": where new versions come from

  // manualDir: the folder of the manual's files.
  explicit CHelpWindow(const QString& manualDir, QWidget* parent = nullptr);

  // Shows the section (a file name of the manual, e.g. "three-rod.md").
  void Open(const QString& section);
  // The file name of the section shown, empty when the manual is missing.
  QString Section() const;
  QTextBrowser* Browser() const { return m_browser; }

  // The manual beside the program (the build, a Windows installation), else
  // under share/tiecalc/manual of the installation; empty when neither exists.
  static QString ManualDir();
  // The help window of owner, made on first use, raised and opened at the
  // section. A window owned by a modal dialog stays usable while it is open.
  static CHelpWindow* Show(QWidget* owner, const QString& section);

 private:
  QString m_dir;
  QTextBrowser* m_browser = nullptr;
};

}  // namespace tiecalc
