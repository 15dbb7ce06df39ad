// The inclined-section check with stirrups, without a report and with its report file, and the
// selection of stirrups: a converging search, one without a passing layout, and the longest one,
// which climbs past every layout until the pass bound ends it.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "runtime/decimal_separator.hpp"
#include "shear/stirrup_selection.hpp"
#include "shear/stirrups.hpp"

namespace armocalc {
namespace {

struct Хомуты {
  uint8_t класс_стали = 1;
  float класс_бетона = 25;
  double Q = 0.3;
  double B = 1;
  double ho = 0.9;
  double s_wx = 0.15;
  double s_wz = 0.2;
  double dw_mm = 10;
  uint8_t метод = 3;
  std::string отчёт;
  double C_max = 0;

  double Вызвать() {
    return мтХомуты(класс_стали, класс_бетона, Q, B, ho, s_wx, s_wz, dw_mm, 1, 0.2, 0, 0, 3, false,
                    метод, отчёт, C_max);
  }
};

void BM_StirrupsWithoutReport(benchmark::State& state) {
  for (auto _ : state) {
    Хомуты хомуты;
    benchmark::DoNotOptimize(хомуты.Вызвать());
  }
}

void BM_StirrupsWithReportFile(benchmark::State& state) {
  ScopedDecimalSeparator разделитель(",");
  const std::string путь =
      (std::filesystem::temp_directory_path() / "armocalc_shear_bench_report.txt").string();
  for (auto _ : state) {
    Хомуты хомуты;
    хомуты.отчёт = путь;
    benchmark::DoNotOptimize(хомуты.Вызвать());
  }
  std::filesystem::remove(путь);
}

struct Подбор {
  uint8_t класс_стали = 1;
  float класс_бетона = 25;
  double Q = 1;
  double ho = 0.9;
  double B = 1;
  double точность = 0.1;

  double Вызвать() {
    return ПодборПоперечнойАрматуры(класс_стали, класс_бетона, Q, ho, 1, B, 0, 0, точность);
  }
};

void BM_StirrupSelection(benchmark::State& state, double Q, double точность) {
  for (auto _ : state) {
    Подбор п;
    п.Q = Q;
    п.точность = точность;
    benchmark::DoNotOptimize(п.Вызвать());
  }
}

BENCHMARK(BM_StirrupsWithoutReport);
BENCHMARK(BM_StirrupsWithReportFile);
BENCHMARK_CAPTURE(BM_StirrupSelection, Converging, 1.0, 0.1);
BENCHMARK_CAPTURE(BM_StirrupSelection, NoPassingLayout, 50.0, 0.1);
BENCHMARK_CAPTURE(BM_StirrupSelection, PassBound, 0.05, -1.0)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace armocalc
