// The amount in words: the word lists and scale words, the kopeck word, zero and negative
// amounts, what is not a number, the largest amount that fits, the separator of the regional
// settings read on every call, and the capital letter made by the host.

#include "words/number_in_words.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc {
namespace {

// The regional setting stands in for the registry value; every read is counted.
class NumberInWords : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDecimalSeparatorSource([this] {
      ++reads;
      return setting;
    });
  }
  void TearDown() override { SetDecimalSeparatorSource(nullptr); }

  static GridRange Cell(Variant value) { return GridRange({{std::move(value)}}); }
  static std::string Words(Variant value) {
    GridRange cell = Cell(std::move(value));
    return ЧислоПрописью(cell).Text();
  }
  static int ErrorOf(Variant value) {
    try {
      Words(std::move(value));
    } catch (const RuntimeError& error) {
      return error.Number();
    }
    return 0;
  }

  std::string setting = ",";
  int reads = 0;
};

const std::string kНеЧисло = "Ссылка не содержит числового значения !";

TEST_F(NumberInWords, KopecksKeepTheBlankOfTheirConversion) {
  EXPECT_EQ(Words(1234.5), "Одна тысяча двести тридцать четыре руб.  50 копеек.");
  EXPECT_EQ(Words(2.0), "Два руб.  0 копеек.");
}

TEST_F(NumberInWords, KopeckWordAgreesWithTheNumber) {
  EXPECT_EQ(Words(0.01), "Ноль руб.  1 копейка.");
  EXPECT_EQ(Words(0.22), "Ноль руб.  22 копейки.");
  EXPECT_EQ(Words(0.11), "Ноль руб.  11 копеек.");
  EXPECT_EQ(Words(0.21), "Ноль руб.  21 копейка.");
  EXPECT_EQ(Words(0.03), "Ноль руб.  3 копейки.");
  EXPECT_EQ(Words(0.14), "Ноль руб.  14 копеек.");
  EXPECT_EQ(Words(0.05), "Ноль руб.  5 копеек.");
  EXPECT_EQ(Words(0.1), "Ноль руб.  10 копеек.");
}

TEST_F(NumberInWords, GroupsTakeTheirScaleWords) {
  EXPECT_EQ(Words(21000000.0), "Двадцать один миллион руб.  0 копеек.");
  EXPECT_EQ(Words(2000.0), "Две тысячи руб.  0 копеек.");
  EXPECT_EQ(Words(11000.0), "Одиннадцать тысяч руб.  0 копеек.");
  EXPECT_EQ(Words(1000000000.0), "Один миллиард руб.  0 копеек.");
  EXPECT_EQ(Words(5000000.0), "Пять миллионов руб.  0 копеек.");
  EXPECT_EQ(Words(3002001.0), "Три миллиона две тысячи один руб.  0 копеек.");
  EXPECT_EQ(Words(42000000000.0), "Сорок два миллиарда руб.  0 копеек.");
  EXPECT_EQ(Words(1000001.0), "Один миллион один руб.  0 копеек.");
}

TEST_F(NumberInWords, AmountsBelowAThousand) {
  EXPECT_EQ(Words(99.0), "Девяносто девять руб.  0 копеек.");
  EXPECT_EQ(Words(100.0), "Сто руб.  0 копеек.");
  EXPECT_EQ(Words(115.0), "Сто пятнадцать руб.  0 копеек.");
  EXPECT_EQ(Words(12.0), "Двенадцать руб.  0 копеек.");
  EXPECT_EQ(Words(40.0), "Сорок руб.  0 копеек.");
  EXPECT_EQ(Words(1.0), "Один руб.  0 копеек.");
}

TEST_F(NumberInWords, LargestAmountThatFitsAndTheFirstThatDoesNot) {
  EXPECT_EQ(Words(99999999999.99),
            "Девяносто девять миллиардов девятьсот девяносто девять миллионов девятьсот "
            "девяносто девять тысяч девятьсот девяносто девять руб.  99 копеек.");
  EXPECT_EQ(ErrorOf(1e11), kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf(123456789012345.0), kInvalidProcedureCall);
}

TEST_F(NumberInWords, ZeroAndNegativeAmountsAreNoRoubles) {
  EXPECT_EQ(Words(0.0), "Ноль руб.  0 копеек.");
  EXPECT_EQ(Words(-5.0), "Ноль руб.  0 копеек.");
  EXPECT_EQ(Words(-5.25), "Ноль руб.  25 копеек.");
  EXPECT_EQ(Words(Variant()), "Ноль руб.  0 копеек.");  // an empty cell counts as 0
}

TEST_F(NumberInWords, TwoDecimalsRoundHalvesUp) {
  EXPECT_EQ(Words(0.125), "Ноль руб.  13 копеек.");
  EXPECT_EQ(Words(2.675), "Два руб.  68 копеек.");
  EXPECT_EQ(Words(0.995), "Один руб.  0 копеек.");
  EXPECT_EQ(Words(1.004), "Один руб.  0 копеек.");
}

TEST_F(NumberInWords, WhatIsNotANumber) {
  EXPECT_EQ(Words("сто"), kНеЧисло);
  EXPECT_EQ(Words(""), kНеЧисло);
  GridRange block({{1.0, 2.0}, {3.0, 4.0}});
  EXPECT_EQ(ЧислоПрописью(block), Variant(kНеЧисло));
  // A text that reads as a number in the user's locale is a number.
  EXPECT_EQ(Words("1234,5"), "Одна тысяча двести тридцать четыре руб.  50 копеек.");
  EXPECT_EQ(Words(int32_t{7}), "Семь руб.  0 копеек.");
}

TEST_F(NumberInWords, SeparatorOfTheSettingsIsReadOnEveryCall) {
  const std::string expected = "Одна тысяча двести тридцать четыре руб.  50 копеек.";
  EXPECT_EQ(Words(1234.5), expected);
  const int after_first = reads;
  EXPECT_GE(after_first, 1);
  setting = ".";
  EXPECT_EQ(Words(1234.5), expected);
  EXPECT_EQ(Words("1234.5"), expected);
  EXPECT_EQ(Words("1234,5"), kНеЧисло);
  EXPECT_GT(reads, after_first + 2);
}

// An empty setting: the number is written with a point, and the point splits it.
TEST_F(NumberInWords, EmptySettingSplitsAtThePoint) {
  setting = "";
  EXPECT_EQ(Words(1234.5), "Одна тысяча двести тридцать четыре руб.  50 копеек.");
}

// Proper and Replace of the host make the capital letter, as Excel's worksheet functions do.
class RecordingHost : public HostApplication {
 public:
  std::string Proper(const std::string& text) const override {
    proper_calls.push_back(text);
    return upper ? HostApplication::Proper(text) : text;
  }
  std::string Replace(const std::string& text, int32_t start, int32_t count,
                      const std::string& replacement) const override {
    replace_calls.push_back(text + "|" + std::to_string(start) + "|" + std::to_string(count) + "|" +
                            replacement);
    if (failing) throw RuntimeError(1004, "Unable to get the Replace property");
    return HostApplication::Replace(text, start, count, replacement);
  }
  mutable std::vector<std::string> proper_calls;
  mutable std::vector<std::string> replace_calls;
  bool upper = true;
  bool failing = false;
};

TEST_F(NumberInWords, CapitalLetterComesFromTheHost) {
  RecordingHost host;
  ScopedHost scope(host);
  EXPECT_EQ(Words(2.0), "Два руб.  0 копеек.");
  ASSERT_EQ(host.proper_calls.size(), 1u);
  EXPECT_EQ(host.proper_calls[0], "д");
  ASSERT_EQ(host.replace_calls.size(), 1u);
  EXPECT_EQ(host.replace_calls[0], "два руб.  0 копеек.|1|1|Д");

  host.upper = false;  // a host that leaves the letter as it is
  EXPECT_EQ(Words(2.0), "два руб.  0 копеек.");

  host.failing = true;
  try {
    Words(2.0);
    ADD_FAILURE() << "the host's failure did not end the call";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.Number(), 1004);
  }
}

}  // namespace
}  // namespace armocalc
