#include "core/analysis/FourRod.h"

#include <cmath>

#include "core/analysis/Angles.h"
#include "core/input/Format.h"

namespace tiecalc {

FourRodCoefficients PrepareFourRod(const FourRodGeometry& g, const Rod4& L, const Rod4& E, const Rod4& S) {
  const double a = Rad(g.Angles.Alpha);
  const double b = Rad(g.Angles.Beta);
  const double gm = Rad(g.Angles.Gamma);
  const double d = Rad(g.Angles.Delta);
  const double ta = std::tan(a), tb = std::tan(b), tg = std::tan(gm), td = std::tan(d);
  const double ca = std::cos(a), cb = std::cos(b), cg = std::cos(gm), cd = std::cos(d);
  const double sa = std::sin(a), sb = std::sin(b), sg = std::sin(gm), sd = std::sin(d);

  FourRodCoefficients k;
  // P: rods 1 and 2 extended until they meet (x frame).
  k.yP = (ta * tb * (g.t1x - g.t2x) - tb * g.t1y + ta * g.t2y) / (ta - tb);
  k.xP = (k.yP - g.t1y) / ta + g.t1x;
  // Q: rods 4 and 3 extended until they meet (mirrored frame).
  k.yQ = (td * tg * (g.t4x - g.t3x) - tg * g.t4y + td * g.t3y) / (td - tg);
  k.xQ = (k.yQ - g.t4y) / td + g.t4x;

  k.W = k.xP + k.xQ;
  const double W = k.W;
  const double delta = k.yP - k.yQ;
  const double h1 = std::sin(a - b);
  const double h2 = std::sin(d - gm);

  // Base structure: rod forces (times W) under R sin, R cos and M * 1000, and
  // the rod forces under a unit redundant, which are self-balanced.
  const Rod4 s0 = {cb * k.xQ / h1, -(ca * k.xQ) / h1, -(cd * k.xP) / h2, cg * k.xP / h2};
  const Rod4 c0 = {-(sb * W - cb * k.yP) / h1, (sa * W - ca * k.yP) / h1, cd * k.yP / h2,
                   -(cg * k.yP) / h2};
  const Rod4 m0 = {cb / h1, -ca / h1, cd / h2, -cg / h2};
  const Rod4 u = {(sb * (-W) + cb * delta) / h1, (sa * W - ca * delta) / h1,
                  (sd * W + cd * delta) / h2, (sg * (-W) - cg * delta) / h2};

  // Zero displacement along the redundant, by virtual work over the real rods.
  double D = 0.0, xs = 0.0, xc = 0.0, xm = 0.0;
  for (size_t i = 0; i < 4; ++i) {
    const double w = L[i] / (E[i] * S[i]);
    D += u[i] * u[i] * w;
    xs += s0[i] * u[i] * w;
    xc += c0[i] * u[i] * w;
    xm += m0[i] * u[i] * w;
  }
  xs /= D;
  xc /= D;
  xm /= D;

  for (size_t i = 0; i < 4; ++i) {
    k.s[i] = s0[i] - u[i] * xs;
    k.c[i] = c0[i] - u[i] * xc;
    k.m[i] = m0[i] - u[i] * xm;
  }
  k.ux = {ca, cb, -cg, -cd};
  k.uy = {sa, sb, sg, sd};
  return k;
}

FourRodForces FourRodForcesAt(const FourRodCoefficients& k, double R, double M, double theta) {
  const double t = Rad(theta);
  const double ct = std::cos(t), st = std::sin(t);
  FourRodForces f;
  for (size_t i = 0; i < 4; ++i) {
    f.F[i] = (k.m[i] * M * 1000.0 + ct * (k.c[i] * R) + st * (k.s[i] * R)) / k.W;
    f.Fx[i] = k.ux[i] * f.F[i];
    f.Fy[i] = k.uy[i] * f.F[i];
  }
  return f;
}

std::array<FourRodExtreme, 4> FourRodExtremes(const FourRodCoefficients& k, double R, double M) {
  std::array<FourRodExtreme, 4> out;
  for (size_t i = 0; i < 4; ++i) {
    FourRodExtreme& e = out[i];
    // The R part s sin(phi) + c cos(phi) is largest at phi = atan2(s, c); the
    // torque enters with its magnitude, for either sense of M.
    e.Phi = Deg(std::atan2(k.s[i], k.c[i]));
    e.PhiOpposite = e.Phi + 180.0;
    auto rPart = [&](double phi) {
      return std::sin(Rad(phi)) * (k.s[i] * R) + std::cos(Rad(phi)) * (k.c[i] * R);
    };
    const double K = std::fabs(k.m[i] * M * 1000.0);
    if (R < 0.0) {
      e.First = (rPart(e.Phi) - K) / k.W;
      e.Second = (K + rPart(e.PhiOpposite)) / k.W;
    } else {
      e.First = (K + rPart(e.Phi)) / k.W;
      e.Second = (rPart(e.PhiOpposite) - K) / k.W;
    }
    e.ForceText = FormatFixed(e.First, 2) + "/" + FormatFixed(e.Second, 2);
    e.AngleText = FormatFixed(e.Phi, 2) + "/" + FormatFixed(e.PhiOpposite, 2);
  }
  return out;
}

}  // namespace tiecalc
