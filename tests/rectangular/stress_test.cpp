// Stresses of a cracked rectangular section: the converged stresses of reference cases, the
// selection by Где, the pass bound, the report lines and the name of the report file.

#include "rectangular/stress.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

// Reference values of these cases were computed independently of this code.
struct StressCase {
  uint8_t steel = 3;
  float concrete = 30;
  double N = 0.2;
  double M = 0.15;
  double Fv = 10;
  double Fn = 20;
  double av = 0.05;
  double an = 0.06;
  double h = 0.6;
  double B = 1;
  uint8_t where = 0;
  bool own_inertia = false;
  int32_t type = 2;
  bool creep = true;
  double tolerance = 0.0001;
  double Sb = 0;
  double Ss = 0;
  double Ssi = 0;
  std::string report;

  double Call() {
    return мтНапряжение(steel, concrete, N, M, Fv, Fn, av, an, h, B, where, own_inertia, type,
                        creep, tolerance, Sb, Ss, Ssi, report);
  }
};

int ErrorNumberOf(StressCase& c) {
  try {
    c.Call();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-12 * std::max(1.0, std::abs(expected)));
}

std::vector<std::string> ReadReport(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  const std::string text = Cp1251ToUtf8(bytes.str());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "the file ends with a line break";
  return lines;
}

size_t CountLinesStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

class StressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("armocalc_stress_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  ScopedDecimalSeparator separator_{"."};
  fs::path dir_;
};

TEST_F(StressTest, ConvergedStressesOfReferenceSections) {
  struct Expected {
    const char* name;
    void (*adjust)(StressCase&);
    double Sb, Ss, Ssi;
  };
  const Expected cases[] = {
      {"compression and bending", [](StressCase&) {}, 4.30069993379499, 180.37971518995786,
       45.20314579997441},
      {"pure bending", [](StressCase& c) { c.N = 0; }, 2.828293766953208, 166.49091494546786,
       23.080395258949412},
      {"ni from the moduli", [](StressCase& c) { c.creep = false; }, 6.487129666979627,
       167.95550429787664, 22.245213807719736},
      {"negative moment swaps the layers", [](StressCase& c) { c.M = -0.15; }, 5.280818936965513,
       329.28296976504936, 39.674250518845255},
      {"bars' own inertia", [](StressCase& c) { c.own_inertia = true; }, 4.300123146301656,
       180.34681572164297, 45.198304920446574},
      {"first estimate above h", [](StressCase& c) { c.N = 20; }, 51.43755425786544,
       706.1244956001286, 759.133223289672},
  };
  for (const Expected& e : cases) {
    SCOPED_TRACE(e.name);
    StressCase c;
    e.adjust(c);
    const double result = c.Call();
    ExpectClose(c.Sb, e.Sb);
    ExpectClose(c.Ss, e.Ss);
    ExpectClose(c.Ssi, e.Ssi);
    EXPECT_EQ(result, c.Sb);
  }
}

TEST_F(StressTest, WhereSelectsTheResultWhileAllThreeAreWritten) {
  StressCase reference;
  reference.Call();
  for (uint8_t where : std::vector<uint8_t>{0, 1, 2, 3, 255}) {
    StressCase c;
    c.where = where;
    const double result = c.Call();
    EXPECT_EQ(c.Sb, reference.Sb);
    EXPECT_EQ(c.Ss, reference.Ss);
    EXPECT_EQ(c.Ssi, reference.Ssi);
    const double expected = where == 0 ? c.Sb : where == 1 ? c.Ss : where == 2 ? c.Ssi : 0.0;
    EXPECT_EQ(result, expected) << "Где = " << int{where};
  }
}

TEST_F(StressTest, ZeroToleranceRunsTheFullPassBound) {
  StressCase c;
  c.tolerance = 0;
  c.report = (dir_ / "bound.txt").string();
  c.Call();
  ExpectClose(c.Sb, 4.299799683380612);
  ExpectClose(c.Ss, 180.40548447598795);
  ExpectClose(c.Ssi, 45.189526414670226);
  const auto lines = ReadReport(dir_ / "Stress-bound.txt");
  EXPECT_EQ(CountLinesStartingWith(lines, "Итерация номер: "), size_t{kПроходовНапряжений});
  EXPECT_EQ(CountLinesStartingWith(lines, std::string("Итерация номер: ") + "1000"), 1u);
}

TEST_F(StressTest, FirstEstimateAboveTheHeightIsCutToIt) {
  StressCase c;
  c.N = 20;
  c.report = (dir_ / "cut.txt").string();
  c.Call();
  const auto lines = ReadReport(dir_ / "Stress-cut.txt");
  const auto first_pass =
      std::find(lines.begin(), lines.end(), std::string("Итерация номер: ") + "0");
  ASSERT_NE(first_pass, lines.end());
  EXPECT_EQ(*(first_pass - 1), std::string("\t") + "x_back = X = " + "0.6" + " м");
  EXPECT_EQ(*(first_pass + 1), std::string("\t") + "X = (x_back + X) / 2 = " + "0.6" + " м");
}

TEST_F(StressTest, NegativeFirstEstimateIsRaisedToZeroThenCutToANegativeHeight) {
  StressCase c;
  c.N = -2;
  c.h = -0.6;
  c.tolerance = 1e9;  // one pass
  c.report = (dir_ / "neg.txt").string();
  c.Call();
  const auto lines = ReadReport(dir_ / "Stress-neg.txt");
  const auto first_pass =
      std::find(lines.begin(), lines.end(), std::string("Итерация номер: ") + "0");
  ASSERT_NE(first_pass, lines.end());
  EXPECT_EQ(*(first_pass - 1), std::string("\t") + "x_back = X = " + "-0.6" + " м");
}

TEST_F(StressTest, ReportLinesOfOnePassWithTheBarsOwnInertia) {
  StressCase c;
  c.own_inertia = true;
  c.tolerance = 1e9;  // one pass
  c.report = (dir_ / "calc.txt").string();
  c.Call();
  const std::vector<std::string> expected = {
      "",
      "Расчет напряжения в арматуре и бетоне в [МПа], вычисляемое по формулам СНиП 2.05.03-84* "
      "Таблица 38",
      "1. Исходные данные:",
      "\tПродольная сжимающая сила (N): 0.2 МН",
      "\tИзгибающий момент (M), растягивающий нижнюю арматуру: 0.15 МН*м",
      "\tКласс арматурной стали: АIII",
      "\tКласс бетона: B30",
      "\tВысота расчетного сечения(h): 0.6 м",
      "\tШирина расчетного сечения(b): 1 м",
      "\tСумма площадей поперечного сечения верхней арматуры, уместившейся на всей ширине "
      "расчетного сечения (Fв): 10 кв.см",
      "\tСумма площадей поперечного сечения нижней арматуры, уместившейся на всей ширине "
      "расчетного сечения (Fн): 20 кв.см",
      "\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): 0.05 м",
      "\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): 0.06 м",
      "\t(Дополнительные данные будут объявляться в ходе расчёта)",
      "2. Расчет и уточнение характеристик арматуры и бетона:",
      "\tКоэффициент приведения арматуры к бетону, согласно п. 3.48*: ni = 15",
      "\tRb = 15.5 МПа",
      "\tRsc = Rs = 330 МПа",
      "\tПараметры сжатого (или наименее растянутого) ряда арматуры:\rFsi = 0.001 кв.м, аsi = 0.05 "
      "м\rdi = 0.016 м, si = 0.2 м - подобрано по площади армирования",
      "\tПараметры растянутого (или наименее сжатого) ряда арматуры:\rFs = 0.002 кв.м, аs = 0.06 "
      "м\rd = 0.022 м, s = 0.19 м - подобрано по площади армирования",
      "\tПредварительная высота сжатой зоны бетона: X = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = "
      "(0.2 + 330 * 0.002 - 330 * 0.001) / (15.5 * 1) = 0.03419 м",
      "\tx_back = X = 0.03419 м",
      "Итерация номер: 0",
      "\tX = (x_back + X) / 2 = 0.03419 м",
      "\tFb = b * X = 1 * 0.03419 = 0.03419 кв.м - площадь сжатого бетона",
      "\tFred = Fb + (Fsi + Fs) * ni = 0.03419 + (0.001 + 0.002) * 15 = 0.07919 кв.м - площадь "
      "приведённого сечения (арматура приведена к бетону)",
      "\tyb = h - X / 2 = 0.6 - 0.03419 / 2 = 0.5829 м - расстояние от нейтральной оси до ц.т. "
      "сжатой зоны бетона",
      "\tys = аs = 0.06м - расстояние от нейтральной оси до ц.т. растянутой арматуры",
      "\tysi = h - аsi = 0.6 - 0.05 = 0.55 м - расстояние от нейтральной оси до ц.т. сжатой "
      "арматуры",
      "\tSb = Fb * yb = 0.03419 * 0.5829 = 0.01993 куб.м - статический момент сжатой зоны бетона "
      "относительно нейтральной оси",
      "\tSs = Fs * ys = 0.002 * 0.06 = 0.00012 куб.м - статический момент растянутой арматуры "
      "относительно нейтральной оси",
      "\tSsi = Fsi * ysi = 0.001 * 0.55 = 0.00055 куб.м - статический момент сжатой арматуры "
      "относительно нейтральной оси",
      "\tSred = Sb + (Ss + Ssi) * ni = 0.01993 + (0.00012 + 0.00055) * 15 = 0.02998 куб.м - "
      "статический момент приведённого сечения относительно нейтральной оси",
      "\tyred = Sred / Fred = 0.02998 / 0.07919 = 0.3786 м - расстояние от нейтральной оси до ц.т. "
      "приведённого сечения",
      "\tcb = h - yred - X / 2 = 0.6 - 0.3786 - 0.03419 / 2 = 0.2043 м - расстояние от ц.т. "
      "приведённого сечения до ц.т. сжатой зоны бетона",
      "\tcs = yred - ys = 0.3786 - 0.06 = 0.3186 м - расстояние от ц.т. приведённого сечения до "
      "ц.т. растянутой арматуры",
      "\tcsi = h - yred - аsi = 0.6 - 0.3786 - 0.05 = 0.1714 м - расстояние от ц.т. приведённого "
      "сечения до ц.т. сжатой арматуры",
      "\tМомент инерции приведённого сечения:",
      "\tJred = b * X ^ 3 / 12 + Fb * cb * cb + ni * ((P * d ^ 4 / 64) * b / s + Fs * cs * cs + (P "
      "* di ^ 4 / 64) * b / si + Fsi * csi * csi) = 1 * 0.03419 ^ 3 / 12 + 0.03419 * 0.2043 * "
      "0.2043 + 15 * ((3.142 * 0.022 ^ 4 / 64) * 1 / 0.19 + 0.002 * 0.3186 * 0.3186 + (3.142 * "
      "0.016 ^ 4 / 64) * 1 / 0.2 + 0.001 * 0.1714 * 0.1714) = 0.004918 м4",
      "\tLi = X - аsi = 0.03419 - 0.05 = -0.01581м - расстояние между границей сжатия/растяжения в "
      "бетоне и ц.т. сжатой арматуры",
      "\tL = h - X - аs = 0.6 - 0.03419 - 0.06 = 0.5058 м - расстояние между границей "
      "сжатия/растяжения в бетоне и ц.т. растянутой арматуры",
      "\tSb = Abs(N) / Fred + X * Abs(M) / Jred = Abs(0.2) / 0.07919 + 0.03419 * Abs(0.15) / "
      "0.004918 = 3.568 МПа - максимальное напряжение в сжатой части бетона",
      "\tSs = (Abs(N) / Fred + L * Abs(M) / Jred) * ni = (Abs(0.2) / 0.07919 + 0.5058 * Abs(0.15) "
      "/ 0.004918) * 15 = 269.3 МПа - напряжение в растянутой арматуре",
      "\tSsi = (Abs(N) / Fred + Li * Abs(M) / Jred) * ni = (Abs(0.2) / 0.07919 + -0.01581 * "
      "Abs(0.15) / 0.004918) * 15 = 30.65 МПа - напряжение в сжатой арматуре",
      "\tГраница сжатой зоны находится выше верхней арматуры, поэтому k = 1, ki = 1",
      "\tX = (N + k * Ss * Fs + ki * Ssi * Fsi) / (Sb * b) = (0.2 + 1 * 269.3 * 0.002 + 1 * 30.65 "
      "* 0.001) / (3.568 * 1) = 0.2156 м - коррекция высоты сжатой зоны бетона",
      "\tРезультат вычислений: Sb = 3.568 МПа, Ss = 269.3 МПа, Ssi = 30.65 МПа",
  };
  const auto lines = ReadReport(dir_ / "Stress-calc.txt");
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i;
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Stress-calc.txt"});
}

TEST_F(StressTest, EmptyLayerAddsNoBarInertia) {
  // Bars on the bottom face only: the top layer has no bars, no layout and no own inertia.
  StressCase c;
  c.own_inertia = true;
  c.Fv = 0;
  c.tolerance = 1e9;  // one pass
  c.report = (dir_ / "one_face.txt").string();
  EXPECT_TRUE(std::isfinite(c.Call()));
  const auto lines = ReadReport(dir_ / "Stress-one_face.txt");
  const auto jred = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("\tJred = ", 0) == 0;
  });
  ASSERT_NE(jred, lines.end());
  EXPECT_NE(jred->find(" + (3.142 * 0 ^ 4 / 64) * 1 / 0 + 0 * "), std::string::npos) << *jred;
}

TEST_F(StressTest, ReportNumbersUseTheUsersSeparator) {
  ScopedDecimalSeparator comma(",");
  StressCase c;
  c.report = (dir_ / "comma.txt").string();
  c.Call();
  const auto lines = ReadReport(dir_ / "Stress-comma.txt");
  EXPECT_EQ(CountLinesStartingWith(lines, std::string("\t") + "Rb = " + "15,5" + " МПа"), 1u);
}

TEST(StressReportName, PrefixGoesInFrontOfTheFileName) {
  EXPECT_EQ(ИмяОтчетаНапряжений("dir\\b.txt"), "dir\\Stress-b.txt");
  EXPECT_EQ(ИмяОтчетаНапряжений("dir/b.txt"), "dir/Stress-b.txt");
  EXPECT_EQ(ИмяОтчетаНапряжений("b.txt"), "Stress-b.txt");
  EXPECT_EQ(ИмяОтчетаНапряжений("C:\\a/b\\calc.txt"), "C:\\a/b\\Stress-calc.txt");
  EXPECT_EQ(ИмяОтчетаНапряжений("/tmp/x/"), "/tmp/x/Stress-");
  EXPECT_EQ(ИмяОтчетаНапряжений("папка/отчёт.txt"), "папка/Stress-отчёт.txt");
}

TEST_F(StressTest, ReportIsWrittenBesideTheGivenFileOnly) {
  StressCase c;
  c.report = (dir_ / "b.txt").string();
  c.Call();
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Stress-b.txt"});

  // A backslash separates folders as well (here it is part of a file name).
  StressCase back;
  back.report = (dir_ / "sub\\b.txt").string();
  back.Call();
  EXPECT_TRUE(fs::exists(dir_ / "sub\\Stress-b.txt"));
}

TEST_F(StressTest, BareFileNameGetsThePrefixInsteadOfFailing) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  StressCase c;
  c.report = "b.txt";
  const int error = ErrorNumberOf(c);
  fs::current_path(previous);
  EXPECT_EQ(error, 0);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"Stress-b.txt"});
  EXPECT_GT(c.Sb, 0);
}

TEST_F(StressTest, NoReportWithoutPath) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  StressCase c;
  c.Call();
  fs::current_path(previous);
  EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(StressTest, FailuresWriteNoReport) {
  StressCase zero_width;
  zero_width.B = 0;
  zero_width.report = (dir_ / "w.txt").string();
  EXPECT_EQ(ErrorNumberOf(zero_width), kDivisionByZero);

  // No steel and a zone height of zero: the transformed area is 0 (0 / 0 overflows).
  StressCase no_steel;
  no_steel.Fv = 0;
  no_steel.Fn = 0;
  no_steel.N = -1;
  no_steel.report = (dir_ / "s.txt").string();
  EXPECT_EQ(ErrorNumberOf(no_steel), kOverflow);

  // Bars' own inertia wanted where no bar layout covers the area: the spacing stays 0.
  StressCase no_layout;
  no_layout.own_inertia = true;
  no_layout.Fn = 5000;
  no_layout.report = (dir_ / "l.txt").string();
  EXPECT_EQ(ErrorNumberOf(no_layout), kOverflow);

  EXPECT_TRUE(FilesInDir().empty());
}

TEST_F(StressTest, FailingReportWriteKeepsTheStressesInTheOutArguments) {
  StressCase c;
  c.report = (dir_ / "missing" / "b.txt").string();
  EXPECT_NE(ErrorNumberOf(c), 0);
  ExpectClose(c.Sb, 4.30069993379499);
  ExpectClose(c.Ss, 180.37971518995786);
}

TEST_F(StressTest, ValueTypeOutsideAByteOverflows) {
  StressCase c;
  c.type = 256;
  EXPECT_EQ(ErrorNumberOf(c), kOverflow);
}

}  // namespace
}  // namespace armocalc
