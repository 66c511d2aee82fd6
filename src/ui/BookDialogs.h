#pragma once
// The calculation book's settings in the window, one dialog each: the
// project block of the cover (文件 > 工程信息…), the load cases (文件 >
// 荷载工况…), the sections of single rods (文件 > 杆件截面…), and the name
// and height of an attachment level. Each starts from the settings given and
// hands back the settings it would store; OK takes them, Cancel drops them.

#include <QDialog>
#include <QString>

#include "case/CaseFile.h"

class QCheckBox;
class QLineEdit;
class QTableWidget;

namespace tiecalc {

class CRodCheckPage;

class CProjectDialog : public QDialog {
  Q_OBJECT
 public:
  static const char* const kTitle;  // "工程信息"
  // 日期 shows today's date (yyyy-MM-dd) when the project has none.
  explicit CProjectDialog(const CaseProject& project, QWidget* parent = nullptr);
  CaseProject Project() const;
  // The edit of a project item, by its key in the file ("name", "date", ...).
  QLineEdit* Field(const char* key) const;

 private:
  std::vector<QLineEdit*> m_fields;  // in the order of kProjectFields
};

class CLoadCaseDialog : public QDialog {
  Q_OBJECT
 public:
  static const char* const kTitle;       // "荷载工况"
  static const char* const kOwnCases;    // "本道次使用单独的工况"
  static const char* const kNoCaseHint;  // what the book uses without cases
  enum Column { kName, kR, kM };

  // The book's cases, or with levels the chosen level's own where it has
  // them (the check box then ticked).
  explicit CLoadCaseDialog(const CaseBook& book, QWidget* parent = nullptr);
  // The settings with the cases of the table.
  CaseBook Book() const;
  QTableWidget* Table() const { return m_table; }
  QCheckBox* OwnCases() const { return m_own; }  // nullptr without levels
  // Why the table cannot be taken (an empty or repeated name, an R or M
  // the field reader cannot take), or an empty text.
  QString Refusal() const;

  void AddCase();
  void DeleteCase();
  void MoveCase(int step);
  void accept() override;

 private:
  std::vector<CaseLoadCase> TableCases() const;
  void Fill(const std::vector<CaseLoadCase>& cases);
  void OnOwnCases(bool own);

  CaseBook m_book;  // its cases: the shared ones, also while a level's own are shown
  QTableWidget* m_table = nullptr;
  QCheckBox* m_own = nullptr;
};

class CRodSectionsDialog : public QDialog {
  Q_OBJECT
 public:
  static const char* const kTitle;      // "杆件截面"
  static const char* const kPageOwn;    // "校核页截面"
  static const char* const kTakePage;   // "将校核页当前截面用于所选杆"
  static const char* const kBackToPage; // "恢复为校核页截面"
  static constexpr int kRods = 4;

  // rodCheck: the rod-check page as it is now, whose section the take
  // button captures.
  CRodSectionsDialog(const CaseBook& book, const CRodCheckPage& rodCheck, QWidget* parent = nullptr);
  CaseBook Book() const { return m_book; }
  // Row r is rod r + 1: its number and the section it has.
  QTableWidget* Table() const { return m_table; }
  // The selected rods take the rod-check page's section as it is now (in
  // a group of their own); or go back to the page's section.
  void TakePageSection();
  void BackToPageSection();

 private:
  std::vector<int> SelectedRods() const;
  void Fill();

  CaseBook m_book;
  const CRodCheckPage& m_rodCheck;
  QTableWidget* m_table = nullptr;
};

// The name and height of an attachment level.
class CLevelDialog : public QDialog {
  Q_OBJECT
 public:
  CLevelDialog(const QString& title, const QString& name, const QString& height, QWidget* parent = nullptr);
  QString Name() const;
  QString Height() const;

 private:
  QLineEdit* m_name = nullptr;
  QLineEdit* m_height = nullptr;
};

}  // namespace tiecalc
