// Speed of the calculation kernel: margin, table interpolation, number text and the rounding pass
// that every report goes through (target: under 20 µs for a report of 100 lines).

#include <benchmark/benchmark.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "kernel/interpolation.hpp"
#include "kernel/margin.hpp"
#include "kernel/row_list.hpp"
#include "runtime/number_text.hpp"

namespace armocalc {
namespace {

void BM_Margin(benchmark::State& state) {
  const double limits[] = {150.0, 100.0, -100.0, 0.0, 2.5e-3};
  const double acting[] = {100.0, 150.0, 50.0, 5.0, 1.7e-3};
  for (auto _ : state) {
    for (int i = 0; i < 5; ++i) {
      benchmark::DoNotOptimize(ОпределитьЗапас(limits[i], acting[i], 3));
    }
  }
  state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(BM_Margin);

// A table of the size of the concrete properties: 10 property codes × 17 classes.
std::vector<double> ConcreteLikeTable() {
  std::vector<double> cells;
  for (int row = 0; row <= 17; ++row) {
    for (int column = 0; column <= 10; ++column) {
      if (row == 0) {
        cells.push_back(column);
      } else if (column == 0) {
        cells.push_back(20.0 + 2.5 * (row - 1));
      } else {
        cells.push_back(row * 1.37 + column * 0.21);
      }
    }
  }
  return cells;
}

void BM_TableInterpolation(benchmark::State& state) {
  const std::vector<double> cells = ConcreteLikeTable();
  const Таблица table{cells, 18, 11};
  const double classes[] = {20.0, 27.5, 31.0, 45.0, 60.0, 15.0};
  for (auto _ : state) {
    for (double concrete_class : classes) {
      benchmark::DoNotOptimize(ИнтерполяцияПоТаблице(table, 9, concrete_class));
    }
  }
  state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(BM_TableInterpolation);

void BM_DoubleText(benchmark::State& state) {
  const double values[] = {0.1 + 0.2, 2.0 / 3.0, 123456.789, 1e-7 / 3.0, 27.5, 1.2345e20, 0.0};
  for (auto _ : state) {
    for (double value : values) benchmark::DoNotOptimize(DoubleText(value, ","));
  }
  state.SetItemsProcessed(state.iterations() * 7);
}
BENCHMARK(BM_DoubleText);

void BM_SingleText(benchmark::State& state) {
  const float values[] = {27.5f, 22.5f, 0.1f, 1.0f / 3.0f};
  for (auto _ : state) {
    for (float value : values) benchmark::DoNotOptimize(SingleText(value, ","));
  }
  state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_SingleText);

// A report of 100 lines as the calculation routines write it: headings, data lines and formula
// lines with values at full precision.
vbСписок RealisticReport() {
  vbСписок list;
  list.ВставитьСтроку(
      "Расчет на продавливание плитных конструкций из тяжелого бетона (СНиП 2.03.01-84*, п.3.42)");
  list.ВставитьСтроку("1. Исходные данные:");
  double value = 0.123456789012345;
  for (int i = 0; list.КоличествоСтрок() < 101; ++i) {
    value = value * 1.61803398874989 + 0.0731;
    const std::string a = DoubleText(value, ",");
    const std::string b = DoubleText(value / 7.0, ",");
    const std::string c = DoubleText(value * 1000.0 / 3.0, ",");
    switch (i % 5) {
      case 0:
        list.ВставитьСтроку("\tПродольная продавливающая сила (N): " + a + " кН");
        break;
      case 1:
        list.ВставитьСтроку(
            "\tNlimit = Rbt * ho * um = " + a + " * " + b + " * " + c + " = " + a +
            " кН - предельнодопустимая продавливающая сила, если работает только бетон");
        break;
      case 2:
        list.ВставитьСтроку("\tКласс бетона плиты: B27,5");
        break;
      case 3:
        list.ВставитьСтроку("\tx = (" + a + " - " + b + ") / " + c + " = " + b + " м (п. 3.77)");
        break;
      default:
        list.ВставитьСтроку("3. Запас по прочности плиты: " + c + "%");
        break;
    }
  }
  return list;
}

void BM_RoundingPass100Lines(benchmark::State& state) {
  const vbСписок report = RealisticReport();
  constexpr size_t kCopies = 8;  // few enough to stay in the cache, like a report just written
  std::vector<vbСписок> copies(kCopies, report);
  size_t next = 0;
  for (auto _ : state) {
    if (next == kCopies) {
      state.PauseTiming();
      for (vbСписок& copy : copies) copy = report;
      next = 0;
      state.ResumeTiming();
    }
    copies[next++].ОкруглитьЧисловыеЗначения(4, 1, ",");
  }
  state.SetItemsProcessed(state.iterations() * (report.КоличествоСтрок() - 1));
}
BENCHMARK(BM_RoundingPass100Lines);

// Doubles of every magnitude a report meets, with 15 to 17 significant digits.
std::vector<double> ReportLikeDoubles() {
  std::mt19937_64 random(7);
  std::vector<double> values(4096);
  for (double& value : values) {
    const double fraction = static_cast<double>(random() >> 11) * 0x1p-53;
    value = fraction * std::pow(10.0, static_cast<int>(random() % 16) - 6);
  }
  return values;
}

void BM_DoubleTextOfManyDoubles(benchmark::State& state) {
  const std::vector<double> values = ReportLikeDoubles();
  std::string line;
  for (auto _ : state) {
    line.clear();
    for (double value : values) AppendDoubleText(line, value, ",");
    benchmark::DoNotOptimize(line.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(values.size()));
}
BENCHMARK(BM_DoubleTextOfManyDoubles);

}  // namespace
}  // namespace armocalc
