#pragma once
// The two four-rod attachment pages: layout I, the frame's edges parallel to
// the building face, and layout II, the frame turned to it. They share every
// control but the geometry inputs, the whole recalculation but the layout's
// own rules, and the manual-length mode; what differs is data (the layout's
// inputs, captions, tooltips, positions, font) and the overloads of
// FourRodLayout.h, which one template over the layout picks.

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/FourRodLayout.h"
#include "pages/ForcePage.h"

namespace tiecalc {

class CFourRodPage : public CForcePage {
 public:
  // Controls common to both layouts. The geometry inputs they do not share
  // are in FourRodPageIds.
  enum Id : int {
    kA = 1000, kB = 1001, kC = 1002, kD = 1057,
    kX1 = 1003, kX2 = 1004, kX3 = 1005, kX4 = 1006, kY1 = 1007, kY2 = 1008,
    kR = 1009, kM = 1010, kTheta = 1011,
    kE1 = 1048, kE2 = 1049, kE3 = 1050, kE4 = 1051,
    kS1 = 1052, kS2 = 1053, kS3 = 1054, kS4 = 1055,
    kAlpha = 1012, kBeta = 1013, kGamma = 1014, kDelta = 1015,
    kL1 = 1016, kL2 = 1017, kL3 = 1018, kL4 = 1019,
    kF1 = 1021, kF2 = 1022, kF3 = 1027, kF4 = 1028,
    kF1x = 1029, kF1y = 1030, kF2x = 1031, kF2y = 1032,
    kF3x = 1033, kF3y = 1034, kF4x = 1035, kF4y = 1023,
    kF1m = 1020, kF2m = 1043, kF3m = 1024, kF4m = 1025,
    kTheta1 = 1026, kTheta2 = 1044, kTheta3 = 1045, kTheta4 = 1042,
    kStatus = 1046,
    kExportButton = 1047,  // the θ-sweep table
    kReportButton = 1056,  // the report
    kManualL = 1080,       // check box: lengths typed by hand
  };

  static constexpr const char* kStartStatus = "请设定计算参数!";
  static constexpr const char* kInvalidStatus = "输入数据错误或不完整!";
  static constexpr const char* kSuccessStatus = "数据计算成功!";

  // What a layout gives the shared page: its template, its control names
  // and the geometry inputs set last in the start sequence.
  struct LayoutData {
    DialogTemplate tmpl;
    std::vector<NamedControl> names;
    std::vector<int> lateStartIds;
  };

  double R() const { return m_R; }
  double M() const { return m_M; }
  double Theta() const { return m_Theta; }
  const Rod4& E() const { return m_E; }  // GPa
  const Rod4& S() const { return m_S; }  // mm²
  // The angles and the results of the last valid recalculation; Result().L
  // holds the lengths used, rounded (the typed ones in manual mode).
  const FourRodAngles& Angles() const { return m_angles; }
  const FourRodResult& Result() const { return m_result; }
  bool ManualL() const { return m_ManualL != 0; }

  // The inputs break no rule (the layout's, BrokenFourRodSolveRules) and the
  // solver gives finite results.
  bool IsInputValid() const override;

  void Recalculate() override;
  // The automatic lengths are results too.
  std::vector<int> StaleControls() const override;

 protected:
  explicit CFourRodPage(LayoutData layout);
  std::string InvalidStatus() const override { return kInvalidStatus; }
  std::vector<BrokenRule> BrokenRules() const override;

  // The record with the layout's own part: its name and its dimensions.
  ForcePageRecord RecordOf(ForceLayout layout, std::string name, std::vector<LabelledValue> dimensions) const;

  // The layout's own rules on its dimensions, and the inputs that set each
  // automatic length.
  virtual std::vector<BrokenRule> LayoutRules() const = 0;
  virtual RodFields RunFields() const = 0;
  virtual FourRodAngles AnglesOf() const = 0;
  virtual Rod4 LengthsOf(const FourRodAngles& a) const = 0;
  virtual FourRodGeometry GeometryOf(const FourRodAngles& a) const = 0;

  void OnInitDialog() override;

 private:
  double m_R = 0.0, m_M = 0.0, m_Theta = 0.0;
  Rod4 m_E{}, m_S{2000.0, 2000.0, 2000.0, 2000.0};
  int m_ManualL = 0;
  FourRodAngles m_angles;
  FourRodResult m_result;
  std::vector<int> m_lateStartIds;  // set to "0" last in the start sequence

  struct Solution {
    FourRodAngles angles;
    FourRodResult result;
  };
  // What a recalculation of the current inputs shows, or nothing when they
  // cannot be shown (see IsInputValid).
  std::optional<Solution> Solve() const;
  // The lengths the solver takes: typed in manual mode, else from the angles.
  Rod4 LengthsUsed(const FourRodAngles& a) const;
  void OnManualL();
  void ShowResults();
};

// What sets one layout's page apart: its template, its diagram and the ids
// of the geometry inputs the layouts do not share (E and F have other ids
// on layout II).
template <class TLayout>
struct FourRodPageIds;

// Layout I: frame edges parallel to the building face.
template <>
struct FourRodPageIds<FourRodLayoutI> {
  enum LayoutId : int { kE = 1036, kF = 1037 };
  static constexpr int kTemplateId = 141;
  static constexpr int kDiagramBitmap = 143;
  static constexpr ForceLayout kLayout = ForceLayout::FourRodParallel;
  static constexpr const char* kName = "四杆附着(一)";
};

// Layout II: frame turned to the building face, each rod with its own
// tower-side point.
template <>
struct FourRodPageIds<FourRodLayoutII> {
  enum LayoutId : int { kE = 1058, kF = 1059, kG = 1060, kH = 1061 };
  static constexpr int kTemplateId = 142;
  static constexpr int kDiagramBitmap = 149;
  static constexpr ForceLayout kLayout = ForceLayout::FourRodTurned;
  static constexpr const char* kName = "四杆附着(二)";
};

// The four-rod page of one layout: its geometry inputs bound to the layout's
// dimensions, the angles, lengths and rod geometry from the layout's own
// formulas (FourRodLayout.h).
template <class TLayout>
class CFourRodLayoutPage : public CFourRodPage, public FourRodPageIds<TLayout> {
 public:
  CFourRodLayoutPage();
  const TLayout& Layout() const { return m_layout; }
  ForcePageRecord Record() const override;

 protected:
  std::vector<BrokenRule> LayoutRules() const override { return BrokenFourRodRules(m_layout); }
  RodFields RunFields() const override { return FourRodRunFields(m_layout); }
  FourRodAngles AnglesOf() const override { return FourRodAnglesOf(m_layout); }
  Rod4 LengthsOf(const FourRodAngles& a) const override { return FourRodLengthsOf(m_layout, a); }
  FourRodGeometry GeometryOf(const FourRodAngles& a) const override { return FourRodGeometryOf(m_layout, a); }

 private:
  TLayout m_layout;
};

extern template class CFourRodLayoutPage<FourRodLayoutI>;
extern template class CFourRodLayoutPage<FourRodLayoutII>;

// Layout I, template 141 (formerly CFourRod).
using CFourRodParallelPage = CFourRodLayoutPage<FourRodLayoutI>;
// Layout II, template 142 (formerly CFourRod1).
using CFourRodTurnedPage = CFourRodLayoutPage<FourRodLayoutII>;

}  // namespace tiecalc
