// Two limits of the strength check that engineers meet on ordinary elements: a column at or
// above its critical force has no capacity however long it is, and a face without bars adds no
// bars' own inertia.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/stability.hpp"
#include "strength_test_support.hpp"

namespace armocalc {
namespace {

using namespace strength_test;  // NOLINT(google-build-using-namespace)

constexpr std::string_view kСтрокаУстойчивости =
    "\tN >= Ncr: устойчивость элемента не обеспечена, требуется увеличить сечение";
constexpr std::string_view kЗаголовокНю =
    "\tКоэффициент, учитывающий влияние прогиба по прочности:";
constexpr std::string_view kРазделЧетыре = "4. Выполнение основного расчёта по прочности:";

bool ЕстьТочно(const std::vector<std::string>& строки, std::string_view строка) {
  return std::find(строки.begin(), строки.end(), строка) != строки.end();
}

// A-III, B30, a 0.3 × 0.3 m column with 10 cm² at each face 4 cm from it under N = 1.5 MN and
// M = 0.15 MN·m, of length L.
Вход Колонна(double L) {
  Вход в;
  в.класс_бетона = 30;
  в.N = 1.5;
  в.M = 0.15;
  в.Fв = 10;
  в.Fн = 10;
  в.ав = 0.04;
  в.ан = 0.04;
  в.h = 0.3;
  в.B = 0.3;
  в.L = L;
  return в;
}

using UnstableColumn = StrengthTest;

TEST_F(UnstableColumn, ShortColumnKeepsItsDeflectionFactorAndMargin) {
  Вход в = Колонна(3);
  EXPECT_NEAR(в.Запас(), -52.417, 1e-3);
  Вход снова = Колонна(3);
  const std::vector<std::string> строки = снова.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки, "\tню = 1 / (1 - N / Ncr) = 1 / (1 - "));
  EXPECT_TRUE(ЕстьТочно(строки, kРазделЧетыре));
  EXPECT_FALSE(ЕстьТочно(строки, kСтрокаУстойчивости));
}

TEST_F(UnstableColumn, LongerColumnsHaveNoCapacityInsteadOfAGrowingMargin) {
  for (const double L : {8.0, 12.0, 20.0}) {
    Вход в = Колонна(L);
    EXPECT_EQ(в.Запас(), -100) << L;
    Вход снова = Колонна(L);
    const std::vector<std::string> строки = снова.Строки();
    ASSERT_GE(строки.size(), 3u);
    EXPECT_EQ(строки[строки.size() - 3], kЗаголовокНю) << L;
    EXPECT_EQ(строки[строки.size() - 2], kСтрокаУстойчивости) << L;
    EXPECT_EQ(строки.back(), "Запас = -100") << L;
    EXPECT_FALSE(ЕстьСтрока(строки, "\tню = ")) << L;
    EXPECT_FALSE(ЕстьСтрока(строки, "Проверка на армируемость")) << L;
    EXPECT_FALSE(ЕстьТочно(строки, kРазделЧетыре)) << L;
  }
}

TEST_F(UnstableColumn, EveryMarginMethodGivesNoCapacity) {
  const std::vector<std::pair<uint8_t, double>> ожидаемые = {
      {0, 0}, {1, -100}, {2, -100}, {3, -100}, {7, 0}};
  for (const auto& [метод, запас] : ожидаемые) {
    Вход в = Колонна(20);
    в.метод = метод;
    EXPECT_EQ(в.Запас(), запас) << int{метод};
  }
}

TEST_F(UnstableColumn, SupportInterpolationIsNotReachedAndTheWriteBacksStand) {
  Вход в = Колонна(20);
  в.Z = 5;
  в.вертикально = true;  // 0.09 m² is not over 0.3 m²: the flag stays
  в.водонасыщение = true;
  в.север = true;  // cleared by the water-saturated concrete
  в.отчёт = ПутьОтчёта("unstable_write_backs");
  EXPECT_EQ(в.Запас(), -100);
  EXPECT_EQ(в.Nl, 1.5);
  EXPECT_EQ(в.Ml, 0.15);
  EXPECT_TRUE(в.вертикально);
  EXPECT_FALSE(в.север);
  const std::vector<std::string> строки = ПрочитатьОтчёт(в.отчёт);
  EXPECT_FALSE(ЕстьСтрока(строки, "\tПроизводим интерполяцию"));
  EXPECT_EQ(строки.back(), "Запас = -100");
}

// With the relative eccentricity below its minimum and all of the load long-term, Ncr does not
// depend on N: B25, h = 0.5 m, Lo = 3.6 m, e = 0.09 · N + Lo / 400 gives delta 0.198 < 0.298.
class ExactlyCritical : public StrengthTest {
 protected:
  static Вход Столб(double N) {
    Вход в;
    в.N = N;
    в.M = 0.09 * kОценкаNcr;
    в.L = 3;
    return в;
  }
  static bool Неустойчив(double N) {
    Вход в = Столб(N);
    return ЕстьТочно(в.Строки(), kСтрокаУстойчивости);
  }
  // Ncr as the design formula gives it, to within rounding.
  static constexpr double kОценкаNcr =
      6.4 * 30000 * (0.125 / 12 * (0.11 / (0.1 + 0.298) + 0.1) / 2 + 196000.0 / 30000 * 8e-5) /
      (3.6 * 3.6);
};

TEST_F(ExactlyCritical, TheFirstUnstableForceIsNcrItself) {
  // Step up one unit in the last place at a time: the first unstable force is the one for which
  // N / Ncr is exactly 1 (just below it the quotient stays below 1).
  double N = kОценкаNcr * (1 - 1e-13);
  ASSERT_FALSE(Неустойчив(N));
  int шагов = 0;
  while (!Неустойчив(N) && шагов < 100000) {
    N = std::nextafter(N, 2 * N);
    ++шагов;
  }
  ASSERT_LT(шагов, 100000);
  EXPECT_NEAR(N, kОценкаNcr, 1e-9 * kОценкаNcr);

  Вход в = Столб(N);
  в.отчёт = ПутьОтчёта("exactly_critical");
  EXPECT_EQ(в.Запас(), -100);  // no division by zero
  const std::vector<std::string> строки = ПрочитатьОтчёт(в.отчёт);
  ASSERT_GE(строки.size(), 4u);
  // The critical force as printed is the force itself.
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add(
      "\tNcr = 6.4 * Eb * (Jb * (0.11 / (0.1 + delta) + 0.1) / Fi1 + n_1 * Js) / lo ^ 2 = 6.4 * ",
      30000.0, " * (", 0.125 / 12, " * (0.11 / (0.1 + ", 0.298, ") + 0.1) / ", 2.0, " + ",
      196000.0 / 30000, " * ", 8e-5, ") / ", 3.6, " ^ 2 = ", N, " (По формуле 46)");
  EXPECT_EQ(строки[строки.size() - 4], ожидаемый.Строки()[1]);
  EXPECT_EQ(строки[строки.size() - 3], kЗаголовокНю);
  EXPECT_EQ(строки[строки.size() - 2], kСтрокаУстойчивости);
  EXPECT_EQ(строки.back(), "Запас = -100");

  // One unit in the last place below, the element is still (barely) stable.
  Вход ниже = Столб(std::nextafter(N, 0.0));
  const std::vector<std::string> строки_ниже = ниже.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки_ниже, "\tню = 1 / (1 - N / Ncr) = 1 / (1 - "));
  EXPECT_TRUE(ЕстьТочно(строки_ниже, kРазделЧетыре));
}

TEST_F(UnstableColumn, BarTableMethodStopsTheSameWay) {
  ВходТ в;
  в.N = 1.5;
  в.M = 0.15;
  в.B = 0.3;
  в.h = 0.3;
  в.таблица =
      ТаблицаСтержней({{-0.1, 0.11, 16}, {0.1, 0.11, 16}, {-0.1, -0.11, 16}, {0.1, -0.11, 16}});
  в.L = 20;
  в.отчёт = ПутьОтчёта("unstable_table");
  EXPECT_EQ(в.Запас(), -100);
  const std::vector<std::string> строки = ПрочитатьОтчёт(в.отчёт);
  ASSERT_GE(строки.size(), 3u);
  EXPECT_EQ(строки[строки.size() - 2], kСтрокаУстойчивости);
  EXPECT_EQ(строки.back(), "Запас = -100");
  EXPECT_FALSE(ЕстьТочно(строки, kРазделЧетыре));

  в.L = 3;  // short: the deflection factor is formed and the check goes on
  в.отчёт.clear();
  EXPECT_GT(в.Запас(), -100);
}

// One face without bars, the commonest beam and slab section.
using OneFace = StrengthTest;

TEST_F(OneFace, EmptyCompressedLayerAddsNoBarInertia) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.Fв = 0;
  в.СМИ = true;
  в.отчёт = ПутьОтчёта("one_face_bar_inertia");
  const double запас = в.Запас();
  Вход без_инерции_стержней;
  без_инерции_стержней.N = 3;
  без_инерции_стержней.M = 0.5;
  без_инерции_стержней.Fв = 0;
  // Without a length the steel inertia does not enter the margin.
  EXPECT_EQ(запас, без_инерции_стержней.Запас());

  ОжидаемыйОтчёт ожидаемый;
  const double Пи = 4 * std::atan(1.0);
  ожидаемый.Add("\tПриблизительный диаметр и шаг сжатой арматуры в миллиметрах: d", 0.0, "ш", 0.0);
  ожидаемый.Add("\tПриблизительный диаметр и шаг растянутой арматуры в миллиметрах: d", 0.022, "ш",
                0.19);
  ожидаемый.Add("\tJs = (Пи * d ^ 4 / 64) * b / шаг + Fs * (h / 2 - a) ^ 2 = (", Пи, " * ", 0.022,
                " ^ 4 / 64) * ", 1.0, " / ", 0.19, " + ", 0.002, " * (", 0.5, " / 2 - ", 0.05,
                ") ^ 2");
  ожидаемый.Add("\tJsi = (Пи * di ^ 4 / 64) * b / шагi + Fsi * (h / 2 - ai) ^ 2 = (", Пи, " * ",
                0.0, " ^ 4 / 64) * ", 1.0, " / ", 0.0, " + ", 0.0, " * (", 0.5, " / 2 - ", 0.05,
                ") ^ 2");
  // 20 cm² per metre is laid as d22 at 190 mm.
  const double Js = Пи * std::pow(0.022, 4) / 64 / 0.19 + 0.002 * 0.04;
  ожидаемый.Add("\tМоменты инерции для сжатой и растянутой арматуры соответственно: Jsi = ", 0.0,
                " м4, Js = ", Js, " м4");
  ОжидатьБлок(ПрочитатьОтчёт(в.отчёт), ожидаемый.Строки());
}

TEST_F(OneFace, EmptyTensionLayerOfASlenderColumn) {
  // A negative moment stretches the empty top face; the length brings the inertia into Ncr.
  Вход в;
  в.N = 3;
  в.M = -0.5;
  в.Fв = 0;
  в.СМИ = true;
  в.L = 6;
  const double запас = в.Запас();
  EXPECT_TRUE(std::isfinite(запас));
  EXPECT_GT(запас, -100);
}

TEST_F(OneFace, MeshesOnAOneFaceSectionStillFindNoOutermostBars) {
  // The inertia no longer fails, but the core confined by the meshes is bounded by the
  // outermost bars of each face, and a face without bars has none: b / 0.
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.Fв = 0;
  в.s = 0.1;
  в.dx = 0.008;
  в.dy = 0.008;
  в.nx = 5;
  в.ny = 5;
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kDivisionByZero);
}

TEST_F(OneFace, PositiveAreaWithoutALayoutStillFails) {
  // 400 cm² per metre: no layout covers it, the spacing stays 0 and the bars' inertia is 0 / 0.
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.Fн = 400;
  в.СМИ = true;
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kOverflow);
}

}  // namespace
}  // namespace armocalc
