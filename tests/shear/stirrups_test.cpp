// The inclined-section check with stirrups: defaults of the optional inputs, the caps of фw1 and
// of the projection C, the scan's edge cases, the margins and the failures.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "kernel/margin.hpp"
#include "runtime/errors.hpp"
#include "shear_test_support.hpp"

namespace armocalc {
namespace {

using namespace shear_test;  // NOLINT(google-build-using-namespace)

std::vector<std::string> ScanLines(const std::vector<std::string>& lines) {
  std::vector<std::string> scan;
  for (const std::string& line : lines) {
    if (line.rfind("\tУгол=", 0) == 0) scan.push_back(line);
  }
  return scan;
}

// The piece of a scan line after `name` up to the next tab.
std::string ScanValue(const std::string& line, const std::string& name) {
  const size_t at = line.find(name);
  if (at == std::string::npos) return "?";
  const size_t start = at + name.size();
  return line.substr(start, line.find('\t', start) - start);
}

TEST(StirrupsDefaults, ZeroNormativeForceHeightAndLongitudinalAreaTakeTheirStandIns) {
  ВходХомутов по_умолчанию;
  ВходХомутов явно;
  явно.Qн = явно.Q;
  явно.h = явно.ho;
  // Asw = π·0.005²·1/0.15 m² as cm², the same formula
  явно.Awr_sm2 = std::pow(10.0 / 2000, 2) * (4 * std::atan(1.0)) * 1 / 0.15 * 10000;
  EXPECT_DOUBLE_EQ(по_умолчанию.Вызвать(), явно.Вызвать());

  const std::vector<std::string> отчёт = ReportOf(по_умолчанию, "defaults", ",");
  EXPECT_EQ(LineStartingWith(отчёт, "\tПеререзывающая"),
            "\tПеререзывающая сила от нормативных нагрузок (Qн): 0,3 МН");
  EXPECT_EQ(LineStartingWith(отчёт, "\tВысота"), "\tВысота расчётного сечения (h): 0,9 м");
  EXPECT_EQ(LineStartingWith(отчёт, "\tПлощадь продольной"),
            "\tПлощадь продольной (расположенной вдоль оси Z) арматуры Awr = 5,24 кв.cм");
}

TEST(StirrupsDefaults, GivenLongitudinalAreaAndSteelClass) {
  ВходХомутов вход;
  вход.Awr_sm2 = 12.345;
  вход.класс_продольной = 2;
  вход.жд = true;
  const std::vector<std::string> отчёт = ReportOf(вход, "given_awr", ",");
  EXPECT_EQ(LineStartingWith(отчёт, "\tПлощадь продольной"),
            "\tПлощадь продольной (расположенной вдоль оси Z) арматуры Awr = 12,35 кв.cм");
  // railway values: A-I 200 and A-II 250 MPa, times 0.8
  EXPECT_NE(LineStartingWith(отчёт, "\tRb = ").find("Rsw = 160 МПа, Rwr = 200 МПа"),
            std::string::npos);
}

TEST(StirrupsStrut, фw1AboveTheCapIsPrintedUncutAndCutForQ1) {
  ВходХомутов вход;  // 20 mm stirrups at 5 cm both ways: мюw = 0.1257, фw1 = 5.314
  вход.dw_mm = 20;
  вход.s_wx = 0.05;
  вход.s_wz = 0.05;
  const std::vector<std::string> отчёт = ReportOf(вход, "cap", ",");
  EXPECT_EQ(LineStartingWith(отчёт, "\tфw1"), "\tфw1 = 1 + 5 * n1 * мюw = 5,314 <= 1.3");
  EXPECT_EQ(LineStartingWith(отчёт, "\tQ1"),
            "\tQ1 = 0.3 * фw1 * фb1 * Rb * b * ho = 0.3 * 1,300 * 0,87 * 13 * 1 * 0,9 = 3,970 МН "
            "(по формуле 94)");
}

TEST(StirrupsScan, EightyOneAnglesAndTheNinetyDegreeSection) {
  const std::vector<std::string> scan = ScanLines(ReportOf(ВходХомутов{}, "scan", ","));
  ASSERT_EQ(scan.size(), 81u);
  EXPECT_EQ(scan.front().rfind("\tУгол=10\t", 0), 0u);
  EXPECT_EQ(scan.back().rfind("\tУгол=90\t", 0), 0u);
  // tan 90° of the order of 1e16: C almost 0, Qb1 dashed, Qb = Qb2
  EXPECT_EQ(ScanValue(scan.back(), " C="), "0,000");
  EXPECT_EQ(ScanValue(scan.back(), " Qb1="), "-.---");
  EXPECT_EQ(ScanValue(scan.back(), "Qb="), "2,480");  // щ = 2.9 with h = ho: Qb2 = 2.4795
}

TEST(StirrupsScan, LongitudinalBarsCountFromFiftyDegreesOn) {
  // With C capped at 2·ho at small angles, Q2 changes only through Qwr: 0 up to 50°.
  ВходХомутов вход;
  вход.C_max = 0.3;  // C = 0.3 for every angle below 71°
  const std::vector<std::string> scan = ScanLines(ReportOf(вход, "qwr", ","));
  ASSERT_EQ(scan.size(), 81u);
  EXPECT_EQ(ScanValue(scan[0], "Q2="), ScanValue(scan[40], "Q2="));  // 10° and 50°
  // 51°: Qwr = 5.236e-4 · 1/40 · 980.6 = 0.0128 MN more
  const double Q2_50 = std::stod(ScanValue(scan[40], "Q2=").replace(1, 1, "."));
  const double Q2_51 = std::stod(ScanValue(scan[41], "Q2=").replace(1, 1, "."));
  EXPECT_NEAR(Q2_51 - Q2_50, 5.23599e-4 / 40 * 980.6, 0.0011);
}

TEST(StirrupsScan, CMaxCapsTheProjectionAndStaysAsGiven) {
  ВходХомутов вход;
  вход.C_max = 0.5;
  const std::vector<std::string> scan = ScanLines(ReportOf(вход, "cmax", ","));
  EXPECT_EQ(ScanValue(scan[0], " C="), "0,500");
  EXPECT_EQ(ScanValue(scan[50], " C="), "0,500");  // 60°: C = 0.513 without the cap
  EXPECT_EQ(ScanValue(scan[51], " C="), "0,493");

  ВходХомутов вызов;
  вызов.C_max = 0.5;
  вызов.Вызвать();
  EXPECT_EQ(вызов.C_max, 0.5);
  ВходХомутов без_предела;
  без_предела.C_max = -1;  // not above 0: no cap
  EXPECT_DOUBLE_EQ(без_предела.Вызвать(), ВходХомутов{}.Вызвать());
}

TEST(StirrupsScan, NegativeProjectionPassesTheBoundsUnchanged) {
  // ho = 0.01 m below Rwr·Awr/(b·Rb) = 280·0.01/13 = 0.215 m: C < 0 at every angle.
  ВходХомутов вход;
  вход.ho = 0.01;
  вход.Awr_sm2 = 100;
  вход.C_max = 0.5;
  const std::vector<std::string> scan = ScanLines(ReportOf(вход, "negative_c", ","));
  ASSERT_EQ(scan.size(), 81u);
  // 45°: C = 0.01 − 0.2154 = −0.205, Qb1 = 2·0.95·1e-4/C = −0.001
  EXPECT_EQ(ScanValue(scan[35], " C="), "-0,205");
  EXPECT_EQ(ScanValue(scan[35], " Qb1="), "-0,001");
  EXPECT_EQ(ScanValue(scan[35], "Qb="), "-0,001");
}

TEST(StirrupsScan, LargeQb1IsDashedButStillEntersQb) {
  // A tiny normative force makes щ and Qb2 huge, so Qb is Qb1 even above 99 MN.
  ВходХомутов вход;
  вход.Qн = 1e-6;
  const std::vector<std::string> scan = ScanLines(ReportOf(вход, "dash", ","));
  const std::string& at_89 = scan[79];
  EXPECT_EQ(ScanValue(at_89, " Qb1="), "-.---");
  EXPECT_EQ(ScanValue(at_89, "Qb="), "99,209");  // 2·0.95·0.81/C, C = 0.8887/tan 89°
}

TEST(StirrupsMargins, ZeroMomentGivesTheShearMargin) {
  ВходХомутов вход;               // M = 0: moment margin 100
  const double Q2_min = 1.64665;  // the smallest Q2 of the default section (10°…26°)
  EXPECT_NEAR(вход.Вызвать(), ОпределитьЗапас(Q2_min, 0.3, 3), 1e-3);
  const std::vector<std::string> отчёт = ReportOf(вход, "zero_moment", ",");
  EXPECT_EQ(LineStartingWith(отчёт, "При сравнении"),
            "При сравнении величин Q3_min = 0,132 и M = 0,000 запас по M равен 100,000");
}

TEST(StirrupsMargins, StrutGovernsWhenQ1IsBelowQ2Min) {
  ВходХомутов вход;  // dense stirrups: Q2_min far above Q1 = 3.970 MN
  вход.dw_mm = 20;
  вход.s_wx = 0.05;
  вход.s_wz = 0.05;
  вход.Q = 3;
  EXPECT_NEAR(вход.Вызвать(), 100 * (1 - 3 / 3.96981), 1e-3);
}

TEST(StirrupsMargins, MethodsOtherThanTheDefault) {
  ВходХомутов отношение;
  отношение.метод = 0;
  отношение.M = 0.2;
  EXPECT_NEAR(отношение.Вызвать(), 0.132 / 0.2, 0.003);  // the moment ratio is smaller
  ВходХомутов код_7;
  код_7.метод = 7;
  EXPECT_EQ(код_7.Вызвать(), 0);
}

TEST(StirrupsFailures, ZeroSpacingsWidthAndForcesRaiseErrors) {
  ВходХомутов вход;
  вход.s_wx = 0;
  вход.отчёт = ScratchReportPath("failed");
  EXPECT_RUNTIME_ERROR(вход.Вызвать(), kDivisionByZero);
  EXPECT_EQ(вход.s_wx, 0);  // the caller's spacing is left as it was
  EXPECT_FALSE(std::filesystem::exists(вход.отчёт));

  ВходХомутов вдоль;
  вдоль.s_wz = 0;
  EXPECT_RUNTIME_ERROR(вдоль.Вызвать(), kDivisionByZero);
  EXPECT_EQ(вдоль.s_wz, 0);

  ВходХомутов без_ширины;  // Asw = 0, then мюw = 0 / 0
  без_ширины.B = 0;
  EXPECT_RUNTIME_ERROR(без_ширины.Вызвать(), kOverflow);

  ВходХомутов без_сил;  // Qн = Q = 0: Tq = 0
  без_сил.Q = 0;
  EXPECT_RUNTIME_ERROR(без_сил.Вызвать(), kDivisionByZero);

  ВходХомутов отношение_без_момента;  // the plain ratio divides by M = 0
  отношение_без_момента.метод = 0;
  EXPECT_RUNTIME_ERROR(отношение_без_момента.Вызвать(), kDivisionByZero);
}

TEST(StirrupsFailures, ZeroProjectionDividesQb1ByZero) {
  // ho equal to Rwr·Awr/(b·Rb) in the same arithmetic: Rwr = 0.8·350, Awr = 0.01 m², Rb = 13.
  ВходХомутов вход;
  вход.Awr_sm2 = 100;
  вход.ho = 0.8 * 350 * (100.0 / 10000) / (1 * 13.0);
  EXPECT_RUNTIME_ERROR(вход.Вызвать(), kDivisionByZero);
}

TEST(StirrupsFailures, SteelWithoutAResistance) {
  ВходХомутов неизвестный_класс;
  неизвестный_класс.класс_стали = 4;
  EXPECT_RUNTIME_ERROR(неизвестный_класс.Вызвать(), kTypeMismatch);
  ВходХомутов продольная;
  продольная.класс_продольной = 9;
  EXPECT_RUNTIME_ERROR(продольная.Вызвать(), kTypeMismatch);
  // A-III of 9 mm has no tabled resistance: Rsw counts as 0 and the stirrups carry nothing.
  ВходХомутов без_Rsw;
  без_Rsw.класс_стали = 3;
  без_Rsw.dw_mm = 9;
  const std::vector<std::string> отчёт = ReportOf(без_Rsw, "no_rsw", ",");
  EXPECT_NE(LineStartingWith(отчёт, "\tRb = ").find("Rsw = 0 МПа"), std::string::npos);
}

}  // namespace
}  // namespace armocalc
