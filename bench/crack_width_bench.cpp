// The crack width check of a slab strip (normal cracks by the Mazhirin zone, two bar-layout
// selections) without a report and with its report file.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cracks/crack_width.hpp"

namespace {

double RunCrackWidth(std::string& report) {
  uint8_t steel = 3;
  float concrete = 30;
  double N = 0.1, M = 0.2, Fv = 10, Fn = 20, av = 0.05, an = 0.05, h = 0.6, B = 1;
  double acr = 0.02, Q = 0, xd = 6, angle = 0, s_wx = 0, s_wz = 0, dw = 0, Bw = 1, Bs = 1;
  bool railway = false;
  uint8_t method = 3;
  return armocalc::мтТрещиностойкость(steel, concrete, N, M, Fv, Fn, av, an, h, B, acr, Q, xd,
                                      angle, s_wx, s_wz, dw, Bw, Bs, railway, method, report);
}

void BM_CrackWidthWithoutReport(benchmark::State& state) {
  std::string report;
  for (auto _ : state) benchmark::DoNotOptimize(RunCrackWidth(report));
}
BENCHMARK(BM_CrackWidthWithoutReport);

void BM_CrackWidthWithReport(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("armocalc_crack_width_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string report = (dir / "crack.txt").string();
  for (auto _ : state) benchmark::DoNotOptimize(RunCrackWidth(report));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_CrackWidthWithReport);

}  // namespace
