// The endurance check (two stress iterations and four table look-ups) without a report and with
// the three report files it writes (title file, stress report, final report).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "cracks/endurance.hpp"

namespace {

armocalc::Variant RunEndurance(std::string& report) {
  uint8_t steel = 3;
  float concrete = 30;
  double Nmin = 0.1, Mmin = 0.05, Nmax = 0.2, Mmax = 0.15;
  double Fv = 10, Fn = 20, av = 0.05, an = 0.06, h = 0.6, B = 1;
  bool own_inertia = false;
  uint8_t selector = 0, method = 3;
  return armocalc::мтВыносливость(steel, concrete, Nmin, Mmin, Nmax, Mmax, Fv, Fn, av, an, h, B, 3,
                                  own_inertia, 2, selector, method, report);
}

void BM_EnduranceWithoutReport(benchmark::State& state) {
  std::string report;
  for (auto _ : state) benchmark::DoNotOptimize(RunEndurance(report));
}
BENCHMARK(BM_EnduranceWithoutReport);

void BM_EnduranceWithReport(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("armocalc_endurance_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string report = (dir / "calc.txt").string();
  for (auto _ : state) benchmark::DoNotOptimize(RunEndurance(report));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_EnduranceWithReport);

}  // namespace
