#include <algorithm>
#include <array>
#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "kernel/report_file.hpp"
#include "kernel/row_list.hpp"
#include "runtime/checked_math.hpp"
#include "runtime/cp1251.hpp"
#include "runtime/number_text.hpp"

namespace armocalc {
namespace {

constexpr int kLowestPower = -264;  // 10^(1 - 10 - 255), the finest step any digit count asks for
constexpr int kHighestPower = 11;

// 10^e for e = kLowestPower … kHighestPower, each the double nearest to it.
constexpr double kPowersOfTen[] = {
    1e-264, 1e-263, 1e-262, 1e-261, 1e-260, 1e-259, 1e-258, 1e-257, 1e-256, 1e-255, 1e-254, 1e-253,
    1e-252, 1e-251, 1e-250, 1e-249, 1e-248, 1e-247, 1e-246, 1e-245, 1e-244, 1e-243, 1e-242, 1e-241,
    1e-240, 1e-239, 1e-238, 1e-237, 1e-236, 1e-235, 1e-234, 1e-233, 1e-232, 1e-231, 1e-230, 1e-229,
    1e-228, 1e-227, 1e-226, 1e-225, 1e-224, 1e-223, 1e-222, 1e-221, 1e-220, 1e-219, 1e-218, 1e-217,
    1e-216, 1e-215, 1e-214, 1e-213, 1e-212, 1e-211, 1e-210, 1e-209, 1e-208, 1e-207, 1e-206, 1e-205,
    1e-204, 1e-203, 1e-202, 1e-201, 1e-200, 1e-199, 1e-198, 1e-197, 1e-196, 1e-195, 1e-194, 1e-193,
    1e-192, 1e-191, 1e-190, 1e-189, 1e-188, 1e-187, 1e-186, 1e-185, 1e-184, 1e-183, 1e-182, 1e-181,
    1e-180, 1e-179, 1e-178, 1e-177, 1e-176, 1e-175, 1e-174, 1e-173, 1e-172, 1e-171, 1e-170, 1e-169,
    1e-168, 1e-167, 1e-166, 1e-165, 1e-164, 1e-163, 1e-162, 1e-161, 1e-160, 1e-159, 1e-158, 1e-157,
    1e-156, 1e-155, 1e-154, 1e-153, 1e-152, 1e-151, 1e-150, 1e-149, 1e-148, 1e-147, 1e-146, 1e-145,
    1e-144, 1e-143, 1e-142, 1e-141, 1e-140, 1e-139, 1e-138, 1e-137, 1e-136, 1e-135, 1e-134, 1e-133,
    1e-132, 1e-131, 1e-130, 1e-129, 1e-128, 1e-127, 1e-126, 1e-125, 1e-124, 1e-123, 1e-122, 1e-121,
    1e-120, 1e-119, 1e-118, 1e-117, 1e-116, 1e-115, 1e-114, 1e-113, 1e-112, 1e-111, 1e-110, 1e-109,
    1e-108, 1e-107, 1e-106, 1e-105, 1e-104, 1e-103, 1e-102, 1e-101, 1e-100, 1e-99,  1e-98,  1e-97,
    1e-96,  1e-95,  1e-94,  1e-93,  1e-92,  1e-91,  1e-90,  1e-89,  1e-88,  1e-87,  1e-86,  1e-85,
    1e-84,  1e-83,  1e-82,  1e-81,  1e-80,  1e-79,  1e-78,  1e-77,  1e-76,  1e-75,  1e-74,  1e-73,
    1e-72,  1e-71,  1e-70,  1e-69,  1e-68,  1e-67,  1e-66,  1e-65,  1e-64,  1e-63,  1e-62,  1e-61,
    1e-60,  1e-59,  1e-58,  1e-57,  1e-56,  1e-55,  1e-54,  1e-53,  1e-52,  1e-51,  1e-50,  1e-49,
    1e-48,  1e-47,  1e-46,  1e-45,  1e-44,  1e-43,  1e-42,  1e-41,  1e-40,  1e-39,  1e-38,  1e-37,
    1e-36,  1e-35,  1e-34,  1e-33,  1e-32,  1e-31,  1e-30,  1e-29,  1e-28,  1e-27,  1e-26,  1e-25,
    1e-24,  1e-23,  1e-22,  1e-21,  1e-20,  1e-19,  1e-18,  1e-17,  1e-16,  1e-15,  1e-14,  1e-13,
    1e-12,  1e-11,  1e-10,  1e-9,   1e-8,   1e-7,   1e-6,   1e-5,   1e-4,   1e-3,   1e-2,   1e-1,
    1e0,    1e1,    1e2,    1e3,    1e4,    1e5,    1e6,    1e7,    1e8,    1e9,    1e10,   1e11};
static_assert(std::size(kPowersOfTen) == kHighestPower - kLowestPower + 1);

double PowerOfTen(int e) {
  return kPowersOfTen[e - kLowestPower];
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool HasDigit(std::string_view text) {
  for (char c : text) {
    if (IsDigit(c)) return true;
  }
  return false;
}

// Exact powers of ten: a number of at most 15 digits divided by one of them is correctly rounded.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr size_t kMaxExactDigits = 15;

double ReadRunSlowly(std::string_view run, std::string_view separator) {
  std::string plain;
  plain.reserve(run.size());
  for (size_t i = 0; i < run.size();) {
    if (IsDigit(run[i])) {
      plain += run[i++];
    } else {
      plain += '.';
      i += separator.size();
    }
  }
  double value = 0.0;
  if (std::from_chars(plain.data(), plain.data() + plain.size(), value).ec != std::errc()) {
    Raise(kOverflow);  // more digits than the double range holds
  }
  return value;
}

// A run of digits read while it is scanned: the digits as an integer (meaningful up to 19 digits,
// the caller checks the count; beyond, the integer wraps as digit-by-digit reading would) and the
// position after them.
struct DigitsRead {
  uint64_t value;
  size_t end;
};

constexpr uint64_t kZeros = 0x3030303030303030u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// The integer of eight digit values (0 to 9, the first in the lowest byte).
uint64_t EightDigits(uint64_t values) {
  values = values * 10 + (values >> 8);
  return (((values & 0x000000FF000000FFu) * (100 + (1000000ull << 32))) +
          (((values >> 16) & 0x000000FF000000FFu) * (1 + (10000ull << 32)))) >>
         32;
}

// The digits a chunk of eight characters begins with, read onto `value`, and their count (8 when
// all are digits): the digit values of a chunk are its bytes XOR '0'; a byte above 9 ends the run.
struct DigitRun {
  uint64_t value;  // meaningful up to 19 digits, as in DigitsRead
  size_t length;
};
[[gnu::always_inline]] inline DigitRun ReadChunkDigits(uint64_t chunk, uint64_t value) {
  const uint64_t values = chunk ^ kZeros;
  // A carry out of a byte comes only from a byte that is no digit, so the lowest mark is exact.
  const uint64_t non_digits = ((values + 0x7676767676767676u) | values) & kHighBits;
  if (non_digits == 0) return {value * 100000000u + EightDigits(values), 8};
  const auto count = static_cast<size_t>(std::countr_zero(non_digits) / 8);
  if (count == 0) return {value, 0};
  // Shifted up, the digits follow zero bytes, which read as leading zeros.
  return {value * kWholePowersOfTen[count] + EightDigits(values << (8 * (8 - count))), count};
}

// Reads eight characters at a time where the byte order allows.
DigitsRead ReadDigitsFrom(std::string_view text, size_t from, uint64_t value) {
  if constexpr (std::endian::native == std::endian::little) {
    for (; from + 8 <= text.size(); from += 8) {
      uint64_t chunk = 0;
      std::memcpy(&chunk, text.data() + from, 8);
      const DigitRun chunk_digits = ReadChunkDigits(chunk, value);
      value = chunk_digits.value;
      if (chunk_digits.length < 8) return {value, from + chunk_digits.length};
    }
  }
  for (; from < text.size(); ++from) {
    const auto digit = static_cast<unsigned char>(text[from] - '0');
    if (digit > 9) break;
    value = value * 10 + digit;
  }
  return {value, from};
}

// A line copied with zero bytes after it, so that its text is read eight bytes at a time without
// a look at its end: a zero byte is neither a digit nor a separator.
constexpr size_t kLinePadding = 32;
class PaddedLine {
 public:
  std::string_view Of(std::string_view line) {
    if (buffer_.size() < line.size() + kLinePadding) buffer_.resize(line.size() + kLinePadding);
    std::memcpy(buffer_.data(), line.data(), line.size());
    std::memset(buffer_.data() + line.size(), 0, kLinePadding);
    return {buffer_.data(), line.size()};
  }

 private:
  std::string buffer_;
};

// The run of digits at p in a padded line that ends at `end`, read onto `value`.
DigitRun ReadPaddedDigits(const char* p, const char* end, uint64_t value) {
  size_t length = 0;
  for (; p + length <= end; length += 8) {  // the padding after `end` holds no digit
    uint64_t chunk = 0;
    std::memcpy(&chunk, p + length, 8);
    const DigitRun chunk_digits = ReadChunkDigits(chunk, value);
    value = chunk_digits.value;
    if (chunk_digits.length < 8) return {value, length + chunk_digits.length};
  }
  return {value, length};
}

size_t LeadingZeros(std::string_view digits) {
  size_t count = 0;
  while (count < digits.size() && digits[count] == '0') ++count;
  return count;
}

// Whether the integer digits and decimals read as their integer divided by an exact power of ten
// correctly rounded: up to 15 significant digits and 22 decimals.
bool ReadsExactly(std::string_view integer, std::string_view decimals) {
  size_t leading = LeadingZeros(integer);
  if (leading == integer.size()) leading += LeadingZeros(decimals);
  const size_t significant = integer.size() + decimals.size() - leading;
  return significant <= kMaxExactDigits && decimals.size() < std::size(kExactPowersOfTen);
}

// Округлить in parts: value = ±kept × 10^power.
struct RoundedParts {
  bool negative = false;
  double kept = 0.0;
  int power = 0;
  double value = 0.0;
};
RoundedParts RoundToStep(double value, uint8_t digits, uint8_t method);

// The rounding of a number of at most 15 significant digits (digits / 10^decimals) done on its
// digits: the kept count and the first four dropped digits come from integer division. The rule
// itself divides doubles; their quotient lies within 4·10^-16 of the exact one relative to it, so
// both agree except where the dropped digits lie within 10^-4 of a threshold of the method
// (a half; six tenths for halves to even; a whole for truncation): there the rule's own
// arithmetic decides. With at most 10 kept digits the quotient is below 10^10, which keeps its
// error below 10^-5.
struct KeptDigits {
  uint64_t kept = 0;
  int power = 0;
};

constexpr uint8_t kMostDigitsKeptExactly = 10;
constexpr uint8_t kMostDigitsForParity = 9;  // the odd test of halves to even takes a 32-bit kept

// n / 10^k for n < 2^50 and k ≤ 15. Where the compiler has 128-bit products, by a multiplication:
// with 2^s ≥ 10^k and M = ⌊2^(50+s) / 10^k⌋ + 1, n·M / 2^(50+s) exceeds n / 10^k by less than
// 2^-s ≤ 10^-k, too little to reach the next whole number.
#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 WideProduct;  // a compiler extension, hence the mark
constexpr int kDividendBits = 50;
struct Reciprocal {
  uint64_t multiplier = 0;
  int shift = 0;
};
constexpr auto kReciprocalsOfTen = [] {
  std::array<Reciprocal, std::size(kWholePowersOfTen)> reciprocals{};
  for (size_t k = 0; k < reciprocals.size(); ++k) {
    int s = 0;
    while ((uint64_t{1} << s) < kWholePowersOfTen[k]) ++s;
    const WideProduct scale = WideProduct{1} << (kDividendBits + s);
    reciprocals[k] = {static_cast<uint64_t>(scale / kWholePowersOfTen[k]) + 1, kDividendBits + s};
  }
  return reciprocals;
}();
#endif

uint64_t DivideByPowerOfTen(uint64_t n, int k) {
#ifdef __SIZEOF_INT128__
  const Reciprocal r = kReciprocalsOfTen[static_cast<size_t>(k)];
  return static_cast<uint64_t>((WideProduct{n} * r.multiplier) >> r.shift);
#else
  return n / kWholePowersOfTen[k];
#endif
}

// Whether the first dropped digits (as a count of ten-thousandths) lie near a threshold.
bool NearThreshold(uint64_t dropped, uint8_t method) {
  if (method == 1) return dropped == 4999 || dropped == 5000;
  if (method == 2) return dropped == 4999 || dropped == 5000 || dropped == 5999 || dropped == 6000;
  return dropped == 0 || dropped == 9999;
}

std::optional<KeptDigits> KeepDigitsExactly(uint64_t digits, size_t decimals, uint8_t significant,
                                            uint8_t method) {
  if (digits == 0 || significant == 0 || significant > kMostDigitsKeptExactly) return std::nullopt;
  if (method == 2 && significant > kMostDigitsForParity) return std::nullopt;
  const int count = DecimalDigitCount(digits);
  const int magnitude = count - 1 - static_cast<int>(decimals);  // 10^magnitude ≤ value
  // The greatest n with 10^n < value; the scan of the step stops at -10 and 10.
  const int n = digits == kWholePowersOfTen[count - 1] ? magnitude - 1 : magnitude;
  if (n < -10 || n > 9) return std::nullopt;
  KeptDigits result;
  result.power = n + 1 - significant;
  const int dropped_count = static_cast<int>(decimals) + result.power;
  uint64_t first_dropped = 0;  // in ten-thousandths
  if (dropped_count <= 0) {
    result.kept = digits * kWholePowersOfTen[-dropped_count];
  } else {
    const uint64_t unit = kWholePowersOfTen[dropped_count];
    result.kept = DivideByPowerOfTen(digits, dropped_count);
    const uint64_t rest = digits - result.kept * unit;
    first_dropped = dropped_count >= 4 ? DivideByPowerOfTen(rest, dropped_count - 4)
                                       : rest * kWholePowersOfTen[4 - dropped_count];
  }
  if (NearThreshold(first_dropped, method)) return std::nullopt;
  if (method == 1) {
    if (first_dropped >= 5000) ++result.kept;
  } else if (method == 2) {
    const bool odd = result.kept % 2 != 0;
    if (first_dropped >= 6000 || (first_dropped >= 5000 && odd)) ++result.kept;
  }
  return result;
}

constexpr double kBelowSixteenDigits = 1e15;
constexpr size_t kMostDigitsRead = 19;  // the most a 64-bit integer holds in every case
constexpr size_t kCachedTextSize = 30;  // an entry of the cache below fills one cache line
static_assert(kCachedTextSize <= kDecimalTextRoom);  // a whole entry is copied into the room

// The characters of a chunk (the first in the lowest byte) before its first digit; 8 if none.
size_t CharactersBeforeDigit(uint64_t chunk) {
  constexpr uint64_t kTens = 0x0A0A0A0A0A0A0A0Au;
  const uint64_t offset = chunk ^ kZeros;  // digits become the bytes 0 to 9
  // Marks bytes below 10; the lowest mark is exact (a false one can only follow a true one).
  const uint64_t marks = (offset - kTens) & ~offset & kHighBits;
  return marks == 0 ? 8 : static_cast<size_t>(std::countr_zero(marks) / 8);
}

// The rounded line is written into a buffer the pass keeps from line to line; before each number
// it holds room for the rest of the line as it stands and the longest number text.
class LineWriter {
 public:
  LineWriter(std::string& buffer, size_t number_room)
      : buffer_(buffer), number_room_(number_room) {}

  void Start(size_t line_size) {
    Reserve(line_size + number_room_);
    p_ = buffer_.data();
  }
  // Room for `rest` more bytes of the line and one number.
  char* Room(size_t rest) {
    if (static_cast<size_t>(end_ - p_) < rest + number_room_) Grow(rest);
    return p_;
  }
  void Put(std::string_view text) {
    std::memcpy(p_, text.data(), text.size());
    p_ += text.size();
  }
  // Copies the text of a padded line (PaddedLine) from `from` up to the next digit or its end and
  // returns that position. Eight characters at a time where the byte order allows: a chunk is
  // copied whole (the room holds it) and the output moves on by its characters before the digit.
  size_t CopyUntilDigit(std::string_view text, size_t from) {
    if constexpr (std::endian::native == std::endian::little) {
      for (; from < text.size(); from += 8) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, text.data() + from, 8);
        std::memcpy(p_, &chunk, 8);
        const size_t before_digit = std::min(CharactersBeforeDigit(chunk), text.size() - from);
        p_ += before_digit;
        if (before_digit < 8) return from + before_digit;
      }
      return text.size();
    }
    for (; from < text.size() && !IsDigit(text[from]); ++from) *p_++ = text[from];
    return from;
  }
  void MovedTo(char* p) { p_ = p; }
  size_t Size() const { return static_cast<size_t>(p_ - buffer_.data()); }
  // Keeps the first `size` bytes of the text written last (after a Start).
  void KeepFirst(size_t size) { p_ = buffer_.data() + size; }
  std::string_view Text() const {
    return {buffer_.data(), static_cast<size_t>(p_ - buffer_.data())};
  }

 private:
  // The buffer's size is its whole capacity; only the bytes before p_ matter.
  void Reserve(size_t size) {
    if (buffer_.size() < size) buffer_.resize(std::max(size, buffer_.capacity()));
    end_ = buffer_.data() + buffer_.size();
  }
  [[gnu::noinline]] void Grow(size_t rest) {  // rare: kept out of the number's path
    const auto written = static_cast<size_t>(p_ - buffer_.data());
    Reserve(2 * (written + rest + number_room_));
    p_ = buffer_.data() + written;
  }

  std::string& buffer_;
  size_t number_room_;
  char* p_ = nullptr;
  char* end_ = nullptr;
};

// Each rounding pass has its own number: the cache below keeps texts only for the pass that made
// them, so a new pass (other digits, method or separator) starts with none.
thread_local uint64_t last_pass = 0;

// The rounded texts of the number texts met lately in a pass, by the text itself (up to 23
// characters of digits and one-byte separators, in three words padded with zero bytes): a report
// writes its inputs and coefficients the same way in line after line, and the text is matched
// before it is read as a number.
constexpr size_t kRunWords = 3;
struct alignas(64) RunText {
  uint64_t pass = 0;
  uint64_t words[kRunWords] = {};
  uint8_t run_size = 0;
  uint8_t length = 0;
  char text[kCachedTextSize];
};
static_assert(sizeof(RunText) == 64);
constexpr int kRunTextsBits = 10;
thread_local RunText run_texts[size_t{1} << kRunTextsBits];

// Marks (the high bit of each byte) the bytes of a chunk that are digits or equal `separator`.
uint64_t RunBytes(uint64_t chunk, uint64_t separators) {
  constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
  const uint64_t values = chunk ^ kZeros;  // digits become the bytes 0 to 9
  const uint64_t digits = ~(((values & kLow7) + 0x7676767676767676u) | values) & kHighBits;
  const uint64_t same = chunk ^ separators;  // the separator becomes the byte 0
  const uint64_t separator = ~(((same & kLow7) + kLow7) | same) & kHighBits;
  return digits | separator;
}

// A number text as the run cache keys it: its words, zero beyond its size.
struct RunKey {
  uint64_t words[kRunWords] = {};
  size_t size = 0;
};

class LineRounder {
 public:
  LineRounder(uint8_t digits, uint8_t method, std::string_view separator)
      : digits_(digits),
        method_(method),
        separator_(separator),
        separator_is_one_character_(CharacterCount(separator) == 1),
        separator_bytes_(separator_is_one_character_ && separator.size() == 1 &&
                                 separator[0] != '\0'
                             ? static_cast<unsigned char>(separator[0]) * 0x0101010101010101u
                             : 0),
        pass_(++last_pass) {}

  // Room a number needs in the output: its text and a separator after it.
  size_t NumberRoom() const { return kDecimalTextRoom + 2 * separator_.size(); }

  // Writes the rounded text of a padded line through `out`; the text before `first_digit` has no
  // digit.
  void Round(std::string_view text, size_t first_digit, LineWriter& out) const {
    out.Start(text.size());
    out.Put(text.substr(0, first_digit));
    size_t c = first_digit;
    while (c < text.size()) c = out.CopyUntilDigit(text, RoundRun(text, c, out));
  }

  // Rounds the run at c (a digit) of a padded line and copies the text after it up to the next
  // digit.
  size_t RoundRunAndText(std::string_view text, size_t c, LineWriter& out) const {
    return out.CopyUntilDigit(text, RoundRun(text, c, out));
  }

  // The position of the first digit from `from` on, or the end. Most of a report is words, so
  // the search looks at eight characters at once where the byte order allows.
  static size_t NextDigit(std::string_view text, size_t from) {
    if constexpr (std::endian::native == std::endian::little) {
      for (; from + 8 <= text.size(); from += 8) {
        uint64_t chunk = 0;
        std::memcpy(&chunk, text.data() + from, 8);
        const size_t before_digit = CharactersBeforeDigit(chunk);
        if (before_digit < 8) return from + before_digit;
      }
    }
    while (from < text.size() && !IsDigit(text[from])) ++from;
    return from;
  }

 private:
  bool SeparatorAt(std::string_view text, size_t j) const {
    if (!separator_is_one_character_ || text[j] != separator_[0]) return false;
    return separator_.size() == 1 || text.substr(j, separator_.size()) == separator_;
  }

  // Handles the digit run that starts at c; returns the position after it. The character that
  // ends the run is not a digit, so the caller copies it as ordinary text.
  size_t RoundRun(std::string_view text, size_t c, LineWriter& out) const {
    if constexpr (std::endian::native == std::endian::little) {
      if (separator_bytes_ != 0) return RoundCachedRun(text, c, out);
    }
    return RoundRunByValue(text, c, out);
  }

  // A run of a padded line through the cache of rounded texts.
  size_t RoundCachedRun(std::string_view text, size_t c, LineWriter& out) const {
    RunKey key;
    if (!KeyOfRun(text, c, key)) return RoundRunOfPaddedLine(text, c, out);
    RunText& cached = RunTextOf(key);
    char* const p = out.Room(text.size() - c);
    if (cached.pass == pass_ && cached.run_size == key.size &&
        std::equal(std::begin(key.words), std::end(key.words), std::begin(cached.words))) {
      std::memcpy(p, cached.text, kCachedTextSize);  // the room of a number holds the whole copy
      out.MovedTo(p + cached.length);
      return c + key.size;
    }
    const size_t end = RoundRunOfPaddedLine(text, c, out);
    const auto length = static_cast<size_t>(out.Text().data() + out.Text().size() - p);
    if (length <= kCachedTextSize) {
      cached.pass = pass_;
      std::copy(std::begin(key.words), std::end(key.words), std::begin(cached.words));
      cached.run_size = static_cast<uint8_t>(key.size);
      cached.length = static_cast<uint8_t>(length);
      std::memcpy(cached.text, p, kCachedTextSize);
    }
    return end;
  }

  // The run of digits and separators at c of a padded line as a cache key; false when it is too
  // long for one.
  bool KeyOfRun(std::string_view text, size_t c, RunKey& key) const {
    const char* const from = text.data() + c;  // the padding holds the words past the line's end
    for (size_t w = 0; w < kRunWords; ++w) {
      uint64_t chunk = 0;
      std::memcpy(&chunk, from + 8 * w, 8);
      const uint64_t others = ~RunBytes(chunk, separator_bytes_) & kHighBits;
      if (others == 0) {
        key.words[w] = chunk;
        continue;
      }
      const auto inside = static_cast<size_t>(std::countr_zero(others) / 8);
      key.words[w] = inside == 0 ? 0 : chunk & (~uint64_t{0} >> (8 * (8 - inside)));
      key.size = 8 * w + inside;
      return true;
    }
    return false;  // 24 characters or more
  }

  static RunText& RunTextOf(const RunKey& key) {
    const uint64_t mixed = (key.words[0] * 0x9E3779B97F4A7C15u) ^
                           (key.words[1] * 0xC2B2AE3D27D4EB4Fu) ^
                           (key.words[2] * 0x165667B19E3779F9u) ^ key.size;
    return run_texts[(mixed * 0x9E3779B97F4A7C15u) >> (64 - kRunTextsBits)];
  }

  // The run of a report's numbers, with a separator of one byte and at most 19 digits, read at
  // once from the padded line (PaddedLine); any other run takes the general reading.
  size_t RoundRunOfPaddedLine(std::string_view text, size_t c, LineWriter& out) const {
    const char separator = separator_[0];
    const char* const line = text.data();
    const char* const end = line + text.size();
    const DigitRun integer = ReadPaddedDigits(line + c, end, 0);
    size_t j = c + integer.length;
    uint64_t digits = integer.value;
    size_t decimals = 0;
    bool ends_with_separator = false;
    if (line[j] == separator) {
      const DigitRun fraction = ReadPaddedDigits(line + j + 1, end, integer.value);
      if (line[j + 1 + fraction.length] == separator) return RoundRunByValue(text, c, out);
      digits = fraction.value;
      decimals = fraction.length;
      // A separator right after the number is punctuation and stays after the rounded value.
      ends_with_separator = decimals == 0;
      j += 1 + decimals;
    }
    if (integer.length + decimals > kMostDigitsRead ||
        digits >= kWholePowersOfTen[kMaxExactDigits]) {
      return RoundRunByValue(text, c, out);
    }
    char* p = PutRoundedDigits(out.Room(text.size() - c), digits, decimals);
    if (ends_with_separator) *p++ = separator;
    out.MovedTo(p);
    return j;
  }

  // Reads the run as a number and writes its rounded text.
  size_t RoundRunByValue(std::string_view text, size_t c, LineWriter& out) const {
    DigitsRead read = ReadDigitsFrom(text, c, 0);
    const std::string_view integer = text.substr(c, read.end - c);
    std::string_view decimals;
    int separators = 0;
    while (read.end < text.size() && SeparatorAt(text, read.end)) {  // passes one separator a turn
      ++separators;
      const size_t decimals_begin = read.end + separator_.size();
      read = ReadDigitsFrom(text, decimals_begin, read.value);
      if (separators == 1) decimals = text.substr(decimals_begin, read.end - decimals_begin);
    }
    const size_t j = read.end;
    std::string_view run = text.substr(c, j - c);
    char* p = out.Room(text.size() - c);
    if (separators >= 2) {  // dates, paragraph numbers, section codes
      out.Put(run);
      return j;
    }
    // A separator right after the number is punctuation and stays after the rounded value.
    const bool ends_with_separator = separators == 1 && decimals.empty();
    if (ends_with_separator) run.remove_suffix(separator_.size());
    if (ReadsExactly(integer, decimals)) {
      p = PutRoundedDigits(p, read.value, decimals.size());
    } else {  // more digits than the double range holds raise the overflow
      p = PutRounded(p, RoundToStep(ReadRunSlowly(run, separator_), digits_, method_));
    }
    out.MovedTo(p);
    if (ends_with_separator) out.Put(separator_);
    return j;
  }

  // The rounded text of digits / 10^decimals.
  char* PutRoundedDigits(char* p, uint64_t digits, size_t decimals) const {
    if (const auto kept = KeepDigitsExactly(digits, decimals, digits_, method_)) {
      return PutDecimalText(p, false, kept->kept, kept->power, separator_);
    }
    const double value = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    return PutRounded(p, RoundToStep(value, digits_, method_));
  }

  // The value kept × 10^power is exact in decimal: with at most 15 digits its Double text is
  // those digits, since the double nearest to it lies within a quarter of a 15-digit step.
  char* PutRounded(char* p, const RoundedParts& parts) const {
    if (parts.kept < kBelowSixteenDigits && std::fabs(parts.value) >= DBL_MIN) {
      return PutDecimalText(p, parts.negative, static_cast<uint64_t>(parts.kept), parts.power,
                            separator_);
    }
    std::string text;
    AppendDoubleText(text, parts.value, separator_);
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
  }

  uint8_t digits_;
  uint8_t method_;
  std::string_view separator_;
  bool separator_is_one_character_;
  // A one-byte separator in every byte; 0 for others and for a zero byte, which pads a line.
  uint64_t separator_bytes_;
  uint64_t pass_;
};

// floor() of a finite x ≥ 0: truncation, which the integer conversion does in one instruction;
// from 2^52 on every double is whole.
double FloorOfNonNegative(double x) {
  constexpr double kAllWhole = 4503599627370496.0;  // 2^52
  return x < kAllWhole ? static_cast<double>(static_cast<int64_t>(x)) : x;
}

// The first k of -10 … 10 with 10^(-k) < x, as n = -k: the greatest n ≤ 10 with 10^n < x. The
// binary exponent of x puts n within one of its place; the two short walks settle it.
int StepPower(double x, uint8_t digits) {
  if (!(x > PowerOfTen(-10))) return -10;  // no k stops the scan (zero and NaN included)
  int n = 10;
  if (!(x > PowerOfTen(10))) {
    const int binary_exponent = static_cast<int>((std::bit_cast<uint64_t>(x) >> 52) & 0x7FF) - 1023;
    n = std::clamp((binary_exponent * 1233) >> 12, -10, 10);  // about binary_exponent × log10(2)
    for (int walk = 0; walk < 3 && n < 10 && PowerOfTen(n + 1) < x; ++walk) ++n;
    for (int walk = 0; walk < 3 && n > -10 && !(PowerOfTen(n) < x); ++walk) --n;
  }
  return 1 - (-n) - digits;
}

RoundedParts RoundToStep(double value, uint8_t digits, uint8_t method) {
  RoundedParts parts;
  double x = value;
  if (x < 0.0) {
    parts.negative = true;
    x = -x;
  }
  parts.power = StepPower(x, digits);
  const double quotient = Div(x, PowerOfTen(parts.power));
  double m = FloorOfNonNegative(quotient);
  const double dropped = FloorOfNonNegative((quotient - m) * 10.0);
  if (method == 1) {
    if (dropped >= 5.0) m += 1.0;
  } else if (method == 2) {
    const bool odd = CLng(m) % 2 != 0;
    if (dropped > 5.0 || (dropped == 5.0 && odd)) m += 1.0;
  }
  parts.kept = m;
  parts.value = Mul(parts.negative ? -m : m, PowerOfTen(parts.power));
  return parts;
}

bool RoundsNumbers(std::string_view separator) {
  // Without a separator, or with one made of digits, numbers cannot be told apart: leave the text.
  return !separator.empty() && !HasDigit(separator);
}

// A file is handed to the system in blocks of about this size.
constexpr size_t kBlockBytes = size_t{256} << 10;

// The bytes of a file being made: the buffer's size is its whole capacity, the bytes before
// used_ are the file's.
class Block {
 public:
  Block() : buffer_(kBlockBytes + (size_t{4} << 10), '\0') {}
  // Room for `size` more bytes.
  char* Room(size_t size) {
    if (buffer_.size() - used_ < size) buffer_.resize(std::max(2 * buffer_.size(), used_ + size));
    return buffer_.data() + used_;
  }
  void MovedTo(const char* end) { used_ = static_cast<size_t>(end - buffer_.data()); }
  void Append(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  size_t Size() const { return used_; }
  std::string_view Text() const { return {buffer_.data(), used_}; }
  std::string_view From(size_t begin) const { return Text().substr(begin); }
  void Clear() { used_ = 0; }

 private:
  std::string buffer_;
  size_t used_ = 0;
};

constexpr std::string_view kLineBreak = "\r\n";

// The file's bytes a block at a time: each line (rounded from line 1 on, with a rule) in the
// report encoding and ended by CR LF.
class EncodedLineBlocks final : public ReportBytes {
 public:
  EncodedLineBlocks(const ReportLines& lines, const RoundingRule* rule)
      : lines_(lines), utf8_(CurrentReportEncoding() == ReportEncoding::Utf8) {
    if (rule != nullptr && RoundsNumbers(rule->separator)) {
      rounder_.emplace(rule->digits, rule->method, rule->separator);
      separator_tail_ = rule->separator.size() - 1;
      out_.emplace(line_buffer_, rounder_->NumberRoom());
    }
  }

 protected:
  std::string_view Produce() override {
    block_.Clear();
    const size_t count = lines_.Count();
    for (; next_ < count && block_.Size() < kBlockBytes; ++next_) PutLine(next_);
    return block_.Text();
  }

 private:
  // Where a run of the last rounded line began, in the line and in its rounded text.
  struct RunStart {
    size_t in_line;
    size_t in_text;
  };

  void PutLine(size_t index) {
    const std::string_view line = lines_.At(index);
    if (!rounder_ || index == 0) return PutEncoded(line);
    const size_t first_digit = LineRounder::NextDigit(line, 0);
    if (first_digit == line.size()) return PutEncoded(line);
    Round(line, first_digit);
    PutEncoded(out_->Text());
  }

  // Rounds the line into out_. A line that begins as the last rounded one (an iteration writes
  // line after line of the same formula and mostly the same values) keeps the rounded text of
  // that beginning, up to the last run that starts in it: the text before a run decides how it
  // is read, never the text after it.
  void Round(std::string_view line, size_t first_digit) {
    const std::string_view text = padded_.Of(line);
    LineWriter& out = *out_;
    out.Start(line.size());
    const size_t same = SameBeginning(last_line_, line);
    size_t kept = 0;
    // A separator of several bytes is looked for at the end of a run: its bytes must match too.
    while (kept < run_starts_.size() && run_starts_[kept].in_line + separator_tail_ <= same) {
      ++kept;
    }
    size_t c = first_digit;
    if (kept > 0) {
      const RunStart resume = run_starts_[kept - 1];
      run_starts_.resize(kept - 1);
      out.KeepFirst(resume.in_text);
      out.Room(line.size() - resume.in_line);
      c = out.CopyUntilDigit(text, resume.in_line);
    } else {
      run_starts_.clear();
      out.Put(line.substr(0, first_digit));
    }
    while (c < line.size()) {
      run_starts_.push_back({c, out.Size()});
      c = rounder_->RoundRunAndText(text, c, out);
    }
    last_line_ = line;
  }

  // The count of the first bytes that two texts share.
  static size_t SameBeginning(std::string_view a, std::string_view b) {
    const size_t size = std::min(a.size(), b.size());
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
      uint64_t x = 0;
      uint64_t y = 0;
      std::memcpy(&x, a.data() + i, 8);
      std::memcpy(&y, b.data() + i, 8);
      if (x != y) break;
    }
    while (i < size && a[i] == b[i]) ++i;
    return i;
  }

  void PutEncoded(std::string_view text) {
    char* p = block_.Room(text.size() + kLineBreak.size());
    if (utf8_) {
      std::memcpy(p, text.data(), text.size());
      p += text.size();
    } else {
      p = PutCp1251(p, text);
    }
    std::memcpy(p, kLineBreak.data(), kLineBreak.size());
    block_.MovedTo(p + kLineBreak.size());
  }

  const ReportLines& lines_;
  bool utf8_;
  std::optional<LineRounder> rounder_;
  std::string line_buffer_;
  PaddedLine padded_;
  std::optional<LineWriter> out_;
  Block block_;
  size_t next_ = 0;
  size_t separator_tail_ = 0;
  std::string_view last_line_;  // the source of the text in out_
  std::vector<RunStart> run_starts_;
};

}  // namespace

std::unique_ptr<ReportBytes> EncodedLines(const ReportLines& lines, const RoundingRule* rule) {
  return std::make_unique<EncodedLineBlocks>(lines, rule);
}

double vbСписок::ШагОкругления(double Значение, uint8_t ЧислоЗнаков) {
  return PowerOfTen(StepPower(Значение, ЧислоЗнаков));
}

double vbСписок::Округлить(double Значение, uint8_t ЧислоЗнаков, uint8_t СпособОкругления) {
  return RoundToStep(Значение, ЧислоЗнаков, СпособОкругления).value;
}

void vbСписок::ОкруглитьЧисловыеЗначения(uint8_t ЧислоЗнаков, uint8_t СпособОкругления,
                                         std::string_view Разделитель) {
  if (!RoundsNumbers(Разделитель)) return;
  const LineRounder rounder(ЧислоЗнаков, СпособОкругления, Разделитель);
  std::string buffer;
  LineWriter out(buffer, rounder.NumberRoom());
  PaddedLine padded;
  for (size_t i = 1; i < Строки_.size(); ++i) {
    std::string& line = Строки_[i];
    const size_t first_digit = LineRounder::NextDigit(line, 0);
    if (first_digit == line.size()) continue;
    rounder.Round(padded.Of(line), first_digit, out);
    line.assign(out.Text());  // keeps the line's buffer: rounded lines rarely grow
  }
}

}  // namespace armocalc
