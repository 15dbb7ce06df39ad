// The weighted diameter sum of a worksheet bar table (each bar's near neighbours) at 1,000,
// 10,000 and 100,000 rows with and without reading the table, the pairwise comparison it replaces
// at 1,000 rows, and the whole bar-table crack check at 10,000 rows.

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "cracks/bar_neighbours.hpp"
#include "cracks/crack_width.hpp"
#include "materials/bar_table.hpp"
#include "runtime/host.hpp"

namespace {

// Bars along the two faces of a long wall, on a 0.1 mm grid, a fifth of them paired in bundles.
armocalc::GridRange WallTable(int rows) {
  std::mt19937_64 rng(static_cast<uint64_t>(rows));
  std::uniform_real_distribution<double> along(0, static_cast<double>(rows) * 0.05);
  std::uniform_int_distribution<int> pick(0, 3);
  std::uniform_real_distribution<double> chance(0, 1);
  const double faces[] = {0.45, -0.45, 0.40, -0.40};
  const double diameters[] = {16, 20, 25, 32};
  std::vector<std::vector<armocalc::Variant>> table;
  while (static_cast<int>(table.size()) < rows) {
    const double x = std::round(along(rng) * 10000) / 10000;
    const double y = faces[pick(rng)];
    const double d = diameters[pick(rng)];
    table.push_back({x, y, d});
    if (chance(rng) < 0.2 && static_cast<int>(table.size()) < rows)
      table.push_back({x + 0.02, y, d});
  }
  return armocalc::GridRange(std::move(table));
}

void BM_WeightedDiameterSum(benchmark::State& state) {
  const armocalc::GridRange table = WallTable(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(armocalc::ВзвешеннаяСуммаДиаметров(table));
}
BENCHMARK(BM_WeightedDiameterSum)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

void BM_NeighbourSearch(benchmark::State& state) {
  const std::vector<armocalc::СтерженьТаблицы> bars =
      armocalc::СтержниТаблицы(WallTable(static_cast<int>(state.range(0))));
  const std::vector<double> reach = armocalc::cracks::ПределыБлизости(bars);
  for (auto _ : state) benchmark::DoNotOptimize(armocalc::cracks::ЧислаБлижних(bars, reach));
}
BENCHMARK(BM_NeighbourSearch)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_NeighboursPairwise(benchmark::State& state) {
  const std::vector<armocalc::СтерженьТаблицы> bars =
      armocalc::СтержниТаблицы(WallTable(static_cast<int>(state.range(0))));
  const std::vector<double> reach = armocalc::cracks::ПределыБлизости(bars);
  for (auto _ : state) benchmark::DoNotOptimize(armocalc::cracks::ЧислаБлижнихПопарно(bars, reach));
}
BENCHMARK(BM_NeighboursPairwise)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_BarTableCrackCheck(benchmark::State& state) {
  armocalc::GridRange table = WallTable(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    uint8_t steel = 3, method = 3;
    float concrete = 25;
    double N = 0.5, M = 0.227163, B = static_cast<double>(state.range(0)) * 0.05, h = 1.02226,
           acr = 0.029391;
    double Q = 0.413128, xd = 6, angle = 0.527515, s_wx = 0, s_wz = 0, dw = 0.5, Bw = 500000;
    bool railway = false;
    std::string report;
    benchmark::DoNotOptimize(armocalc::мтТрещиностойкостьТ(steel, concrete, N, M, B, h, table, acr,
                                                           Q, xd, angle, s_wx, s_wz, dw, Bw,
                                                           railway, method, report));
  }
}
BENCHMARK(BM_BarTableCrackCheck)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
