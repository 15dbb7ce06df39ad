// Endurance check: margins of reference cycles, the order of the load states, the coefficient
// tables, the selector, and the report file that is written with its title first.

#include "cracks/endurance.hpp"

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
#include "rectangular/stress.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

// Reference margins of these cycles were computed independently of this code.
struct EnduranceCase {
  uint8_t steel = 3;
  float concrete = 30;
  double Nmin = 0.1;
  double Mmin = 0.05;
  double Nmax = 0.2;
  double Mmax = 0.15;
  double Fv = 10;
  double Fn = 20;
  double av = 0.05;
  double an = 0.06;
  double h = 0.6;
  double B = 1;
  int32_t weld = 3;
  bool own_inertia = false;
  int32_t type = 2;
  uint8_t selector = 0;
  uint8_t method = 3;
  std::string report;

  Variant Call() {
    return мтВыносливость(steel, concrete, Nmin, Mmin, Nmax, Mmax, Fv, Fn, av, an, h, B, weld,
                          own_inertia, type, selector, method, report);
  }
  double Margin() {
    const Variant result = Call();
    EXPECT_EQ(result.Type(), VarType::Double);
    return result.Type() == VarType::Double ? result.Get<double>() : NAN;
  }
};

int ErrorNumberOf(EnduranceCase& c) {
  try {
    c.Call();
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

void ExpectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::abs(expected)));
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

class EnduranceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    dir_ = fs::temp_directory_path() /
           ("armocalc_endurance_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  ScopedDecimalSeparator separator_{"."};
  fs::path dir_;
};

constexpr double kSteelMargin = -20.539508437022324;
constexpr double kConcreteMargin = 69.10713312303105;

TEST_F(EnduranceTest, SelectorPicksTheMargin) {
  EnduranceCase smaller;
  ExpectClose(smaller.Margin(), kSteelMargin);
  EnduranceCase steel;
  steel.selector = 1;
  ExpectClose(steel.Margin(), kSteelMargin);
  EnduranceCase concrete;
  concrete.selector = 2;
  ExpectClose(concrete.Margin(), kConcreteMargin);
  for (uint8_t other : std::vector<uint8_t>{3, 255}) {
    EnduranceCase c;
    c.selector = other;
    EXPECT_TRUE(c.Call().IsEmpty()) << int{other};
  }
}

TEST_F(EnduranceTest, MarginMethodIsPassedOn) {
  EnduranceCase ratio;
  ratio.method = 0;
  ExpectClose(ratio.Margin(), 0.7946049156297768);
}

TEST_F(EnduranceTest, SwappedLoadStatesGiveTheSameResult) {
  EnduranceCase in_order;
  in_order.report = (dir_ / "a.txt").string();
  EnduranceCase swapped;
  swapped.Nmin = 0.2;
  swapped.Mmin = 0.15;
  swapped.Nmax = 0.1;
  swapped.Mmax = 0.05;
  swapped.report = (dir_ / "b.txt").string();
  EXPECT_EQ(in_order.Margin(), swapped.Margin());
  EXPECT_EQ(ReadReport(dir_ / "a.txt"), ReadReport(dir_ / "b.txt"));
}

TEST_F(EnduranceTest, OtherSteelClassWeldTypeAndValueType) {
  EnduranceCase c;
  c.steel = 2;
  c.weld = 1;
  c.type = 3;
  ExpectClose(c.Margin(), -5.975670066146321);
}

TEST_F(EnduranceTest, StressRatioAboveTheWeldTableIsReadAtItsEnd) {
  // ps = 0.9346: the weld table is read at 0.9 (0.85), the asymmetry table at ps itself (1.00).
  EnduranceCase c;
  c.Nmin = 0.19;
  c.Mmin = 0.14;
  ExpectClose(c.Margin(), 35.69350617113801);
}

TEST(EnduranceCoefficients, WeldTableIsReadWithinItsRange) {
  EXPECT_DOUBLE_EQ(КоэффициентСварки(3, 3, 0.95), 0.85);
  EXPECT_DOUBLE_EQ(КоэффициентСварки(3, 3, 2.0), КоэффициентСварки(3, 3, 0.9));
  EXPECT_DOUBLE_EQ(КоэффициентСварки(3, 1, -0.5), 0.65);
  EXPECT_DOUBLE_EQ(КоэффициентСварки(1, 1, -3.0), 0.75);
  EXPECT_DOUBLE_EQ(КоэффициентСварки(1, 1, 0.3), 0.925);
  EXPECT_DOUBLE_EQ(КоэффициентСварки(2, 1, 0.55), 0.9);
  // The steel asymmetry table is read at the unlimited ratio.
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииАрматуры(3, -0.5), 0.40);
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииАрматуры(2, 0.325), 0.82);
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииАрматуры(1, 1.5), 1.0);
}

TEST(EnduranceCoefficients, ConcreteTables) {
  EXPECT_DOUBLE_EQ(КоэффициентКлассаБетона(27.5F), 1.34);
  EXPECT_DOUBLE_EQ(КоэффициентКлассаБетона(32.5F), 1.295);
  EXPECT_DOUBLE_EQ(КоэффициентКлассаБетона(60), 1.20);
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииБетона(0.25), 1.075);
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииБетона(0.8), 1.24);
  EXPECT_DOUBLE_EQ(КоэффициентАсимметрииБетона(-0.5), 1.0);
}

TEST_F(EnduranceTest, UnknownWeldTypeLeavesTheSteelWithoutResistance) {
  EXPECT_EQ(КоэффициентСварки(7, 3, 0.5), 0.0);
  EXPECT_EQ(КоэффициентСварки(0, 2, 0.0), 0.0);
  EnduranceCase steel;
  steel.weld = 7;
  steel.selector = 1;
  EXPECT_EQ(steel.Margin(), -100.0);
  EnduranceCase smaller;
  smaller.weld = -1;
  EXPECT_EQ(smaller.Margin(), -100.0);
}

TEST_F(EnduranceTest, ReportLinesAndTheStressReportOfTheSecondState) {
  EnduranceCase c;
  c.report = (dir_ / "calc.txt").string();
  c.Call();
  const std::vector<std::string> expected = {
      "",
      "Расчет на выносливость ж/б элемента прямоугольного сечения без учета предварительно "
      "напряженной арматуры, согласно СНиП 2.05.03-84*",
      "",
      "\tРасчет асимметрии цикла повторяющихся напряжений:",
      "\tpb = Sbmin / Sbmax = 1.657 / 4.301 = 0.3854",
      "\tps = Ssmin / Ssmax = 62.32 / 180.4 = 0.3455",
      "\tRbf = 13.92 МПа (п. 3.26*), Rsf = 143.3 МПа (п. 3.39*)",
      "При сравнении величин Rbf = 13.92 и Sbmax = 4.301 запас по бетону равен 69.11",
      "При сравнении величин Rsf = 143.3 и Ssmax = 180.4 запас по арматуре равен -20.54",
  };
  EXPECT_EQ(ReadReport(dir_ / "calc.txt"), expected);
  // The stress report beside it is the one of the most loaded state.
  uint8_t where = 0;
  bool creep = true;
  double tolerance = 0.0001, Sb = 0, Ss = 0, Ssi = 0;
  std::string direct = (dir_ / "direct.txt").string();
  мтНапряжение(c.steel, c.concrete, c.Nmax, c.Mmax, c.Fv, c.Fn, c.av, c.an, c.h, c.B, where,
               c.own_inertia, c.type, creep, tolerance, Sb, Ss, Ssi, direct);
  const auto stress_lines = ReadReport(dir_ / "Stress-calc.txt");
  EXPECT_GT(stress_lines.size(), 20u);
  EXPECT_EQ(stress_lines, ReadReport(dir_ / "Stress-direct.txt"));
  EXPECT_EQ(FilesInDir(),
            (std::vector<std::string>{"Stress-calc.txt", "Stress-direct.txt", "calc.txt"}));
}

// The stress report a state leaves on its own (at the path Stress-<name>).
std::vector<std::string> StressReportOfState(const EnduranceCase& c, double N, double M,
                                             const fs::path& path) {
  double Sb = 0, Ss = 0, Ssi = 0;
  мтНапряжение(c.steel, c.concrete, N, M, c.Fv, c.Fn, c.av, c.an, c.h, c.B, 0, c.own_inertia,
               c.type, true, 0.0001, Sb, Ss, Ssi, path.string());
  return ReadReport(path.parent_path() / ("Stress-" + path.filename().string()));
}

size_t PassCount(const std::vector<std::string>& stress_lines) {
  return static_cast<size_t>(
      std::count_if(stress_lines.begin(), stress_lines.end(),
                    [](const std::string& line) { return line.starts_with("Итерация номер: "); }));
}

TEST_F(EnduranceTest, StatesThatRunEveryPassGiveTheMarginsOfTheCallWithoutAReport) {
  // Mild steel: both states run the stress iteration to its pass bound.
  EnduranceCase c;
  c.steel = 1;
  c.Nmin = 0.97074612749575229;
  c.Mmin = -0.64217578102152817;
  c.Nmax = 3.8468441077438564;
  c.Mmax = 0.61060097501188859;
  c.Fv = 13.511063512144139;
  c.Fn = 6.4025559676418222;
  c.av = 0.080820698370175248;
  c.an = 0.099415700519617609;
  c.h = 0.34831686064777329;
  c.B = 0.41043118768639963;
  const fs::path alone = dir_ / "alone";
  fs::create_directories(alone);
  EXPECT_EQ(PassCount(StressReportOfState(c, c.Nmin, c.Mmin, alone / "min.txt")),
            size_t{kПроходовНапряжений});
  const auto second = StressReportOfState(c, c.Nmax, c.Mmax, alone / "max.txt");
  EXPECT_EQ(PassCount(second), size_t{kПроходовНапряжений});
  for (const uint8_t selector : {uint8_t{1}, uint8_t{2}}) {
    c.selector = selector;
    c.report.clear();
    const double without_report = c.Margin();
    c.report = (dir_ / "calc.txt").string();
    EXPECT_EQ(c.Margin(), without_report) << int{selector};
    EXPECT_EQ(ReadReport(dir_ / "Stress-calc.txt"), second);
  }
}

TEST_F(EnduranceTest, AFailingSecondStateLeavesTheStressReportOfTheFirst) {
  EnduranceCase c;
  c.Nmax = c.Mmax = 1e308;  // the stresses overflow
  c.report = (dir_ / "calc.txt").string();
  EXPECT_EQ(ErrorNumberOf(c), kOverflow);
  const fs::path alone = dir_ / "alone";
  fs::create_directories(alone);
  const auto first = StressReportOfState(c, c.Nmin, c.Mmin, alone / "min.txt");
  EXPECT_GT(first.size(), 20u);
  EXPECT_EQ(ReadReport(dir_ / "Stress-calc.txt"), first);
}

TEST_F(EnduranceTest, AnOldReportIsReplacedByTheTitleFileFirst) {
  const fs::path path = dir_ / "calc.txt";
  std::ofstream(path, std::ios::binary) << "old line\r\nanother\r\n";
  EnduranceCase c;
  c.report = path.string();
  c.Call();
  const auto lines = ReadReport(path);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[0], "");
  EXPECT_EQ(lines[1],
            "Расчет на выносливость ж/б элемента прямоугольного сечения без учета предварительно "
            "напряженной арматуры, согласно СНиП 2.05.03-84*");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], std::string("\t") + "Расчет асимметрии цикла повторяющихся напряжений:");
}

TEST_F(EnduranceTest, TitleFileStaysWhenTheCheckFails) {
  // No load in either state: Sbmax = 0 and pb = 0 / 0 overflows after both stress reports.
  EnduranceCase unloaded;
  unloaded.Nmin = unloaded.Mmin = unloaded.Nmax = unloaded.Mmax = 0;
  unloaded.report = (dir_ / "calc.txt").string();
  EXPECT_EQ(ErrorNumberOf(unloaded), kOverflow);
  EXPECT_EQ(ReadReport(dir_ / "calc.txt"),
            (std::vector<std::string>{
                "",
                "Расчет на выносливость ж/б элемента прямоугольного сечения без учета "
                "предварительно напряженной арматуры, согласно СНиП 2.05.03-84*"}));
  EXPECT_TRUE(fs::exists(dir_ / "Stress-calc.txt"));

  // A failing stress calculation leaves the title file alone and writes no stress report.
  EnduranceCase zero_width;
  zero_width.B = 0;
  zero_width.report = (dir_ / "w.txt").string();
  EXPECT_EQ(ErrorNumberOf(zero_width), kDivisionByZero);
  EXPECT_EQ(ReadReport(dir_ / "w.txt"),
            (std::vector<std::string>{
                "",
                "Расчет на выносливость ж/б элемента прямоугольного сечения без учета "
                "предварительно напряженной арматуры, согласно СНиП 2.05.03-84*"}));
  EXPECT_FALSE(fs::exists(dir_ / "Stress-w.txt"));
}

TEST_F(EnduranceTest, EmptyReportPathWritesAndReadsNothing) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  EnduranceCase c;
  const double margin = c.Margin();
  fs::current_path(previous);
  ExpectClose(margin, kSteelMargin);
  EXPECT_TRUE(FilesInDir().empty());
}

}  // namespace
}  // namespace armocalc
