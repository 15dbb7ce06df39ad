// The circular-section checks: the pile check without a report and with its report collected and
// rounded in memory (also for the longest iteration, 100,000 values of k), the ring check, and
// the dispatcher for the bar-by-bar circle, the tube-reinforced pile and the ring, with the
// largest bar count it accepts.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "circular/bar_by_bar.hpp"
#include "circular/circle_strength.hpp"
#include "circular/pile_strength.hpp"
#include "circular/ring_strength.hpp"
#include "kernel/report.hpp"
#include "runtime/decimal_separator.hpp"

namespace armocalc {
namespace {

struct Свая {
  double M = 300, N = 1200, L0 = 6, D = 1.2;
  int16_t ns = 16, ds = 20;
  double Cov = 0.05;
  int16_t A = 3;
  double B = 25;
  uint8_t метод = 3;
  std::string отчёт;

  double Вызвать(Отчёт* собранный) {
    return мтRingStrength(M, N, L0, D, ns, ds, Cov, A, B, метод, отчёт, собранный);
  }
};

Свая ОбычнаяСвая() {
  return Свая{};
}

// No steel and a force that puts the angle on a fixed point where the iteration alternates.
Свая ЧередующаясяСвая() {
  Свая свая;
  свая.ds = 0;
  свая.N = 7351.5;
  свая.L0 = 1;
  return свая;
}

// A negative bar count (the literal negative steel area) that brings the iteration's denominator
// near zero: the angle wanders without repeating, every "k = " line has new numbers.
Свая БлуждающаяСвая() {
  Свая свая = ЧередующаясяСвая();
  свая.ns = -21;
  свая.ds = 32;
  return свая;
}

void BM_PileWithoutReport(benchmark::State& state, Свая (*свая)()) {
  const Свая исходная = свая();
  for (auto _ : state) {
    Свая свая_ = исходная;
    benchmark::DoNotOptimize(свая_.Вызвать(nullptr));
  }
}

void BM_PileWithReport(benchmark::State& state, Свая (*свая)()) {
  ScopedDecimalSeparator разделитель(",");
  const Свая исходная = свая();
  for (auto _ : state) {
    Свая свая_ = исходная;
    Отчёт отчёт("", true);
    benchmark::DoNotOptimize(свая_.Вызвать(&отчёт));
    benchmark::DoNotOptimize(отчёт.List().КоличествоСтрок());
  }
}

// The whole call with its report file: lines, rounding pass, CP1251 and the write (the longest
// iterations write about 100,000 lines, 22 MB).
void BM_PileWithReportFile(benchmark::State& state, Свая (*свая)()) {
  ScopedDecimalSeparator разделитель(",");
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("armocalc_pile_bench_" + std::to_string(::getpid()) + ".txt"))
                               .string();
  Свая исходная = свая();
  исходная.отчёт = path;
  for (auto _ : state) {
    Свая свая_ = исходная;
    benchmark::DoNotOptimize(свая_.Вызвать(nullptr));
  }
  std::filesystem::remove(path);
}

BENCHMARK_CAPTURE(BM_PileWithoutReport, Converging, &ОбычнаяСвая);
BENCHMARK_CAPTURE(BM_PileWithoutReport, Alternating, &ЧередующаясяСвая);
BENCHMARK_CAPTURE(BM_PileWithReport, Converging, &ОбычнаяСвая);
BENCHMARK_CAPTURE(BM_PileWithReport, Alternating, &ЧередующаясяСвая)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PileWithReportFile, Alternating, &ЧередующаясяСвая)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PileWithReportFile, Wandering, &БлуждающаяСвая)->Unit(benchmark::kMillisecond);

void BM_RingWithoutReport(benchmark::State& state) {
  for (auto _ : state) {
    uint8_t класс = 3;
    float бетон = 25;
    double dв = 0.8, dн = 1.2, N = 1.5, D = 20, ns = 16;
    uint8_t метод = 3;
    std::string отчёт;
    benchmark::DoNotOptimize(гRing(класс, бетон, dв, dн, N, 0.3, 0.45, D, ns, метод, отчёт));
  }
}
BENCHMARK(BM_RingWithoutReport);

struct Круг {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 1.5, M = 0.3, Dн = 1.2, Dв = 0, Dk = 1.0, Fs = 50;
  int32_t ns = 16;
  double ds = 20;
  int32_t класс_конструкции = 2;
  double Nl = 0, Ml = 0, L = 6;
  int32_t метод = 3;
  std::string отчёт;

  double Вызвать() {
    return мтПрочностьКруга(класс_стали, класс_бетона, N, M, Dн, Dв, Dk, Fs, ns, ds,
                            класс_конструкции, Nl, Ml, L, -1, 12, метод, отчёт);
  }
};

Круг ИзгибСтержни() {
  Круг к;
  к.N = 0;
  return к;
}
Круг СжатиеСтержни() {
  return Круг{};
}
Круг РастяжениеСтержни() {
  Круг к;
  к.N = -0.5;
  к.M = 0.5;
  return к;
}
Круг СваяСТрубой() {
  Круг к;
  к.ns = 0;
  return к;
}
Круг КольцоСтержни() {
  Круг к;
  к.Dв = 0.8;
  return к;
}
// The largest bar count on a 10 m cage: about two thousand trial passes over all bars.
Круг НаибольшийИзгиб() {
  Круг к;
  к.N = 0;
  к.M = 5;
  к.Dн = 10.2;
  к.Dk = 10;
  к.ns = circular::kНаибольшееЧислоСтержней;
  к.ds = 10;
  return к;
}
Круг НаибольшееРастяжение() {
  Круг к = НаибольшийИзгиб();
  к.N = -1;
  к.M = 50;
  return к;
}

void BM_CircleWithoutReport(benchmark::State& state, Круг (*круг)()) {
  const Круг исходный = круг();
  for (auto _ : state) {
    Круг к = исходный;
    benchmark::DoNotOptimize(к.Вызвать());
  }
}

BENCHMARK_CAPTURE(BM_CircleWithoutReport, BarsBending, &ИзгибСтержни);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, BarsCompression, &СжатиеСтержни);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, BarsTension, &РастяжениеСтержни);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, TubePile, &СваяСТрубой);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, RingBars, &КольцоСтержни);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, MostBarsBending, &НаибольшийИзгиб)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CircleWithoutReport, MostBarsTension, &НаибольшееРастяжение)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace armocalc
