// The rectangular strength check, the most called method of the library: without a report, and
// with its report collected and rounded in memory (the file write left out), for a section that
// is reinforceable, an over-reinforced one whose zone height is iterated, a column that stops
// unstable and a one-face section with the bars' own inertia.

#include <benchmark/benchmark.h>

#include <string>

#include "kernel/report.hpp"
#include "rectangular/strength.hpp"
#include "runtime/decimal_separator.hpp"

namespace armocalc {
namespace {

struct Сечение {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 3;
  double M = 0.5;
  double Fв = 10;
  double Fн = 20;
  double ав = 0.05;
  double ан = 0.05;
  double h = 0.5;
  double B = 1;
  bool СМИ = false;
  bool флаги[6] = {};
  double Nl = 0;
  double Ml = 0;
  double L = -1;
  int32_t закрепления = 12;
  double s = -1;
  double dx = -1;
  double dy = -1;
  double nx = -1;
  double ny = -1;
  uint8_t метод = 3;
  std::string отчёт;

  double Вызвать(Отчёт* собранный) {
    return мтПрочность(класс_стали, класс_бетона, N, M, Fв, Fн, ав, ан, h, B, СМИ, флаги[0],
                       флаги[1], флаги[2], флаги[3], флаги[4], флаги[5], Nl, Ml, L, -1, закрепления,
                       s, dx, dy, nx, ny, метод, отчёт, собранный)
        .Get<double>();
  }
};

// Eccentric compression, reinforceable.
Сечение Армируемое() {
  return Сечение{};
}

// Eccentric compression, over-reinforced: five passes of the zone-height iteration.
Сечение Переармированное() {
  Сечение сечение;
  сечение.N = 2;
  сечение.M = 1;
  сечение.Fв = 1;
  сечение.Fн = 50;
  return сечение;
}

// Eccentric compression of an 18 m column above its critical force: the check stops unstable.
Сечение Неустойчивое() {
  Сечение сечение;
  сечение.L = 18;
  return сечение;
}

// Bars on the bottom face only, with the bars' own inertia of a slender element.
Сечение ОднаГрань() {
  Сечение сечение;
  сечение.Fв = 0;
  сечение.СМИ = true;
  сечение.L = 6;
  return сечение;
}

void BM_StrengthWithoutReport(benchmark::State& state, Сечение (*сечение)()) {
  const Сечение исходное = сечение();
  for (auto _ : state) {
    Сечение сечение_ = исходное;
    benchmark::DoNotOptimize(сечение_.Вызвать(nullptr));
  }
}

void BM_StrengthWithReport(benchmark::State& state, Сечение (*сечение)()) {
  ScopedDecimalSeparator разделитель(",");
  const Сечение исходное = сечение();
  for (auto _ : state) {
    Сечение сечение_ = исходное;
    Отчёт отчёт("", true);
    benchmark::DoNotOptimize(сечение_.Вызвать(&отчёт));
    benchmark::DoNotOptimize(отчёт.List().КоличествоСтрок());
  }
}

BENCHMARK_CAPTURE(BM_StrengthWithoutReport, Reinforceable, &Армируемое);
BENCHMARK_CAPTURE(BM_StrengthWithoutReport, OverReinforced, &Переармированное);
BENCHMARK_CAPTURE(BM_StrengthWithReport, Reinforceable, &Армируемое);
BENCHMARK_CAPTURE(BM_StrengthWithReport, OverReinforced, &Переармированное);
BENCHMARK_CAPTURE(BM_StrengthWithoutReport, Unstable, &Неустойчивое);
BENCHMARK_CAPTURE(BM_StrengthWithReport, Unstable, &Неустойчивое);
BENCHMARK_CAPTURE(BM_StrengthWithoutReport, OneFaceBarInertia, &ОднаГрань);
BENCHMARK_CAPTURE(BM_StrengthWithReport, OneFaceBarInertia, &ОднаГрань);

}  // namespace
}  // namespace armocalc
