#pragma once
// The rod-check page: the structural form and the steel grades chosen from
// lists, the load and the section typed in, and the check of the chosen form
// rerun after every change. The checks themselves (core/rodcheck) give
// numbers and a verdict; the page words them and shows them.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/rodcheck/RodCheck.h"
#include "core/sections/RodSection.h"
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
  // The form list's item for a form: "实腹式" .. "四肢缀条式".
  static const std::string& FormName(RodForm form);
  // A steel grade as its list shows it: "Q235", "Q345".
  static const std::string& GradeName(SteelGrade grade);
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

  // The section picked from the library, once one is. It was built for
  // `form`; while the page shows another form it stays kept but does not
  // apply (the inputs it typed were those of its own form). Once a field it
  // typed shows another text while the page is on its form, it is edited
  // by hand, for good: the choice is kept, the inputs are the user's. Until
  // then a new L is the section's too: its weight G follows the length.
  struct ChosenSection {
    RodSectionChoice choice;
    RodForm form = RodForm::SolidWeb;
    BuiltRodSection built;
    bool editedByHand = false;
  };
  enum class SectionState { None, Applied, EditedByHand, OtherForm };

  // Builds the section for the form shown and types its inputs into the
  // page's fields in page order, each as a user would, with the texts a
  // document prints (FormatInput: at most two decimals), so the check reads
  // the numbers the derivations end on. A zero L in the choice is the page's
  // L, a zero Ld the page's Ld, a four-limb rod's zero depth its width (a
  // square section). Returns the builder's reason, the page left
  // as it was, when nothing could be built; empty when applied.
  std::string ApplySection(const RodSectionChoice& choice);
  // A section as a case file keeps it: built again for its form to recover
  // its derivations, the fields left as they are (they come back as saved).
  // Returns the builder's reason when it cannot be built.
  std::string RestoreSection(const RodSectionChoice& choice, RodForm form, bool editedByHand);
  const std::optional<ChosenSection>& Section() const { return m_section; }
  SectionState StateOfSection() const;
  // "截面：4∟63×6，外廓400×400，缀条∟40×4", with "（已手动修改）" or
  // "（为…所选，不适用于当前型式）" after it; empty without a section.
  std::string SectionLine() const;

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
  // Marks the section edited when a field it typed shows another text.
  void NoteSectionEdits();
  // Types the built inputs into their fields, as ApplySection does.
  void TypeSection(const BuiltRodSection& built);
  // A section still as built follows a new L: G is weighed again for it and
  // the choice keeps that length.
  void SectionFollowsLength();

  RodCheckData m_data;
  std::string m_sourceNote;
  std::optional<ChosenSection> m_section;
  bool m_applyingSection = false;
};

}  // namespace tiecalc
