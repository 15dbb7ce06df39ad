// The circular pile check: its whole report, the zero force, the materials, the regime test, the
// iteration bound, an unstable pile and the failures that write no report.

#include "circular/pile_strength.hpp"

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "circular/circle_common.hpp"
#include "circular_test_support.hpp"
#include "kernel/stability.hpp"
#include "runtime/host.hpp"

namespace armocalc::circle_test {
namespace {

class PileStrengthTest : public CircleTest {};

std::string СтрокаK(const std::string& k) {
  return "\tk = (N / 1000 + k1 * Rs * Astot + Rb * Ab * (Sin(2 * P * k) / (2 * P))) / (Rb * Ab + "
         "k2 * Rs * Astot) = (1200 / 1000 + 1 * 350 * 0.005027 + 13 * 1.131 * (Sin(2 * 3.142 * " +
         k + ") / (2 * 3.142))) / (13 * 1.131 + 2.55 * 350 * 0.005027) = " + k;
}

TEST_F(PileStrengthTest, WholeReportLineByLine) {
  Свая свая;
  свая.отчёт = ScratchReportPath("pile_whole");
  EXPECT_NEAR(свая.Запас(), 75.1194391029226, 1e-9);
  const std::vector<std::string> expected = {
      "",
      "Расчет запаса по прочности круглого ж.б. сечения (сваи), согласно СНиП 2.05.03-84*",
      "1. Исходные данные:",
      "\tПродольная сжимающая сила (N): 1200 кН",
      "\tИзгибающий момент (M): 300 кН*м",
      "\tКласс арматурной стали: АIII",
      "\tКласс бетона: B25",
      "\tРасчетная длина ж.б. элемента (Lo): 6 м",
      "\tДиаметр ж.б. сечения(d): 1.2 м",
      "\tЧисло продольных стержней рабочей арматуры (nS): 16 шт",
      "\tДиаметр продольных стержней рабочей арматуры (Ds): 20 мм",
      "\tЗащитный слой рабочей арматуры (в свету): 0.05 м",
      "\t(Дополнительные данные будут объявляться в ходе расчёта)",
      "2. Расчет и уточнение характеристик арматуры и бетона:",
      "\tR = d / 2 = 1.2 / 2 = 0.6 м - радиус ж.б.",
      "\tra = R - Cov - Ds / 2000 = 0.6 - 0.05 - 20 / 2000 = 0.54 м - радиус до ц.т. арматуры",
      "\tec = M / N + L0 / 400 = 300 / 1200 + 6 / 400 = 0.265 м - эксцентриситет",
      "\tMl = 300 кН*м - момент от постоянной нагрузки",
      "\tNl = 1200 кН - продольная сила от постоянной нагрузки",
      "\tM_ = M / N + L0 / 400 + ra / 2 = 300 / 1200 + 6 / 400 + 0.54 / 2 = 0.535 кН*м - привед. "
      "момент от полной нагрузки",
      "\tMl_ = Ml / Nl + L0 / 400 + ra / 2 = 300 / 1200 + 6 / 400 + 0.54 / 2 = 0.535 кН*м - "
      "привед. момент от постоянной нагрузки",
      "\tRb = 13 МПа",
      "\tRs = 350 МПа",
      "\tEb = 30000 МПа",
      "\tEs = 196000 МПа",
      "\tJb = P * d ^ 4 / 64 = 3.142 * 1.2 ^ 4 / 64 = 0.1018 м4 - момент инерции бетонного сечения",
      "\tJs = 0.000733 м4 - момент инерции арматуры",
      "\tn1 = Es / Eb = 196000 / 30000 = 6.533 - коэф. приведения арматуры к бетону",
      "\tAb = 0.25 * P * d ^ 2 = 0.25 * 3.142 * 1.2 ^ 2 = 1.131 кв.м - площадь бетонного сечения",
      "\tAstot = 0.25 * nS * P * (Ds / 1000) ^ 2 = 0.25 * 16 * 3.142 * (20 / 1000) ^ 2 = 0.005027 "
      "кв.м - площадь арматуры",
      "3. Основной расчёт:",
      "\tfiL = 1 + Ml_ / M_ = 1 + 0.535 / 0.535 = 2",
      "\tdelta = 0.32",
      "\tNcr = 6400 * Eb * (Jb / fiL * (0.11 / (0.1 + delta) + 0.1) + n1 * Js) / L0 ^ 2 = 6400 * "
      "30000 * (0.1018 / 2 * (0.11 / (0.1 + 0.32) + 0.1) + 6.533 * 0.000733) / 6 ^ 2 = 123800 МН "
      "- условная критическая сила",
      "\tetta = 1 / (1 - N / Ncr) = 1 / (1 - 1200 / 123800) = 1.01 - коэффициент влияния прогиба",
      "\te = ec * etta = 0.265 * 1.01 = 0.2676 м - приведенный эксцентриситет",
      "\tNe = N * e = 1200 * 0.2676 = 321.1 кН*м - приведенный момент",
      "\t1200 = N <= (770 * Rb * Ab + 645 * Rs * Astot) = (770 * 13 * 1.131 + 645 * 350 * "
      "0.005027) = 12460",
      "\tk1 = 1, k2 = 2.55",
      "\tEps = 1E-05",
      СтрокаK("0.1542"),
      СтрокаK("0.2547"),
      СтрокаK("0.2761"),
      СтрокаK("0.2745"),
      СтрокаK("0.2747"),
      СтрокаK("0.2747"),
      СтрокаK("0.2747"),
      "\tfi = 1.6 * (1 - 1.55 * k) * k = 1.6 * (1 - 1.55 * 0.2747) * 0.2747 = 0.2524 <= 1 - "
      "коэффициент, учитывающий раб. растянутой арматуры",
      "\tMpr = 2 / 3 * Rb * Ab * R / P * (Sin(P * k) ^ 3) + Rs * Astot * (Sin(P * k) / P + fi) * "
      "ra = 2 / 3 * 13 * 1.131 * 0.6 / 3.142 * (Sin(3.142 * 0.2747) ^ 3) + 350 * 0.005027 * "
      "(Sin(3.142 * 0.2747) / 3.142 + 0.2524) * 0.54 МН*м",
      "\tMpr = 1000 * Mpr = 1291 кН*м",
      "При сравнении величин Mpr = 1291 и Ne = 321.1 запас равен 75.12",
  };
  ExpectSameLines(ReadReport(свая.отчёт), expected);
}

TEST_F(PileStrengthTest, ZeroForceIsTheMeanOfBothSignsAndWritesNoReport) {
  Свая сжатие;
  сжатие.N = 1e-30;
  Свая растяжение;
  растяжение.N = -1e-30;
  const double среднее = (сжатие.Запас() + растяжение.Запас()) / 2;

  Свая свая;
  свая.N = 0;
  свая.отчёт = ScratchReportPath("pile_zero_force");
  EXPECT_DOUBLE_EQ(свая.Запас(), среднее);
  EXPECT_EQ(свая.N, 0);
  EXPECT_FALSE(FileExists(свая.отчёт));
}

TEST_F(PileStrengthTest, ClassAboveThirtyTakesRbOfThirtyButItsOwnModulus) {
  Свая свая;
  свая.B = 35;
  const std::vector<std::string> строки = свая.Строки();
  EXPECT_EQ(строки[21], "\tRb = 15.5 МПа");
  EXPECT_EQ(строки[23], "\tEb = 34500 МПа");
  // The delta bound uses the capped Rb: 0.5 - 0.01 * 6 / 1.2 - 0.01 * 15.5.
  EXPECT_EQ(строки[32], "\tdelta = 0.295");

  свая.B = 30;
  EXPECT_EQ(свая.Строки()[21], "\tRb = 15.5 МПа");
  свая.B = 27.5;
  EXPECT_EQ(свая.Строки()[21], "\tRb = 14.3 МПа");
}

TEST_F(PileStrengthTest, TensionKeepsTheTensionedSteelAndShowsSignedValues) {
  Свая свая;
  свая.N = -500;
  свая.M = -200;
  const std::vector<std::string> строки = свая.Строки();
  EXPECT_EQ(строки[3], "\tПродольная растягивающая сила (N): -500 кН");
  EXPECT_EQ(строки[16],
            "\tec = M / N + L0 / 400 = -200 / -500 + 6 / 400 = 0.415 м - эксцентриситет");
  EXPECT_EQ(строки[38], "\tk1 = 1, k2 = 2.55");
  EXPECT_TRUE(test::HasLineStartingWith(строки, "\tfi = 1.6 * (1 - 1.55 * k) * k = "));

  // M < 0 with N > 0: the reduced moments are negative; fiL stays 2.
  свая.N = 1200;
  const std::vector<std::string> сжатие = свая.Строки();
  EXPECT_EQ(
      сжатие[19].rfind("\tM_ = M / N + L0 / 400 + ra / 2 = -200 / 1200 + 6 / 400 + 0.54 / 2 = "
                       "0.1183 кН*м",
                       0),
      0u);
  EXPECT_EQ(сжатие[31], "\tfiL = 1 + Ml_ / M_ = 1 + 0.1183 / 0.1183 = 2");
}

TEST_F(PileStrengthTest, OverReinforcedForceDropsTheTensionedSteel) {
  Свая свая;
  свая.N = 20000;  // above 770 * Rb * Ab + 645 * Rs * Astot
  свая.L0 = 1;
  const std::vector<std::string> строки = свая.Строки();
  EXPECT_EQ(строки[38], "\tk1 = 0, k2 = 1");
  EXPECT_FALSE(test::HasLineStartingWith(строки, "\tfi = "));
}

TEST_F(PileStrengthTest, ConvergedIterationEndsWithEqualValuesOfK) {
  Свая свая;
  const std::vector<std::string> строки = свая.Строки();
  int число_k = 0;
  std::string последняя;
  for (const std::string& строка : строки) {
    if (строка.rfind("\tk = ", 0) == 0) {
      ++число_k;
      последняя = строка;
    }
  }
  EXPECT_EQ(число_k, 7);
  EXPECT_EQ(последняя, СтрокаK("0.2747"));
}

// Without steel the angle settles on a fixed point where the iteration alternates for ever:
// the last of 100,000 values is used, each with its line.
TEST_F(PileStrengthTest, AlternatingIterationStopsAfterItsBound) {
  Свая свая;
  свая.ds = 0;
  свая.N = 7351.5;
  свая.L0 = 1;
  const std::vector<std::string> строки = свая.Строки();
  int число_k = 0;
  for (const std::string& строка : строки) {
    if (строка.rfind("\tk = ", 0) == 0) ++число_k;
  }
  EXPECT_EQ(число_k, circular::kНаибольшееЧислоЗначенийK);
  EXPECT_EQ(строки.back().rfind("При сравнении величин Mpr = ", 0), 0u);
}

// A slender pile at or above the critical force buckles: no capacity, and the report says so
// in place of the deflection factor.
TEST_F(PileStrengthTest, UnstablePileHasNoCapacity) {
  Свая свая;
  свая.L0 = 60;
  свая.N = 5000;
  свая.отчёт = ScratchReportPath("pile_unstable");
  EXPECT_EQ(свая.Запас(), -100);
  const std::vector<std::string> строки = ReadReport(свая.отчёт);
  ASSERT_GE(строки.size(), 3u);
  EXPECT_EQ(строки[строки.size() - 2],
            "\tN >= Ncr: устойчивость элемента не обеспечена, требуется увеличить сечение");
  EXPECT_EQ(строки.back(), "Запас = -100");
  EXPECT_TRUE(строки[строки.size() - 3].rfind("\tNcr = ", 0) == 0);
  EXPECT_FALSE(test::HasLineStartingWith(строки, "\tetta = "));

  свая.метод = 0;
  EXPECT_EQ(свая.Запас(), 0);
  свая.метод = 1;
  EXPECT_EQ(свая.Запас(), -100);
  // A tensile force never buckles the pile.
  свая.метод = 3;
  свая.N = -1000;
  EXPECT_GT(свая.Запас(), -100);
  EXPECT_TRUE(test::HasLineStartingWith(ReadReport(свая.отчёт), "\tetta = "));
}

TEST_F(PileStrengthTest, ForceEqualToTheCriticalOneIsUnstableWithoutDivision) {
  EXPECT_TRUE(УстойчивостьНеОбеспечена(123800, 123800));
  EXPECT_TRUE(УстойчивостьНеОбеспечена(123801, 123800));
  EXPECT_FALSE(УстойчивостьНеОбеспечена(123799, 123800));
}

TEST_F(PileStrengthTest, FailuresWriteNoReport) {
  Свая без_диаметра;
  без_диаметра.D = 0;
  без_диаметра.отчёт = ScratchReportPath("pile_zero_diameter");
  EXPECT_RUNTIME_ERROR(без_диаметра.Запас(), kDivisionByZero);  // delta = ec / D
  EXPECT_FALSE(FileExists(без_диаметра.отчёт));

  Свая без_длины;
  без_длины.L0 = 0;
  без_длины.отчёт = ScratchReportPath("pile_zero_length");
  EXPECT_RUNTIME_ERROR(без_длины.Запас(), kDivisionByZero);  // Ncr
  EXPECT_FALSE(FileExists(без_длины.отчёт));

  Свая без_стержней;
  без_стержней.ns = 0;
  EXPECT_RUNTIME_ERROR(без_стержней.Запас(), kDivisionByZero);

  Свая без_класса;
  без_класса.A = -1;
  EXPECT_RUNTIME_ERROR(без_класса.Запас(), kInvalidProcedureCall);
  без_класса.A = 4;
  EXPECT_RUNTIME_ERROR(без_класса.Запас(), kTypeMismatch);  // Rs "ERROR"
}

TEST_F(PileStrengthTest, BarRingInertia) {
  const double P = Host().Pi();
  const double d = 0.02;
  const double A1 = P * 0.25 * d * d;
  const double J1 = std::pow(d, 4) * P / 64;
  // Four bars: two on the vertical diameter, two on the horizontal one.
  EXPECT_NEAR(МоментИнерцииСтержней(4, 0.5, d), A1 * 0.5 + J1 * 4, 1e-18);
  // One bar lies on the vertical diameter.
  EXPECT_NEAR(МоментИнерцииСтержней(1, 0.5, d), A1 * 0.25 + J1, 1e-18);
  // A negative count: the bars' own inertia times the count.
  EXPECT_DOUBLE_EQ(МоментИнерцииСтержней(-3, 0.5, d), J1 * -3);
  EXPECT_RUNTIME_ERROR(МоментИнерцииСтержней(0, 0.5, d), kDivisionByZero);
  // The 16-bit bar counter cannot step past the largest count.
  EXPECT_RUNTIME_ERROR(МоментИнерцииСтержней(INT16_MAX, 0.5, d), kOverflow);
  EXPECT_GT(МоментИнерцииСтержней(INT16_MAX - 1, 0.5, d), 0);
}

TEST_F(PileStrengthTest, PiComesFromTheHost) {
  class ОкруглённоеПи : public HostApplication {
   public:
    double Pi() const override { return 3.14; }
  };
  const ОкруглённоеПи host;
  ScopedHost scoped(host);
  Свая свая;
  EXPECT_EQ(свая.Строки()[25],
            "\tJb = P * d ^ 4 / 64 = 3.14 * 1.2 ^ 4 / 64 = 0.1017 м4 - момент инерции бетонного "
            "сечения");
}

}  // namespace
}  // namespace armocalc::circle_test
