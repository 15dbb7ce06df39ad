#pragma once
// Helpers of the circular-section tests: the arguments of the three methods with the defaults of
// the interface, and report files in a scratch folder (the report helpers of the crack tests).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "circular/circle_strength.hpp"
#include "circular/pile_strength.hpp"
#include "circular/ring_strength.hpp"
#include "kernel/report.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "tests/cracks/crack_report_helpers.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc::circle_test {

using test::ExpectSameLines;
using test::FileExists;
using test::ReadReport;
using test::ScratchReportPath;

// A bored pile 1.2 m across, 16 bars of 20 mm A-III with a 5 cm cover, B25, 6 m effective
// length, under 1200 kN and 300 kN·m.
struct Свая {
  double M = 300;
  double N = 1200;
  double L0 = 6;
  double D = 1.2;
  int16_t ns = 16;
  int16_t ds = 20;
  double Cov = 0.05;
  int16_t A = 3;
  double B = 25;
  uint8_t метод = 3;
  std::string отчёт;

  double Запас() { return мтRingStrength(M, N, L0, D, ns, ds, Cov, A, B, метод, отчёт); }
  // The report lines as the call collects them (rounded as written), without a file.
  std::vector<std::string> Строки() {
    Отчёт собранный("", true);
    мтRingStrength(M, N, L0, D, ns, ds, Cov, A, B, метод, отчёт, &собранный);
    return собранный.List().Строки();
  }
};

// A ring 1.2 m outside and 0.8 m inside, 16 bars of 20 mm A-III on a 0.45 m radius, B25,
// under 1.5 MN and 0.3 MN·m.
struct Кольцо {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double dв = 0.8;
  double dн = 1.2;
  double N = 1.5;
  double M = 0.3;
  double r = 0.45;
  double D = 20;
  double ns = 16;
  uint8_t метод = 3;
  std::string отчёт;

  double Запас() { return гRing(класс_стали, класс_бетона, dв, dн, N, M, r, D, ns, метод, отчёт); }
  std::vector<std::string> Строки() {
    Отчёт собранный("", true);
    гRing(класс_стали, класс_бетона, dв, dн, N, M, r, D, ns, метод, отчёт, &собранный);
    return собранный.List().Строки();
  }
};

// A solid circle 1.2 m across with 16 bars of 20 mm A-III on a 1.0 m cage, B25, 50 cm² given
// for a tube, under 1.5 MN and 0.3 MN·m; the other arguments at the interface defaults.
struct Круг {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 1.5;
  double M = 0.3;
  double Dн = 1.2;
  double Dв = 0;
  double Dk = 1.0;
  double Fs = 50;
  int32_t ns = 16;
  double ds = 20;
  int32_t класс_конструкции = 2;
  double Nl = 0;
  double Ml = 0;
  double L = -1;
  double Z = -1;
  int32_t закрепления = 12;
  int32_t метод = 3;
  std::string отчёт;

  double Запас() {
    return мтПрочностьКруга(класс_стали, класс_бетона, N, M, Dн, Dв, Dk, Fs, ns, ds,
                            класс_конструкции, Nl, Ml, L, Z, закрепления, метод, отчёт);
  }
};

// Reports in UTF-8 with a decimal point, as the expected lines are written.
class CircleTest : public ::testing::Test {
 private:
  ScopedDecimalSeparator разделитель_{"."};
  ScopedReportEncoding кодировка_{ReportEncoding::Utf8};
};

}  // namespace armocalc::circle_test
