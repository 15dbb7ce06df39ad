// The last steps of every report on a report of about 5 MB: the rounding pass (with a comma and
// with a point as the decimal separator), the CP1251 encoding and the whole file write, each
// alone and all in the one pass a finished report takes.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/row_list.hpp"
#include "runtime/cp1251.hpp"
#include "runtime/number_text.hpp"

namespace armocalc {
namespace {

constexpr size_t kReportBytes = 5u << 20;

// Values as the routines write them: full precision, every magnitude from 1e-7 to 1e17 (so
// some in exponent form), some negative, some whole, some repeated inputs.
class ReportNumbers {
 public:
  explicit ReportNumbers(std::string_view separator) : separator_(separator) {}

  std::string Next() {
    const uint64_t kind = random_() % 8;
    double value = 0.0;
    if (kind == 0) {
      value = static_cast<double>(random_() % 2000);  // counts, classes, whole forces
    } else if (kind == 1) {
      value = kInputs[random_() % std::size(kInputs)];
    } else {
      const double fraction = static_cast<double>(random_() >> 11) * 0x1p-53;
      value = fraction * std::pow(10.0, static_cast<int>(random_() % 25) - 7);
      if (kind == 2) value = -value;
    }
    return DoubleText(value, separator_);
  }

 private:
  static constexpr double kInputs[] = {7351.5,    300.0,     1.2,      0.05, 3.14159265358979,
                                       0.1 + 0.2, 2.0 / 3.0, 196000.0, 27.5, 1e-30};
  std::string separator_;
  std::mt19937_64 random_{2024};
};

std::string ReportLine(size_t i, ReportNumbers& n, std::string_view separator) {
  switch (i % 6) {
    case 0:
      return "\tk = (N / 1000 + k1 * Rs * Astot + Rb * Ab * (Sin(2 * P * k) / (2 * P))) / (Rb * "
             "Ab + k2 * Rs * Astot) = (" +
             n.Next() + " / 1000 + " + n.Next() + " * " + n.Next() + " * " + n.Next() + " + " +
             n.Next() + " * " + n.Next() + " * (Sin(2 * " + n.Next() + " * " + n.Next() +
             ") / (2 * " + n.Next() + "))) / (" + n.Next() + " * " + n.Next() + " + " + n.Next() +
             " * " + n.Next() + " * " + n.Next() + ") = " + n.Next();
    case 1:
      return "\tПродольная сжимающая сила (N): " + n.Next() + " кН";
    case 2:
      return "\tsigma(" + std::to_string(i % 1001) + ") = " + n.Next() + " * " + n.Next() + " / " +
             n.Next() + " = " + n.Next() + " МПа (п. 3.2" + std::string(separator) +
             "4, СНиП 2.05.03-84*)";
    case 3:
      return "\tКласс бетона: B27" + std::string(separator) + "5, арматура АIII";
    case 4:
      return "\tx = (" + n.Next() + " - " + n.Next() + ") / " + n.Next() + " = " + n.Next() +
             " м — высота сжатой зоны";
    default:
      return "3. Запас по прочности: " + n.Next() + "%";
  }
}

vbСписок Report(std::string_view separator) {
  ReportNumbers numbers(separator);
  vbСписок list;
  list.ВставитьСтроку("Расчет по прочности (СНиП 2.03.01-84*, п.3.42)");
  size_t bytes = 0;
  for (size_t i = 0; bytes < kReportBytes; ++i) {
    std::string line = ReportLine(i, numbers, separator);
    bytes += line.size() + 2;
    list.ВставитьСтроку(std::move(line));
  }
  return list;
}

int64_t TextBytes(const vbСписок& list) {
  int64_t bytes = 0;
  for (const std::string& line : list.Строки()) bytes += static_cast<int64_t>(line.size());
  return bytes;
}

void BM_RoundingPass5MB(benchmark::State& state, std::string_view separator) {
  const vbСписок report = Report(separator);
  for (auto _ : state) {
    state.PauseTiming();
    vbСписок copy = report;
    state.ResumeTiming();
    copy.ОкруглитьЧисловыеЗначения(4, 1, separator);
    benchmark::DoNotOptimize(copy);
  }
  state.SetBytesProcessed(state.iterations() * TextBytes(report));
}
BENCHMARK_CAPTURE(BM_RoundingPass5MB, Comma, std::string_view(","))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RoundingPass5MB, Point, std::string_view("."))->Unit(benchmark::kMillisecond);

std::string RoundedText(std::string_view separator) {
  vbСписок report = Report(separator);
  report.ОкруглитьЧисловыеЗначения(4, 1, separator);
  std::string text;
  for (const std::string& line : report.Строки()) text += line + "\r\n";
  return text;
}

void BM_Cp1251Of5MB(benchmark::State& state) {
  const std::string text = RoundedText(",");
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToCp1251(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_Cp1251Of5MB)->Unit(benchmark::kMillisecond);

// The file write of a rounded 5 MB report: joining, CP1251 and the file itself.
void BM_WriteReport5MB(benchmark::State& state) {
  vbСписок report = Report(",");
  report.ОкруглитьЧисловыеЗначения(4, 1, ",");
  const std::string path =
      (std::filesystem::temp_directory_path() / "armocalc_bench_report.txt").string();
  for (auto _ : state) report.Выгрузить(path);
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * TextBytes(report));
}
BENCHMARK(BM_WriteReport5MB)->Unit(benchmark::kMillisecond);

// The end of a report-writing call on the 5 MB report: rounded, encoded and written in one pass.
void BM_RoundedWrite5MB(benchmark::State& state, std::string_view separator) {
  const vbСписок report = Report(separator);
  const std::string path =
      (std::filesystem::temp_directory_path() / "armocalc_bench_rounded.txt").string();
  for (auto _ : state) report.WriteRounded(path, 4, 1, separator);
  std::filesystem::remove(path);
  state.SetBytesProcessed(state.iterations() * TextBytes(report));
}
BENCHMARK_CAPTURE(BM_RoundedWrite5MB, Comma, std::string_view(","))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RoundedWrite5MB, Point, std::string_view("."))->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace armocalc
