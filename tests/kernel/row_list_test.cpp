#include "kernel/row_list.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "runtime/number_text.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

vbСписок ListOf(std::initializer_list<const char*> lines) {
  vbСписок list;
  for (const char* line : lines) list.ВставитьСтроку(line, -1);
  return list;
}

TEST(RowList, NewListHoldsOneEmptyLine) {
  vbСписок list;
  EXPECT_EQ(list.КоличествоСтрок(), 1);
  EXPECT_EQ(list.ПолучитьСтроку(0), "");
  list.ВставитьСтроку("текст", -1);
  EXPECT_EQ(list.КоличествоСтрок(), 2);
  EXPECT_EQ(list.ПолучитьСтроку(1), "текст");
  list.Очистить();
  EXPECT_EQ(list.Строки(), std::vector<std::string>{""});
}

TEST(RowList, InsertInsideAppendsOrDoesNothingBeyondTheEnd) {
  vbСписок list = ListOf({"a", "b"});
  list.ВставитьСтроку("x", 5);
  list.ВставитьСтроку("y", 3);
  EXPECT_EQ(list.КоличествоСтрок(), 3);
  list.ВставитьСтроку("first", 0);
  list.ВставитьСтроку("middle", 2);
  EXPECT_EQ(list.Строки(), (std::vector<std::string>{"first", "", "middle", "a", "b"}));
}

TEST(RowList, DeleteRemovesOrIgnoresOutOfRange) {
  vbСписок list = ListOf({"a", "b"});
  list.УдалитьСтроку(-1);
  list.УдалитьСтроку(3);
  list.УдалитьСтроку(1);
  EXPECT_EQ(list.Строки(), (std::vector<std::string>{"", "b"}));
}

TEST(RowList, DeletingTheOnlyLineIsASubscriptError) {
  vbСписок list;
  list.ВставитьСтроку("only", 0);
  list.УдалитьСтроку(1);
  EXPECT_EQ(list.КоличествоСтрок(), 1);
  EXPECT_RUNTIME_ERROR(list.УдалитьСтроку(0), kSubscriptOutOfRange);
  EXPECT_EQ(list.Строки(), std::vector<std::string>{"only"});
  list.УдалитьСтроку(5);  // out of range: nothing, no error
}

TEST(RowList, GetOutsideTheListGivesEmptyText) {
  vbСписок list = ListOf({"a"});
  EXPECT_EQ(list.ПолучитьСтроку(-1), "");
  EXPECT_EQ(list.ПолучитьСтроку(2), "");
  EXPECT_EQ(list.ПолучитьСтроку(1), "a");
}

TEST(RowList, FindSearchesTheRangeCaseSensitively) {
  vbСписок list = ListOf({"Расчет", "N = 5", "расчет N"});
  EXPECT_EQ(list.Найти("расчет", 0, -1), 3);
  EXPECT_EQ(list.Найти("N", 0, -1), 2);
  EXPECT_EQ(list.Найти("N", 3, 3), 3);
  EXPECT_EQ(list.Найти("N", 0, 1), 0);
  EXPECT_EQ(list.Найти("нет", 0, -1), 0);
  EXPECT_EQ(list.Найти("N", -1, -1), 0);
  EXPECT_EQ(list.Найти("N", 0, 4), 0);
  EXPECT_EQ(list.Найти("N", 3, 1), 0);
}

TEST(RowListSort, OrdersByCodePageCodesKeepingLineZero) {
  vbСписок list = ListOf({"б", "Б", "b", "abc", "B", "а", "ab", "a"});
  list.ВставитьСтроку("zero", 0);
  list.УдалитьСтроку(1);
  list.Сортировать();
  EXPECT_EQ(list.Строки(),
            (std::vector<std::string>{"zero", "B", "a", "ab", "abc", "b", "Б", "а", "б"}));
}

TEST(RowListSort, AgreesWithByteOrderOfTheCodePage) {
  std::mt19937 random(3);
  const std::vector<std::string> letters{"a", "b", "B", "я", "Я", "ё", "1", " "};
  for (int round = 0; round < 200; ++round) {
    std::vector<std::string> lines{""};
    const int count = 2 + static_cast<int>(random() % 12);
    for (int i = 0; i < count; ++i) {
      std::string line;
      const int length = 1 + static_cast<int>(random() % 5);
      for (int k = 0; k < length; ++k) line += letters[random() % letters.size()];
      lines.push_back(line);
    }
    std::vector<std::string> expected = lines;
    std::sort(expected.begin() + 1, expected.end(), [](const std::string& a, const std::string& b) {
      const std::string ka = Utf8ToCp1251(a), kb = Utf8ToCp1251(b);
      return std::lexicographical_compare(
          ka.begin(), ka.end(), kb.begin(), kb.end(), [](char x, char y) {
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
          });
    });
    vbСписок::СортироватьМассив(lines);
    ASSERT_EQ(lines, expected);
  }
}

TEST(RowListSort, ColumnCounterOverflowsBeyond32767Columns) {
  std::vector<std::string> lines{"", std::string(32768, 'a'), std::string(32768, 'a')};
  EXPECT_RUNTIME_ERROR(vbСписок::СортироватьМассив(lines), kOverflow);
  std::vector<std::string> shorter{"", std::string(300, 'b'), std::string(300, 'a')};
  vbСписок::СортироватьМассив(shorter);
  EXPECT_EQ(shorter[1], std::string(300, 'a'));
}

TEST(Rounding, HalfUpHalfEvenAndTruncation) {
  EXPECT_EQ(vbСписок::Округлить(2.5, 1, 1), 3.0);
  EXPECT_EQ(vbСписок::Округлить(2.5, 1, 2), 2.0);
  EXPECT_EQ(vbСписок::Округлить(3.5, 1, 2), 4.0);
  EXPECT_EQ(vbСписок::Округлить(2.51, 1, 2), 2.0);  // only the first dropped digit decides
  EXPECT_EQ(vbСписок::Округлить(2.6, 1, 2), 3.0);
  EXPECT_EQ(vbСписок::Округлить(-2.5, 1, 1), -3.0);
  EXPECT_EQ(vbСписок::Округлить(2.99, 1, 0), 2.0);
  EXPECT_DOUBLE_EQ(vbСписок::Округлить(123.456789, 4, 1), 123.5);
  EXPECT_EQ(vbСписок::Округлить(0.0, 4, 1), 0.0);
}

TEST(Rounding, HalfEvenOverflowsWhenTheKeptDigitsExceedALong) {
  EXPECT_EQ(vbСписок::Округлить(3e16, 4, 1), 3e16);
  EXPECT_RUNTIME_ERROR(vbСписок::Округлить(3e16, 4, 2), kOverflow);
  EXPECT_RUNTIME_ERROR(vbСписок::Округлить(1e300, 255, 1), kOverflow);
}

TEST(Rounding, StepKeepsTheSignificantDigits) {
  EXPECT_EQ(vbСписок::ШагОкругления(12345, 4), 10.0);
  EXPECT_EQ(vbСписок::ШагОкругления(1000, 4), 0.1);
  EXPECT_EQ(vbСписок::ШагОкругления(1000.5, 4), 1.0);
  EXPECT_EQ(vbСписок::ШагОкругления(0.000123456, 4), 1e-7);
  EXPECT_EQ(vbСписок::ШагОкругления(5e12, 4), 1e7);
  EXPECT_EQ(vbСписок::ШагОкругления(0, 4), 1e-10);
  EXPECT_EQ(vbСписок::ШагОкругления(1e-10, 2), 1e-10);
  EXPECT_EQ(vbСписок::ШагОкругления(-5, 4), 1e-10);
}

// The step as the scan over k = -10 … 10 finds it.
double ScannedStep(double x, int digits) {
  auto power = [](int e) { return std::strtod(("1e" + std::to_string(e)).c_str(), nullptr); };
  for (int k = -10; k <= 10; ++k) {
    if (power(-k) < x) return power(1 - k - digits);
  }
  return 1e-10;
}

TEST(Rounding, StepAgreesWithTheScanOfPowersOfTen) {
  std::vector<double> values{0.0, -1.0, 1e-300, 5e300};
  for (int e = -12; e <= 12; ++e) {
    const double power = std::strtod(("1e" + std::to_string(e)).c_str(), nullptr);
    for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300), 2 * power,
                     9.999 * power, 3.3 * power}) {
      values.push_back(v);
    }
  }
  std::mt19937_64 random(5);
  std::uniform_real_distribution<double> exponent(-13.0, 13.0);
  for (int i = 0; i < 20000; ++i) values.push_back(std::pow(10.0, exponent(random)));
  for (double x : values) {
    for (int digits : {0, 1, 4, 15, 255}) {
      ASSERT_EQ(vbСписок::ШагОкругления(x, static_cast<uint8_t>(digits)), ScannedStep(x, digits))
          << x << " " << digits;
    }
  }
}

std::string RoundLine(const std::string& line, std::string_view separator, uint8_t method = 1,
                      uint8_t digits = 4) {
  vbСписок list;
  list.ВставитьСтроку(line, -1);
  list.ОкруглитьЧисловыеЗначения(digits, method, separator);
  return list.ПолучитьСтроку(1);
}

TEST(RoundingPass, WritesWhatTheConversionsOfTheRoundedValueWrite) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 100000; ++i) {
    std::string number;
    const int integer_digits = 1 + static_cast<int>(random() % 18);
    for (int k = 0; k < integer_digits; ++k) number += static_cast<char>('0' + random() % 10);
    if (random() % 3 != 0) {
      number += ',';
      const int decimals = 1 + static_cast<int>(random() % 25);
      for (int k = 0; k < decimals; ++k) number += static_cast<char>('0' + random() % 10);
    }
    const auto digits = static_cast<uint8_t>(1 + random() % 16);
    const auto method = static_cast<uint8_t>(random() % 3);
    double rounded = 0.0;
    try {
      rounded = vbСписок::Округлить(*ParseNumber(number, ","), digits, method);
    } catch (const RuntimeError& error) {  // half-even beyond a Long
      EXPECT_RUNTIME_ERROR(RoundLine(number, ",", method, digits), error.Number());
      continue;
    }
    ASSERT_EQ(RoundLine(number, ",", method, digits), DoubleText(rounded, ",")) << number;
  }
}

TEST(RoundingPass, CommaSeparator) {
  EXPECT_EQ(RoundLine("x = 123,456789 м", ","), "x = 123,5 м");
  EXPECT_EQ(RoundLine("0,000123456", ","), "0,0001235");
  EXPECT_EQ(RoundLine("12345", ","), "12350");
  EXPECT_EQ(RoundLine("12345, далее", ","), "12350, далее");
  EXPECT_EQ(RoundLine("1,25, 2,05,03", ","), "1,25, 2,05,03");
  EXPECT_EQ(RoundLine("СНиП 2.05.03-84*", ","), "СНиП 2.5.3-84*");
  EXPECT_EQ(RoundLine("\tN = -2,55555 МН", ","), "\tN = -2,556 МН");
  EXPECT_EQ(RoundLine("1,23456789E+20", ","), "1,235E+20");
  EXPECT_EQ(RoundLine("0,00001", ","), "1E-05");
  EXPECT_EQ(RoundLine("2,5", ",", 2), "2,5");
  EXPECT_EQ(RoundLine("2,55555", ",", 2), "2,556");
}

// The rule divides doubles: 0,285 / 0,01 is 28,499999999999996, so its first dropped digit is 4;
// 2,345 / 0,01 is 234,50000000000003, a 5 after an even kept count; 0,29 / 0,01 is
// 28,999999999999996, which truncation keeps as 28.
TEST(RoundingPass, RoundsAsTheDivisionOfDoublesDoesNextToAThreshold) {
  EXPECT_EQ(RoundLine("0,285 0,295 0,2851", ",", 1, 2), "0,28 0,29 0,29");
  EXPECT_EQ(RoundLine("2,345 2,355 2,3451", ",", 2, 3),
            "2,34 2,36 2,34");  // only the first dropped digit counts
  EXPECT_EQ(RoundLine("0,29 0,57 1,13 1,15", ",", 0, 2), "0,28 0,56 1,1 1,1");
  EXPECT_EQ(RoundLine("0,29 0,57", ",", 1, 2), "0,29 0,57");
}

TEST(RoundingPass, PointSeparator) {
  EXPECT_EQ(RoundLine("СНиП 2.05.03-84*", "."), "СНиП 2.05.03-84*");
  EXPECT_EQ(RoundLine("x = 123.456789 м.", "."), "x = 123.5 м.");
  EXPECT_EQ(RoundLine("Rb = 13.05 * 0.9 = 11.7456", "."), "Rb = 13.05 * 0.9 = 11.75");
}

TEST(RoundingPass, UnusualSeparators) {
  EXPECT_EQ(RoundLine("x = 123,456789", ""), "x = 123,456789");
  EXPECT_EQ(RoundLine("x = 123,456789", "5"), "x = 123,456789");
  EXPECT_EQ(RoundLine("x = 123٫456789", "٫"), "x = 123٫5");
  EXPECT_EQ(RoundLine("12345::678", "::"), "12350::678");
}

TEST(RoundingPass, LineZeroIsLeftAlone) {
  vbСписок list;
  list.ВставитьСтроку("123,456789", 0);
  list.ВставитьСтроку("123,456789", -1);
  list.ОкруглитьЧисловыеЗначения(4, 1, ",");
  EXPECT_EQ(list.Строки(), (std::vector<std::string>{"123,456789", "", "123,5"}));
}

TEST(RoundingPass, NumberBeyondTheDoubleRangeOverflows) {
  EXPECT_RUNTIME_ERROR(RoundLine(std::string(400, '9'), ","), kOverflow);
}

TEST(Cp1251, ConvertsCyrillicBothWays) {
  const std::string utf8 = "Расчёт № 1 — «АIII» ЁёЎў€";
  const std::string cp1251 = Utf8ToCp1251(utf8);
  EXPECT_EQ(cp1251.size(), CharacterCount(utf8));
  EXPECT_EQ(cp1251.substr(0, 3), "\xD0\xE0\xF1");
  EXPECT_EQ(Cp1251ToUtf8(cp1251), utf8);
  std::string every_byte;
  for (int b = 0; b < 256; ++b) every_byte += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(every_byte)), every_byte);
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a→b 漢"), "a?b ?");
  EXPECT_EQ(Utf8ToCp1251("\xFF\xC3x"), "??x");
  EXPECT_EQ(CharacterCount("абвг"), 4u);
}

}  // namespace
}  // namespace armocalc
