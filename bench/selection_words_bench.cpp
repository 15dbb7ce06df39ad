// The selection of working reinforcement, which runs the strength and the crack-width checks
// once per trial: a usual section (a few dozen trials), the strength check alone, and the worst
// case found, a section that never passes and whose strength check iterates its compressed zone
// to the pass bound on every one of the 10,000 trials. The amount in words for a usual amount,
// the longest one that fits, and a cell that is not a number.

#include <benchmark/benchmark.h>

#include "cracks/working_reinforcement.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/host.hpp"
#include "words/number_in_words.hpp"

namespace armocalc {
namespace {

struct Подбор {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 0;
  double M = 0.3;
  double ав = 0.05;
  double ан = 0.05;
  double h = 0.5;
  double B = 1;
  bool трещины = true;
  double acr = 0.02;
  double точность = 0.1;

  double Вызвать() {
    return ПодборРабочейАрматуры(класс_стали, класс_бетона, N, M, ав, ан, h, B, трещины, acr,
                                 точность);
  }
};

// A 0.5 m slab strip under 0.3 MN·m: 15 trials, 24.655 cm².
Подбор Обычный() {
  return Подбор{};
}

// The same with the strength check alone: 11 trials, 20.28 cm².
Подбор ТолькоПрочность() {
  Подбор п;
  п.трещины = false;
  return п;
}

// A 250 m wide section under 1000 MN·m: every trial fails, both margins keep changing and bar
// layouts exist for every trial area, so all 10,000 trials run; from a few hundred cm² on the
// section is over-reinforced and each strength check runs its zone iteration to the bound.
Подбор ХудшийСлучай() {
  Подбор п;
  п.N = 1;
  п.M = 1000;
  п.B = 250;
  return п;
}

// The same section with the strength check alone.
Подбор ХудшийСлучайПрочности() {
  Подбор п = ХудшийСлучай();
  п.трещины = false;
  return п;
}

void BM_Selection(benchmark::State& state, Подбор (*подбор)()) {
  ScopedDecimalSeparator разделитель(",");
  const Подбор исходный = подбор();
  for (auto _ : state) {
    Подбор п = исходный;
    benchmark::DoNotOptimize(п.Вызвать());
  }
}

BENCHMARK_CAPTURE(BM_Selection, Usual, &Обычный)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Selection, StrengthOnly, &ТолькоПрочность)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Selection, WorstCase, &ХудшийСлучай)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Selection, WorstCaseStrengthOnly, &ХудшийСлучайПрочности)
    ->Unit(benchmark::kMillisecond);

void BM_NumberInWords(benchmark::State& state, Variant значение) {
  ScopedDecimalSeparator разделитель(",");
  GridRange ячейка({{значение}});
  for (auto _ : state) {
    benchmark::DoNotOptimize(ЧислоПрописью(ячейка));
  }
}

BENCHMARK_CAPTURE(BM_NumberInWords, Usual, Variant(1234.5));
BENCHMARK_CAPTURE(BM_NumberInWords, Longest, Variant(99999999999.99));
BENCHMARK_CAPTURE(BM_NumberInWords, NotANumber, Variant("сто"));

}  // namespace
}  // namespace armocalc
