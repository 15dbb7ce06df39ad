#pragma once
// Helpers of the inclined-section tests: the arguments of мтХомуты with the interface's defaults,
// report files in a scratch folder and read back line by line.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "shear/stirrups.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc::shear_test {

// Every argument of мтХомуты with the interface's defaults: a B25 section 1 m wide with
// ho = 0.9 m, A-I stirrups of 10 mm at 0.15 m across and 0.2 m along the element, Q = 0.3 MN.
struct ВходХомутов {
  uint8_t класс_стали = 1;
  float класс_бетона = 25;
  double Q = 0.3;
  double B = 1;
  double ho = 0.9;
  double s_wx = 0.15;
  double s_wz = 0.2;
  double dw_mm = 10;
  double h = 0;
  double M = 0;
  double Qн = 0;
  double Awr_sm2 = 0;
  uint8_t класс_продольной = 3;
  bool жд = false;
  uint8_t метод = 3;
  std::string отчёт;
  double C_max = 0;

  double Вызвать() {
    return мтХомуты(класс_стали, класс_бетона, Q, B, ho, s_wx, s_wz, dw_mm, h, M, Qн, Awr_sm2,
                    класс_продольной, жд, метод, отчёт, C_max);
  }
};

// A report path in a fresh scratch folder; the file does not exist yet.
inline std::string ScratchReportPath(const std::string& name) {
  const std::filesystem::path folder =
      std::filesystem::path(::testing::TempDir()) / "armocalc_shear";
  std::filesystem::create_directories(folder);
  const std::filesystem::path path = folder / (name + ".txt");
  std::filesystem::remove(path);
  return path.string();
}

// The report's lines; the piece after the file's final line break is not a line of the report.
inline std::vector<std::string> ReadReport(const std::string& path) {
  vbСписок list;
  list.Загрузить(path);
  std::vector<std::string> lines = list.Строки();
  if (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

// The report of one call, written with the given decimal separator.
inline std::vector<std::string> ReportOf(ВходХомутов вход, const std::string& name,
                                         const std::string& separator) {
  const ScopedDecimalSeparator разделитель(separator);
  вход.отчёт = ScratchReportPath(name);
  вход.Вызвать();
  return ReadReport(вход.отчёт);
}

// The first line that starts with `prefix`, or an empty text.
inline std::string LineStartingWith(const std::vector<std::string>& lines,
                                    const std::string& prefix) {
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0) return line;
  }
  return "";
}

}  // namespace armocalc::shear_test
