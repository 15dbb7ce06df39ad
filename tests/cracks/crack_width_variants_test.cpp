// Crack width with bar diameters and spacings, and with a worksheet bar table; the weighted
// diameter sum of a bar table.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "crack_report_helpers.hpp"
#include "cracks/crack_width.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

using test::BarTable;
using test::ExpectedReport;
using test::ExpectLinesInOrder;
using test::FileExists;
using test::HasLineStartingWith;
using test::ReadReport;
using test::ScratchReportPath;

// The section of the area variant's tests with the rows given as d22@190 (bottom) and d16@200.
class CrackWidthSpacings : public ::testing::Test {
 protected:
  double Call() {
    return мтТрещиностойкость2(класс, бетон, N, M, dв, шв, ав, dн, шн, ан, h, B, acr_sm, Q, xd,
                               угол, s_wx, s_wz, dw_mm, Bw, Bs, жд, метод, отчет);
  }

  ScopedDecimalSeparator separator{","};
  uint8_t класс = 3;
  float бетон = 30;
  double N = 0.1, M = 0.2, dв = 16, шв = 200, ав = 0.05, dн = 22, шн = 190, ан = 0.05, h = 0.6;
  double B = 1, acr_sm = 0.02, Q = 0, xd = 6, угол = 0, s_wx = 0, s_wz = 0, dw_mm = 0, Bw = 1;
  double Bs = 1;
  bool жд = false;
  uint8_t метод = 3;
  std::string отчет;
};

TEST_F(CrackWidthSpacings, RowsFromDiametersAndSpacings) {
  EXPECT_NEAR(Call(), 43.029733960913674, 1e-9);
}

TEST_F(CrackWidthSpacings, TouchingCirclesAndADeepRowCutNothingOff) {
  dн = 20;
  шн = 240;   // 2·R = 0.24 = шаг: no overlap
  ан = 0.15;  // a ≥ R = 0.12: no edge segment
  отчет = ScratchReportPath("spacings_plain_circle");
  EXPECT_NEAR(Call(), -17.278777755903583, 1e-9);
  const std::vector<std::string> lines = ReadReport(отчет);
  EXPECT_FALSE(HasLineStartingWith(lines, "\tт.к. 2 * R > шаг, то"));
  EXPECT_FALSE(HasLineStartingWith(lines, "\tЕсли a < R, то"));
}

TEST_F(CrackWidthSpacings, ZeroTopDiameterGivesMinus100WhicheverRowItIs) {
  отчет = ScratchReportPath("spacings_no_bar");
  dв = 0;
  EXPECT_EQ(Call(), -100);  // top row compressed
  M = -0.2;
  EXPECT_EQ(Call(), -100);  // top row stretched
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(CrackWidthSpacings, ZeroSpacingFailsWithDivisionByZero) {
  шв = 0;
  try {
    Call();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kDivisionByZero);
  }
}

TEST_F(CrackWidthSpacings, ZeroForceIsTheMeanWithTheCallersMethod) {
  метод = 4;
  N = -1e-30;
  const double below = Call();
  N = 1e-30;
  const double above = Call();
  N = 0;
  EXPECT_DOUBLE_EQ(Call(), (below + above) / 2);
}

TEST_F(CrackWidthSpacings, ReportLinesOfThisForm) {
  отчет = ScratchReportPath("spacings");
  Call();
  ExpectedReport e;
  e.Add("\tДиаметр стержней верхней арматуры (dв): ", 16.0, " мм");
  e.Add("\tШаг размещения стержней верхней арматуры (шв): ", 200.0, " мм");
  e.Add("\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): ", 0.05, " м");
  e.Add("\tДиаметр стержней нижней арматуры (dн): ", 22.0, " мм");
  e.Add("\tШаг размещения стержней нижней арматуры (шн): ", 190.0, " мм");
  e.Add("\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): ", 0.05, " м");
  e.Add("\tПредельнодопустимая величина раскрытия трещины: ", 0.02, " см");
  const double Fs = 0.0020006984793913946, Fsi = 0.0010053096491487337;
  e.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", Fsi,
        " кв.м, ai = ", 0.05, " м\r\tdi = ", 0.016, " м, шагi = ", 0.2, " м");
  e.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", Fs,
        " кв.м, a = ", 0.05, " м\r\td = ", 0.022, " м, шаг = ", 0.19, " м");
  e.Add("\tХарактеристики материаллов: Rsc = Rs = ", 350.0, " МПа, Rb = ", 15.5,
        " МПа, Es = ", 196000.0, " МПа");
  e.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", 0.16949589742884894, " / (", 1.0, " * ",
        1.0, " * (", 0.022, " / ", 0.19, " + ", 0.016, " / ", 0.2, ")) = ", 0.8657048524591747,
        " м - (по формуле 131)");
  const std::vector<std::string> lines = ReadReport(отчет);
  ExpectLinesInOrder(lines, e.Lines());
  ExpectedReport title;
  title.Add(
      "Расчет запаса по трещиностойкости в процентах прямоугольного ж/б элемента без учета "
      "предварительно напряженной арматуры, согласно СНиП 2.05.03-84*");
  EXPECT_EQ(lines.at(1), title.Lines().at(1));
  EXPECT_FALSE(HasLineStartingWith(lines,
                                   "\tСумма площадей поперечного сечения верхней арматуры, "
                                   "уместившейся на всей ширине расчетного сечения (Fв): "));
}

// The same section with its bars listed: five d16 on top (y = 0.25), five d22 at the bottom
// (y = −0.25), 0.2 m apart, and an empty row.
class CrackWidthTable : public ::testing::Test {
 protected:
  CrackWidthTable() {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < 5; ++i) rows.push_back({0.1 + 0.2 * i, 0.25, 16.0});
    rows.push_back({0.5, 0.0, Variant()});
    for (int i = 0; i < 5; ++i) rows.push_back({0.1 + 0.2 * i, -0.25, 22.0});
    таблица = BarTable(rows);
  }
  double Call() {
    return мтТрещиностойкостьТ(класс, бетон, N, M, B, h, *таблица, acr_sm, Q, xd, угол, s_wx, s_wz,
                               dw_mm, Bw, жд, метод, отчет);
  }

  ScopedDecimalSeparator separator{","};
  std::shared_ptr<GridRange> таблица;
  uint8_t класс = 3;
  float бетон = 30;
  double N = 0.1, M = 0.2, B = 1, h = 0.6, acr_sm = 0.02, Q = 0, xd = 6, угол = 0;
  double s_wx = 0, s_wz = 0, dw_mm = 0, Bw = 1;
  bool жд = false;
  uint8_t метод = 3;
  std::string отчет;
};

TEST_F(CrackWidthTable, NormalCracksWithTheWeightedDiameterSum) {
  EXPECT_NEAR(Call(), 39.56671301667916, 1e-7);
}

TEST_F(CrackWidthTable, InclinedCracksWithTheWeightedDiameterSum) {
  угол = 0.5;
  Q = 0.3;
  s_wz = 0.2;
  dw_mm = 12;
  отчет = ScratchReportPath("table_inclined");
  EXPECT_NEAR(Call(), 9.821620430570977, 1e-7);
  EXPECT_EQ(s_wx, 1);
  const double T = 0.2858968743892265, L = 0.5963321754230807;
  ExpectedReport e;
  e.Add(
      "\tRr = Fr / (Bs * b * (d / шаг + di / шагi) * Cos(Угол) + Bw * (T / s_wz) * (b / s_wx) * "
      "(dw_mm / 1000) * Cos(P / 2 - Угол)) = ",
      L, " / (", 0.19, " * Cos(", 0.5, ") + ", 1.0, " * (", T, " / ", 0.2, ") * (", 1.0, " / ", 1.0,
      ") * (", 12.0, " / 1000) * Cos(Пи / 2 - ", 0.5, ")) = ", 3.4083006635226134,
      " м - радиус армирования (по формулам 131 или 133)");
  ExpectLinesInOrder(ReadReport(отчет), e.Lines());
}

TEST_F(CrackWidthTable, ZeroForceIsTheMeanWithTheCallersMethodAndWritesNoReport) {
  const std::string path = ScratchReportPath("table_zero_force");
  for (int m : {0, 4}) {
    метод = static_cast<uint8_t>(m);
    отчет.clear();
    N = -1e-30;
    const double below = Call();
    N = 1e-30;
    const double above = Call();
    N = 0;
    отчет = path;
    EXPECT_DOUBLE_EQ(Call(), (below + above) / 2) << "method " << m;
  }
  EXPECT_FALSE(FileExists(path));
}

TEST_F(CrackWidthTable, TensionGroupWithoutBarsFailsInTheNormalCase) {
  таблица = BarTable({{0.1, 0.25, 16.0}, {0.3, 0.25, 16.0}});
  try {
    Call();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kDivisionByZero);
  }
}

TEST_F(CrackWidthTable, TableWithTwoColumnsFailsWithSubscriptError) {
  таблица = BarTable({{0.25, 16.0}});
  отчет = ScratchReportPath("table_two_columns");
  try {
    Call();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kSubscriptOutOfRange);
  }
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(CrackWidthTable, ReportLinesOfThisForm) {
  отчет = ScratchReportPath("table");
  Call();
  const double Fs = 0.0019006635554218226, Fsi = 0.0010053096491487328;
  ExpectedReport e;
  e.Add("\tПредельнодопустимая величина раскрытия трещины: ", 0.02, " см");
  e.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов поперечного армирования с "
      "бетоном согласно табл. 41*.: ",
      1.0);
  e.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов продольного армирования с "
      "бетоном согласно табл. 41*.: ",
      1.0);
  e.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", Fsi,
        " кв.м, ai = ", 0.05, " м");
  e.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", Fs,
        " кв.м, a = ", 0.05, " м");
  e.Add("\tRs = ", 350.0, "МПа, Rsc = ", 350.0, " МПа");
  e.Add("\tХарактеристики материаллов: Rs = ", 350.0, "МПа, Rsc = ", 350.0, " МПа, Rb = ", 15.5,
        " МПа, Es = ", 196000.0, " МПа");
  e.Add("\tX = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = (", 0.1, " + ", 350.0, " * ", Fs, " - ",
        350.0, " * ", Fsi, ") / (", 15.5, " * ", 1.0, ") = ", 0.02666928175455364,
        " м - высота сжатой зоны сечения с учетом сжатой арматуры (по формулам 55, 72, 92)");
  e.Add("\tR = xd * D = ", 6.0, " * ", 0.022, " = ", 0.132, " м - радиус взаимодействия");
  e.Add("\tFr = P * R ^ 2 = Пи * ", 0.132, " ^ 2 = ", 0.05473911039614856,
        " кв.м - площадь зоны взаимодействия");
  e.Add("\tшаг = b / кол-во = ", 1.0, " / ", 5.0, " = ", 0.2, " м");
  e.Add("\tт.к. 2 * R > шаг, то");
  e.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", 0.16796890038891932, " / ", 0.19, " = ",
        0.8840468441522069, " м - (по формуле 131)");
  const std::vector<std::string> lines = ReadReport(отчет);
  ExpectLinesInOrder(lines, e.Lines());
  EXPECT_FALSE(HasLineStartingWith(lines,
                                   "\tСумма площадей поперечного сечения верхней арматуры, "
                                   "уместившейся на всей ширине расчетного сечения (Fв): "));
  EXPECT_FALSE(HasLineStartingWith(lines, "\tХарактеристики материаллов: Rsc = Rs = "));
}

double WeightedSum(const std::vector<std::vector<Variant>>& rows) {
  return ВзвешеннаяСуммаДиаметров(*BarTable(rows));
}

TEST(WeightedDiameterSum, IsolatedBarsCountFully) {
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 20.0}, {0.1, 0.0, 20.0}, {0.0, 0.1, 16.0}}), 0.056, 1e-15);
}

TEST(WeightedDiameterSum, APairCloserThanTwoDiametersCounts085Each) {
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 20.0}, {0.03, 0.0, 20.0}}), 2 * 0.02 * 0.85, 1e-15);
  // exactly two diameters apart is not closer
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 20.0}, {0.0, 0.04, 20.0}}), 0.04, 1e-15);
}

TEST(WeightedDiameterSum, BundlesAndChainsCount075ForTwoOrMoreNeighbours) {
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 20.0}, {0.02, 0.0, 20.0}, {0.01, 0.017, 20.0}}),
              3 * 0.02 * 0.75, 1e-15);
  // a chain: the middle bar has two neighbours, the ends one each
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 20.0}, {0.03, 0.0, 20.0}, {0.06, 0.0, 20.0}}),
              0.02 * (0.85 + 0.75 + 0.85), 1e-15);
}

TEST(WeightedDiameterSum, EachBarComparesWithItsOwnDiameter) {
  // 0.03 apart: not within 2 × 10 mm of the thin bar, within 2 × 30 mm of the thick one
  EXPECT_NEAR(WeightedSum({{0.0, 0.0, 10.0}, {0.03, 0.0, 30.0}}), 0.01 + 0.03 * 0.85, 1e-15);
}

TEST(WeightedDiameterSum, RowsWithoutABarAreNeitherBarsNorNeighbours) {
  EXPECT_NEAR(
      WeightedSum({{0.0, 0.0, 20.0}, {0.0, 0.0, Variant()}, {0.01, 0.0, 0.0}, {0.02, 0.0, -20.0}}),
      0.02, 1e-15);
  EXPECT_EQ(WeightedSum({{0.0, 0.0, Variant()}}), 0);
}

}  // namespace
}  // namespace armocalc
