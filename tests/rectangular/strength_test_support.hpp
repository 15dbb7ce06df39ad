#pragma once
// Helpers of the strength tests: the arguments of both strength methods with the defaults of the
// interface, report files in a scratch folder, and expected reports built line by line from the
// report texts and rounded the way every report is.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "kernel/report.hpp"
#include "kernel/row_list.hpp"
#include "rectangular/strength.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc::strength_test {

// Every argument of мтПрочностьB with the defaults of the interface; a B25 section 1 m wide and
// 0.5 m high with 10 cm² of A-III steel at the top and 20 cm² at the bottom, 5 cm from the faces.
struct Вход {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 0;
  double M = 0;
  double Fв = 10;
  double Fн = 20;
  double ав = 0.05;
  double ан = 0.05;
  double h = 0.5;
  double B = 1;
  bool СМИ = false;
  bool вертикально = false;
  bool север = false;
  bool водонасыщение = false;
  bool заморозки = false;
  bool солнце = false;
  bool жд = false;
  double Nl = 0;
  double Ml = 0;
  double L = -1;
  double Z = -1;
  int32_t закрепления = 12;
  double s = -1;
  double dx = -1;
  double dy = -1;
  double nx = -1;
  double ny = -1;
  uint8_t метод = 3;
  std::string отчёт;

  Variant Вызвать(Отчёт* собранный = nullptr) {
    return мтПрочность(класс_стали, класс_бетона, N, M, Fв, Fн, ав, ан, h, B, СМИ, вертикально,
                       север, водонасыщение, заморозки, солнце, жд, Nl, Ml, L, Z, закрепления, s,
                       dx, dy, nx, ny, метод, отчёт, собранный);
  }
  double Запас() { return Вызвать().Get<double>(); }
  // The report lines as the call collects them (rounded), without a file.
  std::vector<std::string> Строки() {
    Отчёт собранный("", true);
    Вызвать(&собранный);
    return собранный.List().Строки();
  }
};

// Every argument of мтПрочностьТB; omitted optionals as the interface passes them.
struct ВходТ {
  uint8_t класс_стали = 3;
  float класс_бетона = 25;
  double N = 0;
  double M = 0;
  double B = 1;
  double h = 0.5;
  std::shared_ptr<GridRange> таблица;
  bool вертикально = false;
  bool север = false;
  bool водонасыщение = false;
  bool заморозки = false;
  bool солнце = false;
  bool жд = false;
  double Nl = 0;
  double Ml = 0;
  double L = 0;
  double Z = -1;
  int32_t закрепления = 12;
  double s = 0;
  double dx = 0;
  double dy = 0;
  double nx = 0;
  double ny = 0;
  uint8_t метод = 3;
  std::string отчёт;

  Variant Вызвать(Отчёт* собранный = nullptr) {
    return мтПрочностьТ(класс_стали, класс_бетона, N, M, B, h, *таблица, вертикально, север,
                        водонасыщение, заморозки, солнце, жд, Nl, Ml, L, Z, закрепления, s, dx, dy,
                        nx, ny, метод, отчёт, собранный);
  }
  double Запас() { return Вызвать().Get<double>(); }
  std::vector<std::string> Строки() {
    Отчёт собранный("", true);
    Вызвать(&собранный);
    return собранный.List().Строки();
  }
};

// A bar table: one row per bar (x, y in m, diameter in mm).
inline std::shared_ptr<GridRange> ТаблицаСтержней(const std::vector<std::vector<Variant>>& rows) {
  return std::make_shared<GridRange>(rows);
}

// A report path in a scratch folder; the file does not exist yet.
inline std::string ПутьОтчёта(const std::string& имя) {
  const std::filesystem::path папка =
      std::filesystem::path(::testing::TempDir()) / "armocalc_rectangular";
  std::filesystem::create_directories(папка);
  const std::filesystem::path путь = папка / (имя + ".txt");
  std::filesystem::remove(путь);
  return путь.string();
}

inline bool ФайлЕсть(const std::string& путь) {
  return std::filesystem::exists(путь);
}

// The lines of a report file (UTF-8 under the test's encoding), each ended by CR LF.
inline std::vector<std::string> ПрочитатьОтчёт(const std::string& путь) {
  std::ifstream файл(путь, std::ios::binary);
  const std::string текст{std::istreambuf_iterator<char>(файл), std::istreambuf_iterator<char>()};
  std::vector<std::string> строки;
  size_t начало = 0;
  while (начало < текст.size()) {
    const size_t конец = текст.find("\r\n", начало);
    if (конец == std::string::npos) {
      ADD_FAILURE() << "the last line is not ended by CR LF";
      строки.push_back(текст.substr(начало));
      break;
    }
    строки.push_back(текст.substr(начало, конец - начало));
    начало = конец + 2;
  }
  return строки;
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
    отчёт_.List().ОкруглитьЧисловыеЗначения(4, 1, РазделительДробнойЧасти());
    return отчёт_.List().Строки();
  }

 private:
  Отчёт отчёт_;
};

// Report lines of section 1 and the heading of section 2 of the area method.
inline void ИсходныеДанные(ОжидаемыйОтчёт& ожидаемый, const Вход& в) {
  ожидаемый.Add(
      "Расчет запаса по прочности в процентах прямоугольного ж/б элемента без учета предварительно "
      "напряженной арматуры, согласно СНиП 2.05.03-84*");
  ожидаемый.Add("1. Исходные данные:");
  ожидаемый.Add("\tПродольная ", в.N < 0 ? "растягивающая" : "сжимающая", " сила (N): ", в.N,
                " МН");
  ожидаемый.Add("\tИзгибающий момент (M), растягивающий ", в.M < 0 ? "верхнюю" : "нижнюю",
                " арматуру: ", в.M, " МН*м");
  ожидаемый.Add("\tКласс арматурной стали: А", std::string(в.класс_стали, 'I'));
  ожидаемый.Add("\tКласс бетона: B", в.класс_бетона);
  ожидаемый.Add("\tВысота расчетного сечения(h): ", в.h, " м");
  ожидаемый.Add("\tШирина расчетного сечения(b): ", в.B, " м");
  ожидаемый.Add(
      "\tСумма площадей поперечного сечения верхней арматуры, уместившейся на всей ширине "
      "расчетного "
      "сечения (Fв): ",
      в.Fв, " кв.см");
  ожидаемый.Add(
      "\tСумма площадей поперечного сечения нижней арматуры, уместившейся на всей ширине "
      "расчетного "
      "сечения (Fн): ",
      в.Fн, " кв.см");
  ожидаемый.Add("\tРасстояние от центра тяжести верхней арматуры до края сечения (ав): ", в.ав,
                " м");
  ожидаемый.Add("\tРасстояние от центра тяжести нижней арматуры до края сечения (ан): ", в.ан,
                " м");
  ожидаемый.Add("\t(Дополнительные данные будут объявляться в ходе расчёта)");
  ожидаемый.Add("2. Расчет и уточнение характеристик арматуры и бетона:");
}

// Lines equal one by one (a readable failure names the first line that differs).
inline void ОжидатьСтроки(const std::vector<std::string>& фактические,
                          const std::vector<std::string>& ожидаемые) {
  const size_t общих = std::min(фактические.size(), ожидаемые.size());
  for (size_t i = 0; i < общих; ++i) {
    ASSERT_EQ(фактические[i], ожидаемые[i]) << "line " << i;
  }
  EXPECT_EQ(фактические.size(), ожидаемые.size());
}

// The expected block of lines (line 0 of the expected list left out) stands in the report as
// consecutive lines.
inline void ОжидатьБлок(const std::vector<std::string>& фактические,
                        const std::vector<std::string>& ожидаемые) {
  ASSERT_GT(ожидаемые.size(), 1u);
  const auto начало = std::find(фактические.begin(), фактические.end(), ожидаемые[1]);
  ASSERT_NE(начало, фактические.end()) << "missing: " << ожидаемые[1];
  auto строка = начало;
  for (size_t i = 1; i < ожидаемые.size(); ++i, ++строка) {
    ASSERT_NE(строка, фактические.end()) << "missing: " << ожидаемые[i];
    EXPECT_EQ(*строка, ожидаемые[i]);
  }
}

// A text as the rounding pass of a report leaves it ("п. 3.70*" reads "п. 3.7*").
inline std::string Округлённый(const std::string& текст) {
  vbСписок список;
  список.ВставитьСтроку(текст, -1);
  список.ОкруглитьЧисловыеЗначения(4, 1, РазделительДробнойЧасти());
  return список.ПолучитьСтроку(1);
}

// Report lines that begin with the text (rounded as the report is).
inline int СколькоСтрок(const std::vector<std::string>& строки, const std::string& начало) {
  const std::string образец = Округлённый(начало);
  int число = 0;
  for (const std::string& строка : строки) {
    if (строка.rfind(образец, 0) == 0) ++число;
  }
  return число;
}

inline bool ЕстьСтрока(const std::vector<std::string>& строки, const std::string& начало) {
  return СколькоСтрок(строки, начало) > 0;
}

// UTF-8 reports and the point as the decimal separator for the span of a test.
class StrengthTest : public ::testing::Test {
 protected:
  ScopedDecimalSeparator разделитель_{"."};
  ScopedReportEncoding кодировка_{ReportEncoding::Utf8};
};

}  // namespace armocalc::strength_test
