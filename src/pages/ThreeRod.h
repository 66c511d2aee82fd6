#pragma once
// The three-rod attachment page: eleven inputs, every change recalculates the
// statically determinate frame and shows angles, lengths, forces at θ, their
// components and the extreme forces over every direction of R.

#include <optional>
#include <string>

#include "core/analysis/ThreeRod.h"
#include "pages/ForcePage.h"

namespace tiecalc {

class CThreeRod : public CForcePage {
 public:
  // Controls addressed by code.
  enum Id : int {
    kA = 1000, kB = 1001, kC = 1021, kD = 1026,
    kX1 = 1002, kX2 = 1003, kX3 = 1022, kH = 1004,
    kR = 1005, kM = 1006, kTheta = 1007,
    kAlpha = 1008, kBeta = 1009, kGamma = 1010,
    kL1 = 1033, kL2 = 1034, kL3 = 1035,
    kF1 = 1011, kF2 = 1012, kF3 = 1013,
    kF1x = 1027, kF1y = 1028, kF2x = 1029, kF2y = 1030, kF3x = 1031, kF3y = 1032,
    kF1m = 1014, kTheta1 = 1015, kF2m = 1016, kTheta2 = 1017, kF3m = 1018, kTheta3 = 1019,
    kStatus = 1023,
    kExportButton = 1024,  // "输出结果到文件": the θ-sweep table
    kReportButton = 1025,  // "生成报告文件": the report
    kDiagram = 1058,
  };
  static constexpr int kTemplateId = 140;
  static constexpr int kDiagramBitmap = 135;

  static constexpr const char* kStartStatus = "请设定参数!";
  static constexpr const char* kInvalidStatus = "数据错误或不全";
  static constexpr const char* kSuccessStatus = "数据计算成功";

  CThreeRod();

  // The inputs as their fields last set them.
  ThreeRodInput Input() const;
  // The results of the last valid calculation (zeros and "0" texts before).
  const ThreeRodResult& Result() const { return m_result; }
  ThreeRodAngles Angles() const { return {m_result.Alpha, m_result.Beta, m_result.Gamma}; }
  // The inputs pass the model's validity rule, the rods are neither
  // parallel nor meet in one point, and the results are finite.
  bool IsInputValid() const override;
  ForcePageRecord Record() const override;

  void Recalculate() override;

 protected:
  void OnInitDialog() override;
  std::string InvalidStatus() const override { return kInvalidStatus; }
  std::vector<BrokenRule> BrokenRules() const override;

 private:
  double m_Theta = 0.0, m_M = 0.0, m_R = 0.0, m_H = 0.0, m_X3 = 0.0, m_X2 = 0.0, m_X1 = 0.0,
         m_C = 0.0, m_B = 0.0, m_A = 0.0, m_D = 0.0;
  ThreeRodResult m_result;

  // The results of the inputs when they can be shown (see IsInputValid).
  std::optional<ThreeRodResult> Solve() const;
  void ShowResults();  // the bound doubles
  void ShowTexts();    // the extreme texts
};

}  // namespace tiecalc
