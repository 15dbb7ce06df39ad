// Crack width with the bars given as areas: normal and inclined cracks, the Mazhirin zone
// branches, smooth and ribbed bars, the zero-force mean, −100 and failures, and the report.

#include "cracks/crack_width.hpp"

#include <gtest/gtest.h>

#include <string>

#include "crack_report_helpers.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

using test::ExpectedReport;
using test::ExpectLinesInOrder;
using test::ExpectSameLines;
using test::FileExists;
using test::HasLineStartingWith;
using test::ReadReport;
using test::ScratchReportPath;

// A slab strip 0.6 m deep and 1 m wide, A-III, B30: bottom bars 20 cm²/m give d22@190 at
// 0.05 m from the edge, top bars 10 cm²/m give d16@200.
class CrackWidth : public ::testing::Test {
 protected:
  double Call() {
    return мтТрещиностойкость(класс, бетон, N, M, Fв, Fн, ав, ан, h, B, acr_sm, Q, xd, угол, s_wx,
                              s_wz, dw_mm, Bw, Bs, жд, метод, отчет);
  }
  double CallWithN(double n) {
    double saved = N;
    N = n;
    const double result = Call();
    N = saved;
    return result;
  }
  int ErrorOf() {
    try {
      Call();
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  }
  void Inclined() {
    угол = 0.5;
    Q = 0.3;
    s_wx = 0;
    s_wz = 0.2;
    dw_mm = 12;
  }

  ScopedDecimalSeparator separator{","};
  uint8_t класс = 3;
  float бетон = 30;
  double N = 0.1, M = 0.2, Fв = 10, Fн = 20, ав = 0.05, ан = 0.05, h = 0.6, B = 1;
  double acr_sm = 0.02, Q = 0, xd = 6, угол = 0, s_wx = 0, s_wz = 0, dw_mm = 0, Bw = 1, Bs = 1;
  bool жд = false;
  uint8_t метод = 3;
  std::string отчет;
};

TEST_F(CrackWidth, NormalCracksGiveTheMarginOfThePermittedOpening) {
  EXPECT_NEAR(Call(), 43.002566164400655, 1e-9);
  метод = 0;
  EXPECT_NEAR(Call(), 1.7544649516754596, 1e-12);
  метод = 1;
  EXPECT_NEAR(Call(), 75.44649516754596, 1e-9);
  метод = 4;
  EXPECT_NEAR(Call(), 0.011399486767119868, 1e-15);  // delta_cr itself, cm
  метод = 200;
  EXPECT_NEAR(Call(), 0.011399486767119868, 1e-15);
}

TEST_F(CrackWidth, EdgeSegmentNarrowerThanTheSpacingTakesTheCircularSegment) {
  ан = 0.12;  // 2·(R² − a²)^0.5 = 0.11 ≤ шаг = 0.19
  метод = 4;
  EXPECT_NEAR(Call(), 0.015418762562391245, 1e-15);
}

TEST_F(CrackWidth, SmoothBarsUseTheLinearOpeningCoefficient) {
  класс = 1;
  EXPECT_NEAR(Call(), -14.121002729206534, 1e-9);
  отчет = ScratchReportPath("smooth");
  Call();
  ExpectedReport expected;
  expected.Add("\tш = 0.35 * Rr * 100 = 0.35 * ", 0.8657048524591747,
               " * 100 = ", 30.299669836071114,
               " - коэффициент раскрытия трещин для арматуры гладкого профиля (п. 3.109*)");
  ExpectLinesInOrder(ReadReport(отчет), expected.Lines());
}

TEST_F(CrackWidth, InclinedCracksWithoutShearHaveNoOpening) {
  Inclined();
  Q = 0;
  метод = 4;
  EXPECT_EQ(Call(), 0);
  метод = 3;
  EXPECT_EQ(Call(), 100);  // acr_sm against 0
}

TEST_F(CrackWidth, InclinedCracksUseTheStirrupsAndWriteBackZeroSpacings) {
  Inclined();
  EXPECT_NEAR(Call(), 14.372868113768455, 1e-9);
  EXPECT_EQ(s_wx, 1);
  EXPECT_EQ(s_wz, 0.2);
}

TEST_F(CrackWidth, NormalCracksLeaveTheStirrupSpacingsAlone) {
  Call();
  EXPECT_EQ(s_wx, 0);
  EXPECT_EQ(s_wz, 0);
}

TEST_F(CrackWidth, ZeroForceIsTheMeanOfBothSignsWithTheCallersMarginMethod) {
  const std::string path = ScratchReportPath("zero_force");
  for (int m : {0, 1, 2, 3, 4}) {
    метод = static_cast<uint8_t>(m);
    N = 0;
    отчет = path;
    const double mean = Call();
    отчет.clear();
    const double expected = (CallWithN(-1e-30) + CallWithN(1e-30)) / 2;
    EXPECT_DOUBLE_EQ(mean, expected) << "method " << m;
  }
  EXPECT_FALSE(FileExists(path));
  // delta_cr (method 4) is a width in cm, not a per cent figure
  метод = 4;
  N = 0;
  const double width = Call();
  EXPECT_GT(width, 0);
  EXPECT_LT(width, 1);
}

TEST_F(CrackWidth, CompressedZoneReachingTheWorkingDepthIsLoweredBeforeTheStress) {
  // Equal rows cancel in X, so X = N / (Rb * b) = 0.375 = h - a exactly; h - X - a would be 0.
  N = 5.8125;
  Fв = 8;
  Fн = 8;
  ав = 0.125;
  ан = 0.125;
  h = 0.5;
  метод = 4;
  double delta_cr = 0;
  EXPECT_NO_THROW(delta_cr = Call());
  EXPECT_LT(delta_cr, 0);  // e < z here, so the stress and the opening come out negative
  EXPECT_GT(delta_cr, -1);
}

TEST_F(CrackWidth, RowWithoutBarLayoutGivesMinus100AndNoReport) {
  отчет = ScratchReportPath("no_layout");
  Fв = 0;  // compressed row
  EXPECT_EQ(Call(), -100);
  Fв = 10;
  Fн = 500;  // more than the largest layout
  EXPECT_EQ(Call(), -100);
  метод = 4;
  EXPECT_EQ(Call(), -100);
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(CrackWidth, FailuresAbortWithoutReport) {
  отчет = ScratchReportPath("failure");
  B = 0;
  EXPECT_EQ(ErrorOf(), kDivisionByZero);
  B = 1;
  ан = -0.132;  // a = −R: the segment's arccos argument is −1
  EXPECT_EQ(ErrorOf(), kDivisionByZero);
  ан = 0.05;
  класс = 4;  // no such steel: "ERROR" as a number
  EXPECT_EQ(ErrorOf(), kTypeMismatch);
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(CrackWidth, ShortReportPathWritesNothing) {
  отчет = "a.tx";
  EXPECT_NEAR(Call(), 43.002566164400655, 1e-9);
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(CrackWidth, NormalCrackReportLineByLine) {
  отчет = ScratchReportPath("normal");
  Call();
  ExpectedReport e;
  e.Add(
      "Расчет запаса по трещиностойкости в процентах прямоугольного ж/б элемента без учета "
      "предварительно напряженной арматуры, согласно СНиП 2.05.03-84*");
  e.Add("1. Исходные данные:");
  e.Add("\tПродольная сжимающая сила (N): ", 0.1, " МН");
  e.Add("\tИзгибающий момент (M), растягивающий нижнюю арматуру: ", 0.2, " МН*м");
  e.Add("\tКласс арматурной стали: АIII");
  e.Add("\tКласс бетона: B", 30.0f);
  e.Add("\tВысота расчетного сечения(h): ", 0.6, " м");
  e.Add("\tШирина расчетного сечения(b): ", 1.0, " м");
  e.Add(
      "\tСумма площадей поперечного сечения верхней арматуры, уместившейся на всей ширине "
      "расчетного сечения (Fв): ",
      10.0, " кв.см");
  e.Add(
      "\tСумма площадей поперечного сечения нижней арматуры, уместившейся на всей ширине "
      "расчетного сечения (Fн): ",
      20.0, " кв.см");
  e.Add("\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): ", 0.05, " м");
  e.Add("\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): ", 0.05, " м");
  e.Add("\tПредельнодопустимая величина раскрытия трещины: ", 0.02, " см");
  e.Add("\tУгол = ", 0.0,
        " радиан - угол наклона трещины к нормальному сечению расчетного элемента");
  e.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов поперечного армирования с "
      "бетоном согласно табл. 41*.: ",
      1.0);
  e.Add(
      "\tКоэффициент, учитывающий степень сцепления арматурных элементов продольного армирования с "
      "бетоном согласно табл. 41*.: ",
      1.0);
  e.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  e.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
  e.Add("\tХарактер работы элемента: внецентренное сжатие");
  e.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", 0.001,
        " кв.м, ai = ", 0.05, " м\rdi = ", 0.016, " м, шагi = ", 0.2,
        " м - подобрано по площади армирования");
  e.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", 0.002,
        " кв.м, a = ", 0.05, " м\rd = ", 0.022, " м, шаг = ", 0.19,
        " м - подобрано по площади армирования");
  e.Add("\tХарактеристики материаллов: Rsc = Rs = ", 350.0, " МПа, Rb = ", 15.5,
        " МПа, Es = ", 196000.0, " МПа");
  e.Add("3. Определение дополнительных геометрических характеристик");
  e.Add("\tОпределение высоты сжатой зоны сечения:");
  const double X = 0.02903225806451613, z = 0.5354838709677419;
  e.Add("\tX = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = (", 0.1, " + ", 350.0, " * ", 0.002, " - ",
        350.0, " * ", 0.001, ") / (", 15.5, " * ", 1.0, ") = ", X,
        " м - высота сжатой зоны сечения с учетом сжатой арматуры (по формулам 55, 72, 92)");
  e.Add("\tz = h - X / 2 - a = ", 0.6, " - ", X, " / 2 - ", 0.05, " = ", z,
        " м - расстояние от равнодействующей в сжатой зоне до ц.т. растянутой арматуры");
  e.Add("\th2 = h - a - ai = ", 0.6, " - ", 0.05, " - ", 0.05, " = ", 0.5,
        " м - расстояние от сжатых стержней арматуры до растянутых");
  e.Add("\tho = h - a = ", 0.6, " - ", 0.05, " = ", 0.55, " м");
  e.Add("\tec = M / N = ", 2.0,
        " м - координата точки приложения равнодействующей относительно ц.т. сечения");
  e.Add("\te = h / 2 - a + ec = ", 0.6, " / 2 - ", 0.05, " + ", 2.0, " = ", 2.25,
        " м - расстояние между ц.т. растянутой арматуры и точкой приложения равнодействующей");
  e.Add("4. Определение растягивающих напряжений {Ss} в продольной арматуре:");
  e.Add("\tSs = (N * (e - Z) * (h - x - a)) / (Fs * Z * (h - x - a)) = (", 0.1, " * (", 2.25, " - ",
        z, ") * (", 0.6, " - ", X, " - ", 0.05, ")) / (", 0.002, " * ", z, " * (", 0.6, " - ", X,
        " - ", 0.05, ")) = ", 160.09036144578317, " МПа");
  e.Add(
      "5. Расчет коэффициента раскрытия трещин {ш}\rКоэффициент раскрытия трещин определяется в "
      "зависимости от радиуса армирования (учитывает влияние бетона растянутой зоны, деформации "
      "арматуры, ее профиль и условия работы элемента)");
  e.Add("\tОпределение площади зоны взаимодействия производится с помощью метода Мажирина");
  e.Add("\tR = xd * D = ", 6.0, " * ", 0.022, " = ", 0.132, " м - радиус взаимодействия");
  const double Fr0 = 0.05473911039614856, K = 0.09164605828948674;
  const double Fб = 0.009330669373185975, Fн_ = 0.01320422051148129, Fr = 0.16949589742884894;
  e.Add("\tFr = P * R ^ 2 = Пи * ", 0.132, " ^ 2 = ", Fr0, " кв.м - площадь зоны взаимодействия");
  e.Add("\tт.к. 2 * R > шаг, то");
  e.Add("\tKatet = (R ^ 2 - шаг ^ 2 / 4) ^ 0.5 = (", 0.132, " ^ 2 - ", 0.19,
        " ^ 2 / 4) ^ 0.5 = ", K, " м");
  e.Add("\tFб = 2 * (R ^ 2 * acos(шаг / (2 * R)) - шаг / 2 * Katet) = 2 * (", 0.132, " ^ 2 * acos(",
        0.19, " / (2 * ", 0.132, ")) - ", 0.19, " / 2 * ", K, ") = ", Fб,
        " кв.м - площадь бокового сегмента");
  e.Add("\tЕсли a < R, то");
  e.Add(
      "\tт.к  2 * (R ^ 2 - a ^ 2) ^ 0.5 > шаг, то Fниж = R ^ 2 * acos(Katet / R) - шаг / 2 * Katet "
      "+ (Katet - a) * шаг = ",
      0.132, " ^ 2 * acos(", K, " / ", 0.132, ") - ", 0.19, " / 2 * ", K, " + (", K, " - ", 0.05,
      ") * ", 0.19, " = ", Fн_, " кв.м - площадь нижнего сегмента");
  e.Add("\tFr = b / шаг * (Fr - Fб - Fниж) = ", 1.0, " / ", 0.19, " * (", Fr0, " - ", Fб, " - ",
        Fн_, ") = ", Fr, " кв.м");
  e.Add("\tRr = Fr / (Bs * b * (d / шаг + di / шагi)) = ", Fr, " / (", 1.0, " * ", 1.0, " * (",
        0.022, " / ", 0.19, " + ", 0.016, " / ", 0.2, ")) - (по формуле 131)");
  e.Add("\tш = 1.5 * Sqr(Rr * 100) = 1.5 * ", 9.30432615754185, " = ", 13.956489236312773,
        " - коэффициент раскрытия трещин для арматуры периодического профиля (п. 3.109*)");
  e.Add("6. Расчет раскрытия трещин п. 3.105");
  const double delta = 0.011399486767119868;
  e.Add("\tdelta_cr = Ss * ш / Es = ", 160.09036144578317, " * ", 13.956489236312773, " / ",
        196000.0, " = ", delta, " см");
  e.Add("При сравнении величин acr_sm = ", 0.02, " и delta_cr = ", delta, " запас равен ",
        43.002566164400655);
  ExpectSameLines(ReadReport(отчет), e.Lines());
}

TEST_F(CrackWidth, InclinedCrackReportLines) {
  Inclined();
  отчет = ScratchReportPath("inclined");
  Call();
  const std::vector<std::string> lines = ReadReport(отчет);
  EXPECT_FALSE(HasLineStartingWith(lines,
                                   "\tОпределение площади зоны взаимодействия производится с "
                                   "помощью метода Мажирина"));  // no Mazhirin steps
  ExpectedReport e;
  const double X = 0.02903225806451613, ho = 0.55, T = 0.2846059745476521, L = 0.5936395782674666;
  const double мю = 0.0045649026047189815;
  e.Add("\tУгол = ", 0.5,
        " радиан - угол наклона трещины к нормальному сечению расчетного элемента");
  e.Add("\ts_wx = ", 0.0,
        " м - шаг поперечного армирования вдоль оси X");  // printed as given, before the write-back
  e.Add("\ts_wz = ", 0.2, " м - шаг поперечного армирования вдоль оси Z");
  e.Add("\tdw_mm = ", 12.0, ", мм - диаметр стержней поперечного армирования");
  e.Add("\tT = (ho - x) * Tan(Угол) = (", ho, " - ", X, ") * Tan(", 0.5, ") = ", T,
        " м - распространение наклонного сечения вдоль оси Z (проекция на ось Z)");
  e.Add("\tL = (ho - x) / Cos(Угол) = (", ho, " - ", X, ") / Cos(", 0.5, ") = ", L,
        " м - длина наклонного сечения");
  e.Add("\tКоэффициент армирования наклонного сечения (п. 3.109*):");
  e.Add(
      "\tмю = ((Fs + Fsi) * Cos(Угол) + (T / s_wz) * (b / s_wx) * P * (dw_mm / 2000) ^ 2 * "
      "Sin(Угол)) / (b * L) = ((",
      0.002, " + ", 0.001, ") * Cos(", 0.5, ") + (", T, " / ", 0.2, ") * (", 1.0, " / ", 1.0,
      ") * ", 3.14159265358979, " * (", 12.0, " / 2000) ^ 2 * Sin(", 0.5, ")) / (", 1.0, " * ", L,
      ") = ", мю);
  e.Add("\tб = 1 / (1 + 0.5 / (L * 100 * мю)) = 1 / (1 + 0.5 / (", L, " * 100 * ", мю,
        ")) = ", 0.35148373480060957,
        " - коэффициент, учитывающей перераспределение напряжений в зоне образования наклонных "
        "трещин (по формуле 129)");
  e.Add("\tтак как б < 0.75, то б = 0.75 (формула 129)");
  e.Add("4. Определение растягивающих напряжений {Ss} в продольной арматуре (п. 3.107*):");
  e.Add("\tSsQ = 3 * Abs(Q) / (2 * b * h) = 3 * Abs(", 0.3, ") / (2 * ", 1.0, " * ", 0.6,
        ") = ", 0.75, " МПа - касательное напряжение на уровне центра тяжести сечения");
  e.Add("\tSs = б * SsQ / мю = ", 0.75, " * ", 0.75, " / ", мю, " = ", 123.22278232585158,
        " МПа - растягивающие напряжения в поперечной и продольной арматуре стенок (ребер) балок "
        "(по формуле 128) п. 3.107*");
  e.Add(
      "5. Расчет коэффициента раскрытия трещин {ш}\rКоэффициент раскрытия трещин определяется в "
      "зависимости от радиуса армирования (учитывает влияние бетона растянутой зоны, деформации "
      "арматуры, ее профиль и условия работы элемента)");
  e.Add("\tFr = L * b = ", L, " * ", 1.0, " = ", L,
        " кв.м - площадь зоны взаимодействия (по формуле 133)");
  e.Add(
      "\tRr = Fr / (Bs * b * (d / шаг + di / шагi) * Cos(Угол) + Bw * (T / s_wz) * (b / s_wx) * "
      "(dw_mm / 1000) * Cos(P / 2 - Угол)) = ",
      L, " / (", 1.0, " * ", 1.0, " * (", 0.022, " / ", 0.19, " + ", 0.016, " / ", 0.2, " * Cos(",
      0.5, ") + ", 1.0, " * (", T, " / ", 0.2, ") * (", 1.0, " / ", 1.0, ") * (", 12.0,
      " / 1000) * Cos(Пи / 2 - ", 0.5, ")) = ", 3.297846134474031,
      " м - радиус армирования (по формуле 133)");
  ExpectLinesInOrder(lines, e.Lines());
}

TEST_F(CrackWidth, TensionWithTheTopStretchedAndTheCrackBeyondTheCompressedZone) {
  Inclined();
  N = -0.5;  // X < 0: the inclined section spans h2
  M = -0.2;
  Fв = 20;
  Fн = 10;
  отчет = ScratchReportPath("inclined_tension");
  Call();
  const double h2 = 0.49999999999999994;
  ExpectedReport e;
  e.Add("\tПродольная растягивающая сила (N): ", -0.5, " МН");
  e.Add("\tИзгибающий момент (M), растягивающий верхнюю арматуру: ", -0.2, " МН*м");
  e.Add("\tT = h2 * Tan(Угол) = ", h2, " * Tan(", 0.5, ") = ", 0.2731512449218952,
        " м - распространение наклонного сечения вдоль оси Z (проекция на ось Z)");
  e.Add("\tL = h2 / Cos(Угол) = ", h2, " / Cos(", 0.5, ") = ", 0.5697469636622745,
        " м - длина наклонного сечения");
  e.Add("\tec = M / N = ", 0.4,
        " м - координата точки приложения равнодействующей относительно ц.т. сечения");
  e.Add("\te = h / 2 - a - ec = ", 0.6, " / 2 - ", 0.05, " - ", 0.4, " = ", -0.15,
        " м - расстояние между ц.т. растянутой арматуры и точкой приложения равнодействующей");
  ExpectLinesInOrder(ReadReport(отчет), e.Lines());
}

}  // namespace
}  // namespace armocalc
