#pragma once
// Numbers to text and text to numbers as the automation runtime converts them under the user's
// regional settings: Double like %.15G, Single like %.7G of the single value, the decimal point
// replaced by the user's separator (also inside an exponent mantissa), no group separators;
// integers as plain digits.

#include <bit>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace armocalc {

std::string Текст(double value);
std::string Текст(float value);
std::string Текст(int32_t value);
inline std::string Текст(int16_t value) {
  return Текст(static_cast<int32_t>(value));
}
inline std::string Текст(uint8_t value) {
  return Текст(static_cast<int32_t>(value));
}
std::string Текст(bool value);  // "True" / "False"

// The same with an explicit separator (the rounding pass and the tests).
std::string DoubleText(double value, std::string_view separator);
std::string SingleText(float value, std::string_view separator);
// Appends the Double or Single text to `out` (reports and the rounding pass write many numbers
// into one line).
void AppendDoubleText(std::string& out, double value, std::string_view separator);
void AppendSingleText(std::string& out, float value, std::string_view separator);
// The separator that Текст writes: the user's, or a point when the setting is empty.
std::string NumberSeparator();
// 10^k for k = 0 … 15, as integers.
inline constexpr uint64_t kWholePowersOfTen[] = {1,
                                                 10,
                                                 100,
                                                 1000,
                                                 10000,
                                                 100000,
                                                 1000000,
                                                 10000000,
                                                 100000000,
                                                 1000000000,
                                                 10000000000,
                                                 100000000000,
                                                 1000000000000,
                                                 10000000000000,
                                                 100000000000000,
                                                 1000000000000000};
// The count of decimal digits of 0 < n < 10^15.
inline int DecimalDigitCount(uint64_t n) {
  const int estimate = (static_cast<int>(std::bit_width(n)) * 1233) >> 12;  // about log10(2^bits)
  return estimate + (n >= kWholePowersOfTen[estimate] ? 1 : 0);
}

// Writes at p the Double text of ±significand × 10^power (the text of the nearest double, a
// normal one), without converting to binary and back; p must have room for kDecimalTextRoom
// bytes and the separator. Returns the end of the text.
inline constexpr size_t kDecimalTextRoom = 48;
char* PutDecimalText(char* p, bool negative, uint64_t significand, int power,
                     std::string_view separator);

// Locale-aware text to number: blanks around, a sign, digits with the given decimal separator,
// an optional exponent (E or D). nullopt when the text is not a number.
std::optional<double> ParseNumber(std::string_view text, std::string_view separator);
// The same with the user's separator; a text that is not a number raises error 13.
double ТекстВЧисло(std::string_view text);
bool ЭтоЧисло(std::string_view text);  // the runtime's numeric test on a text

// The culture-independent reader (Val): blanks skipped, point as separator, reading stops at
// the first character that does not belong to the number; 0 when nothing reads.
double Val(std::string_view text);

// A number written with a fixed count of decimals and the user's separator, as the number
// patterns "0.00", "###0.00", "##0.00" (2 decimals) and "#0.000" (3) write it: at least one
// integer digit, halves rounded away from zero.
std::string FixedText(double value, int decimals);

}  // namespace armocalc
