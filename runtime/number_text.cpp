#include "runtime/number_text.hpp"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstring>

#include "runtime/checked_math.hpp"
#include "runtime/decimal_separator.hpp"

namespace armocalc {
namespace {

constexpr int kDoubleDigits = 15;
constexpr int kSingleDigits = 7;

// Significant decimal digits of a finite non-zero value: d1 d2 ... dn × 10^(exponent - n + 1).
struct DecimalDigits {
  char digits[40] = {};  // room for the fixed-size copies of PutDigits
  int count = 0;
  int exponent = 0;
  bool negative = false;
};

// Reads the output of std::to_chars in scientific form of a finite value ("-1.2345e+07"): a
// leading digit, the others after the point, and an exponent of two or three digits at the end.
DecimalDigits ParseScientific(const char* first, const char* last) {
  DecimalDigits d;
  if (*first == '-') {
    d.negative = true;
    ++first;
  }
  const char* const e = last[-4] == 'e' ? last - 4 : last - 5;
  d.digits[0] = first[0];
  const auto others = std::min(e - first - 2, std::ptrdiff_t{sizeof d.digits - 1});
  if (others > 0) std::memcpy(d.digits + 1, first + 2, static_cast<size_t>(others));
  d.count = 1 + static_cast<int>(std::max(others, std::ptrdiff_t{0}));
  int exponent = 0;
  for (const char* digit = e + 2; digit != last; ++digit) exponent = exponent * 10 + (*digit - '0');
  d.exponent = e[1] == '-' ? -exponent : exponent;
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
  return d;
}

DecimalDigits RoundedDigits(double value, int precision) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    std::chars_format::scientific, precision - 1);
  return ParseScientific(buffer, result.ptr);
}

// Rounds the digits of d to `kept` digits, a half and more upwards.
void RoundDigitsUp(DecimalDigits& d, int kept) {
  const bool up = d.digits[kept] >= '5';
  d.count = kept;
  if (up) {
    int k = kept - 1;
    while (k >= 0 && d.digits[k] == '9') --k;
    if (k < 0) {  // 99…9 becomes 1 in the next decade
      d.digits[0] = '1';
      d.count = 1;
      ++d.exponent;
    } else {
      ++d.digits[k];
      d.count = k + 1;
    }
  }
  while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
}

// The 15 significant digits of a double, as %.15G rounds its exact value. They come from the
// shortest text that reads back as the same double (D below):
// - D with at most 15 digits is the rounding itself: decimals of 15 digits lie more than four
//   double steps apart, so only one is within half a step of the value.
// - D with 16 or 17 digits rounds the same way as the exact value unless D is itself the half
//   between two 15-digit decimals: the half would otherwise lie between the value and D, and
//   then D would not be the closest (or a shortest) text of the value.
// Subnormal values have fewer bits than 15 digits need, so their shortest text says less than the
// 15 digits of their exact value: those are rounded from it directly.
DecimalDigits ComputedDoubleDigits(double value) {
  if (std::fabs(value) < DBL_MIN) return RoundedDigits(value, kDoubleDigits);
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  DecimalDigits d = ParseScientific(buffer, result.ptr);
  if (d.count <= kDoubleDigits) return d;
  const bool exactly_half = d.count == kDoubleDigits + 1 && d.digits[kDoubleDigits] == '5';
  if (exactly_half) return RoundedDigits(value, kDoubleDigits);
  RoundDigitsUp(d, kDoubleDigits);
  return d;
}

// The digits of the doubles met lately, by their bits: a report writes the same inputs and
// coefficients in line after line. Zero never comes here, so the bits 0 mark an empty entry.
struct CachedDigits {
  uint64_t bits = 0;
  DecimalDigits digits;
};
constexpr int kCachedDigitsBits = 10;
thread_local CachedDigits cached_digits[size_t{1} << kCachedDigitsBits];

// The entry stays as it is until the next call on the thread.
const DecimalDigits& DoubleDigits(double value) {
  const auto bits = std::bit_cast<uint64_t>(value);
  CachedDigits& entry = cached_digits[(bits * 0x9E3779B97F4A7C15u) >> (64 - kCachedDigitsBits)];
  if (entry.bits != bits) {
    entry.digits = ComputedDoubleDigits(value);
    entry.bits = bits;
  }
  return entry.digits;
}

char* Put(char* p, std::string_view text) {
  for (char c : text) *p++ = c;
  return p;
}

// Copies up to 15 digits of a DecimalDigits; the fixed-size copy compiles to two moves, and both
// the digit array and the output buffer have room for the bytes beyond the digits.
constexpr size_t kDigitCopy = 16;
char* PutDigits(char* p, std::string_view digits) {
  if (digits.size() > kDigitCopy) return Put(p, digits);
  std::memcpy(p, digits.data(), kDigitCopy);
  return p + digits.size();
}

char* PutZeros(char* p, int count) {
  for (int i = 0; i < count; ++i) *p++ = '0';
  return p;
}

// Longest text besides the separator: sign, "0", 4 zeros and 15 digits, or 15 integer digits and
// 14 decimals, or a mantissa of 15 digits with "E+308".
constexpr size_t kLongestNumberText = 32;

// %G layout: fixed for exponents -4 up to precision - 1, otherwise mantissa, "E", sign and at
// least two exponent digits. Returns the end of the text written at p.
char* FormatGeneral(char* p, const DecimalDigits& d, int precision, std::string_view separator) {
  const int x = d.exponent;
  const std::string_view digits(d.digits, static_cast<size_t>(d.count));
  if (d.negative) *p++ = '-';
  if (x < -4 || x >= precision) {
    *p++ = digits[0];
    if (d.count > 1) p = PutDigits(Put(p, separator), digits.substr(1));
    *p++ = 'E';
    *p++ = x < 0 ? '-' : '+';
    const int magnitude = x < 0 ? -x : x;
    if (magnitude >= 100) *p++ = static_cast<char>('0' + magnitude / 100);
    *p++ = static_cast<char>('0' + magnitude / 10 % 10);
    *p++ = static_cast<char>('0' + magnitude % 10);
    return p;
  }
  if (x < 0) {
    *p++ = '0';
    return PutDigits(PutZeros(Put(p, separator), -x - 1), digits);
  }
  if (d.count <= x + 1) return PutZeros(PutDigits(p, digits), x + 1 - d.count);
  const auto integer_digits = static_cast<size_t>(x + 1);
  return PutDigits(Put(PutDigits(p, digits.substr(0, integer_digits)), separator),
                   digits.substr(integer_digits));
}

// Writes the number in a local buffer first, so that `out` grows once per number.
void AppendGeneral(std::string& out, const DecimalDigits& d, int precision,
                   std::string_view separator) {
  constexpr size_t kRoom = kLongestNumberText + kDigitCopy;
  char local[kRoom + 32];
  std::string large;
  char* buffer = local;
  if (separator.size() > sizeof local - kRoom) {
    large.resize(kRoom + separator.size());
    buffer = large.data();
  }
  const char* end = FormatGeneral(buffer, d, precision, separator);
  out.append(buffer, static_cast<size_t>(end - buffer));
}

bool AppendZeroOrNonFinite(std::string& out, double value) {
  if (value == 0.0) {
    out += '0';  // also for -0
  } else if (std::isnan(value)) {
    out += "NAN";
  } else if (std::isinf(value)) {
    out += value < 0.0 ? "-INF" : "INF";
  } else {
    return false;
  }
  return true;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

enum class ParseStatus { Number, NotNumber, Overflow };

struct Parsed {
  ParseStatus status = ParseStatus::NotNumber;
  double value = 0.0;
};

// Converts a plain number text (sign, digits, '.', 'e' exponent) that the callers have checked.
// Values beyond the double range overflow; values below its smallest step read as zero.
Parsed ConvertPlain(const std::string& plain) {
  double value = 0.0;
  const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (result.ec == std::errc() && result.ptr != plain.data() + plain.size()) return {};
  if (result.ec == std::errc()) return {ParseStatus::Number, value};
  if (result.ec != std::errc::result_out_of_range) return {};
  // Out of range: the decimal exponent of the first significant digit tells overflow from
  // underflow.
  const bool negative = plain.front() == '-';
  const size_t e = plain.find('e');
  const std::string_view mantissa =
      std::string_view(plain).substr(negative ? 1 : 0, e - (negative ? 1 : 0));
  long long exponent = 0;
  if (e != std::string::npos) {
    const char* first = plain.data() + e + 1;
    if (*first == '+') ++first;
    if (std::from_chars(first, plain.data() + plain.size(), exponent).ec != std::errc()) {
      exponent = plain[e + 1] == '-' ? -1000000 : 1000000;  // beyond any double either way
    }
  }
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t first_significant = mantissa.find_first_of("123456789");
  const long long shift = first_significant < point
                              ? static_cast<long long>(point - first_significant) - 1
                              : -static_cast<long long>(first_significant - point);
  if (exponent + shift > 0) return {ParseStatus::Overflow, 0.0};
  return {ParseStatus::Number, negative ? -0.0 : 0.0};
}

Parsed ParseLocaleNumber(std::string_view text, std::string_view separator) {
  text = TrimBlanks(text);
  std::string plain;
  plain.reserve(text.size() + 2);
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  bool any_digit = false;
  bool seen_separator = false;
  while (i < text.size()) {
    if (IsDigit(text[i])) {
      plain += text[i++];
      any_digit = true;
    } else if (!seen_separator && !separator.empty() &&
               text.substr(i, separator.size()) == separator) {
      plain += '.';
      i += separator.size();
      seen_separator = true;
    } else {
      break;
    }
  }
  if (!any_digit) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    const size_t exponent_start = i;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++];
    if (i == exponent_start) return {};
  }
  if (i != text.size()) return {};
  return ConvertPlain(plain);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Val of "&H..." or "&O...": up to 16 bits an Integer, up to 32 bits a Long, wrapping into the
// negative range like the runtime's typed constants.
double ValRadix(std::string_view digits, int radix) {
  uint64_t value = 0;
  int bits = 0;
  const int bits_per_digit = radix == 16 ? 4 : 3;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= radix) break;
    if (value == 0 && digit == 0) continue;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    bits = bits == 0 ? static_cast<int>(std::bit_width(static_cast<unsigned>(digit)))
                     : bits + bits_per_digit;
    if (bits > 32) Raise(kOverflow);
  }
  if (value <= 0xFFFF)
    return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

void AppendDoubleText(std::string& out, double value, std::string_view separator) {
  if (AppendZeroOrNonFinite(out, value)) return;
  AppendGeneral(out, DoubleDigits(value), kDoubleDigits, separator);
}

namespace {

constexpr uint64_t kFifteenDigitsEnd = kWholePowersOfTen[15];

double DecimalValue(bool negative, uint64_t significand, int power) {
  const double value = Mul(static_cast<double>(significand), std::pow(10.0, power));
  return negative ? -value : value;
}

char* PutSeparator(char* p, std::string_view separator) {
  if (separator.size() == 1) {
    *p = separator[0];
    return p + 1;
  }
  std::memcpy(p, separator.data(), separator.size());
  return p + separator.size();
}

// The %G layout of FormatGeneral for the digits of an integer (no trailing zeros), written
// without the intermediate digit record: the rounding pass writes every number this way.
char* PutGeneralDigits(char* p, bool negative, std::string_view digits, int exponent,
                       std::string_view separator) {
  const int x = exponent;
  const auto count = static_cast<int>(digits.size());
  if (negative) *p++ = '-';
  if (x < -4 || x >= kDoubleDigits) {
    *p++ = digits[0];
    if (count > 1) p = PutDigits(PutSeparator(p, separator), digits.substr(1));
    *p++ = 'E';
    *p++ = x < 0 ? '-' : '+';
    const int magnitude = x < 0 ? -x : x;
    if (magnitude >= 100) *p++ = static_cast<char>('0' + magnitude / 100);
    *p++ = static_cast<char>('0' + magnitude / 10 % 10);
    *p++ = static_cast<char>('0' + magnitude % 10);
    return p;
  }
  if (x < 0) {
    *p++ = '0';
    return PutDigits(PutZeros(PutSeparator(p, separator), -x - 1), digits);
  }
  if (count <= x + 1) return PutZeros(PutDigits(p, digits), x + 1 - count);
  const auto integer_digits = static_cast<size_t>(x + 1);
  return PutDigits(PutSeparator(PutDigits(p, digits.substr(0, integer_digits)), separator),
                   digits.substr(integer_digits));
}

constexpr uint64_t kDigitZeros = 0x3030303030303030u;  // eight '0' characters in one word
constexpr uint64_t kEightDigitsEnd = kWholePowersOfTen[8];

// The eight digit characters of n < 10^8 with leading zeros, the first in the lowest byte: split
// into halves of four digits, each into two of two, each into two digits, in lanes of one word.
uint64_t EightDigitCharacters(uint32_t n) {
  const uint64_t halves = (n / 10000) | (uint64_t{n % 10000} << 32);
  const uint64_t hundreds = ((halves * 10486) >> 20) & 0x0000007F0000007Fu;  // x / 100 for x < 10^4
  const uint64_t quarters = hundreds | ((halves - hundreds * 100) << 16);
  const uint64_t tens = ((quarters * 103) >> 10) & 0x000F000F000F000Fu;  // x / 10 for x < 100
  return (tens | ((quarters - tens * 10) << 8)) + kDigitZeros;
}

// The fixed layouts of PutGeneralDigits for up to eight digits (n < 10^8, no trailing zeros) and
// a separator of one byte, in words built in registers and written whole (the room holds them):
// the digits through a stack buffer would be read back before their stores have landed.
char* PutShortFixedDigits(char* p, bool negative, uint32_t n, int count, int exponent,
                          char separator) {
  if (negative) *p++ = '-';
  const uint64_t digits = EightDigitCharacters(n) >> (8 * (8 - count));
  if (exponent < 0) {  // 0,000ddd
    p[0] = '0';
    p[1] = separator;
    std::memcpy(p + 2, &kDigitZeros, 8);
    p += 2 + (-exponent - 1);
    std::memcpy(p, &digits, 8);
    return p + count;
  }
  std::memcpy(p, &digits, 8);
  if (count <= exponent + 1) {  // ddd000
    const uint64_t zeros[2] = {kDigitZeros, kDigitZeros};
    p += count;
    std::memcpy(p, zeros, 16);
    return p + (exponent + 1 - count);
  }
  const int integer_digits = exponent + 1;  // dd,ddd
  const uint64_t decimals = digits >> (8 * integer_digits);
  p += integer_digits;
  *p++ = separator;
  std::memcpy(p, &decimals, 8);
  return p + (count - integer_digits);
}

}  // namespace

char* PutDecimalText(char* p, bool negative, uint64_t significand, int power,
                     std::string_view separator) {
  static_assert(kDecimalTextRoom >= kLongestNumberText + kDigitCopy);
  if (significand == 0) {
    *p = '0';
    return p + 1;
  }
  if (significand >= kFifteenDigitsEnd) {
    std::string text;
    AppendDoubleText(text, DecimalValue(negative, significand, power), separator);
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
  }
  while (significand % 10 == 0) {  // ends at the leading digit, never 0
    significand /= 10;
    ++power;
  }
  if (significand < kEightDigitsEnd && separator.size() == 1) {
    const auto n = static_cast<uint32_t>(significand);
    const int count = DecimalDigitCount(n);
    const int exponent = count - 1 + power;
    if (exponent >= -4 && exponent < kDoubleDigits) {
      return PutShortFixedDigits(p, negative, n, count, exponent, separator[0]);
    }
  }
  char digits[40];  // room for the fixed-size copies of PutDigits, as in DecimalDigits
  std::memset(digits, '0', sizeof digits);
  const auto count =
      static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, significand).ptr - digits);
  return PutGeneralDigits(p, negative, std::string_view(digits, count),
                          static_cast<int>(count) - 1 + power, separator);
}

std::string DoubleText(double value, std::string_view separator) {
  std::string text;
  AppendDoubleText(text, value, separator);
  return text;
}

void AppendSingleText(std::string& out, float value, std::string_view separator) {
  const double widened = static_cast<double>(value);
  if (AppendZeroOrNonFinite(out, widened)) return;
  AppendGeneral(out, RoundedDigits(widened, kSingleDigits), kSingleDigits, separator);
}

std::string SingleText(float value, std::string_view separator) {
  std::string text;
  AppendSingleText(text, value, separator);
  return text;
}

std::string NumberSeparator() {
  std::string separator = РазделительДробнойЧасти();
  if (separator.empty()) separator.push_back('.');
  return separator;
}

std::string Текст(double value) {
  return DoubleText(value, NumberSeparator());
}
std::string Текст(float value) {
  return SingleText(value, NumberSeparator());
}
std::string Текст(int32_t value) {
  return std::to_string(value);
}
std::string Текст(bool value) {
  return value ? "True" : "False";
}

std::optional<double> ParseNumber(std::string_view text, std::string_view separator) {
  const Parsed parsed = ParseLocaleNumber(text, separator);
  if (parsed.status != ParseStatus::Number) return std::nullopt;
  return parsed.value;
}

double ТекстВЧисло(std::string_view text) {
  const Parsed parsed = ParseLocaleNumber(text, NumberSeparator());
  if (parsed.status == ParseStatus::Overflow) Raise(kOverflow);
  if (parsed.status == ParseStatus::NotNumber) Raise(kTypeMismatch);
  return parsed.value;
}

bool ЭтоЧисло(std::string_view text) {
  return ParseLocaleNumber(text, NumberSeparator()).status == ParseStatus::Number;
}

double Val(std::string_view text) {
  std::string compact;
  compact.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r') compact += c;
  }
  if (compact.size() >= 2 && compact[0] == '&') {
    const char kind = compact[1];
    if (kind == 'h' || kind == 'H') return ValRadix(std::string_view(compact).substr(2), 16);
    if (kind == 'o' || kind == 'O') return ValRadix(std::string_view(compact).substr(2), 8);
    return 0.0;
  }
  std::string plain;
  size_t i = 0;
  if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
    if (compact[i] == '-') plain += '-';
    ++i;
  }
  bool any_digit = false;
  bool seen_point = false;
  for (; i < compact.size(); ++i) {
    if (IsDigit(compact[i])) {
      any_digit = true;
    } else if (compact[i] == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
    plain += compact[i];
  }
  if (!any_digit) return 0.0;
  if (i < compact.size() && std::strchr("eEdD", compact[i]) != nullptr) {
    size_t k = i + 1;
    std::string exponent = "e";
    if (k < compact.size() && (compact[k] == '+' || compact[k] == '-')) exponent += compact[k++];
    const size_t digits_start = k;
    while (k < compact.size() && IsDigit(compact[k])) exponent += compact[k++];
    if (k > digits_start) plain += exponent;
  }
  if (plain.back() == '.') plain.pop_back();
  const Parsed parsed = ConvertPlain(plain);
  if (parsed.status == ParseStatus::Overflow) Raise(kOverflow);
  return parsed.value;
}

std::string FixedText(double value, int decimals) {
  decimals = decimals < 0 ? 0 : (decimals > 30 ? 30 : decimals);
  std::string digits;  // the value's 15 significant digits, then rounded at the wanted decimal
  int exponent = 0;    // decimal exponent of digits[0]
  const bool negative = std::signbit(value) && value != 0.0;
  if (std::isfinite(value) && value != 0.0) {
    const DecimalDigits d = RoundedDigits(std::fabs(value), kDoubleDigits);
    digits.assign(d.digits, static_cast<size_t>(d.count));
    exponent = d.exponent;
  } else if (!std::isfinite(value)) {
    return DoubleText(value, NumberSeparator());
  }
  // Keep the digits down to 10^-decimals; the first dropped digit decides, halves go up.
  const int kept = exponent + 1 + decimals;
  if (!digits.empty() && kept < static_cast<int>(digits.size())) {
    const bool round_up = kept >= 0 && digits[static_cast<size_t>(kept)] >= '5';
    digits.resize(static_cast<size_t>(kept < 0 ? 0 : kept));
    if (round_up) {
      int k = static_cast<int>(digits.size()) - 1;
      while (k >= 0 && digits[static_cast<size_t>(k)] == '9')
        digits[static_cast<size_t>(k--)] = '0';
      if (k >= 0) {
        ++digits[static_cast<size_t>(k)];
      } else {
        digits.insert(digits.begin(), '1');
        ++exponent;
      }
    }
  }
  // digit i stands for 10^(exponent - i); write the integer part and exactly `decimals` decimals.
  auto digit_at = [&](int power) {
    const int index = exponent - power;
    if (index < 0 || index >= static_cast<int>(digits.size())) return '0';
    return digits[static_cast<size_t>(index)];
  };
  std::string text;
  if (negative) text += '-';
  for (int power = exponent < 0 ? 0 : exponent; power >= 0; --power) text += digit_at(power);
  if (decimals > 0) {
    text += NumberSeparator();
    for (int power = -1; power >= -decimals; --power) text += digit_at(power);
  }
  return text;
}

}  // namespace armocalc
