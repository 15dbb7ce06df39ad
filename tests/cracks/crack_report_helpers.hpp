#pragma once
// Helpers of the crack tests: report files in a scratch folder, expected reports built line by
// line and rounded the way every report is, and bar tables held in memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "kernel/report.hpp"
#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/host.hpp"

namespace armocalc::test {

// A report path in a fresh scratch folder; the file does not exist yet.
inline std::string ScratchReportPath(const std::string& name) {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / "armocalc_cracks";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / (name + ".txt");
  std::filesystem::remove(path);
  return path.string();
}

inline bool FileExists(const std::string& path) {
  return std::filesystem::exists(path);
}

// The report's lines; the piece after the file's final line break is not a line of the report.
inline std::vector<std::string> ReadReport(const std::string& path) {
  vbСписок list;
  list.Загрузить(path);
  std::vector<std::string> lines = list.Строки();
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The expected report: lines added as the routine adds them, then rounded as the report is.
class ExpectedReport {
 public:
  ExpectedReport() : report_("", true) {}
  template <class... Parts>
  void Add(const Parts&... parts) {
    report_.Add(parts...);
  }
  std::vector<std::string> Lines() {
    report_.List().ОкруглитьЧисловыеЗначения(4, 1, ",");
    return report_.List().Строки();
  }

 private:
  Отчёт report_;
};

// Every expected line appears in the actual report, in the same order.
inline void ExpectLinesInOrder(const std::vector<std::string>& actual,
                               const std::vector<std::string>& expected) {
  size_t at = 0;
  for (size_t i = 1; i < expected.size(); ++i) {  // line 0 is the list's own empty line
    while (at < actual.size() && actual[at] != expected[i]) ++at;
    EXPECT_LT(at, actual.size()) << "missing or out of order: " << expected[i];
    if (at == actual.size()) return;
    ++at;
  }
}

// The report equals the expected one line by line (differences reported one line at a time).
inline void ExpectSameLines(const std::vector<std::string>& actual,
                            const std::vector<std::string>& expected) {
  EXPECT_EQ(actual.size(), expected.size());
  const size_t common = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < common; ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "line " << i;
  }
}

inline bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

// A bar table: one row per bar (x, y in m, diameter in mm); an Empty diameter is an empty row.
inline std::shared_ptr<GridRange> BarTable(const std::vector<std::vector<Variant>>& rows) {
  return std::make_shared<GridRange>(rows);
}

}  // namespace armocalc::test
