// Selection of the working reinforcement: the first trial that already passes, a failing
// section walking up and closing in, the tolerance, the layer that gets the trial area, the
// bound on the trials, the caller's N, and errors of the checks ending the call.

#include "cracks/working_reinforcement.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "cracks/crack_width.hpp"
#include "rectangular/strength.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

// A B25 slab strip 0.5 m deep and 1 m wide with A-III bars 5 cm from both faces, under a bending
// moment of 0.3 MN·m; the defaults of the interface otherwise.
class WorkingReinforcement : public ::testing::Test {
 protected:
  double Select() {
    return ПодборРабочейАрматуры(класс, бетон, N, M, ав, ан, h, B, трещины, acr, точность);
  }
  int ErrorOf() {
    try {
      Select();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  }

  // The margins of the two checks for a tension area A as the search runs them.
  double StrengthMargin(double A) {
    double n = N, m = M, fв = M >= 0 ? 5.655 : A, fн = M >= 0 ? A : 5.655;
    double ав_ = ав, ан_ = ан, h_ = h, b = B, Nl = 0, Ml = 0, L = -1;
    double s = -1, dx = -1, dy = -1, nx = -1, ny = -1;
    bool нет = false, флаги[6] = {};
    uint8_t к = класс, метод = 3;
    float бет = бетон;
    std::string отчёт;
    return мтПрочность(к, бет, n, m, fв, fн, ав_, ан_, h_, b, нет, флаги[0], флаги[1], флаги[2],
                       флаги[3], флаги[4], флаги[5], Nl, Ml, L, -1, 12, s, dx, dy, nx, ny, метод,
                       отчёт)
        .Get<double>();
  }
  double CrackMargin(double A) {
    double n = N == 0 ? -1e-20 : N, m = M, fв = M >= 0 ? 5.655 : A, fн = M >= 0 ? A : 5.655;
    double ав_ = ав, ан_ = ан, h_ = h, b = B, a = acr, Q = 0, xd = 6, угол = 0, swx = 0, swz = 0;
    double dw = 0, Bw = 1, Bs = 1;
    bool жд = false;
    uint8_t к = класс, метод = 3;
    float бет = бетон;
    std::string отчёт;
    return мтТрещиностойкость(к, бет, n, m, fв, fн, ав_, ан_, h_, b, a, Q, xd, угол, swx, swz, dw,
                              Bw, Bs, жд, метод, отчёт);
  }
  double Margin(double A) {
    const double m1 = StrengthMargin(A);
    return трещины ? std::min(m1, CrackMargin(A)) : m1;
  }

  ScopedDecimalSeparator separator{","};
  uint8_t класс = 3;
  float бетон = 25;
  double N = 0, M = 0.3, ав = 0.05, ан = 0.05, h = 0.5, B = 1;
  bool трещины = true;
  double acr = 0.02, точность = 0.1;
};

TEST_F(WorkingReinforcement, FirstTrialThatPassesIsTheResult) {
  M = 0.01;
  EXPECT_GT(Margin(4.655), 0);
  EXPECT_DOUBLE_EQ(Select(), 4.655);
}

TEST_F(WorkingReinforcement, CallersZeroForceBecomesTheTinyTension) {
  EXPECT_NEAR(Select(), 24.655, 1e-9);
  EXPECT_EQ(N, -1e-20);
  N = 1;
  Select();
  EXPECT_EQ(N, 1);
  // Nothing else the checks are given is the caller's to lose.
  EXPECT_EQ(M, 0.3);
  EXPECT_EQ(B, 1);
  EXPECT_EQ(acr, 0.02);
  EXPECT_EQ(точность, 0.1);
  EXPECT_TRUE(трещины);
}

// Trials 4.655, 8.655 … 20.655 fail by strength and 24.655 passes; the halving steps between
// them find only failing areas, since the crack margin jumps with the bar layout.
TEST_F(WorkingReinforcement, FailingSectionWalksUpByFourAndClosesIn) {
  for (double A : {4.655, 8.655, 12.655, 16.655, 20.655, 24.53, 24.5925}) {
    EXPECT_LE(Margin(A), 0) << A;
  }
  EXPECT_GT(Margin(24.655), 0);
  EXPECT_NEAR(Select(), 24.655, 1e-9);
}

TEST_F(WorkingReinforcement, StrengthAloneNeedsLessSteel) {
  трещины = false;
  // 20.655 passes, then the halving steps back to 20.28, whose margin is below the tolerance.
  EXPECT_NEAR(Select(), 20.28, 1e-9);
  EXPECT_GT(Margin(20.28), 0);
  EXPECT_LT(Margin(20.28), 0.1);
  EXPECT_LE(Margin(20.155), 0);
}

TEST_F(WorkingReinforcement, FinerToleranceClosesInFurther) {
  N = 1;
  const double coarse = Select();
  EXPECT_NEAR(coarse, 7.9675, 1e-9);
  точность = 0.01;
  const double fine = Select();
  EXPECT_NEAR(fine, 7.96359375, 1e-9);
  EXPECT_GT(Margin(fine), 0);
  EXPECT_LE(Margin(fine - 0.00390625), 0);
  EXPECT_LT(fine, coarse);
}

TEST_F(WorkingReinforcement, NegativeMomentGivesTheTrialAreaToTheTopLayer) {
  N = 1;
  ав = 0.07;
  const double bottom = Select();
  M = -0.3;
  std::swap(ав, ан);
  EXPECT_DOUBLE_EQ(Select(), bottom);
  EXPECT_GT(Margin(bottom), 0);
}

TEST_F(WorkingReinforcement, SectionThatNeverPassesEndsWithMinusOne) {
  N = 1e8;  // far beyond any reinforcement: the margins stay negative
  EXPECT_EQ(Select(), -1);
  трещины = false;  // the strength margin keeps changing: the trial bound ends the search
  EXPECT_EQ(Select(), -1);
}

// Without a tolerance no stop test can succeed once the area settles on a passing value: the
// trial bound ends the search with the best area found, whose margin is the smallest positive
// one.
TEST_F(WorkingReinforcement, TrialBoundReturnsTheBestAreaSoFar) {
  M = 0.1;
  точность = 0.01;
  const double with_tolerance = Select();
  EXPECT_NEAR(with_tolerance, 7.94796875, 1e-9);
  точность = 0;
  const double best = Select();
  EXPECT_GT(Margin(best), 0);
  EXPECT_LT(Margin(best), 1e-9);
  EXPECT_LT(best, with_tolerance);
  EXPECT_GT(best, with_tolerance - 0.00390625);
  точность = -1;
  EXPECT_DOUBLE_EQ(Select(), best);
}

TEST_F(WorkingReinforcement, ErrorOfACheckEndsTheCall) {
  B = 0;
  EXPECT_EQ(ErrorOf(), kDivisionByZero);
  EXPECT_EQ(N, -1e-20);  // the strength check had replaced it before failing
  B = 1;
  класс = 9;  // no such steel: its resistance is the text "ERROR"
  EXPECT_EQ(ErrorOf(), kTypeMismatch);
}

}  // namespace
}  // namespace armocalc
