#include "runtime/number_text.hpp"

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "runtime/decimal_separator.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

std::string PrintfText(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  std::string text = buffer;
  return text == "-0" ? "0" : text;
}

TEST(DoubleText, MatchesFifteenDigitGeneralFormatOverManyValues) {
  std::mt19937_64 random(20240521);
  std::uniform_int_distribution<int> exponent(-30, 30);
  std::uniform_int_distribution<int64_t> mantissa(1, 999999999);
  for (int i = 0; i < 200000; ++i) {
    double value = std::bit_cast<double>(random());
    if (!std::isfinite(value)) continue;
    if (i % 2 == 0)
      value = static_cast<double>(mantissa(random)) * std::pow(10.0, exponent(random));
    if (i % 3 == 0) value = std::nextafter(value, 0.0);
    ASSERT_EQ(DoubleText(value, "."), PrintfText("%.15G", value)) << std::hexfloat << value;
  }
}

// Below the smallest normal double a value's shortest text can have fewer than 15 digits that
// still differ from the 15 digits of its exact value.
TEST(DoubleText, SubnormalValuesShowFifteenDigitsOfTheirExactValue) {
  EXPECT_EQ(DoubleText(std::bit_cast<double>(uint64_t{0x0000521e433b15}), "."),
            "1.74254503112422E-312");
  std::mt19937_64 random(5);
  for (int i = 0; i < 100000; ++i) {
    const double value = std::bit_cast<double>(random() & 0x800FFFFFFFFFFFFFu);
    ASSERT_EQ(DoubleText(value, "."), PrintfText("%.15G", value)) << std::hexfloat << value;
  }
}

TEST(DoubleText, SixteenDigitValuesEndingInFiveRoundLikeTheExactValue) {
  std::mt19937_64 random(99);
  std::uniform_int_distribution<int64_t> prefix(100000000000000, 999999999999999);
  std::uniform_int_distribution<int> exponent(-20, 20);
  for (int i = 0; i < 100000; ++i) {
    const std::string text =
        std::to_string(prefix(random)) + "5e" + std::to_string(exponent(random));
    const double value = std::strtod(text.c_str(), nullptr);
    ASSERT_EQ(DoubleText(value, "."), PrintfText("%.15G", value)) << text;
  }
  EXPECT_EQ(DoubleText(0.99999999999999989, "."), "1");
  EXPECT_EQ(DoubleText(999999999999999.9, "."), "1E+15");
  EXPECT_EQ(DoubleText(1234567890123455.0, "."), "1.23456789012346E+15");
}

TEST(DoubleText, SwitchesToExponentFormLikeTheRuntime) {
  EXPECT_EQ(DoubleText(0.0001, "."), "0.0001");
  EXPECT_EQ(DoubleText(0.00001, "."), "1E-05");
  EXPECT_EQ(DoubleText(123456789012345.0, "."), "123456789012345");
  EXPECT_EQ(DoubleText(1e15, "."), "1E+15");
  EXPECT_EQ(DoubleText(1e36, "."), "1E+36");
  EXPECT_EQ(DoubleText(-1.5e-7, "."), "-1.5E-07");
  EXPECT_EQ(DoubleText(1.79769313486231e308, "."), "1.79769313486231E+308");
  EXPECT_EQ(DoubleText(1.7976931348623157e308, "."), "1.79769313486232E+308");
  EXPECT_EQ(DoubleText(999999999999999.5, "."), "1E+15");
}

TEST(DoubleText, WritesTheSeparatorEverywhereAndNoNegativeZero) {
  EXPECT_EQ(DoubleText(0.1 + 0.2, ","), "0,3");
  EXPECT_EQ(DoubleText(2.0 / 3.0, ","), "0,666666666666667");
  EXPECT_EQ(DoubleText(1.23456789012346e15, ","), "1,23456789012346E+15");
  EXPECT_EQ(DoubleText(-12.5, ","), "-12,5");
  EXPECT_EQ(DoubleText(-0.0, ","), "0");
  EXPECT_EQ(DoubleText(2.5, "::"), "2::5");
  EXPECT_EQ(DoubleText(2.5, "٫"), "2٫5");
}

TEST(SingleText, SevenDigitsOfTheSingleValue) {
  EXPECT_EQ(SingleText(27.5f, ","), "27,5");
  EXPECT_EQ(SingleText(0.1f, "."), "0.1");
  EXPECT_EQ(SingleText(1.0f / 3.0f, "."), "0.3333333");
  EXPECT_EQ(SingleText(3e10f, "."), "3E+10");
  EXPECT_EQ(SingleText(-0.0f, "."), "0");
  std::mt19937 random(7);
  for (int i = 0; i < 50000; ++i) {
    const float value = std::bit_cast<float>(static_cast<uint32_t>(random()));
    if (!std::isfinite(value)) continue;
    ASSERT_EQ(SingleText(value, "."), PrintfText("%.7G", static_cast<double>(value))) << value;
  }
}

TEST(NumberText, UsesTheUserSeparatorAndPlainIntegers) {
  ScopedDecimalSeparator comma(",");
  EXPECT_EQ(Текст(27.5), "27,5");
  EXPECT_EQ(Текст(27.5f), "27,5");
  EXPECT_EQ(Текст(int32_t{-12345}), "-12345");
  EXPECT_EQ(Текст(int16_t{-7}), "-7");
  EXPECT_EQ(Текст(uint8_t{200}), "200");
  EXPECT_EQ(Текст(true), "True");
  EXPECT_EQ(Текст(false), "False");
  ScopedDecimalSeparator none("");
  EXPECT_EQ(Текст(0.5), "0.5");  // conversions always write a separator
}

TEST(ParseNumber, ReadsLocaleNumbers) {
  EXPECT_EQ(ParseNumber(" 12,5\t", ","), 12.5);
  EXPECT_EQ(ParseNumber("-1,5E+3", ","), -1500.0);
  EXPECT_EQ(ParseNumber("+2D2", "."), 200.0);
  EXPECT_EQ(ParseNumber(",5", ","), 0.5);
  EXPECT_EQ(ParseNumber("5,", ","), 5.0);
  EXPECT_EQ(ParseNumber("0.1", "."), 0.1);
  EXPECT_EQ(ParseNumber("1e-400", "."), 0.0);
}

TEST(ParseNumber, RejectsWhatIsNotANumber) {
  EXPECT_EQ(ParseNumber("1.5", ","), std::nullopt);
  EXPECT_EQ(ParseNumber("", ","), std::nullopt);
  EXPECT_EQ(ParseNumber(" ", ","), std::nullopt);
  EXPECT_EQ(ParseNumber(",", ","), std::nullopt);
  EXPECT_EQ(ParseNumber("1e", "."), std::nullopt);
  EXPECT_EQ(ParseNumber("1,2,3", ","), std::nullopt);
  EXPECT_EQ(ParseNumber("12abc", "."), std::nullopt);
  EXPECT_EQ(ParseNumber("--1", "."), std::nullopt);
  EXPECT_EQ(ParseNumber("1e400", "."), std::nullopt);
}

TEST(ParseNumber, UserSeparatorConversionsRaiseTheRuntimeErrors) {
  ScopedDecimalSeparator comma(",");
  EXPECT_EQ(ТекстВЧисло("3,25"), 3.25);
  EXPECT_TRUE(ЭтоЧисло(" 3,25 "));
  EXPECT_FALSE(ЭтоЧисло("3.25"));
  EXPECT_FALSE(ЭтоЧисло("1E999"));
  EXPECT_RUNTIME_ERROR(ТекстВЧисло("3.25"), kTypeMismatch);
  EXPECT_RUNTIME_ERROR(ТекстВЧисло(""), kTypeMismatch);
  EXPECT_RUNTIME_ERROR(ТекстВЧисло("1E999"), kOverflow);
}

TEST(Val, ReadsTheLeadingNumberWithAPoint) {
  EXPECT_EQ(Val(" 1615 198th Street N.E."), 1615198.0);
  EXPECT_EQ(Val("2,5"), 2.0);
  EXPECT_EQ(Val("-.5"), -0.5);
  EXPECT_EQ(Val("1.5e3xyz"), 1500.0);
  EXPECT_EQ(Val("12."), 12.0);
  EXPECT_EQ(Val("7e"), 7.0);
  EXPECT_EQ(Val("abc"), 0.0);
  EXPECT_EQ(Val(""), 0.0);
  EXPECT_EQ(Val("&HFF"), 255.0);
  EXPECT_EQ(Val("&HFFFF"), -1.0);
  EXPECT_EQ(Val("&o17"), 15.0);
  EXPECT_RUNTIME_ERROR(Val("1e400"), kOverflow);
  EXPECT_RUNTIME_ERROR(Val("&H123456789"), kOverflow);
}

TEST(FixedText, RoundsHalvesAwayFromZeroOnTheDecimalText) {
  ScopedDecimalSeparator point(".");
  EXPECT_EQ(FixedText(2.675, 2), "2.68");  // binary value lies just below the half
  EXPECT_EQ(FixedText(10.045, 2), "10.05");
  EXPECT_EQ(FixedText(-2.675, 2), "-2.68");
  EXPECT_EQ(FixedText(0.005, 2), "0.01");
  EXPECT_EQ(FixedText(0.0049, 2), "0.00");
  EXPECT_EQ(FixedText(999.995, 2), "1000.00");
  EXPECT_EQ(FixedText(0.4, 3), "0.400");
  EXPECT_EQ(FixedText(0.0, 2), "0.00");
  EXPECT_EQ(FixedText(7.5, 0), "8");
  EXPECT_EQ(FixedText(1e20, 2), "100000000000000000000.00");
  EXPECT_EQ(FixedText(-0.001, 2), "-0.00");  // the pattern keeps the sign of a small negative
}

TEST(FixedText, UsesTheUserSeparator) {
  ScopedDecimalSeparator comma(",");
  EXPECT_EQ(FixedText(1234.5, 2), "1234,50");
  EXPECT_EQ(FixedText(10.0530964914873, 2), "10,05");
  EXPECT_EQ(FixedText(0.12345, 3), "0,123");
}

}  // namespace
}  // namespace armocalc
