// Punching of a slab: the whole report, the pyramid geometry, the stirrups and the failures.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "civil_defence_test_support.hpp"

namespace armocalc {
namespace {

using namespace civil_test;  // NOLINT(google-build-using-namespace)

using Punching = CivilDefenceTest;

constexpr double kRbt = 0.95 * 1000;  // B25 by the bridge code, kN/m²

std::vector<std::string> Отчёт(ВходПродавливания& в, const std::string& имя) {
  в.отчёт = ПутьОтчёта(имя);
  в.Запас();
  return ПрочитатьОтчёт(в.отчёт);
}

// The report with stirrups keeps its own texts: the unbalanced bracket of the Katet line and the
// " & + 2 * " piece of the um line are what the stored reports of the users carry.
TEST_F(Punching, ReportWithStirrupsLineByLine) {
  ВходПродавливания в;
  в.диаметр = 10;
  в.шаг = 100;
  const std::vector<std::string> строки = Отчёт(в, "punching_stirrups");

  const double ho = 0.25, h = 0.3, b = 0.4;
  const double Katet = ho / std::tan(45 * std::atan(1.0) / 45);
  const double um = (b + h + Katet * 2) * 2;
  const double бетон = kRbt * ho * um;
  const int32_t nsw = 2 * 2 * 12;  // Int(0.25 / 0.1) = 2 rows, Int(1.2 / 0.1) = 12 around
  const double Asw = std::pow(10.0 / 2000, 2) * (nsw * 4 * std::atan(1.0));
  const double с_хомутами = Asw * 188000 + бетон;
  const double запас = 100 * (1 - 400 / с_хомутами);

  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add(
      "Расчет на продавливание плитных конструкций из тяжелого бетона (СНиП 2.03.01-84*, п.3.42)");
  ожидаемый.Add("1. Исходные данные:");
  ожидаемый.Add("\tПродольная продавливающая сила (N): ", 400.0, " кН");
  ожидаемый.Add("\tКласс бетона плиты: B", 25.0f);
  ожидаемый.Add("\tВысота сечения колонны (h): ", h, " м");
  ожидаемый.Add("\tШирина сечения колонны (b): ", b, " м");
  ожидаемый.Add(
      "\tРасстояние от уровня передачи отрывающей силы на элемент до центра тяжести сечения "
      "продольной арматуры (ho): ",
      ho, " м");
  ожидаемый.Add("\tНаклон боковых граней пирамиды продавливания (Угол): ", 45, " град");
  ожидаемый.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  ожидаемый.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
  ожидаемый.Add("\tRbt = ", kRbt, " кН");
  ожидаемый.Add("\tKatet = ho / Tan(Угол * Atn(1) / 45) = ", ho, " / Tan(", 45, ") / 45) = ", Katet,
                " м");
  ожидаемый.Add(
      "\tum = 2 * (b + h + 2 * Katet) = 2 * (", b, " + ", h, " & + 2 * ", Katet, ") = ", um,
      " м - среднеарифметическое значений периметров верхнего и нижнего оснований пирамиды, "
      "образующейся при продавливании в пределах рабочей высоты сечения");
  ожидаемый.Add("\tNlimit = Rbt * ho * um = ", kRbt, " * ", ho, " * ", um, " = ", бетон,
                " кН - предельнодопустимая продавливающая сила, если работает только бетон");
  ожидаемый.Add("\tДиаметрХомутов = ", 10, " мм");
  ожидаемый.Add("\tШагХомутов = ", 100.0, " мм");
  ожидаемый.Add(
      "\tnsw = 2 * Int(ho / (ШагХомутов / 1000)) * Int((2 * Katet + b + h) / (ШагХомутов / 1000)) "
      "= 2 * Int(",
      ho, " / (", 100.0, " / 1000)) * Int((2 * ", Katet, " + ", b, " + ", h, ") / (", 100.0,
      " / 1000)) = ", nsw, " шт - количество хомутов, попавших в сечение призмы продавливания");
  ожидаемый.Add("\tAsw = nsw * 4 * Atn(1) * (ДиаметрХомутов / 2000) ^ 2 = ", nsw,
                " * 4 * Atn(1) * (", 10, " / 2000) ^ 2 = ", Asw,
                " кв.м - площадь хомутов, попавших в сечение призмы продавливания");
  ожидаемый.Add(
      "\tNlimit = Nlimit + 0.8 * 235000 * Asw = ", с_хомутами,
      " кН - предельнодопустимая продавливающая сила с учётом работы хомутов (поперечного "
      "армирования)");
  ожидаемый.Add("3. Запас по прочности плиты: ", запас, "%");

  ExpectSameLines(строки, ожидаемый.Строки());
  EXPECT_NEAR(в.Запас(), запас, 1e-9);
  EXPECT_EQ(строки[12], "\tKatet = ho / Tan(Угол * Atn(1) / 45) = 0.25 / Tan(45) / 45) = 0.25 м");
  EXPECT_EQ(строки.back(), "3. Запас по прочности плиты: 68.72%");
}

TEST_F(Punching, ConcreteOnlyAndTheMarginAgainstTheMagnitude) {
  ВходПродавливания в;
  const auto строки = Отчёт(в, "punching_concrete");
  EXPECT_EQ(СколькоСтрок(строки, "\tДиаметрХомутов"), 0u);
  EXPECT_EQ(СколькоСтрок(строки, "\tnsw"), 0u);
  const double Nlimit = kRbt * 0.25 * 2.4;  // 570 kN
  EXPECT_NEAR(в.Запас(), 100 * (1 - 400 / Nlimit), 1e-9);
  EXPECT_EQ(строки.back(), "3. Запас по прочности плиты: 29.82%");

  ВходПродавливания отрывающая;
  отрывающая.N = -400;
  const auto строки_минус = Отчёт(отрывающая, "punching_negative");
  EXPECT_DOUBLE_EQ(отрывающая.Запас(), в.Запас());
  EXPECT_EQ(строки_минус[3], "\tПродольная продавливающая сила (N): -400 кН");

  // The per-cent sign follows the margin whatever the method.
  ВходПродавливания отношение;
  отношение.метод = 0;
  EXPECT_NEAR(отношение.Запас(), Nlimit / 400, 1e-12);
  EXPECT_EQ(Отчёт(отношение, "punching_ratio").back(), "3. Запас по прочности плиты: 1.425%");
}

TEST_F(Punching, ZeroWidthMeansASquareColumn) {
  ВходПродавливания в;
  в.B = 0;
  const auto строки = Отчёт(в, "punching_square");
  EXPECT_EQ(строки[6], "\tШирина сечения колонны (b): 0.3 м");
  EXPECT_NEAR(в.Запас(), 100 * (1 - 400 / (kRbt * 0.25 * 2 * (0.6 + 0.5))), 1e-9);
  EXPECT_EQ(в.B, 0);  // by value: the caller's width is not changed
}

TEST_F(Punching, VerticalPyramidFacesLeaveTheColumnPerimeter) {
  ВходПродавливания вертикальные;
  вертикальные.угол = 90;
  const auto строки = Отчёт(вертикальные, "angle90");
  // Katet almost 0: um = 2 * (b + h).
  EXPECT_NE(СтрокаНа(строки, "\tum = ").find(") = 1.4 м - "), std::string::npos);
  EXPECT_NEAR(вертикальные.Запас(), 100 * (kRbt * 0.25 * 1.4 / 400 - 1), 1e-6);
}

TEST_F(Punching, SpacingLargerThanTheDepthCountsNoStirrups) {
  ВходПродавливания в;
  в.диаметр = 12;
  в.шаг = 300;
  const auto строки = Отчёт(в, "punching_wide_spacing");
  EXPECT_NE(СтрокаНа(строки, "\tnsw = ").find(" = 0 шт - "), std::string::npos);
  EXPECT_NE(СтрокаНа(строки, "\tAsw = ").find(" = 0 кв.м - "), std::string::npos);
  EXPECT_EQ(СтрокаНа(строки, "\tNlimit = Nlimit + "),
            "\tNlimit = Nlimit + 0.8 * 235000 * Asw = 570 кН - предельнодопустимая продавливающая "
            "сила с учётом работы хомутов (поперечного армирования)");
}

TEST_F(Punching, FailuresWriteNoFile) {
  ВходПродавливания плоская;
  плоская.угол = 0;
  плоская.отчёт = ПутьОтчёта("punching_angle0");
  EXPECT_RUNTIME_ERROR(плоская.Запас(), kDivisionByZero);
  EXPECT_FALSE(ФайлЕсть(плоская.отчёт));

  ВходПродавливания без_шага;
  без_шага.диаметр = 10;
  без_шага.шаг = 0;
  без_шага.отчёт = ПутьОтчёта("punching_step0");
  EXPECT_RUNTIME_ERROR(без_шага.Запас(), kDivisionByZero);
  EXPECT_FALSE(ФайлЕсть(без_шага.отчёт));

  ВходПродавливания без_силы;
  без_силы.N = 0;
  без_силы.метод = 0;
  EXPECT_RUNTIME_ERROR(без_силы.Запас(), kDivisionByZero);
}

TEST_F(Punching, StirrupCountBeyondThe32BitRangeOverflows) {
  // nsw itself beyond the range.
  ВходПродавливания огромная;
  огромная.ho = 1000;
  огромная.диаметр = 10;
  огромная.шаг = 0.001;
  EXPECT_RUNTIME_ERROR(огромная.Запас(), kOverflow);

  // nsw fits, nsw * 4 does not: about 2 * 10000 * 40000 = 8e8 stirrups.
  ВходПродавливания четыре;
  четыре.ho = 1;
  четыре.h = 1.4;
  четыре.B = 0.6;
  четыре.диаметр = 10;
  четыре.шаг = 0.1;  // Katet = 1, so the perimeter term is 4 m: 40000 rows around
  EXPECT_RUNTIME_ERROR(четыре.Запас(), kOverflow);
}

}  // namespace
}  // namespace armocalc
