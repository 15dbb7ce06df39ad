// The civil-defence strength check: load split and write-back, eccentricities, the layer swap,
// the iteration with its bound, the shelter classes and the failures.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "civil_defence_test_support.hpp"

namespace armocalc {
namespace {

using namespace civil_test;  // NOLINT(google-build-using-namespace)

using DynamicStrength = CivilDefenceTest;

std::vector<std::string> Отчёт(ВходГО& в, const std::string& имя) {
  в.отчёт = ПутьОтчёта(имя);
  в.Запас();
  return ПрочитатьОтчёт(в.отчёт);
}

TEST_F(DynamicStrength, PureBendingReducesЕдоUnlessLimitStateIб) {
  ВходГО обычный;
  const auto строки = Отчёт(обычный, "bending_plain");
  EXPECT_EQ(СтрокаНа(строки, "\tПредотвращение хрупкого разрушения"),
            "\tПредотвращение хрупкого разрушения по п. 4.22*: Едо = Едо - Едо * 0.1 = 0.6095");

  ВходГО Iб;
  Iб.Iб = true;
  const auto строки_Iб = Отчёт(Iб, "bending_Ib");
  // Iб raises the concrete factor to 1.3: Едо = 0.85 - 0.0008 * 1.3 * 180 * 1.2 / 1.2.
  const double Едо = 0.85 - 0.0008 * 180 * 1.3;
  EXPECT_NEAR(Едо, 0.6628, 1e-12);
  EXPECT_EQ(СтрокаНа(строки_Iб, "\tПредотвращение хрупкого разрушения"),
            "\tПредотвращение хрупкого разрушения по п. 4.22*: Едо = Едо - Едо * 0 = 0.6628");
  EXPECT_EQ(СколькоСтрок(строки_Iб, "\te = "), 0u);  // the bending path reads no class table
}

TEST_F(DynamicStrength, ZeroPermanentForceTakesTheWholeForceAndWritesItBack) {
  ВходГО в;
  в.N = 0.5;
  const auto строки = Отчёт(в, "nl_zero");
  EXPECT_EQ(в.Nl, 0.5);
  EXPECT_EQ(СтрокаНа(строки, "\tNm = "),
            "\tNm = 0 МН - расчетное продольное сжимающее усилие от временной нагрузки");

  ВходГО задано;
  задано.N = 0.5;
  задано.Nl = 0.2;
  const auto строки_задано = Отчёт(задано, "nl_given");
  EXPECT_EQ(задано.Nl, 0.2);
  EXPECT_EQ(СтрокаНа(строки_задано, "\tNm = "),
            "\tNm = 0.3 МН - расчетное продольное сжимающее усилие от временной нагрузки");
}

TEST_F(DynamicStrength, StaticallyDeterminateSchemeTakesTheLargerEccentricity) {
  for (const int32_t U : {10, 20}) {
    ВходГО в;
    в.N = 1;
    в.M = 0.005;  // ec 0.005 below ea 0.5 / 30
    в.U = U;
    EXPECT_EQ(СтрокаНа(Отчёт(в, "eo_" + std::to_string(U)), "\teo = "),
              "\teo = 0.01667 м - расчетный эксцентриситет продольной силы")
        << U;
  }
  ВходГО неопределимая;
  неопределимая.N = 1;
  неопределимая.M = 0.005;
  EXPECT_EQ(СтрокаНа(Отчёт(неопределимая, "eo_12"), "\teo = "),
            "\teo = 0.02167 м - расчетный эксцентриситет продольной силы");
}

TEST_F(DynamicStrength, AccidentalEccentricityFromHeightAndLength) {
  ВходГО короткий;
  короткий.h = 0.6;
  const auto строки = Отчёт(короткий, "ea_no_length");
  EXPECT_EQ(СтрокаНа(строки, "\tea = "), "\tea = 0.02 м - случайный эксцентриситет");
  EXPECT_EQ(СколькоСтрок(строки, "\tlo = "), 0u);

  ВходГО длинный;
  длинный.h = 0.6;
  длинный.L = 30;
  const auto строки_L = Отчёт(длинный, "ea_length");
  EXPECT_EQ(СтрокаНа(строки_L, "\tlo = "), "\tlo = 36 м - расчетная длина элемента");
  EXPECT_EQ(СтрокаНа(строки_L, "\tea = "), "\tea = 0.05 м - случайный эксцентриситет");
}

TEST_F(DynamicStrength, NegativeMomentSwapsTheLayers) {
  // With the areas and distances mirrored, a negative moment gives the margin of the positive one.
  ВходГО положительный;
  положительный.N = 0.5;
  положительный.ан = 0.04;
  ВходГО отрицательный;
  отрицательный.N = 0.5;
  отрицательный.M = -0.2;
  отрицательный.Fв = 20;
  отрицательный.Fн = 10;
  отрицательный.ав = 0.04;
  EXPECT_DOUBLE_EQ(отрицательный.Запас(), положительный.Запас());

  const auto строки = Отчёт(отрицательный, "negative_moment");
  EXPECT_EQ(СтрокаНа(строки, "\tИзгибающий момент"),
            "\tИзгибающий момент (M), растягивающий верхнюю арматуру: -0.2 МН*м");
  // h0 = h - ав for the top layer, a_c = ан of the bottom one.
  EXPECT_NE(СтрокаНа(строки, "\tЕд = ").find(" / 0.46 = "), std::string::npos);
  EXPECT_NE(СтрокаНа(строки, "\tNпред = ").find(" * (0.46 - 0.05) = "), std::string::npos);
}

TEST_F(DynamicStrength, IterationStopsAtItsPassBoundAndAveragesTheLastEstimates) {
  // An over-reinforced section: the estimate swings between 0 and h0 and never settles.
  ВходГО в;
  в.N = 3;
  в.Fн = 400;
  const auto строки = Отчёт(в, "pass_bound");
  // The first X (1.049) lies above h0 and enters the first Ед unclamped; later ones are clamped.
  EXPECT_EQ(СтрокаНа(строки, "\tЕд = "),
            "\tЕд = X / Арм(Растянутый).асДоСжатогоКраяСечения = 1.049 / 0.45 = 2.331 - "
            "относительная высота сжатой зоны бетона (п. 4.19)");
  // Every later pass starts from a bound: the estimate swings between h0 and 0.
  const std::string Ед = "\tЕд = X / Арм(Растянутый).асДоСжатогоКраяСечения = ";
  EXPECT_EQ(СколькоСтрок(строки, Ед + "0.45 / ") + СколькоСтрок(строки, Ед + "0 / "), 1000u);
  EXPECT_EQ(СколькоСтрок(строки, "Итерация номер "), 1001u);
  EXPECT_EQ(СтрокаНа(строки, "Итерация номер 1001"), "Итерация номер 1001");
  // The last pass goes from 0.45 to 0 (clamped); their mean 0.225 is the height of the limit.
  EXPECT_NE(СтрокаНа(строки, "\tNпред = ").find(" = 21.19 * 1 * 0.225 * (0.45 - 0.5 * 0.225) + "),
            std::string::npos);
  EXPECT_NEAR(в.Запас(), 54.66075148160873, 1e-9);
}

TEST_F(DynamicStrength, SteelBelowYieldTakesItsStressAndFormula17) {
  ВходГО в;
  в.Fн = 100;
  const auto строки = Отчёт(в, "below_yield");
  EXPECT_EQ(СколькоСтрок(строки, "Итерация номер "), 19u);
  const std::string X_бад = СтрокаНа(строки, "\tX = ((бад * ");
  EXPECT_NE(X_бад.find(" м - высота сжатой зоны, приближенно вычисленная по формуле (17)"),
            std::string::npos);
  // A converged iteration ends with its last pass: the Nпред line follows the last X line.
  const size_t последний = строки.size() - 1;
  EXPECT_EQ(строки[последний].rfind("Наименьший запас: ", 0), 0u);
  EXPECT_EQ(строки[последний - 1].rfind("При сравнении величин Nпред = ", 0), 0u);
  EXPECT_EQ(строки[последний - 2].rfind("\tNпред = ", 0), 0u);
  EXPECT_EQ(строки[последний - 3].rfind("\tX = ((", 0), 0u);
  EXPECT_NEAR(в.Запас(), 89.44945006776199, 1e-9);
}

TEST_F(DynamicStrength, ShelterClassesScaleTheEccentricity) {
  struct Случай {
    uint8_t класс;
    bool Iб;
    const char* коэффициент;
  };
  for (const Случай& случай :
       {Случай{2, false, "0.9"}, Случай{2, true, "1"}, Случай{3, false, "0.95"},
        Случай{3, true, "1.6"}, Случай{4, false, "1"}, Случай{4, true, "1.7"}}) {
    ВходГО в;
    в.N = 0.5;
    в.класс_убежища = случай.класс;
    в.Iб = случай.Iб;
    const std::string e = СтрокаНа(Отчёт(в, "class"), "\te = ");
    EXPECT_NE(e.find(" - 0.45)) * " + std::string(случай.коэффициент) + " = "), std::string::npos)
        << e;
  }
  EXPECT_EQ(гоТабл23а(3, false), 0.95);
  EXPECT_EQ(гоТабл23а(1, true), std::nullopt);
}

TEST_F(DynamicStrength, UnknownShelterClassFailsTheForcePathWithoutAFile) {
  for (const int класс : {0, 1, 5, 255}) {
    ВходГО в;
    в.N = 0.5;
    в.класс_убежища = static_cast<uint8_t>(класс);
    в.отчёт = ПутьОтчёта("unknown_class");
    EXPECT_RUNTIME_ERROR(в.Запас(), kInvalidProcedureCall);
    EXPECT_FALSE(ФайлЕсть(в.отчёт));
    EXPECT_EQ(в.Nl, 0.5);  // the write-back before the failure stays
  }
  ВходГО изгиб;
  изгиб.класс_убежища = 5;
  EXPECT_NEAR(изгиб.Запас(), 55.96699412724191, 1e-9);
}

TEST_F(DynamicStrength, PureBendingWithALengthHasBucklingCoefficientOne) {
  ВходГО в;
  в.L = 6;
  const auto строки = Отчёт(в, "bending_length");
  EXPECT_EQ(СтрокаНа(строки, "\tфи = "),
            "\tфи = 1 - коэффициент продольного изгиба (СНиП 2.05.03-84* п.3.55*)");
  ВходГО без_длины;
  EXPECT_DOUBLE_EQ(в.Запас(), без_длины.Запас());
}

TEST_F(DynamicStrength, BucklingCoefficientIsReportedButNotUsed) {
  ВходГО длинный;
  длинный.N = 0.5;
  длинный.M = 0.05;
  длинный.L = 10;
  длинный.U = 10;  // lo = 10, λ = 10: фи_l = 0.84 with the whole force permanent
  EXPECT_EQ(СтрокаНа(Отчёт(длинный, "buckling"), "\tфи = "),
            "\tфи = 0.84 - коэффициент продольного изгиба (СНиП 2.05.03-84* п.3.55*)");
  ВходГО короткий;
  короткий.N = 0.5;
  короткий.M = 0.05;
  короткий.U = 10;
  EXPECT_DOUBLE_EQ(длинный.Запас(), короткий.Запас());
}

TEST_F(DynamicStrength, ArithmeticFaultsFailWithoutAFile) {
  ВходГО без_ширины;
  без_ширины.B = 0;
  без_ширины.отчёт = ПутьОтчёта("zero_width");
  EXPECT_RUNTIME_ERROR(без_ширины.Запас(), kDivisionByZero);
  EXPECT_FALSE(ФайлЕсть(без_ширины.отчёт));

  ВходГО с_длиной;
  с_длиной.N = 0.5;
  с_длиной.B = 0;
  с_длиной.L = 3;
  EXPECT_RUNTIME_ERROR(с_длиной.Запас(), kOverflow);  // 0 / 0 in the core radius of фи

  ВходГО без_высоты;
  без_высоты.ан = 0.5;  // h0 = 0
  EXPECT_RUNTIME_ERROR(без_высоты.Запас(), kDivisionByZero);

  ВходГО огромный;
  огромный.N = 1e-300;
  огромный.M = 1e300;  // M / N beyond the double range
  EXPECT_RUNTIME_ERROR(огромный.Запас(), kOverflow);
}

}  // namespace
}  // namespace armocalc
