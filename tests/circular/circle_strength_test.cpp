// The circular-section dispatcher: the normalised arguments, every row of its table with the
// tube equivalents and the write-backs, central tension, the tube-reinforced pile in its own
// units, and the unstable element.

#include <cmath>
#include <string>

#include "circular/bar_by_bar.hpp"
#include "circular_test_support.hpp"
#include "kernel/margin.hpp"

namespace armocalc::circle_test {
namespace {

constexpr double kPi = 3.14159265358979;

class CircleStrengthTest : public CircleTest {};

double Кольцо(double N, double M, double D, double ns, double Dk = 1.0) {
  uint8_t класс = 3;
  float бетон = 25;
  double dв = 0.8, dн = 1.2;
  uint8_t метод = 3;
  std::string отчёт;
  return гRing(класс, бетон, dв, dн, N, M, Dk / 2, D, ns, метод, отчёт);
}

TEST_F(CircleStrengthTest, MomentAndPermanentPartsAreNormalisedInTheCallersVariables) {
  Круг круг;
  круг.M = -0.3;
  const double запас = круг.Запас();
  EXPECT_EQ(круг.M, 0.3);
  EXPECT_EQ(круг.Nl, 1.5);
  EXPECT_EQ(круг.Ml, 0.3);
  Круг положительный;
  EXPECT_EQ(запас, положительный.Запас());

  Круг длительные;
  длительные.Nl = 1;
  длительные.Ml = -0.2;
  длительные.Запас();
  EXPECT_EQ(длительные.Nl, 1);
  EXPECT_EQ(длительные.Ml, 0.2);
}

TEST_F(CircleStrengthTest, RingWithATubeWritesItsEquivalents) {
  for (const double N : {0.0, 1.5}) {
    Круг круг;
    круг.Dв = 0.8;
    круг.ns = 0;
    круг.N = N;
    const double запас = круг.Запас();
    const double t = 50.0 / 10000 / (1.0 * kPi);
    EXPECT_DOUBLE_EQ(круг.ds, t);
    EXPECT_EQ(круг.ns, 3);  // 50 cm² / t = π · Dk, rounded
    // The ring check takes the thickness in m as the bar diameter, and 0.00001 MN for no force.
    EXPECT_EQ(запас, Кольцо(N == 0 ? 0.00001 : N, 0.3, t, 3)) << N;
  }
}

TEST_F(CircleStrengthTest, RingWithBarsGoesToTheRingCheck) {
  for (const double N : {0.0, 1.5}) {
    Круг круг;
    круг.Dв = 0.8;
    круг.N = N;
    EXPECT_EQ(круг.Запас(), Кольцо(N == 0 ? 0.00001 : N, 0.3, 20, 16)) << N;
    EXPECT_EQ(круг.ds, 20);
    EXPECT_EQ(круг.ns, 16);
    EXPECT_EQ(круг.Fs, 50);
  }
}

TEST_F(CircleStrengthTest, SolidPileWithATubeComputesInKilonewtons) {
  Круг круг;
  круг.ns = 0;
  круг.L = 6;
  const double запас = круг.Запас();
  const double t = 50.0 / 10000 / (1.0 * kPi);
  EXPECT_DOUBLE_EQ(круг.ds, t);
  EXPECT_EQ(круг.ns, 0);
  const double Cov = (1.2 - 1.0) / 2 - t / 2;
  // lo = 1.2 · L with the default end fixity.
  EXPECT_EQ(запас, ПрочностьСваиСТрубой(300, 1500, 7.2, 1.2, 50, Cov, 3, 25, 3));

  // No force: 0.00001 MN is 0.01 kN, and the length stays 1 m.
  Круг изгиб;
  изгиб.ns = 0;
  изгиб.N = 0;
  изгиб.L = 6;
  EXPECT_EQ(изгиб.Запас(), ПрочностьСваиСТрубой(300, 0.01, 1, 1.2, 50, Cov, 3, 25, 3));
}

// Handed in MN and MN·m, the pile check would see a force a thousand times smaller than it is
// and report a safe pile; in kN it fails.
TEST_F(CircleStrengthTest, OverloadedTubePileFails) {
  Круг круг;
  круг.ns = 0;
  круг.N = 20;
  круг.M = 3;
  круг.Fs = 20;
  const double запас = круг.Запас();
  EXPECT_LT(запас, -50);
  const double t = 20.0 / 10000 / (1.0 * kPi);
  const double Cov = (1.2 - 1.0) / 2 - t / 2;
  EXPECT_GT(ПрочностьСваиСТрубой(3, 20, 1, 1.2, 20, Cov, 3, 25, 3), 90);
}

TEST_F(CircleStrengthTest, SolidCircleWithBarsInBendingAndCompression) {
  Круг изгиб;
  изгиб.N = 0;
  const double запас_изгиба = изгиб.Запас();
  EXPECT_GT(запас_изгиба, 0);
  EXPECT_LT(запас_изгиба, 100);
  EXPECT_EQ(изгиб.Fs, 50);  // bending leaves the area as given
  Круг большой_момент;
  большой_момент.N = 0;
  большой_момент.M = 3;
  EXPECT_LT(большой_момент.Запас(), 0);

  Круг сжатие;
  const double запас_сжатия = сжатие.Запас();
  EXPECT_DOUBLE_EQ(сжатие.Fs, (20.0 / 2000) * (20.0 / 2000) * (16 * kPi));
  EXPECT_GT(запас_сжатия, 0);
  EXPECT_LT(запас_сжатия, 100);

  // Central compression (the small eccentricity): a larger force leaves less.
  Круг центральное;
  центральное.M = 0.01;
  центральное.N = 5;
  Круг тяжелее = центральное;
  тяжелее.N = 10;
  EXPECT_GT(центральное.Запас(), тяжелее.Запас());
}

TEST_F(CircleStrengthTest, CentralTension) {
  Круг стержни;
  стержни.N = -1;
  стержни.M = 0;
  const double Fs = (20.0 / 2000) * (20.0 / 2000) * (16 * kPi);
  EXPECT_DOUBLE_EQ(стержни.Запас(), ОпределитьЗапас(330 * Fs, 1, 3));
  EXPECT_DOUBLE_EQ(стержни.Fs, Fs);

  // Without bars the area is the caller's cm², converted and left as given.
  Круг труба;
  труба.N = -1;
  труба.M = 0;
  труба.ns = 0;
  EXPECT_DOUBLE_EQ(труба.Запас(), ОпределитьЗапас(330 * (50.0 / 10000), 1, 3));
  EXPECT_EQ(труба.Fs, 50);
  труба.N = -2;
  EXPECT_LT(труба.Запас(), 0);  // 1.65 MN of steel under 2 MN

  // A ring under central tension is computed the same way.
  Круг кольцо;
  кольцо.Dв = 0.8;
  кольцо.N = -1;
  кольцо.M = 0;
  EXPECT_DOUBLE_EQ(кольцо.Запас(), ОпределитьЗапас(330 * Fs, 1, 3));
}

TEST_F(CircleStrengthTest, TensionThatNoCalculationCoversReturnsZero) {
  Круг труба;
  труба.N = -0.1;
  труба.ns = 0;
  EXPECT_EQ(труба.Запас(), 0);
  Круг кольцо;
  кольцо.N = -0.1;
  кольцо.Dв = 0.8;
  EXPECT_EQ(кольцо.Запас(), 0);
  // Small eccentricity with a moment.
  Круг малый;
  малый.N = -10;
  малый.M = 0.01;
  малый.Dв = 0.8;
  EXPECT_EQ(малый.Запас(), 0);
}

TEST_F(CircleStrengthTest, TensionOfASolidCircleWithBars) {
  // The force inside the bar ring: half of the bars.
  Круг внутри;
  внутри.N = -1;
  внутри.M = 0.2;
  const double e = 0.2;
  const double c = circular::ЦентрПолукольца(0.5 - 0.01, 0.5 + 0.01);
  ASSERT_LT(e, c);
  const double Fs = (20.0 / 2000) * (20.0 / 2000) * (16 * kPi) / 2;
  EXPECT_DOUBLE_EQ(внутри.Запас(), ОпределитьЗапас(330 * Fs * c * 2 / (c + e), 1, 3));
  EXPECT_DOUBLE_EQ(внутри.Fs, Fs);

  // Outside the ring: the trial passes run and the area of all bars is written back.
  Круг снаружи;
  снаружи.N = -0.5;
  снаружи.M = 0.5;
  const double запас = снаружи.Запас();
  EXPECT_TRUE(std::isfinite(запас));
  EXPECT_DOUBLE_EQ(снаружи.Fs, 2 * Fs);
}

TEST_F(CircleStrengthTest, UnstableElementsHaveNoCapacity) {
  Круг стержни;
  стержни.L = 100;
  EXPECT_EQ(стержни.Запас(), -100);
  EXPECT_DOUBLE_EQ(стержни.Fs, (20.0 / 2000) * (20.0 / 2000) * (16 * kPi));  // already written
  стержни.L = 100;
  стержни.метод = 0;
  EXPECT_EQ(стержни.Запас(), 0);

  Круг труба;
  труба.ns = 0;
  труба.L = 100;
  EXPECT_EQ(труба.Запас(), -100);

  // A short element of the same section keeps its capacity.
  Круг короткий;
  короткий.L = 3;
  EXPECT_GT(короткий.Запас(), 0);
}

TEST_F(CircleStrengthTest, OmittedLengthKeepsOneMetre) {
  // Any negative length is no length: lo = 1 m and no random eccentricity.
  Круг без_длины;
  Круг отрицательная;
  отрицательная.L = -5;
  EXPECT_EQ(без_длины.Запас(), отрицательная.Запас());
  // A given length of 1 m adds its random eccentricity lo / 400.
  Круг метр;
  метр.L = 1;
  метр.закрепления = 10;
  EXPECT_NE(без_длины.Запас(), метр.Запас());
  // Tension never takes the length.
  Круг растяжение;
  растяжение.N = -0.5;
  растяжение.M = 0.5;
  Круг растяжение_с_длиной = растяжение;
  растяжение_с_длиной.L = 50;
  EXPECT_EQ(растяжение.Запас(), растяжение_с_длиной.Запас());
}

TEST_F(CircleStrengthTest, Failures) {
  Круг без_диаметра;
  без_диаметра.Dн = 0;
  EXPECT_RUNTIME_ERROR(без_диаметра.Запас(), kOverflow);  // 0 / 0 in the section modulus
  EXPECT_EQ(без_диаметра.M, 0.3);

  Круг без_каркаса;
  без_каркаса.ns = 0;
  без_каркаса.Dk = 0;
  EXPECT_RUNTIME_ERROR(без_каркаса.Запас(), kDivisionByZero);

  Круг много_стержней;
  много_стержней.ns = circular::kНаибольшееЧислоСтержней + 1;
  EXPECT_RUNTIME_ERROR(много_стержней.Запас(), kOutOfMemory);

  // Two bars lie on the neutral diameter: the first trial depth has no tensioned bar (0 / 0).
  Круг два_стержня;
  два_стержня.N = 0;
  два_стержня.ns = 2;
  EXPECT_RUNTIME_ERROR(два_стержня.Запас(), kOverflow);

  Круг метод;
  метод.метод = 256;
  EXPECT_RUNTIME_ERROR(метод.Запас(), kOverflow);
}

}  // namespace
}  // namespace armocalc::circle_test
