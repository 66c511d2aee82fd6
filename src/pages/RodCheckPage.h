#pragma once
// The rod-check page: the structural form and the steel grades chosen from
// lists, the load and the section typed in, and the check of the chosen form
// rerun after every change. The checks themselves (core/rodcheck) give
// numbers and a verdict; the page words them and shows them.

#include <string>
#include <utility>
#include <vector>

#include "core/rodcheck/RodCheck.h"
#include "pages/Page.h"

namespace tiecalc {

// The page of template 143 (formerly CJiaoHe).
class CRodCheckPage : public CPage {
 public:
  enum Id : int {
    kForm = 1062,         // 实腹式, 两肢缀板式, 两肢缀条式, 四肢缀板式, 四肢缀条式
    kMainGrade = 1063,    // Q235, Q345
    kLacingGrade = 1064,  // Q235, Q345
    kF = 1000, kL = 1001, kG = 1002, kA = 1003, kh = 1004, kAz = 1005,
    kImax = 1006, kImin = 1007, kLd = 1014, kI1 = 1008, kIz = 1009, kDelta = 1010,
    kL1 = 1012, ka = 1013, kK = 1067,
    kMu = 1011, kLambda = 1076, kPsi = 1073, kSigma = 1070,
    kLambda1 = 1075, kPsi1 = 1072, kSigma1 = 1069,
    kLambdaZ = 1074, kPsiZ = 1071, kSigmaZ = 1068,
    kMessage = 1077,       // the result box
    kReportButton = 1024,  // "生 成" / "报 告"
    kDiagram = 1078,
    kSource = 2003,       // 轴力取自: typed by hand, or taken from a rod of a force page
    kSourceLabel = 2004,
  };
  static constexpr int kTemplateId = 143;
  // Diagram of each form, by form index.
  static constexpr int kFormBitmaps[5] = {193, 195, 196, 197, 198};

  static constexpr const char* kStartMessage = "请设定计算参数!";
  static constexpr const char* kNotApplicable = "不适用";
  // The result box after a run whose inputs cannot be checked.
  static constexpr const char* kInvalidInput = "请设定正确参数！";

  CRodCheckPage();

  // What the 轴力取自 list offers, by index: 手动输入, then each rod of the
  // three force pages; the case file names them "manual", "three-rod:1" ..
  // "four-rod-2:4". The page itself only keeps the choice: taking a rod's
  // force and length is installed from outside, where the force pages are.
  static const std::vector<std::string>& SourceItems();
  static const std::vector<std::string>& SourceValues();

  // The record of the last check run (inputs read, results, verdict).
  const RodCheckData& Data() const { return m_data; }
  // The verdict lines of the last check run, as the result box shows them
  // after it (kInvalidInput for inputs that cannot be checked).
  std::string Message() const { return MessageOf(m_data.verdict, m_data.form); }

  // The verdict in words: one line per check judged, in a fixed order, each
  // but the overall stiffness's starting with "\r\n".
  static std::string MessageOf(const RodCheckVerdict& verdict, RodForm form);
  // What a run shows, in the order the page sets it: μ, then on valid inputs
  // the results of the form, the message last. Controls not listed keep
  // their texts.
  static std::vector<std::pair<int, std::string>> ResultTexts(const RodCheckData& data);
  // The selections as the lists show them now.
  RodForm Form() const;
  SteelGrade MainGrade() const;
  SteelGrade LacingGrade() const;

  // The 轴力取自 link's word on F, L and G (their rod's page cannot be
  // calculated now); empty: none.
  void SetSourceNote(std::string note) { m_sourceNote = std::move(note); }

  void InitPage();
  void ChangeForm();
  void SyncLargeSectionLength();
  void RunCurrentCheck();

 protected:
  void OnInitDialog() override { InitPage(); }
  void Recalculate() override { RunCurrentCheck(); }
  std::string InvalidStatus() const override { return kInvalidInput; }
  std::vector<BrokenRule> BrokenRules() const override { return BrokenRodCheckRules(m_data, Form()); }

 public:
  std::vector<ControlNote> Notes() const override;
  // A uniform rod's Ld holds the L of the moment Imax or Imin last changed.
  bool ShowsWrittenText(int id) const override { return id == kLd || CPage::ShowsWrittenText(id); }
  // μ is shown afresh even when the inputs are refused.
  std::vector<int> StaleControls() const override;
  // The verdict lines: " 不 满足要求" fails, "满足要求" passes.
  LineTone ToneOf(int id, const std::string& line) const override;

 private:
  RodCheckData m_data;
  std::string m_sourceNote;
};

}  // namespace tiecalc
