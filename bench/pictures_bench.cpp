// The pictures: the sketches of a bar-table section and of a ring with its cage, the HTML page of
// a strength report (from its lines, the file writes left out), the pages of the longest report
// (read back, made and written) and the N–M diagrams of 200 points of a rectangular section, a
// bar-table section and a circular section.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/diagram.hpp"
#include "cli/report_page.hpp"
#include "cli/section_sketch.hpp"
#include "kernel/report.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

std::vector<std::optional<Variant>> StrengthArgs() {
  return ArgumentsByName(*FindMethod("мтПрочностьB"), {{"КлассАрматурнойСтали", uint8_t{3}},
                                                       {"КлассБетона", 25.0f},
                                                       {"N", 0.5},
                                                       {"M", 0.1},
                                                       {"Fв", 10.0},
                                                       {"Fн", 20.0},
                                                       {"ав", 0.05},
                                                       {"ан", 0.05},
                                                       {"h", 0.5}});
}

// The sketch of a call's section from the named arguments (the others Empty), drawn again and
// again.
void DrawSketches(benchmark::State& state, std::string_view method_name,
                  std::initializer_list<std::pair<std::string_view, Variant>> given) {
  const MethodInfo& method = *FindMethod(method_name);
  std::vector<Variant> values;
  for (const std::optional<Variant>& value : ArgumentsByName(method, given)) {
    values.push_back(value.value_or(Variant()));
  }
  for (auto _ : state) {
    const auto sketch = SketchOfCall(method, values);
    benchmark::DoNotOptimize(SketchSvg(*sketch, ","));
  }
}

void BM_SketchOfABarTable(benchmark::State& state) {
  std::vector<std::vector<Variant>> rows;
  for (int i = 0; i < 20; ++i) rows.push_back({-0.45 + 0.1 * (i % 10), i < 10 ? 0.2 : -0.2, 20.0});
  DrawSketches(
      state, "мтПрочностьТB",
      {{"ТаблицаАрматурныхСтержней", std::shared_ptr<HostRange>(std::make_shared<GridRange>(rows))},
       {"B", 1.0},
       {"h", 0.5},
       {"N", 0.5},
       {"M", 0.1}});
}
BENCHMARK(BM_SketchOfABarTable);

void BM_SketchOfARingWithItsCage(benchmark::State& state) {
  DrawSketches(state, "гRingB",
               {{"dв", 0.4}, {"dн", 0.6}, {"D", 16.0}, {"ns", 24.0}, {"N", 1.0}, {"M", 0.1}});
}
BENCHMARK(BM_SketchOfARingWithItsCage);

// The finished call of `method` with the given arguments (by position, unset ones omitted).
NamedCall::Result Executed(const MethodInfo& method,
                           const std::vector<std::optional<Variant>>& args) {
  NamedCall call(method);
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i]) call.Set(static_cast<int>(i), *args[i]);
  }
  return call.Execute({});
}

void BM_ReportPageOfAStrengthCall(benchmark::State& state) {
  const MethodInfo& method = *FindMethod("мтПрочностьB");
  const NamedCall::Result done = Executed(method, StrengthArgs());
  std::vector<std::string> lines(60,
                                 "\tx2 = (N + Rs * Fs - Rsc * Fsi) / (Rb * b) = (0,5 + 350 * "
                                 "0,002 - 350 * 0,001) / (13 * 1) = 0,06538 м - высота");
  lines[1] = "1. Исходные данные:";
  for (auto _ : state) benchmark::DoNotOptimize(ReportPageHtml(method, done, lines, ","));
}
BENCHMARK(BM_ReportPageOfAStrengthCall);

// The endurance check with both load states at the pass bound of the stress iteration: its
// report and its stress report of about 2.9 MB, each read back and written as a page.
void BM_ReportPagesOfTheLongestEnduranceReport(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("armocalc_pages_bench_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string report = (dir / "calc.txt").string();
  const MethodInfo& method = *FindMethod("мтВыносливостьB");
  const auto args = ArgumentsByName(method, {{"КлассАрматурнойСтали", uint8_t{1}},
                                             {"КлассБетона", 30.0f},
                                             {"Nmin", 0.97074612749575229},
                                             {"Mmin", -0.64217578102152817},
                                             {"Nmax", 3.8468441077438564},
                                             {"Mmax", 0.61060097501188859},
                                             {"Fв", 13.511063512144139},
                                             {"Fн", 6.4025559676418222},
                                             {"ав", 0.080820698370175248},
                                             {"ан", 0.099415700519617609},
                                             {"h", 0.34831686064777329},
                                             {"B", 0.41043118768639963},
                                             {"Отчет", report}});
  const NamedCall::Result done = Executed(method, args);
  const std::vector<std::string> reports = {report, (dir / "Stress-calc.txt").string()};
  for (auto _ : state) WriteReportPages(method, done, reports);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReportPagesOfTheLongestEnduranceReport)->Unit(benchmark::kMillisecond);

void BM_DiagramOfARectangularSection200Points(benchmark::State& state) {
  const SectionCheck check(*FindMethod("мтПрочностьB"), StrengthArgs());
  for (auto _ : state) {
    const InteractionCurve curve = ComputeCurve(check, 100);
    benchmark::DoNotOptimize(DiagramSvg(curve, check.Acting(), {}, "мтПрочностьB"));
  }
}
BENCHMARK(BM_DiagramOfARectangularSection200Points)->Unit(benchmark::kMillisecond);

void BM_DiagramOfABarTableSection200Points(benchmark::State& state) {
  const MethodInfo& method = *FindMethod("мтПрочностьТB");
  std::vector<std::vector<Variant>> rows;
  for (int i = 0; i < 10; ++i) rows.push_back({-0.45 + 0.1 * i, i < 5 ? 0.2 : -0.2, 20.0});
  const SectionCheck check(
      method,
      ArgumentsByName(method, {{"КлассАрматурнойСтали", uint8_t{3}},
                               {"КлассБетона", 25.0f},
                               {"N", 0.5},
                               {"M", 0.1},
                               {"B", 1.0},
                               {"h", 0.5},
                               {"ТаблицаАрматурныхСтержней",
                                std::shared_ptr<HostRange>(std::make_shared<GridRange>(rows))}}));
  for (auto _ : state) {
    const InteractionCurve curve = ComputeCurve(check, 100);
    benchmark::DoNotOptimize(DiagramSvg(curve, check.Acting(), {}, method.name));
  }
}
BENCHMARK(BM_DiagramOfABarTableSection200Points)->Unit(benchmark::kMillisecond);

void BM_DiagramOfACircularSection200Points(benchmark::State& state) {
  const MethodInfo& method = *FindMethod("мтПрочностьКругаB");
  const SectionCheck check(method, ArgumentsByName(method, {{"КлассАрматурнойСтали", uint8_t{3}},
                                                            {"КлассБетона", 25.0f},
                                                            {"N", 1.0},
                                                            {"M", 0.1},
                                                            {"ДиаметрНаружний", 0.6},
                                                            {"ДиаметрКаркаса", 0.5},
                                                            {"ns", int32_t{12}},
                                                            {"ds", 16.0}}));
  for (auto _ : state) {
    const InteractionCurve curve = ComputeCurve(check, 100);
    benchmark::DoNotOptimize(DiagramSvg(curve, check.Acting(), {}, method.name));
  }
}
BENCHMARK(BM_DiagramOfACircularSection200Points)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace armocalc::cli
