// The formula routines of the bar-by-bar circle: bar positions, the bars below or above a depth,
// the two segment approximations and the half-annulus centroid.

#include "circular/bar_by_bar.hpp"

#include <cmath>
#include <vector>

#include "circular_test_support.hpp"

namespace armocalc::circle_test {
namespace {

using namespace armocalc::circular;

TEST(BarByBarTest, FirstBarLiesOnTheNeutralDiameter) {
  const std::vector<double> y = ПозицииСтержней(4, 0.5);
  ASSERT_EQ(y.size(), 4u);
  EXPECT_EQ(y[0], 0);
  EXPECT_NEAR(y[1], 0.5, 1e-15);
  EXPECT_NEAR(y[2], 0, 1e-14);  // the second bar at t = D / 2 of an even count
  EXPECT_NEAR(y[3], -0.5, 1e-15);

  // An odd count: one bar on the neutral diameter, the others in symmetric pairs.
  const std::vector<double> y5 = ПозицииСтержней(5, 1);
  EXPECT_EQ(y5[0], 0);
  EXPECT_NEAR(y5[1], -y5[4], 1e-14);
  EXPECT_NEAR(y5[2], -y5[3], 1e-14);

  EXPECT_RUNTIME_ERROR(ПозицииСтержней(0, 1), kSubscriptOutOfRange);
  EXPECT_RUNTIME_ERROR(ПозицииСтержней(kНаибольшееЧислоСтержней + 1, 1), kOutOfMemory);
}

TEST(BarByBarTest, BarsBelowAndAboveADepth) {
  const std::vector<double> y = {0, 0.5, -0.5};  // D = 2: t = 1, 1.5, 0.5; c = 1, 0.5, 1.5
  EXPECT_EQ(ЧислоНижних(y, 1.2, 2), 2);
  EXPECT_DOUBLE_EQ(СредняяНижних(y, 1.2, 2), 0.75);
  EXPECT_EQ(ДальнийНижний(y, 1.2, 2), 1);
  EXPECT_EQ(БлижайшийЗа(y, 1.2, 2), 1.5);
  EXPECT_EQ(БлижайшийНижний(y, 2), 0.5);
  EXPECT_EQ(ЧислоВерхних(y, 1.2, 2), 2);
  EXPECT_DOUBLE_EQ(СредняяВерхних(y, 1.2, 2), 0.75);

  // Strictly below: a bar at the depth itself does not count.
  EXPECT_EQ(ЧислоНижних(y, 1, 2), 1);
  // None below or beyond.
  EXPECT_EQ(ДальнийНижний(y, 0.5, 2), 0);
  EXPECT_EQ(БлижайшийЗа(y, 1.5, 2), 2);
  EXPECT_EQ(БлижайшийНижний({}, 2), 2);
  EXPECT_RUNTIME_ERROR(СредняяНижних(y, 0.5, 2), kOverflow);  // 0 / 0
  EXPECT_RUNTIME_ERROR(СредняяВерхних(y, 0.1, 2), kOverflow);
}

TEST(BarByBarTest, SegmentApproximations) {
  EXPECT_DOUBLE_EQ(ФункцияСегмента1(0.055), 1.818 * 0.055);
  EXPECT_DOUBLE_EQ(ФункцияСегмента1(0.1), 0.833 * 0.1 + 0.0542);
  EXPECT_DOUBLE_EQ(ФункцияСегмента1(0.295), 0.833 * 0.295 + 0.0542);
  EXPECT_DOUBLE_EQ(ФункцияСегмента1(0.5), 0.612 * 0.5 + 0.119);
  EXPECT_DOUBLE_EQ(ФункцияСегмента1(1), 0.509 + 0.199);
  EXPECT_DOUBLE_EQ(ФункцияСегмента2(0.1), 0.055);
  EXPECT_DOUBLE_EQ(ФункцияСегмента2(0.2), 1.2 * 0.2 - 0.065);
  EXPECT_DOUBLE_EQ(ФункцияСегмента2(0.6), 1.633 * 0.6 - 0.195);
  EXPECT_DOUBLE_EQ(ФункцияСегмента2(1), 1.965 - 0.392);
}

TEST(BarByBarTest, HalfAnnulusCentroid) {
  // A half disc: 4 R / (3 π).
  EXPECT_NEAR(ЦентрПолукольца(0, 1.5), 4 * 1.5 / 9.42477796076937, 1e-15);
  // A thin ring tends to 2 R / π.
  EXPECT_NEAR(ЦентрПолукольца(0.499, 0.501), 2 * 0.5 / 3.14159265358979, 1e-6);
  EXPECT_RUNTIME_ERROR(ЦентрПолукольца(0.5, 0.5), kOverflow);
}

}  // namespace
}  // namespace armocalc::circle_test
