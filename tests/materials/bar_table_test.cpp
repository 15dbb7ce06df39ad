#include "materials/bar_table.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

constexpr double kПи = 3.14159265358979;

double ПлощадьСтержня(double d_mm) {
  return kПи * std::pow(d_mm / 2000, 2);
}

// One row per bar: an unread first column, the position y (m) and the diameter (mm).
GridRange Таблица(const std::vector<std::pair<Variant, Variant>>& стержни) {
  std::vector<std::vector<Variant>> строки;
  for (const auto& [y, d] : стержни) строки.push_back({Variant("№"), y, d});
  return GridRange(строки);
}

struct Чтение {
  Variant класс = Variant(uint8_t{3});
  int32_t тип = 3;
  double M = 1.0;
  double y0 = 0.0;
  double h = 0.5;
  double x = 0.25;
};

ГруппыСтержней Прочитать(const HostRange& таблица, Чтение ч = {}) {
  return ПрочитатьТаблицуСтержней(таблица, ч.класс, ч.тип, ч.M, 0.0, ч.y0, ч.h, ч.x);
}

int КодОшибки(const std::function<void()>& действие) {
  try {
    действие();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(BarTable, OneCompressedBar) {
  const ГруппыСтержней г = Прочитать(Таблица({{0.2, 20.0}}));
  const double A = ПлощадьСтержня(20);
  EXPECT_EQ(г(Сжатая, ЧислоСтержней), 1.0);
  EXPECT_DOUBLE_EQ(г(Сжатая, Площадь), A);
  EXPECT_NEAR(г(Сжатая, Площадь), 0.000314159265358979, 1e-18);
  EXPECT_NEAR(г(Сжатая, РасстояниеДоГрани), 0.05, 1e-15);
  EXPECT_DOUBLE_EQ(г(Сжатая, СтатическийМомент), 0.2 * A);
  EXPECT_DOUBLE_EQ(г(Сжатая, МоментИнерции), kПи * std::pow(0.02, 4) / 64 + 0.04 * A);
  EXPECT_DOUBLE_EQ(г(Сжатая, СреднееRs), 350.0);
  EXPECT_DOUBLE_EQ(г(Сжатая, СреднийДиаметр), 0.02);
  EXPECT_NEAR(г(Сжатая, МинРасстояниеДоГрани), 0.05, 1e-15);
  EXPECT_DOUBLE_EQ(г(Сжатая, Центр), 0.2);

  for (int k = 0; k < 9; ++k) {
    EXPECT_EQ(г(Растянутая, k), k == МинРасстояниеДоГрани ? 100.0 : 0.0) << k;
  }
}

TEST(BarTable, GroupFollowsTheSignOfMAndTheReferenceLevel) {
  auto группа = [](double y, double M, double y0) {
    const ГруппыСтержней г = Прочитать(Таблица({{y, 16.0}}), {.M = M, .y0 = y0});
    return г(Сжатая, ЧислоСтержней) == 1.0 ? Сжатая : Растянутая;
  };
  EXPECT_EQ(группа(0.2, 0.0, 0.0), Сжатая);
  EXPECT_EQ(группа(0.0, 0.0, 0.0), Сжатая);
  EXPECT_EQ(группа(-0.2, 1.0, 0.0), Растянутая);
  EXPECT_EQ(группа(0.2, -1.0, 0.0), Растянутая);
  EXPECT_EQ(группа(0.0, -1.0, 0.0), Растянутая);
  EXPECT_EQ(группа(-0.2, -1.0, 0.0), Сжатая);
  EXPECT_EQ(группа(0.05, 1.0, 0.1), Растянутая);
}

TEST(BarTable, TensionedBarsFarFromTheEdgeWorkWithLessResistance) {
  const Чтение ч{.M = 0.0, .h = 0.6, .x = 0.3};
  const ГруппыСтержней далеко = Прочитать(Таблица({{-0.2, 20.0}}), ч);
  EXPECT_EQ(далеко(Растянутая, ЧислоСтержней), 1.0);
  EXPECT_NEAR(далеко(Растянутая, СреднееRs), 350.0 * (1.1 - 0.05 / 0.3), 1e-9);
  EXPECT_NEAR(далеко(Растянутая, СреднееRs), 326.6666666667, 1e-9);

  // a = 0.04 < (h − x) / 5: no reduction; compressed bars are never reduced.
  const ГруппыСтержней близко = Прочитать(Таблица({{-0.26, 20.0}, {0.0, 20.0}}), ч);
  EXPECT_DOUBLE_EQ(близко(Растянутая, СреднееRs), 350.0);
  EXPECT_DOUBLE_EQ(близко(Сжатая, СреднееRs), 350.0);

  // x beyond h: the factor would exceed 1 and is limited; x = h: no reduction.
  EXPECT_DOUBLE_EQ(
      Прочитать(Таблица({{-0.2, 20.0}}), {.M = 0.0, .h = 0.6, .x = 0.7})(Растянутая, СреднееRs),
      350.0);
  EXPECT_DOUBLE_EQ(
      Прочитать(Таблица({{-0.2, 20.0}}), {.M = 0.0, .h = 0.6, .x = 0.6})(Растянутая, СреднееRs),
      350.0);
}

TEST(BarTable, GroupAveragesAreAreaWeighted) {
  const ГруппыСтержней г = Прочитать(Таблица({{0.2, 20.0}, {0.1, 8.0}, {-0.15, 12.0}}), {.тип = 2});
  const double A20 = ПлощадьСтержня(20), A8 = ПлощадьСтержня(8);
  EXPECT_EQ(г(Сжатая, ЧислоСтержней), 2.0);
  EXPECT_DOUBLE_EQ(г(Сжатая, Площадь), A20 + A8);
  EXPECT_DOUBLE_EQ(г(Сжатая, СреднееRs), (A20 * 330 + A8 * 320) / (A20 + A8));
  EXPECT_DOUBLE_EQ(г(Сжатая, СреднийДиаметр), 0.014);
  const double центр = (0.2 * A20 + 0.1 * A8) / (A20 + A8);
  EXPECT_DOUBLE_EQ(г(Сжатая, Центр), центр);
  EXPECT_DOUBLE_EQ(г(Сжатая, РасстояниеДоГрани), 0.25 - центр);
  EXPECT_NEAR(г(Сжатая, МинРасстояниеДоГрани), 0.05, 1e-15);
  EXPECT_EQ(г(Растянутая, ЧислоСтержней), 1.0);
  EXPECT_DOUBLE_EQ(г(Растянутая, Центр), -0.15);
  EXPECT_NEAR(г(Растянутая, РасстояниеДоГрани), 0.1, 1e-15);
}

TEST(BarTable, RowsWithoutADiameterAreSkipped) {
  const ГруппыСтержней г =
      Прочитать(Таблица({{0.1, Variant()}, {0.1, 0.0}, {-0.1, -16.0}, {Variant(), Variant()}}));
  EXPECT_EQ(г(Сжатая, ЧислоСтержней), 0.0);
  EXPECT_EQ(г(Растянутая, ЧислоСтержней), 0.0);
  EXPECT_EQ(г(Сжатая, МинРасстояниеДоГрани), 100.0);
  EXPECT_EQ(г(Растянутая, МинРасстояниеДоГрани), 100.0);
  EXPECT_EQ(г(Сжатая, СреднийДиаметр), 0.0);
}

TEST(BarTable, ResistanceOutsideTheSteelTableCountsAsZero) {
  const ГруппыСтержней г = Прочитать(Таблица({{0.2, 9.0}}));
  EXPECT_EQ(г(Сжатая, ЧислоСтержней), 1.0);
  EXPECT_EQ(г(Сжатая, СреднееRs), 0.0);
}

TEST(BarTable, NumberTextsReadWithTheUsersSeparator) {
  ScopedDecimalSeparator запятая(",");
  const ГруппыСтержней г = Прочитать(Таблица({{Variant("0,2"), Variant("20")}}));
  EXPECT_DOUBLE_EQ(г(Сжатая, Центр), 0.2);
}

TEST(BarTable, FewerThanThreeColumnsGiveAnUnallocatedArray) {
  const GridRange узкая({{Variant(0.2), Variant(20.0)}});
  const ГруппыСтержней г = Прочитать(узкая);
  EXPECT_FALSE(г.IsAllocated());
  EXPECT_EQ(КодОшибки([&] { (void)г(0, 0); }), kSubscriptOutOfRange);
}

TEST(BarTable, IndicesOutsideTheArrayRaise) {
  ГруппыСтержней г = Прочитать(Таблица({{0.2, 20.0}}));
  EXPECT_EQ(КодОшибки([&] { г(2, 0) = 1; }), kSubscriptOutOfRange);
  EXPECT_EQ(КодОшибки([&] { г(0, 9) = 1; }), kSubscriptOutOfRange);
  EXPECT_EQ(КодОшибки([&] { г(-1, 0) = 1; }), kSubscriptOutOfRange);
}

TEST(BarTable, TextsAndUnknownSteelAreTypeMismatches) {
  ScopedDecimalSeparator точка(".");
  EXPECT_EQ(КодОшибки([] { Прочитать(Таблица({{0.2, Variant("d20")}})); }), kTypeMismatch);
  EXPECT_EQ(КодОшибки([] { Прочитать(Таблица({{Variant("y"), Variant()}})); }), kTypeMismatch);
  EXPECT_EQ(КодОшибки([] {
              Прочитать(Таблица({{0.2, 20.0}}), {.класс = Variant(uint8_t{4})});
            }),
            kTypeMismatch);
  EXPECT_EQ(КодОшибки([] {
              Прочитать(Таблица({{0.2, 20.0}}), {.класс = Variant()});
            }),
            kTypeMismatch);
  // An unknown class matters only when a bar is read.
  EXPECT_EQ(КодОшибки([] { Прочитать(Таблица({{0.2, 0.0}}), {.класс = Variant()}); }), 0);
}

}  // namespace
}  // namespace armocalc
