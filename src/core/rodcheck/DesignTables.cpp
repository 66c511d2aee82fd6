#include "core/rodcheck/DesignTables.h"

#include <cmath>

namespace tiecalc {

// Stability coefficients of axially compressed members, class-b sections,
// for λ·sqrt(fy/235) = 0..250, as the design code prints them.
const double kPsiTableB[300] = {
    /*   0 */ 1.000, 1.000, 1.000, 0.999, 0.999, 0.998, 0.997, 0.996, 0.995, 0.994,
    /*  10 */ 0.992, 0.991, 0.989, 0.987, 0.985, 0.983, 0.981, 0.978, 0.976, 0.973,
    /*  20 */ 0.970, 0.967, 0.963, 0.960, 0.957, 0.953, 0.950, 0.946, 0.943, 0.939,
    /*  30 */ 0.936, 0.932, 0.929, 0.925, 0.922, 0.918, 0.914, 0.910, 0.906, 0.903,
    /*  40 */ 0.899, 0.895, 0.891, 0.887, 0.882, 0.878, 0.874, 0.870, 0.865, 0.861,
    /*  50 */ 0.856, 0.852, 0.847, 0.842, 0.838, 0.833, 0.828, 0.823, 0.818, 0.813,
    /*  60 */ 0.807, 0.802, 0.797, 0.791, 0.786, 0.780, 0.774, 0.769, 0.763, 0.757,
    /*  70 */ 0.751, 0.745, 0.739, 0.732, 0.726, 0.720, 0.714, 0.707, 0.701, 0.694,
    /*  80 */ 0.688, 0.681, 0.675, 0.668, 0.661, 0.655, 0.648, 0.641, 0.635, 0.628,
    /*  90 */ 0.621, 0.614, 0.608, 0.601, 0.594, 0.588, 0.581, 0.575, 0.568, 0.561,
    /* 100 */ 0.555, 0.549, 0.542, 0.536, 0.529, 0.523, 0.517, 0.511, 0.505, 0.499,
    /* 110 */ 0.493, 0.487, 0.481, 0.475, 0.470, 0.464, 0.458, 0.453, 0.447, 0.442,
    /* 120 */ 0.437, 0.432, 0.426, 0.421, 0.416, 0.411, 0.406, 0.402, 0.397, 0.392,
    /* 130 */ 0.387, 0.383, 0.378, 0.374, 0.370, 0.365, 0.361, 0.357, 0.353, 0.349,
    /* 140 */ 0.345, 0.341, 0.337, 0.333, 0.329, 0.326, 0.322, 0.318, 0.315, 0.311,
    /* 150 */ 0.308, 0.304, 0.301, 0.298, 0.295, 0.291, 0.288, 0.285, 0.282, 0.279,
    /* 160 */ 0.276, 0.273, 0.270, 0.267, 0.265, 0.262, 0.259, 0.256, 0.254, 0.251,
    /* 170 */ 0.249, 0.246, 0.244, 0.241, 0.239, 0.236, 0.234, 0.232, 0.229, 0.227,
    /* 180 */ 0.225, 0.223, 0.220, 0.218, 0.216, 0.214, 0.212, 0.210, 0.208, 0.206,
    /* 190 */ 0.204, 0.202, 0.200, 0.198, 0.197, 0.195, 0.193, 0.191, 0.190, 0.188,
    /* 200 */ 0.186, 0.184, 0.183, 0.181, 0.180, 0.178, 0.176, 0.175, 0.173, 0.172,
    /* 210 */ 0.170, 0.169, 0.167, 0.166, 0.165, 0.163, 0.162, 0.160, 0.159, 0.158,
    /* 220 */ 0.156, 0.155, 0.154, 0.153, 0.151, 0.150, 0.149, 0.148, 0.146, 0.145,
    /* 230 */ 0.144, 0.143, 0.142, 0.141, 0.140, 0.138, 0.137, 0.136, 0.135, 0.134,
    /* 240 */ 0.133, 0.132, 0.131, 0.130, 0.129, 0.128, 0.127, 0.126, 0.125, 0.124,
    /* 250 */ 0.123,
    // 251..299 stay zero: the last interval falls from 0.123 towards 0.
};

// Rows q = Imin/Imax: 0, 0.1, 0.2, 0.4, 0.6, 0.8, 1.0; columns p = Ld/L:
// 0, 0.2, 0.4, 0.6, 0.8.
const double kMuTableSolid[35] = {
    1.53, 1.46, 1.16, 1.05, 1.00,
    1.40, 1.31, 1.12, 1.04, 1.00,
    1.27, 1.16, 1.08, 1.03, 1.00,
    1.15, 1.09, 1.04, 1.01, 1.00,
    1.08, 1.05, 1.02, 1.01, 1.00,
    1.03, 1.02, 1.01, 1.00, 1.00,
    1.00, 1.00, 1.00, 1.00, 1.00,
};

const double kMuTableTwoLimb[35] = {
    1.27, 1.17, 1.09, 1.03, 1.00,
    1.23, 1.14, 1.07, 1.02, 1.00,
    1.19, 1.11, 1.05, 1.01, 1.00,
    1.12, 1.07, 1.04, 1.01, 1.00,
    1.07, 1.04, 1.02, 1.01, 1.00,
    1.03, 1.02, 1.01, 1.00, 1.00,
    1.00, 1.00, 1.00, 1.00, 1.00,
};

const double kMuTableFourLimb[35] = {
    1.45, 1.29, 1.13, 1.04, 1.00,
    1.35, 1.22, 1.10, 1.03, 1.00,
    1.25, 1.15, 1.07, 1.02, 1.00,
    1.14, 1.08, 1.04, 1.01, 1.00,
    1.08, 1.05, 1.02, 1.01, 1.00,
    1.03, 1.02, 1.01, 1.00, 1.00,
    1.00, 1.00, 1.00, 1.00, 1.00,
};

double LookupPsi(SteelGrade grade, double lambda) {
  // A Q345 member behaves as a Q235 one of slenderness λ·sqrt(345/235).
  const double scaled = grade == SteelGrade::Q345 ? lambda * 1.21165 : lambda;
  const double whole = std::floor(scaled);
  // Also catches a slenderness that is not a number or too large for an index.
  if (!(whole >= 0.0 && whole <= 250.0)) return 1.0;
  const int i = static_cast<int>(whole);
  return kPsiTableB[i] + (kPsiTableB[i + 1] - kPsiTableB[i]) * (scaled - i);
}

namespace {

constexpr double kRowQ[7] = {0.0, 0.1, 0.2, 0.4, 0.6, 0.8, 1.0};
constexpr double kColumnP[5] = {0.0, 0.2, 0.4, 0.6, 0.8};

const double* MuTable(RodForm form) {
  switch (form) {
    case RodForm::SolidWeb:
      return kMuTableSolid;
    case RodForm::TwoLimbBattened:
    case RodForm::TwoLimbLaced:
      return kMuTableTwoLimb;
    case RodForm::FourLimbBattened:
    case RodForm::FourLimbLaced:
      break;
  }
  return kMuTableFourLimb;
}

}  // namespace

double LookupMu(RodForm form, double L, double Ld, double Imax, double Imin) {
  const double q = Imin / Imax;
  const double p = Ld / L;

  if (q >= 0.0 && q < 1.0 && p >= 0.0 && p < 0.8) {
    int i = 0;
    if (q >= 0.1) i = 1;
    if (q >= 0.2) i = 2;
    if (q >= 0.4) i = 3;
    if (q >= 0.6) i = 4;
    if (q >= 0.8) i = 5;
    int j = 0;
    if (p >= 0.2) j = 1;
    if (p >= 0.4) j = 2;
    if (p >= 0.6) j = 3;
    const double dq = i < 2 ? 0.1 : 0.2;

    const double* t = MuTable(form);
    auto at = [t](int row, int column) { return t[row * 5 + column]; };
    // Along q in the two columns around p, then along p between them; kept in
    // this order, since a reordered formula can move the last digit shown.
    const double a = at(i, j) + (at(i + 1, j) - at(i, j)) / dq * (q - kRowQ[i]);
    const double b = at(i, j + 1) + (at(i + 1, j + 1) - at(i, j + 1)) / dq * (q - kRowQ[i]);
    return a + (b - a) / 0.2 * (p - kColumnP[j]);
  }
  // A ratio that is not a number fails every comparison and lands here too.
  if (!(q >= 0.0 && q <= 1.0 && p >= 0.0 && p <= 1.0)) return -1.0;
  // Equal sections (q = 1), or the large section over 0.8 of the length or more.
  return 1.0;
}

}  // namespace tiecalc
