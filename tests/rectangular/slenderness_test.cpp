// Buckling coefficient фи and deflection factor ню of compressed elements.

#include "rectangular/slenderness.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/report.hpp"
#include "strength_test_support.hpp"

namespace armocalc {
namespace {

using namespace strength_test;  // NOLINT(google-build-using-namespace)

TEST(BucklingTable, TabulatedValuesAreReadExactly) {
  EXPECT_EQ(ФиПоТаблице(10, 1, 0, 1), 1.0);
  EXPECT_EQ(ФиПоТаблице(12, 1, 0.25, 1), 0.83);
  EXPECT_EQ(ФиПоТаблице(43, 1, 1, 1), 0.21);
  EXPECT_EQ(ФиДлительное(10, 1), 0.84);
  EXPECT_EQ(ФиДлительное(43, 1), 0.06);
}

TEST(BucklingTable, InterpolatesAcrossTheMissingColumn36) {
  EXPECT_NEAR(ФиПоТаблице(36, 1, 0, 1), (0.43 + 0.38) / 2, 1e-12);
  EXPECT_NEAR(ФиПоТаблице(36, 1, 0.5, 1), (0.31 + 0.28) / 2, 1e-12);
  EXPECT_NEAR(ФиДлительное(36, 1), (0.1 + 0.08) / 2, 1e-12);
  EXPECT_NEAR(ФиПоТаблице(10, 1, 0.125, 1), (1 + 0.86) / 2, 1e-12);
}

TEST(BucklingTable, ShortElementsTakeTheFirstRow) {
  for (double Lo : {0.0, 1.0, 2.0, 3.99}) {
    EXPECT_EQ(ФиПоТаблице(Lo, 1, 0, 1), 1.0) << Lo;
    EXPECT_EQ(ФиПоТаблице(Lo, 1, 0.25, 1), 0.9) << Lo;
    EXPECT_EQ(ФиДлительное(Lo, 1), 1.0) << Lo;
  }
  EXPECT_LE(КоэффициентПродольногоИзгиба(1, 1, 0.05, 2, 1, 0.5), 1.0);
}

TEST(BucklingTable, NegativeMomentReadsTheMagnitude) {
  EXPECT_EQ(ФиПоТаблице(12, 1, -0.25, 1), 0.83);
  EXPECT_EQ(КоэффициентПродольногоИзгиба(2.5, 2.5, -0.1, 14, 1, 0.5),
            КоэффициентПродольногоИзгиба(2.5, 2.5, 0.1, 14, 1, 0.5));
}

TEST(BucklingCoefficient, LongTermPartBlendsTheTwoColumns) {
  // Lo / b = 10 at e / r = 0: фи_m = 1, фи_l = 0.84.
  EXPECT_NEAR(КоэффициентПродольногоИзгиба(2.5, 2.5, 0, 10, 1, 0.5), 1 / (0.5 + 0.5 / 0.84), 1e-15);
  EXPECT_NEAR(КоэффициентПродольногоИзгиба(2.5, 2.5, 0, 10, 1, 0.5), 0.9130434782608696, 1e-12);
  // All of the force long-term: фи = фи_l.
  EXPECT_NEAR(КоэффициентПродольногоИзгиба(5, 0, 0, 10, 1, 0.5), 0.84, 1e-15);
  // None of it: фи = фи_m, here at e / r = 0.025 / (0.6 / 6).
  EXPECT_NEAR(КоэффициентПродольногоИзгиба(0, 5, 0.125, 12, 1, 0.6), 0.83, 1e-15);
}

TEST(BucklingCoefficient, ZeroWidthDividesByZero) {
  EXPECT_RUNTIME_ERROR(КоэффициентПродольногоИзгиба(1, 1, 0, 10, 0, 0.5), kOverflow);
}

class DeflectionFactor : public StrengthTest {
 protected:
  // B25, A-III, a 1 m wide 0.5 m high section with 8e-5 m⁴ of tension steel.
  double ню(double M, double N, double Lo, bool определимая, double c_ef = 0) {
    Ml_ = 0;
    Nl_ = 0;
    return *КоэффициентВлиянияПрогиба(13, 30000, 0.125 / 12, 196000, 8e-5, 0.5, 0.05, M, N, Ml_,
                                      Nl_, Lo, определимая, c_ef, отчёт_);
  }
  std::vector<std::string> Строки() {
    отчёт_.List().ОкруглитьЧисловыеЗначения(4, 1, ".");
    return отчёт_.List().Строки();
  }
  static double Ncr(double delta, double Fi1, double Lo) {
    return 6.4 * 30000 *
           ((0.125 / 12) * (0.11 / (0.1 + delta) + 0.1) / Fi1 + 196000.0 / 30000 * 8e-5) /
           (Lo * Lo);
  }
  double Ml_ = 0;
  double Nl_ = 0;
  Отчёт отчёт_{"", true};
};

TEST_F(DeflectionFactor, ZeroLongTermPartsTakeTheFullForces) {
  ню(0.5, 3, 7.2, false);
  EXPECT_EQ(Ml_, 0.5);
  EXPECT_EQ(Nl_, 3);
}

TEST_F(DeflectionFactor, IndeterminateSchemeAddsTheAccidentalEccentricity) {
  const double значение = ню(0.5, 3, 7.2, false);
  const double delta = (0.5 / 3 + 7.2 / 400) / 0.5;
  EXPECT_NEAR(значение, 1 / (1 - 3 / Ncr(delta, 2, 7.2)), 1e-12);
  EXPECT_NEAR(значение, 1.557006, 1e-6);
}

TEST_F(DeflectionFactor, DeterminateSchemeTakesTheLargerEccentricity) {
  ню(0.5, 3, 7.2, true);
  ню(0.01, 1, 4, true);  // M / N exactly Lo / 400
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add("\tТак как M / N > Lo / 400, то е = M / N = ", 0.5, " / ", 3.0, " = ", 0.5 / 3,
                " (п. 3.52*)");
  const std::vector<std::string> строки = Строки();
  ОжидатьБлок(строки, ожидаемый.Строки());
  ОжидаемыйОтчёт равные;
  равные.Add("\tТак как M / N <= Lo / 400, то е = Lo / 400 = ", 4.0, " / 400 = ", 0.01,
             " (п. 3.52*)");
  ОжидатьБлок(строки, равные.Строки());
}

TEST_F(DeflectionFactor, SmallEccentricityIsRaisedToTheMinimum) {
  // delta = 0.02 / 0.5 is below delta_min = 0.5 - 0.01 * 4 / 0.5 - 0.13 = 0.29.
  const double значение = ню(0.01, 1, 4, false);
  EXPECT_NEAR(значение, 1 / (1 - 1 / Ncr(0.29, 2, 4)), 1e-12);
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add("\tdelta_min <= delta = e / h = ", 0.02, " / ", 0.5, " = ", 0.04, " >= ", 0.29);
  ОжидатьБлок(Строки(), ожидаемый.Строки());
}

TEST_F(DeflectionFactor, ConfinedCoreCapsFi2AtOne) {
  ню(0.5, 3, 12, false, 0.4);
  ОжидаемыйОтчёт ожидаемый;
  ожидаемый.Add("\tn_1 = Es / Eb = ", 196000.0, " / ", 30000.0, " = ", 196000.0 / 30000);
  ожидаемый.Add("\tfi2 = 0.1 * lo / c_ef - 1 = 0.1 * ", 12.0, " / ", 0.4, " - 1 = ", 2.0);
  ожидаемый.Add("\tfi2 не может быть больше единицы, поэтому принимаем fi2 = 1");
  ожидаемый.Add("\tdelta_min = 0.5 - 0.01 * lo * fi2 / c_ef - 0.01 * Rb = 0.5 - 0.01 * ", 12.0,
                " * ", 1.0, " / ", 0.4, " - 0.01 * ", 13.0, " = ",
                0.5 - 0.01 * 12 * 1 / 0.4 - 0.13);
  ОжидатьБлок(Строки(), ожидаемый.Строки());
}

TEST_F(DeflectionFactor, Fi2OfExactlyOneIsNotCapped) {
  ню(0.5, 3, 8, false, 0.4);
  const std::vector<std::string> строки = Строки();
  EXPECT_TRUE(ЕстьСтрока(строки,
                         "\tfi2 = 0.1 * lo / c_ef - 1 = 0.1 * "
                         "8"
                         " / "
                         "0.4"
                         " - 1 = "
                         "1"));
  EXPECT_FALSE(ЕстьСтрока(строки, "\tfi2 не может быть больше единицы, поэтому принимаем fi2 = 1"));
}

TEST_F(DeflectionFactor, AtOrAboveTheCriticalForceThereIsNoFactor) {
  // Lo = 30 m: Ncr is far below 3 MN. The ню line is left to the caller's stability line.
  Ml_ = 0;
  Nl_ = 0;
  EXPECT_FALSE(КоэффициентВлиянияПрогиба(13, 30000, 0.125 / 12, 196000, 8e-5, 0.5, 0.05, 0.5, 3,
                                         Ml_, Nl_, 30, false, 0, отчёт_)
                   .has_value());
  EXPECT_EQ(Nl_, 3);
  const std::vector<std::string> строки = Строки();
  EXPECT_EQ(строки.back(), "\tКоэффициент, учитывающий влияние прогиба по прочности:");
}

TEST_F(DeflectionFactor, VanishingMomentArmDividesByZero) {
  Ml_ = 0.1;
  Nl_ = 1;
  EXPECT_RUNTIME_ERROR(КоэффициентВлиянияПрогиба(13, 30000, 0.01, 196000, 8e-5, 0.5, 0, -0.25, 1,
                                                 Ml_, Nl_, 4, false, 0, отчёт_),
                       kDivisionByZero);
}

TEST(DeflectionAlongTheElement, RisesToAThirdAndStaysToMidSpan) {
  EXPECT_EQ(НюПоДлине(2, 6, 0), 1.0);
  EXPECT_NEAR(НюПоДлине(2, 6, 1), 1.5, 1e-15);
  EXPECT_EQ(НюПоДлине(2, 6, 2), 2.0);
  EXPECT_EQ(НюПоДлине(2, 6, 3), 2.0);
  EXPECT_NEAR(НюПоДлине(2, 6, 4.8), 1.6, 1e-12);  // mirrored to 1.2
  EXPECT_NEAR(НюПоДлине(2, 6, 4), 2.0, 1e-12);
}

}  // namespace
}  // namespace armocalc
