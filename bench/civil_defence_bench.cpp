// The civil-defence strength check (a force with a moment converging at once, and an
// over-reinforced section that runs to the pass bound of its iteration) and slab punching with
// stirrups, each without a report and with its report file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "civil_defence/dynamic_strength.hpp"
#include "civil_defence/punching.hpp"

namespace {

double RunDynamicStrength(double bottom_area_cm2, std::string& report) {
  uint8_t steel = 3, shelter = 4, method = 3;
  float concrete = 25;
  double N = 3, M = 0.2, h = 0.5, Fv = 10, Fn = bottom_area_cm2, av = 0.05, an = 0.05, B = 1;
  double L = 3, Nl = 0;
  bool Ib = false, heat = false, ageing = false, factory = false;
  int16_t winter = 0;
  return armocalc::гПрочностьГО(steel, concrete, N, M, h, Fv, Fn, av, an, B, L, 12, Nl, shelter, Ib,
                                heat, ageing, factory, 1, winter, method, report);
}

double RunPunching(std::string& report) {
  float concrete = 25;
  double N = 400, ho = 0.25, h = 0.3, step = 100;
  uint8_t diameter = 10, angle = 45, method = 3;
  return armocalc::гПродавливание(concrete, N, ho, h, 0.4, diameter, step, angle, method, report);
}

std::filesystem::path ScratchFolder() {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("armocalc_civil_defence_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  return dir;
}

// Bottom steel of 20 cm² converges in one pass; 400 cm² swings to the bound of 1001 passes.
void BM_DynamicStrengthWithoutReport(benchmark::State& state) {
  std::string report;
  const double area = static_cast<double>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(RunDynamicStrength(area, report));
}
BENCHMARK(BM_DynamicStrengthWithoutReport)->Arg(20)->Arg(400);

void BM_DynamicStrengthWithReport(benchmark::State& state) {
  const auto dir = ScratchFolder();
  std::string report = (dir / "strength.txt").string();
  const double area = static_cast<double>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(RunDynamicStrength(area, report));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DynamicStrengthWithReport)->Arg(20)->Arg(400)->Unit(benchmark::kMillisecond);

void BM_PunchingWithoutReport(benchmark::State& state) {
  std::string report;
  for (auto _ : state) benchmark::DoNotOptimize(RunPunching(report));
}
BENCHMARK(BM_PunchingWithoutReport);

void BM_PunchingWithReport(benchmark::State& state) {
  const auto dir = ScratchFolder();
  std::string report = (dir / "punching.txt").string();
  for (auto _ : state) benchmark::DoNotOptimize(RunPunching(report));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PunchingWithReport);

}  // namespace
