#include "materials/civil_defence.hpp"

#include <gtest/gtest.h>

namespace armocalc {
namespace {

struct УсловияБетона {
  bool Iб = false;
  bool тепловая_обработка = false;
  bool без_арматуры = false;
  bool нарастание = false;
  bool заводское = false;
  int32_t водонасыщение = 1;
  int16_t температура = 0;
};

double Бетон(float класс, uint8_t код, УсловияБетона условия = {}) {
  return гоБетон(класс, код, условия.Iб, условия.тепловая_обработка, условия.без_арматуры,
                 условия.нарастание, условия.заводское, условия.водонасыщение, условия.температура);
}

double Арматура(uint8_t класс, uint8_t код, bool в_растянутой, bool на_изгиб) {
  return гоАрматура(класс, код, в_растянутой, на_изгиб);
}

TEST(CivilDefenceConcrete, PrismStrengthWithTheLimitStateFactor) {
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1), 130.0 * 9.81 / 100 * 1.2);
  EXPECT_NEAR(Бетон(20.0f, 1), 15.3036, 1e-12);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.Iб = true}), 130.0 * 9.81 / 100 * 1.3);
}

TEST(CivilDefenceConcrete, TemperatureFactorOfWaterSaturatedStructures) {
  const double база = 130.0 * 9.81 / 100 * 1.2;
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 2, .температура = -30}), база * 0.85);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 2, .температура = -20}), база * 0.9);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 2, .температура = -10}), база * 0.9);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 2, .температура = -5}), база * 0.95);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 2, .температура = 0}), база * 0.95);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 1, .температура = -41}), база * 0.9);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 1, .температура = -40}), база);
  EXPECT_DOUBLE_EQ(Бетон(20.0f, 1, {.водонасыщение = 3, .температура = -60}), база);
}

TEST(CivilDefenceConcrete, FactorsAreAppliedInTheirOrder) {
  const УсловияБетона все{.Iб = true,
                          .без_арматуры = true,
                          .нарастание = true,
                          .заводское = true,
                          .водонасыщение = 2,
                          .температура = -10};
  EXPECT_EQ(Бетон(20.0f, 2, все), 10.4 * 9.81 / 100 * 1.3 * 0.9 * 0.9 * 1.25 * 1.15);
}

TEST(CivilDefenceConcrete, GradeModulusAndQuarterStrength) {
  EXPECT_EQ(Бетон(25.0f, 4, {.Iб = true, .заводское = true}), 350.0);
  const УсловияБетона условия{.нарастание = true, .водонасыщение = 2, .температура = -25};
  EXPECT_DOUBLE_EQ(Бетон(25.0f, 5, условия), Бетон(25.0f, 1, условия) * 0.25);
  EXPECT_DOUBLE_EQ(Бетон(30.0f, 3, {.тепловая_обработка = true}), 360000.0 * 9.81 / 100 * 0.9);
  EXPECT_NEAR(Бетон(30.0f, 3, {.тепловая_обработка = true}), 31784.4, 1e-9);
  // The modulus gets no strength factors.
  EXPECT_DOUBLE_EQ(Бетон(30.0f, 3, {.Iб = true, .заводское = true}), 360000.0 * 9.81 / 100);
}

TEST(CivilDefenceConcrete, ClassesBetweenTabulatedOnesInterpolate) {
  EXPECT_DOUBLE_EQ(Бетон(17.5f, 4), 225.0);
}

TEST(CivilDefenceSteel, DynamicHardeningByZone) {
  EXPECT_DOUBLE_EQ(Арматура(1, 1, true, true), 2400.0 * 9.81 / 100 * 1.1 * 1.35);
  EXPECT_NEAR(Арматура(1, 1, true, true), 349.6284, 1e-9);
  EXPECT_DOUBLE_EQ(Арматура(1, 1, false, true), 2400.0 * 9.81 / 100 * 1.1 * 1.1);
  EXPECT_DOUBLE_EQ(Арматура(2, 1, true, false), 3000.0 * 9.81 / 100 * 1.3);
  EXPECT_DOUBLE_EQ(Арматура(4, 1, true, true), 5000.0 * 9.81 / 100 * 1.05);
}

TEST(CivilDefenceSteel, CompressionUsesTheSecondColumn) {
  EXPECT_DOUBLE_EQ(Арматура(3, 3, true, false), 3600.0 * 9.81 / 100 * 1.1);
  EXPECT_DOUBLE_EQ(Арматура(3, 3, true, true), 3600.0 * 9.81 / 100 * 1.1 * 1.1);
}

TEST(CivilDefenceSteel, ModulusHasNoFactors) {
  EXPECT_DOUBLE_EQ(Арматура(2, 4, true, true), 206010.0);
  EXPECT_DOUBLE_EQ(Арматура(3, 4, false, true), 196200.0);
}

}  // namespace
}  // namespace armocalc
