// The search for the least stirrups: a converging search, one that ends on a repeated layout
// without a passing one (−1), the pass bound, and a failing shear check ending the call.

#include "shear/stirrup_selection.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "materials/bars.hpp"
#include "runtime/errors.hpp"
#include "shear_test_support.hpp"

namespace armocalc {
namespace {

using namespace shear_test;  // NOLINT(google-build-using-namespace)

// A-I stirrups in B25, ho = 0.9 m, h = 1 m, b = 1 m, no moment unless given.
struct ВходПодбора {
  uint8_t класс_стали = 1;
  float класс_бетона = 25;
  double Q = 1;
  double ho = 0.9;
  double h = 1;
  double B = 1;
  double M = 0;
  double Awr_sm2 = 0;
  double точность = 0.1;

  double Подобрать() {
    return ПодборПоперечнойАрматуры(класс_стали, класс_бетона, Q, ho, h, B, M, Awr_sm2, точность);
  }

  // The margin of the layout the search gives an area (the check as the search runs it).
  double ЗапасПлощади(double x_sm2) {
    double d = 0;
    double s = 0;
    ДиаметрИШагСтержней(d, s, x_sm2 / 10000, 1);
    ВходХомутов хомуты;
    хомуты.класс_стали = класс_стали;
    хомуты.класс_бетона = класс_бетона;
    хомуты.Q = Q;
    хомуты.B = B;
    хомуты.ho = ho;
    хомуты.s_wx = s;
    хомуты.s_wz = s;
    хомуты.dw_mm = d * 1000;
    хомуты.h = h;
    хомуты.M = M;
    хомуты.Awr_sm2 = Awr_sm2;
    return хомуты.Вызвать();
  }
};

// Q = 1 MN: 0.6 fails (d6@350, −7.5 %), 4.6 passes (d10@170), then the step halves around the
// boundary: 2.6, 0.6, 1.6, 1.1 (fails), 1.35, 1.225, 1.1, 1.1625 (d6@240, +0.34 %); the step
// 0.0625 is below the tolerance and the search stops there.
TEST(StirrupSelection, ConvergesOnTheSmallestPassingLayout) {
  ВходПодбора вход;
  const double x = вход.Подобрать();
  EXPECT_NEAR(x, 1.1625, 1e-12);
  EXPECT_NEAR(вход.ЗапасПлощади(x), 0.3428, 1e-4);
  EXPECT_LT(вход.ЗапасПлощади(1.1), 0);
  // The caller's variables keep their values.
  EXPECT_EQ(вход.точность, 0.1);
  EXPECT_EQ(вход.B, 1);
}

TEST(StirrupSelection, SmallSectionNeedsNoMoreThanTheFirstArea) {
  // Q = 0.05 MN passes at 0.6 with a large margin; the larger areas only raise it, until two
  // areas give the same margin.
  ВходПодбора вход;
  вход.Q = 0.05;
  EXPECT_NEAR(вход.Подобрать(), 0.6, 1e-15);
  // A margin at 0.6 below the tolerance ends the search at once.
  вход.точность = 200;
  EXPECT_NEAR(вход.Подобрать(), 0.6, 1e-15);
}

TEST(StirrupSelection, NoPassingLayoutGivesMinusOne) {
  ВходПодбора вход;  // the concrete strut alone fails: the same margin for every layout
  вход.Q = 50;
  EXPECT_EQ(вход.Подобрать(), -1);
  // A large moment: the margin stays negative and changes, the step stays at +4 cm²/m until two
  // areas fall on the same layout (108.6 and 112.6 on d36@90), and the search ends with −1.
  ВходПодбора момент;
  момент.M = 5;
  момент.Q = 0.05;
  EXPECT_EQ(момент.Подобрать(), -1);
}

TEST(StirrupSelection, ToleranceThatNeverStopsEndsAtThePassBound) {
  // A negative tolerance never stops a passing search: the area climbs past the largest layout
  // and keeps it. The bound ends the call with the best area so far.
  ВходПодбора вход;
  вход.Q = 0.05;
  вход.точность = -1;
  EXPECT_NEAR(вход.Подобрать(), 0.6, 1e-15);
  вход.точность = std::numeric_limits<double>::quiet_NaN();  // no comparison holds
  EXPECT_NEAR(вход.Подобрать(), 0.6, 1e-15);
}

TEST(StirrupSelection, FailingShearCheckEndsTheCallWithItsError) {
  ВходПодбора без_силы;  // Q = 0 with Qн = Q: Tq = 0
  без_силы.Q = 0;
  EXPECT_RUNTIME_ERROR(без_силы.Подобрать(), kDivisionByZero);
  ВходПодбора без_ширины;
  без_ширины.B = 0;  // 0 / 0 in the stirrup ratio
  EXPECT_RUNTIME_ERROR(без_ширины.Подобрать(), kOverflow);
  ВходПодбора неизвестная_сталь;
  неизвестная_сталь.класс_стали = 5;
  EXPECT_RUNTIME_ERROR(неизвестная_сталь.Подобрать(), kTypeMismatch);
}

}  // namespace
}  // namespace armocalc
