// Longitudinal cracks: with and without a spiral, loc_b capped at 3, the working depth of central
// compression, tension giving an empty result, and the bar-table form.

#include "cracks/longitudinal_cracks.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "crack_report_helpers.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

using test::BarTable;
using test::ExpectedReport;
using test::ExpectLinesInOrder;
using test::ExpectSameLines;
using test::FileExists;
using test::ReadReport;
using test::ScratchReportPath;

// B30, 0.6 × 1 m, 10 cm² top and bottom at 0.05 m, N = 2 MN, M = 0.1 MN·m (central compression),
// a spiral of 10 mm at 0.1 m.
class LongitudinalCracks : public ::testing::Test {
 protected:
  Variant Call() {
    return мтТрещиностойкостьПродольные(бетон, N, M, Fв, Fн, ав, ан, h, B, СМИ, d_mm, s, метод,
                                        отчет);
  }
  double Margin() { return ToDouble(Call()); }

  ScopedDecimalSeparator separator{","};
  float бетон = 30;
  double N = 2, M = 0.1, Fв = 10, Fн = 10, ав = 0.05, ан = 0.05, h = 0.6, B = 1;
  bool СМИ = true;
  double d_mm = 10, s = 0.1;
  uint8_t метод = 3;
  std::string отчет;
};

TEST_F(LongitudinalCracks, SpiralRaisesTheResistance) {
  EXPECT_NEAR(Margin(), 54.90512419209276, 1e-9);
}

TEST_F(LongitudinalCracks, WithoutSpiralTheMarginIsAgainstRbMc2) {
  d_mm = -1;
  EXPECT_NEAR(Margin(), 38.103205149969554, 1e-9);
  d_mm = 10;
  s = 0;
  EXPECT_NEAR(Margin(), 38.103205149969554, 1e-9);
}

TEST_F(LongitudinalCracks, LocBAboveThreeIsReportedThenCapped) {
  B = 0.6;
  ав = ан = 0.27;
  СМИ = false;
  отчет = ScratchReportPath("longitudinal_loc_b");
  EXPECT_NEAR(Margin(), 58.76390816268125, 1e-9);
  ExpectedReport e;
  const double J = 8.999999999999983e-07;  // (h/2 − a)² · F
  e.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", 0.001,
        " кв.м, ai = ", 0.27, " м, Jsi = ", J, " м4");
  e.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", 0.001,
        " кв.м, a = ", 0.27, " м, Js = ", J, " м4");
  e.Add("\tloc_b = (Ad / Aloc) ^ (1 / 3) = (", 0.36, " / ", 0.0077439999999999965,
        ") ^ (1 / 3) = ", 3.5956635879387284, " <= 3");
  ExpectLinesInOrder(ReadReport(отчет), e.Lines());
}

TEST_F(LongitudinalCracks, OnlyCentralCompressionUsesTheEccentricWorkingDepth) {
  M = 0.5;  // e = 0.25 > h / 6
  СМИ = false;
  d_mm = -1;
  отчет = ScratchReportPath("longitudinal_eccentric");
  EXPECT_NEAR(Margin(), -26.549822725951778, 1e-9);
  ExpectedReport e;
  e.Add("\tho = h - a = ", 0.6, " - ", 0.05, " = ", 0.55, " м - рабочая высота сечения");
  ExpectLinesInOrder(ReadReport(отчет), e.Lines());
}

TEST_F(LongitudinalCracks, TensionAndZeroForceGiveAnEmptyTextAndNoReport) {
  отчет = ScratchReportPath("longitudinal_tension");
  for (double n : {0.0, -1.0}) {
    N = n;
    const Variant result = Call();
    ASSERT_EQ(result.Type(), VarType::String);
    EXPECT_EQ(result.Text(), "");
  }
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(LongitudinalCracks, EmptyRowAddsNoBarInertia) {
  // Bars on the bottom face only: the top row has no bars, so no layout and no own inertia.
  Fв = 0;
  отчет = ScratchReportPath("longitudinal_one_face");
  const double margin = Margin();
  EXPECT_TRUE(std::isfinite(margin));
  const std::vector<std::string> lines = ReadReport(отчет);
  const auto row = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("\tПараметры сжатого (или наименее растянутого) ряда арматуры:", 0) == 0;
  });
  ASSERT_NE(row, lines.end());
  EXPECT_EQ(*row,
            "\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = 0 кв.м, ai = "
            "0,05 м\rdi = 0 м, шагi = 0 м, Jsi = 0 м4 - подобрано по площади армирования");

  // The same with the empty row at the bottom gives the same margin: the section is symmetric.
  Fв = 10;
  Fн = 0;
  отчет.clear();
  EXPECT_EQ(Margin(), margin);
}

TEST_F(LongitudinalCracks, RowWithoutLayoutFailsWhenTheBarsOwnInertiaIsAsked) {
  Fв = 400;  // per metre more than any layout holds
  отчет = ScratchReportPath("longitudinal_no_layout");
  try {
    Call();
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), kOverflow);  // 0 / 0
  }
  EXPECT_FALSE(FileExists(отчет));
}

TEST_F(LongitudinalCracks, ReportLineByLine) {
  отчет = ScratchReportPath("longitudinal");
  const double result = Margin();
  const double Js = 6.251608495438638e-05, WS = 0.000500128679635091, Wb = 0.05460403798703156;
  const double Wsr = 0.007501930194526365, Sbx = 9.036932048104445;
  const double зс = 0.031, Aloc = 0.48998399999999986, Aef = 0.5046439999999999;
  const double d_ef = 0.801581372546376, As = 7.853981633974476e-05, мю = 0.00391924358672398;
  const double ш = 0.03227612365537395, ф = 3.8127755819434856, loc_b = 1.0698505572184487;
  const double loc_s = 1.1016756366864562, Rb_red = 20.03982023722493;
  ExpectedReport e;
  e.Add(
      "Расчет запаса по факту образования продольных трещин в процентах прямоугольного ж/б "
      "элемента без учета предварительно напряженной арматуры, согласно СНиП 2.05.03-84*");
  e.Add("1. Исходные данные:");
  e.Add("\tПродольная сжимающая сила (N): ", 2.0, " МН");
  e.Add("\tИзгибающий момент (M), растягивающий нижнюю арматуру: ", 0.1, " МН*м");
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
      10.0, " кв.см");
  e.Add("\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): ", 0.05, " м");
  e.Add("\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): ", 0.05, " м");
  e.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  e.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
  e.Add("\tХарактер работы элемента: центральное сжатие");
  e.Add("\tПараметры сжатого (или наименее растянутого) ряда арматуры:\r\tFsi = ", 0.001,
        " кв.м, ai = ", 0.05, " м\rdi = ", 0.016, " м, шагi = ", 0.2, " м, Jsi = ", Js,
        " м4 - подобрано по площади армирования");
  e.Add("\tПараметры растянутого (или наименее сжатого) ряда арматуры:\r\tFs = ", 0.001,
        " кв.м, a = ", 0.05, " м\rd = ", 0.016, " м, шаг = ", 0.2, " м, Js = ", Js,
        " м4 - подобрано по площади армирования");
  e.Add("\tFb = b * h = ", 1.0, " * ", 0.6, " = ", 0.6, " кв.м");
  e.Add("\tJb = b * h ^ 3 / 12 = ", 1.0, " * ", 0.6, " ^ 3 / 12 = ", 0.018, " м4");
  e.Add("\tРасстояние от центра тяжести бетона до центра тяжести всей арматуры:");
  e.Add("\tys = (Fв * (h / 2 - ав) - Fн * (h / 2 - ан)) / (Fв + Fн) = (", 10.0, " * (", 0.6,
        " / 2 - ", 0.05, ") - ", 10.0, " * (", 0.6, " / 2 - ", 0.05, ")) / (", 10.0, " + ", 10.0,
        ") = ", 0.0, " м");
  e.Add(
      "\tПродольные трещины образуются только при чрезмерном сжатии, значит вся арматура будет "
      "работать на сжатие:");
  e.Add("\tFs = Fs + Fsi = ", 0.002, " кв.м");
  e.Add("\tМомент сопротивления арматурных стержней: WS = Js / (h / 2 - a) + Jsi / (h / 2 - ai) = ",
        Js, " / (", 0.6, " / 2 - ", 0.05, ") + ", Js, " / (", 0.6, " / 2 - ", 0.05, ") = ", WS,
        " куб.м");
  e.Add("\tho = h - 6 * a * Abs(M) / (N * h) = ", 0.6, " - 6 * ", 0.05, " * ", 0.1, " / (", 2.0,
        " * ", 0.6, ") = ", 0.575, " м - рабочая высота сечения");
  e.Add("\tПлощадь бетона без арматуры: Fb = ho * b - Fs = ", 0.575, " * ", 1.0, " - ", 0.002,
        " = ", 0.573, " кв.м");
  e.Add("\tМомент сопротивления бетона без арматуры: Wb = b * ho ^ 2 / 6 - WS = ", 1.0, " * ",
        0.575, " ^ 2 / 6 - ", WS, " = ", Wb, " куб.м");
  e.Add("\tКоэффициент учета арматуры ni = ", 15.0);
  e.Add("\tПриведённая площадь арматуры: Fs_red = Fs * ni = ", 0.002, " * ", 15.0, " = ", 0.03,
        " кв.м");
  e.Add("\tПриведённый момент инерции арматуры: Ws_red = WS * ni = ", WS, " * ", 15.0, " = ", Wsr,
        " куб.м");
  e.Add("3. Расчет напряжений в бетоне");
  e.Add(
      "\tНормальное напряжение в бетоне вдоль продольной оси от внешней нагрузки:\r\tSbx = ((N / "
      "Fb + Abs(M) / Wb) * Fb + ((N / Fs_red + Abs(M) / Ws_red)) * Fs_red) / (Fb + Fs_red) = ((",
      2.0, " / ", 0.573, " + Abs(", 0.1, ") / ", Wb, ") * ", 0.573, "\r\t + ((", 2.0, " / ", 0.03,
      " + Abs(", 0.1, ") / ", Wsr, ")) * ", 0.03, ") / (", 0.573, " + ", 0.03, ") = ", Sbx, " МПа");
  e.Add("\tРасчётное сопротивление бетона при расчётах на образование продольных трещин: Rb_mc2 = ",
        14.6, " МПа (Таблица 23*)");
  e.Add("При сравнении величин Rb_mc2 = ", 14.6, " и Sbx = ", Sbx, " запас равен ",
        38.103205149969554);
  e.Add("4. Учет косвенного спирального армирования по п. 3.90");
  e.Add("\tШаг спиральной арматуры: s = ", 0.1, " м");
  e.Add("\tДиаметр спиральной арматуры: d_mm = ", 10.0, " мм");
  e.Add("\tРасчётное сопротивление бетона: Rb = ", 15.5, " МПа");
  e.Add("\tРасчётное сопротивление арматуры: Rs = ", 210.0, " МПа");
  e.Add(
      "\tРасстояние от края сечения до ц.т. стержня спиральной арматуры: зс = a - 0.014 - d_mm / "
      "2000 = ",
      0.05, " - 0.014 - ", 10.0, " / 2000 = ", зс, " м");
  e.Add("\tПлощадь смятия: Aloc = (b - 2 * зс - d_mm / 1000) * (h - 2 * зс - d_mm / 1000) = (", 1.0,
        " - 2 * ", зс, " - ", 10.0, " / 1000) * (", 0.6, " - 2 * ", зс, " - ", 10.0,
        " / 1000) = ", Aloc, " кв.м");
  e.Add(
      "\tПлощадь бетона, заключенного внутри контура сеток косвенного армирования, считая по их "
      "крайним стержням. При этом должно удовлетворяться Aloc<Aef<=Ad: Aef = (b - 2 * зс) * (h - 2 "
      "* зс) = (",
      1.0, " - 2 * ", зс, ") * (", 0.6, " - 2 * ", зс, ") = ", Aef, " кв.м");
  e.Add(
      "\tПриведенная площадь, симметричная по отношению к площади смятия (максимальная площадь): "
      "Ad = b * h = ",
      1.0, " * ", 0.6, " = ", 0.6, " кв.м");
  e.Add("\tДиаметр части сечения внутри спирали: d_ef = (4 * Aef / Pi) ^ (1 / 2) = (4 * ", Aef,
        " / Pi) ^ (1 / 2) = ", d_ef, " м");
  e.Add("\tПлощадь поперечного сечения спиральной арматуры: As_cir = ", As, " кв.м");
  e.Add("\tКоэффициент армирования: мю = 4 * As_cir / (d_ef * s) = 4 * ", As, " / (", d_ef, " * ",
        0.1, ") = ", мю, " (по формуле 87)");
  e.Add("\tш = мю * Rs / (Rb + 10) = ", мю, " * ", 210.0, " / (", 15.5, " + 10) = ", ш,
        " (по формуле 85)");
  e.Add("\tКоэффициент эффективности косвенного армирования: ф = 1 / (0.23 + ш) = 1 / (0.23 + ", ш,
        ") = ", ф, " (по формуле 84)");
  e.Add("\tloc_b = (Ad / Aloc) ^ (1 / 3) = (", 0.6, " / ", Aloc, ") ^ (1 / 3) = ", loc_b, " <= 3");
  e.Add("\tloc_s = 4.5 - 3.5 * Aloc / Aef = 4.5 - 3.5 * ", Aloc, " / ", Aef, " = ", loc_s);
  e.Add(
      "\tПриведённое расчетное сопротивление сечения: Rb_red = Rb * loc_b + ф * мю * Rs * loc_s = ",
      15.5, " * ", loc_b, " + ", ф, " * ", мю, " * ", 210.0, " * ", loc_s, " = ", Rb_red,
      " МПа (по формуле 110)");
  e.Add("При сравнении величин Rb_red = ", Rb_red, " и Sbx = ", Sbx, " запас равен ", result);
  ExpectSameLines(ReadReport(отчет), e.Lines());
}

// Five d16 at y = 0.26 (0.04 from the top) and five d22 at y = −0.24 (0.06 from the bottom).
class LongitudinalCracksTable : public ::testing::Test {
 protected:
  LongitudinalCracksTable() {
    std::vector<std::vector<Variant>> rows;
    for (int i = 0; i < 5; ++i) rows.push_back({0.1 + 0.2 * i, 0.26, 16.0});
    for (int i = 0; i < 5; ++i) rows.push_back({0.1 + 0.2 * i, -0.24, 22.0});
    таблица = BarTable(rows);
  }
  Variant Call() {
    return мтТрещиностойкостьПродольныеТ(бетон, N, M, B, h, *таблица, d_mm, s, метод, отчет);
  }

  ScopedDecimalSeparator separator{","};
  std::shared_ptr<GridRange> таблица;
  float бетон = 30;
  double N = 2, M = 0.1, B = 1, h = 0.6, d_mm = 10, s = 0.1;
  uint8_t метод = 3;
  std::string отчет;
};

TEST_F(LongitudinalCracksTable, TheStretchedGroupGivesTheEdgeDistance) {
  // a = 0.06 of the stretched bars (0.04 of the compressed ones would give 55.276)
  EXPECT_NEAR(ToDouble(Call()), 56.29188887009027, 1e-9);
}

TEST_F(LongitudinalCracksTable, NegativeForceGivesAnEmptyText) {
  N = -0.5;
  EXPECT_EQ(Call().Text(), "");
}

TEST_F(LongitudinalCracksTable, ReportLinesOfThisForm) {
  отчет = ScratchReportPath("longitudinal_table");
  Call();
  const double Fs = 0.002905973204570556, WS = 0.0007178411900913844;
  const double Fb = 0.5670940267954294, Wb = 0.05343215880990861;
  ExpectedReport e;
  e.Add("\tХарактер работы элемента: центральное сжатие");
  e.Add("\tys = ", -0.067027027027027, " м - ц.т. арматур");
  e.Add("\tFs = ", Fs, " кв.м - площадь поперечного сечения рабочих сержней вдоль оси элемента");
  e.Add("\tWS = ", WS, "куб.м - момент сопротивления арм.стержней");
  e.Add("\ta = ", 0.06, " м - расстояние от растянутой арматуры до растянутого края сечения");
  e.Add("\tho = h - 6 * a * Abs(M) / (N * h) = ", 0.6, " - 6 * ", 0.06, " * ", 0.1, " / (", 2.0,
        " * ", 0.6, ") = ", 0.57, " м - рабочая высота сечения");
  e.Add("\tFb = ho * b - Fs = ", 0.57, " * ", 1.0, " - ", Fs, " = ", Fb, " кв.м - площадь бетона");
  e.Add("\tWb = b * ho ^ 2 / 6 - Ws = ", 1.0, " * ", 0.57, " ^ 2 / 6 - ", WS, " = ", Wb,
        " куб.м - момент сопротивления бетона");
  e.Add("\tni = ", 15.0, " - коэффициент учёта арматуры (п. 3.48*)");
  e.Add("\tFs_red = Fs * ni = ", Fs, " * ", 15.0, " = ", 0.04358959806855834,
        " кв.м - площадь арматуры, приведённой к бетону");
  e.Add("\tWs_red = Ws * ni = ", WS, " * ", 15.0, " = ", 0.010767617851370766,
        " куб.м - момент сопротивления арматуры, приведённой к бетону");
  e.Add("3. Расчёт напряжений в бетоне");
  e.Add(
      "\tРасстояние от края сечения до ц.т. стержня спиральной арматуры: зс = a - 0.014 - d_mm / "
      "2000 = ",
      0.06, " - 0.014 - ", 10.0, " / 2000 = ", 0.041, " м");
  const std::vector<std::string> lines = ReadReport(отчет);
  ExpectLinesInOrder(lines, e.Lines());
  EXPECT_FALSE(test::HasLineStartingWith(lines,
                                         "\tСумма площадей поперечного сечения верхней арматуры, "
                                         "уместившейся на всей ширине расчетного сечения (Fв): "));
  EXPECT_FALSE(test::HasLineStartingWith(lines, "\tКласс арматурной стали: А"));
}

}  // namespace
}  // namespace armocalc
