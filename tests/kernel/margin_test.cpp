#include "kernel/margin.hpp"

#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

TEST(Margin, RatioMethodDividesAndFailsOnZeroActingValue) {
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(3, 2, 0), 1.5);
  EXPECT_RUNTIME_ERROR(ОпределитьЗапас(3, 0, 0), kDivisionByZero);
  EXPECT_RUNTIME_ERROR(ОпределитьЗапас(0, 0, 0), kOverflow);
}

TEST(Margin, PerCentMethodsApplyTheirZeroRules) {
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(150, 100, 1), 50.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(-7, 0, 1), 100.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(150, 100, 2), 100.0 * (1.0 - 100.0 / 150.0));
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(0, 42, 2), -100.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(0, 0, 2), -100.0);
}

TEST(Margin, CombinedMethodTakesTheShareOfWhicheverSideFalls) {
  EXPECT_NEAR(ОпределитьЗапас(150, 100, 3), 33.333333333333, 1e-9);
  EXPECT_NEAR(ОпределитьЗапас(100, 150, 3), -33.333333333333, 1e-9);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(200, 100, 3), 50.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(100, 200, 3), -50.0);
}

TEST(Margin, CombinedMethodZeroAndSignRules) {
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(0, 0, 3), 100.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(0, 5, 3), -100.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(5, 0, 3), 100.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(-100, 50, 3), -150.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(-100, -50, 3), 50.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(100, -50, 3), 150.0);
  EXPECT_DOUBLE_EQ(ОпределитьЗапас(-100, 0, 3), -100.0);
}

TEST(Margin, UnknownMethodGivesZero) {
  EXPECT_EQ(ОпределитьЗапас(150, 100, 4), 0.0);
  EXPECT_EQ(ОпределитьЗапас(150, 0, 7), 0.0);
  EXPECT_EQ(ОпределитьЗапас(150, 100, 255), 0.0);
}

TEST(Margin, QuotientBeyondTheDoubleRangeOverflows) {
  EXPECT_RUNTIME_ERROR(ОпределитьЗапас(1e300, 1e-300, 1), kOverflow);
  EXPECT_RUNTIME_ERROR(ОпределитьЗапас(1e-300, 1e300, 3), kOverflow);
}

}  // namespace
}  // namespace armocalc
