// The endurance check (two stress iterations and four table look-ups) without a report and with
// the three report files it writes (title file, stress report, final report); and the longest
// call, both stress iterations running all 1001 passes (a stress report of about 2.9 MB).

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

// Mild steel; both load states run the stress iteration to its pass bound.
armocalc::Variant RunEnduranceToThePassBound(std::string& report) {
  uint8_t steel = 1;
  float concrete = 30;
  double Nmin = 0.97074612749575229, Mmin = -0.64217578102152817;
  double Nmax = 3.8468441077438564, Mmax = 0.61060097501188859;
  double Fv = 13.511063512144139, Fn = 6.4025559676418222;
  double av = 0.080820698370175248, an = 0.099415700519617609;
  double h = 0.34831686064777329, B = 0.41043118768639963;
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

// The calls of `run` with a report path in a folder of its own, removed afterwards.
void RunWithReportFiles(benchmark::State& state, armocalc::Variant (*run)(std::string&)) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("armocalc_endurance_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string report = (dir / "calc.txt").string();
  for (auto _ : state) benchmark::DoNotOptimize(run(report));
  std::filesystem::remove_all(dir);
}

void BM_EnduranceWithReport(benchmark::State& state) {
  RunWithReportFiles(state, &RunEndurance);
}
BENCHMARK(BM_EnduranceWithReport);

void BM_EnduranceToThePassBoundWithReport(benchmark::State& state) {
  RunWithReportFiles(state, &RunEnduranceToThePassBound);
}
BENCHMARK(BM_EnduranceToThePassBoundWithReport)->Unit(benchmark::kMillisecond);

}  // namespace
