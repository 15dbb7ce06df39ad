// Strength check: input normalisation and its write-backs, materials and condition factors, the
// compressed zone, the limit forces per work character and the failures.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "kernel/margin.hpp"
#include "rectangular/strength.hpp"
#include "strength_test_support.hpp"

namespace armocalc {
namespace {

using namespace strength_test;  // NOLINT(google-build-using-namespace)

using StrengthInput = StrengthTest;

TEST_F(StrengthInput, LongTermPartsDefaultToTheFullForces) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.Nl = 1;
  в.Ml = 0.2;
  в.Вызвать();
  EXPECT_EQ(в.N, 3);
  EXPECT_EQ(в.Nl, 1);
  EXPECT_EQ(в.Ml, 0.2);

  Вход без_длительных;
  без_длительных.N = 3;
  без_длительных.M = 0.5;
  без_длительных.Вызвать();
  EXPECT_EQ(без_длительных.Nl, 3);
  EXPECT_EQ(без_длительных.Ml, 0.5);
}

TEST_F(StrengthInput, NoForceAndNoMomentIsCentralTension) {
  Вход в;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tХарактер работы элемента: "
                         "центральное растяжение"));
  EXPECT_TRUE(ЕстьСтрока(строки, "Центральное растяжение (п. 3.74)"));
}

TEST_F(StrengthInput, NegativeMomentSwapsTheLayers) {
  Вход вниз;
  вниз.N = 3;
  вниз.M = 0.5;
  вниз.Fв = 10;
  вниз.Fн = 20;
  вниз.ав = 0.04;
  вниз.ан = 0.06;
  Вход вверх = вниз;
  вверх.M = -0.5;
  вверх.Fв = 20;
  вверх.Fн = 10;
  вверх.ав = 0.06;
  вверх.ан = 0.04;
  EXPECT_DOUBLE_EQ(вверх.Запас(), вниз.Запас());
  const std::vector<std::string> строки = вверх.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tИзгибающий момент (M), растягивающий "
                         "верхнюю"
                         " арматуру: "
                         "-0.5"
                         " МН*м"));
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tПлощадь сжатой арматуры (Fsi): "
                         "0.001"
                         "кв.м, растянутой (Fs): "
                         "0.002"
                         " кв.м"));
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tРасстояние от ц.т. сжатой арматуры до края сечения (ai): "
                         "0.04"
                         "м, растянутой (a): "
                         "0.06"
                         " м"));
}

TEST_F(StrengthInput, MarginMethodIsPassedThrough) {
  Вход в;
  в.N = -2;
  в.M = 0.05;
  в.метод = 0;
  EXPECT_DOUBLE_EQ(в.Запас(), 1.05 / 2);
  в.метод = 2;
  EXPECT_DOUBLE_EQ(в.Запас(), 100 * (1 - 2 / 1.05));
}

using StrengthMaterials = StrengthTest;

TEST_F(StrengthMaterials, ConditionFactorsMultiplyInSinglePrecision) {
  EXPECT_EQ(КоэффициентУсловийРаботыБетона(0), 1.0f);
  EXPECT_EQ(КоэффициентУсловийРаботыБетона(4), 0.85f);
  EXPECT_EQ(КоэффициентУсловийРаботыБетона(16 + 32), 0.9f * 0.9f);
  const float все = ((0.85f * 0.9f) * 0.9f) * 0.85f;  // from the highest bit down
  EXPECT_EQ(КоэффициентУсловийРаботыБетона(4 + 16 + 32 + 64), все);
  EXPECT_EQ(КоэффициентУсловийРаботыБетона(1 + 2 + 8 + 128), 1.0f);
}

TEST_F(StrengthMaterials, AllFourFactorsOnASmallSection) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.B = 0.6;  // b * h = 0.3 keeps the vertical concreting
  в.вертикально = true;
  в.север = true;
  в.заморозки = true;
  в.солнце = true;
  const std::vector<std::string> строки = в.Строки();
  const float все = ((0.85f * 0.9f) * 0.9f) * 0.85f;
  EXPECT_TRUE(в.вертикально);
  EXPECT_TRUE(в.север);
  // Rb enters x1 as the double of the single-precision product.
  const double Rb = 13 * static_cast<double>(все);
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add("\tРасчетное сопротивление бетона: Rb = ", 13.0, " * ", все, " МПа");
  ожидаемый.Add("\tРасчетное сопротивление арматуры: Rsc = Rs = ", 350.0, " МПа");
  ожидаемый.Add("3. Расчет высоты сжатой зоны сечения");
  const double x1 = (0.002 * 350 + 3) / (Rb * 0.6);
  ожидаемый.Add("\tx1 = (N + Rs * Fs) / (Rb * b) = (", 3.0, " + ", 350.0, " * ", 0.002, ") / (", Rb,
                " *  ", 0.6, ") = ", x1,
                " м - высота сжатой зоны сечения без учета сжатой арматуры");
  ОжидатьБлок(строки, ожидаемый.Строки());
}

TEST_F(StrengthMaterials, LargeSectionIsNotCountedAsConcretedVertically) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.B = 0.8;  // b * h = 0.4
  в.вертикально = true;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_FALSE(в.вертикально);
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tРасчетное сопротивление бетона: Rb = "
                         "13"
                         " * "
                         "1"
                         " МПа"));
}

TEST_F(StrengthMaterials, WaterSaturationCancelsTheNorthernFactor) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.B = 0.5;
  в.север = true;
  в.водонасыщение = true;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_FALSE(в.север);
  EXPECT_TRUE(в.водонасыщение);
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tРасчетное сопротивление бетона: Rb = "
                         "13"
                         " * "
                         "1"
                         " МПа"));

  Вход только_север = в;
  только_север.север = true;
  только_север.водонасыщение = false;
  EXPECT_TRUE(ЕстьСтрока(только_север.Строки(),
                         "\tРасчетное сопротивление бетона: Rb = "
                         "13"
                         " * "
                         "0.9"
                         " МПа"));
  EXPECT_TRUE(только_север.север);
}

TEST_F(StrengthMaterials, RailwayStructuresTakeTheRailwayResistance) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.жд = true;
  EXPECT_TRUE(ЕстьСтрока(в.Строки(),
                         "\tРасчетное сопротивление арматуры: Rsc = Rs = "
                         "330"
                         " МПа"));
  в.жд = false;
  EXPECT_TRUE(ЕстьСтрока(в.Строки(),
                         "\tРасчетное сопротивление арматуры: Rsc = Rs = "
                         "350"
                         " МПа"));
}

using StrengthZone = StrengthTest;

TEST_F(StrengthZone, X2ExactlyTwiceAiIsTaken) {
  Вход в;
  в.N = 0.95;
  в.M = 1;
  const double x2 = (в.Fн / 10000 * 350 + в.N - 350 * (в.Fв / 10000)) / (13 * 1.0);
  в.ав = x2 / 2;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки, "\tТак как x2 >= 2 * ai, то X = x2 = "));
  EXPECT_FALSE(ЕстьСтрока(строки, "\tТак как x1 < 2 * ai, то X = x1 = "));
}

TEST_F(StrengthZone, CentralCompressionOverReinforcedNeverIterates) {
  Вход в;
  в.N = 5;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(
      строки, "\tПри центральном сжатии высота сжатой зоны определяется так: X = Esj_y · ho = "));
  EXPECT_FALSE(ЕстьСтрока(строки, "\tЦикл подбора высоты сжатой зоны № "));
}

TEST_F(StrengthZone, OscillatingIterationStopsAfterPass1001) {
  Вход в;
  в.N = 0.5;
  в.M = 0.2;
  в.Fв = 1;
  в.Fн = 100;
  std::vector<std::string> строки;
  EXPECT_NO_THROW(строки = в.Строки());
  EXPECT_EQ(СколькоСтрок(строки, "\tЦикл подбора высоты сжатой зоны № "),
            kПроходовВысотыСжатойЗоны);
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tЦикл подбора высоты сжатой зоны № "
                         "1001"));
  EXPECT_TRUE(ЕстьСтрока(строки, "\tИтоговое значение высоты сжатой зоны сечения: X = "));
  EXPECT_TRUE(ЕстьСтрока(строки, "Запас = "));
  EXPECT_TRUE(std::isfinite(в.Запас()));
}

// A check that writes no report runs the iteration without its lines: the margin is the same to
// the last bit, for an iteration that settles and for one that runs to the pass bound, and with
// either sign of the moment.
TEST_F(StrengthZone, IterationGivesTheSameMarginWithAndWithoutAReport) {
  for (const double Fн : {100.0, 200.0, 300.0}) {
    for (const double M : {0.2, -0.2}) {
      Вход в;
      в.N = 0.5;
      в.M = M;
      в.Fв = M > 0 ? 1 : Fн;
      в.Fн = M > 0 ? Fн : 1;
      Отчёт собранный("", true);
      const double с_отчётом = в.Вызвать(&собранный).Get<double>();
      ASSERT_TRUE(ЕстьСтрока(собранный.List().Строки(), "\tЦикл подбора высоты сжатой зоны № "))
          << Fн << " " << M;
      EXPECT_EQ(std::bit_cast<uint64_t>(в.Запас()), std::bit_cast<uint64_t>(с_отчётом))
          << Fн << " " << M;
    }
  }
}

using StrengthLimits = StrengthTest;

TEST_F(StrengthLimits, CentralCompressionKeepsTheAreaAtExactlyThreePerCent) {
  Вход в;
  в.N = 5;
  в.Fв = 75;
  в.Fн = 75;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_FALSE(ЕстьСтрока(строки,
                          "\tПлощадь бетона откорректирована т.к. процент содержания арматуры в "
                          "данном сечении > 3%. Fb = "));
  ОжидаемыйОтчёт ожидаемый;
  const double N68 = 0.015 * 350 + 0.5 * 13;
  ожидаемый.Add("\tN_предел2 = Rb * Fb + Rsc * (Fsi + Fs) = ", 13.0, " * ", 0.5, " + ", 350.0,
                " * (", 0.015, " + ", 0.0, ") = ", N68, " МН (по формуле 68)");
  ОжидатьБлок(строки, ожидаемый.Строки());
  EXPECT_EQ(СколькоСтрок(строки, "\tПредварительный запас = "), 2);
}

TEST_F(StrengthLimits, TensionBetweenTheLayersWithoutCompressedSteelHasOneMargin) {
  // x1 < 2 * ai drops the compressed bars: only formula (90) is left.
  Вход в;
  в.N = -2;
  в.M = 0.3;
  const double запас = в.Запас();
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(
      строки,
      "\tПродольная сила N приложена между равнодействующими усилий в соответствующей арматуре"));
  EXPECT_FALSE(ЕстьСтрока(
      строки,
      "\tт.к. сжатая арматура учтена в расчёте, то N_предел = (Rs * Fsi * (ho - ai)) / e = ("));
  EXPECT_EQ(СколькоСтрок(строки, "\tЗапас при этом = "), 1);
  const double ё = 0.5 - 0.05 - 0.05 - (0.2 - 0.15);
  EXPECT_NEAR(запас, ОпределитьЗапас(0.4 * 0.002 * 350 / ё, 2, 3), 1e-9);
}

TEST_F(StrengthLimits, ZeroLengthPrintsBothLinesAndAddsNothing) {
  Вход в;
  в.N = -0.2;
  в.M = 0.03;
  в.Fн = 60;
  в.L = 0;
  Вход без_длины = в;
  без_длины.L = -1;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tГеометрическая длина элемента: L = "
                         "0"
                         " м"));
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tРасчётная длина элемента: Lo = "
                         "0"
                         " м"));
  EXPECT_DOUBLE_EQ(в.Запас(), без_длины.Запас());
}

TEST_F(StrengthLimits, ZeroLengthUnderEccentricCompressionDividesByZero) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.L = 0;
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kDivisionByZero);
}

TEST_F(StrengthLimits, SectionMirroredIntoTheFirstHalf) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.L = 6;
  const double ню = 1.5570060922541338;
  в.Z = 4.8;
  const std::vector<std::string> строки = в.Строки();
  EXPECT_TRUE(ЕстьСтрока(
      строки, "\tПроизводим интерполяцию, если опоры несмещаемые (см. п.3.54* последний абзац)"));
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add("\tню = Интерполяция(ню, z) = ", 1 + (ню - 1) * 1.2 / 2);
  ОжидатьБлок(строки, ожидаемый.Строки());
  Вход зеркальный = в;
  зеркальный.Z = 1.2;
  EXPECT_NEAR(зеркальный.Запас(), в.Запас(), 1e-9);
}

using StrengthFailure = StrengthTest;

TEST_F(StrengthFailure, DivisionByZeroWritesNoReportButKeepsTheWriteBacks) {
  Вход в;
  в.M = 0.5;
  в.B = 0;
  в.отчёт = ПутьОтчёта("division_by_zero");
  {
    std::ofstream старый(в.отчёт);
    старый << "old";
  }
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kDivisionByZero);
  EXPECT_EQ(в.N, -1e-20);
  std::ifstream файл(в.отчёт);
  std::string содержимое;
  std::getline(файл, содержимое);
  EXPECT_EQ(содержимое, "old");

  Вход без_файла;
  без_файла.M = 0.5;
  без_файла.B = 0;
  без_файла.отчёт = ПутьОтчёта("division_by_zero_new");
  EXPECT_RUNTIME_ERROR(без_файла.Вызвать(), kDivisionByZero);
  EXPECT_FALSE(ФайлЕсть(без_файла.отчёт));
}

TEST_F(StrengthFailure, BarInertiaWithoutALayoutDividesByZero) {
  // No layout covers 400 cm²/m: the spacing stays 0 (a face without bars is computed instead).
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.Fв = 400;
  в.СМИ = true;
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kOverflow);  // 0 / 0
}

TEST_F(StrengthFailure, UnknownSteelClassIsATypeMismatch) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.класс_стали = 4;
  EXPECT_RUNTIME_ERROR(в.Вызвать(), kTypeMismatch);
}

TEST_F(StrengthFailure, ShortReportPathWritesNothing) {
  Вход в;
  в.N = 3;
  в.M = 0.5;
  в.отчёт = "a.tx";
  EXPECT_NO_THROW(в.Вызвать());
  EXPECT_FALSE(ФайлЕсть("a.tx"));
}

}  // namespace
}  // namespace armocalc
