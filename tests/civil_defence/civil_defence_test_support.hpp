#pragma once
// Helpers of the civil-defence tests: the arguments of both methods with the defaults of the
// interface, report files in a scratch folder, and expected reports built line by line and
// rounded the way every report is.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "civil_defence/dynamic_strength.hpp"
#include "civil_defence/punching.hpp"
#include "kernel/report.hpp"
#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc::civil_test {

// Every argument of гПрочностьГОB with the defaults of the interface; a B25 section 1 m wide and
// 0.5 m high with 10 cm² of A-III steel at the top and 20 cm² at the bottom, 5 cm from the faces.
struct ВходГО {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 0;
  double M = 0.2;
  double h = 0.5;
  double Fв = 10;
  double Fн = 20;
  double ав = 0.05;
  double ан = 0.05;
  double B = 1;
  double L = 0;
  int32_t U = 12;
  double Nl = 0;
  uint8_t класс_убежища = 4;
  bool Iб = false;
  bool тепловая = false;
  bool нарастание = false;
  bool заводское = false;
  int32_t водонасыщение = 1;
  int16_t температура = 0;
  uint8_t метод = 3;
  std::string отчёт;

  double Запас() {
    return гПрочностьГО(класс_стали, класс_бетона, N, M, h, Fв, Fн, ав, ан, B, L, U, Nl,
                        класс_убежища, Iб, тепловая, нарастание, заводское, водонасыщение,
                        температура, метод, отчёт);
  }
};

// Every argument of гПродавливаниеB: a B25 slab 0.25 m deep under a 0.3 × 0.4 m column.
struct ВходПродавливания {
  float класс_бетона = 25;
  double N = 400;
  double ho = 0.25;
  double h = 0.3;
  double B = 0.4;
  uint8_t диаметр = 0;
  double шаг = 0;
  uint8_t угол = 45;
  uint8_t метод = 3;
  std::string отчёт;

  double Запас() {
    return гПродавливание(класс_бетона, N, ho, h, B, диаметр, шаг, угол, метод, отчёт);
  }
};

// A report path in a scratch folder; the file does not exist yet.
inline std::string ПутьОтчёта(const std::string& имя) {
  const std::filesystem::path папка =
      std::filesystem::path(::testing::TempDir()) / "armocalc_civil_defence";
  std::filesystem::create_directories(папка);
  const std::filesystem::path путь = папка / (имя + ".txt");
  std::filesystem::remove(путь);
  return путь.string();
}

inline bool ФайлЕсть(const std::string& путь) {
  return std::filesystem::exists(путь);
}

// The report's lines; the piece after the file's final line break is not a line of the report.
inline std::vector<std::string> ПрочитатьОтчёт(const std::string& путь) {
  vbСписок список;
  список.Загрузить(путь);
  std::vector<std::string> строки = список.Строки();
  if (!строки.empty() && строки.back().empty()) строки.pop_back();
  return строки;
}

inline size_t СколькоСтрок(const std::vector<std::string>& строки, const std::string& начало) {
  return static_cast<size_t>(std::count_if(
      строки.begin(), строки.end(), [&](const std::string& s) { return s.rfind(начало, 0) == 0; }));
}

// The first line that starts with `начало`, or an empty text.
inline std::string СтрокаНа(const std::vector<std::string>& строки, const std::string& начало) {
  for (const std::string& строка : строки) {
    if (строка.rfind(начало, 0) == 0) return строка;
  }
  return {};
}

// The expected report: lines added as the routine adds them, then rounded as the report is.
class ОжидаемыйОтчёт {
 public:
  ОжидаемыйОтчёт() : отчёт_("", true) {}
  template <class... Parts>
  void Add(const Parts&... parts) {
    отчёт_.Add(parts...);
  }
  std::vector<std::string> Строки() {
    отчёт_.List().ОкруглитьЧисловыеЗначения(4, 1, ".");
    return отчёт_.List().Строки();
  }

 private:
  Отчёт отчёт_;
};

// The report equals the expected one line by line (differences reported one line at a time).
inline void ExpectSameLines(const std::vector<std::string>& actual,
                            const std::vector<std::string>& expected) {
  EXPECT_EQ(actual.size(), expected.size());
  const size_t common = std::min(actual.size(), expected.size());
  for (size_t i = 0; i < common; ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "line " << i;
  }
}

// UTF-8 reports and the point as the decimal separator for the span of a test.
class CivilDefenceTest : public ::testing::Test {
 protected:
  ScopedDecimalSeparator разделитель_{"."};
  ScopedReportEncoding кодировка_{ReportEncoding::Utf8};
};

}  // namespace armocalc::civil_test
