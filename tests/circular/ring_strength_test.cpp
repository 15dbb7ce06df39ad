// The ring check of the design manual: its whole report, the three conditions and their
// boundaries, the eccentricity of the city norms, and the force made positive.

#include <cmath>
#include <string>
#include <vector>

#include "circular/circle_common.hpp"
#include "circular_test_support.hpp"

namespace armocalc::circle_test {
namespace {

class RingStrengthTest : public CircleTest {};

TEST_F(RingStrengthTest, WholeReportLineByLine) {
  Кольцо кольцо;
  кольцо.отчёт = ScratchReportPath("ring_whole");
  EXPECT_NEAR(кольцо.Запас(), 77.67943488583178, 1e-9);
  const std::vector<std::string> expected = {
      "",
      "Расчет кольцевого ж.б. сечения по прочности (Пособие к СНиП 2.03.01-84, п.3.69)",
      "",
      "1. Исходные данные:",
      "\tПродольная сжимающая сила (N): 1.5 МН",
      "\tКласс арматурной стали: АIII",
      "\tКласс бетона: B25",
      "\tВнутренний диаметр трубы(dв): 0.8 м",
      "\tНаружный диаметр трубы(dн): 1.2 м",
      "\tРадиус окружности, проходящей через центры тяжести арматурных стержней (rs): 0.45 м",
      "\tДиаметр арматурных стержней (d): 20 мм",
      "\tКоличество арматурных стержней в сечении (ns): 16 шт",
      "\t(Дополнительные данные будут объявляться в ходе расчёта)",
      "",
      "2. Физико-механические свойства материалов:",
      "\tRs = 350 МПа, Rb = 13 МПа",
      "",
      "3. Расчет геометрических характеристик сечения:",
      "\tЭксцентриситет приложения продольной силы из статического расчёта:",
      "\tec = M / N = 0.2 м",
      "\tM = 0.3 МН·м - фактический изгибающий момент",
      "",
      "\tПлощадь сечения всей продольной арматуры:",
      "\tAstot = ns * Pi * d ^ 2 / 4000000 = 0.005027 кв.м",
      "\tПлощадь поперечного сечения трубы:",
      "\tAb = Pi * (dн ^ 2 - dв ^ 2) / 4 = 0.6283 кв.м",
      "\trm = (dв + dн) / 4 = 0.5 м",
      "",
      "4. Расчет по прочности:",
      "\tОтносительная площадь сжатой зоны:",
      "\tEcir = (N + Rs * Astot) / (Rb * Ab + 2.7 * Rs * Astot) = 0.2523",
      "\t0.15<Ecir<0.6      =>    выполняется условие а)",
      "\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + Rs * Astot * r * (1 - 1.7 "
      "* Ecir) * (0.2 + 1.3 * Ecir) = 1.344 МН·м",
      "",
      "При сравнении величин Mlim = 1.344 МН·м и M = 0.3 МН·м запас равен 77.68",
  };
  ExpectSameLines(ReadReport(кольцо.отчёт), expected);
}

TEST_F(RingStrengthTest, MarginOfConditionA) {
  // Independent evaluation of condition а for the standard ring.
  const double Pi = 3.14159265358979;
  const double Astot = 20.0 * 20.0 * (16 * Pi) / 4000000;
  const double Ab = (1.2 * 1.2 - 0.8 * 0.8) * Pi / 4;
  const double Ecir = (Astot * 350 + 1.5) / (Astot * (350 * 2.7) + Ab * 13);
  const double Mlim = (1 - Ecir * 1.7) * (0.45 * Astot * 350) * (Ecir * 1.3 + 0.2) +
                      (Ab * 13 * 0.5 + 0.45 * Astot * 350) * std::sin(Pi * Ecir) / Pi;
  Кольцо кольцо;
  EXPECT_NEAR(кольцо.Запас(), 100 * (1 - 0.3 / Mlim), 1e-12);
}

TEST_F(RingStrengthTest, SmallAndLargeCompressedZones) {
  Кольцо малая;
  малая.N = 0.1;
  const std::vector<std::string> строки_б = малая.Строки();
  EXPECT_EQ(строки_б[31], "\tEcir < 0.15      =>    выполняется условие б)");
  EXPECT_EQ(строки_б[32].rfind("\tEcir = (N + 0.75 * Rs * Astot) / (Rb * Ab + Rs * Astot) = ", 0),
            0u);
  EXPECT_EQ(строки_б[33].rfind("\tMlim = (Rb * Ab * rm + Rs * Astot * r) * Sin(Pi * Ecir) / Pi + "
                               "0.295 * Rs * Astot * r = ",
                               0),
            0u);

  Кольцо большая;
  большая.N = 8;
  const std::vector<std::string> строки_в = большая.Строки();
  EXPECT_EQ(строки_в[31], "\tEcir > 0.6      =>    выполняется условие в)");
  // Condition в recomputes Ecir from the force alone: 8 / (13 * Ab + 350 * Astot).
  const double Pi = 3.14159265358979;
  const double Ab = (1.2 * 1.2 - 0.8 * 0.8) * Pi / 4;
  const double Astot = 20.0 * 20.0 * (16 * Pi) / 4000000;
  const double Ecir = 8 / (Ab * 13 + Astot * 350);
  const double Mlim = (Ab * 13 * 0.5 + 0.45 * (Astot * 350)) * std::sin(Pi * Ecir) / Pi;
  EXPECT_NEAR(большая.Запас(), 100 * (1 - 0.3 / Mlim), 1e-12);
}

// Without bars Ecir = N / (Rb * Ab): a force that makes it exactly 0.15 or 0.6 takes condition а.
double СилаДляEcir(double Ecir) {
  const double Ab = (1.2 * 1.2 - 0.8 * 0.8) * 3.14159265358979 / 4;
  const double знаменатель = 0 * (0 * 2.7) + Ab * 13;
  double N = Ecir * знаменатель;
  for (int шаг = 0; шаг < 64 && (0 * 0 + N) / знаменатель != Ecir; ++шаг) {
    N = (0 * 0 + N) / знаменатель < Ecir ? std::nextafter(N, 1e9) : std::nextafter(N, 0.0);
  }
  return N;
}

TEST_F(RingStrengthTest, BoundariesOfConditionATakeIt) {
  for (const double Ecir : {0.15, 0.6}) {
    Кольцо кольцо;
    кольцо.D = 0;
    кольцо.ns = 0;
    кольцо.N = СилаДляEcir(Ecir);
    const std::vector<std::string> строки = кольцо.Строки();
    EXPECT_EQ(строки[23], "\tAstot = ns * Pi * d ^ 2 / 4000000 = 0 кв.м");
    EXPECT_EQ(строки[31], "\t0.15<Ecir<0.6      =>    выполняется условие а)") << Ecir;
  }
}

TEST_F(RingStrengthTest, NegativeForceIsMadePositive) {
  Кольцо кольцо;
  кольцо.N = -1.5;
  const double запас = кольцо.Запас();
  EXPECT_EQ(кольцо.N, 1.5);
  Кольцо сжатое;
  EXPECT_EQ(запас, сжатое.Запас());
  кольцо.N = -1.5;
  EXPECT_EQ(кольцо.Строки()[4], "\tПродольная сжимающая сила (N): 1.5 МН");
}

TEST_F(RingStrengthTest, NoMomentTakesTheAdmissibleEccentricity) {
  Кольцо кольцо;
  кольцо.M = 0;
  const std::vector<std::string> строки = кольцо.Строки();
  // The rounding pass reads "03" of the norm's number as a number.
  EXPECT_EQ(строки[18],
            "\tДопустимый эксцентриситет приложенной нагрузки согласно Московским Городским "
            "Строительным Нормам (МГСН 6.01-3):");
  EXPECT_EQ(строки[19], "\teo = 0.25·dв = 0.2 м");
  EXPECT_EQ(строки[20], "\tM = N * eo = 0.3 МН·м - изгибающий момент");
  // 0.25 * 0.8 * 1.5 is the 0.3 МН·м of the standard ring.
  Кольцо с_моментом;
  EXPECT_DOUBLE_EQ(кольцо.Запас(), с_моментом.Запас());

  // No force and no moment: the acting value is 0.
  Кольцо пустое;
  пустое.M = 0;
  пустое.N = 0;
  EXPECT_EQ(пустое.Запас(), 100);
}

TEST_F(RingStrengthTest, ZeroRadiusTakesTheMidRadiusOfTheWall) {
  Кольцо кольцо;
  кольцо.r = 0;
  EXPECT_EQ(кольцо.Строки()[9],
            "\tРадиус окружности, проходящей через центры тяжести арматурных стержней (rs): 0.5 м");
  Кольцо на_середине;
  на_середине.r = 0.5;
  EXPECT_DOUBLE_EQ(кольцо.Запас(), на_середине.Запас());
}

TEST_F(RingStrengthTest, NegativeMomentIsComparedAsGiven) {
  Кольцо кольцо;
  кольцо.M = -0.3;
  // The limit is positive and the acting value negative: method 3 gives 100 * (1 + 0.3 / Mlim).
  Кольцо положительный;
  const double Mlim = 0.3 / (1 - положительный.Запас() / 100);
  EXPECT_NEAR(кольцо.Запас(), 100 * (1 + 0.3 / Mlim), 1e-9);
}

TEST_F(RingStrengthTest, FailuresWriteNoReport) {
  Кольцо без_силы;
  без_силы.N = 0;
  без_силы.отчёт = ScratchReportPath("ring_no_force");
  EXPECT_RUNTIME_ERROR(без_силы.Запас(), kDivisionByZero);  // ec = M / N
  EXPECT_FALSE(FileExists(без_силы.отчёт));

  Кольцо без_класса;
  без_класса.класс_стали = 4;
  EXPECT_RUNTIME_ERROR(без_класса.Запас(), kTypeMismatch);
  // A diameter outside the A-III table gives no steel strength.
  Кольцо вне_таблицы;
  вне_таблицы.D = 9;
  EXPECT_EQ(вне_таблицы.Строки()[15], "\tRs = 0 МПа, Rb = 13 МПа");
}

}  // namespace
}  // namespace armocalc::circle_test
