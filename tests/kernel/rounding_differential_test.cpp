// The rounding pass against its first, digit-by-digit form (rounding_reference.hpp) on lines of
// random numbers of every shape a report holds and many it should never hold: the two must write
// the same bytes and raise the same errors.

#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/row_list.hpp"
#include "runtime/number_text.hpp"
#include "tests/kernel/rounding_reference.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

class NumberShapes {
 public:
  NumberShapes(uint64_t seed, std::string_view separator) : random_(seed), separator_(separator) {}

  std::string Next() {
    switch (random_() % 10) {
      case 0:
        return Digits(1 + random_() % 24) + Separator() + Digits(random_() % 26);
      case 1:
        return Half();
      case 2:
        return Nines();
      case 3:  // tiny and huge doubles, subnormals among them, in exponent form
        return DoubleText(std::ldexp(Fraction(), static_cast<int>(random_() % 2100) - 1074),
                          separator_);
      case 4:
        return "0" + Separator() + std::string(random_() % 30, '0') + Digits(1 + random_() % 6);
      case 5:
        return Digits(1 + random_() % 3) + Separator();  // punctuation after a number
      case 6:  // dates, paragraph numbers and runs of separators
        return Digits(1 + random_() % 2) + Separator() + Digits(random_() % 3) + Separator() +
               Digits(1 + random_() % 2);
      case 7:
        return random_() % 2
                   ? NearThreshold()
                   : DoubleText(random_() % 2 ? -0.0 : static_cast<double>(random_() % 100000),
                                separator_);
      default:  // what the routines write: full precision, every magnitude
        return DoubleText(Fraction() * std::pow(10.0, static_cast<int>(random_() % 40) - 15),
                          separator_);
    }
  }

  std::string Gap() {
    static constexpr const char* kGaps[] = {" * ", " = ", " кН", "\t",          "(", ") / (",
                                            "E+",  "-",   "",    " м — высота", "%", "a"};
    return kGaps[random_() % std::size(kGaps)];
  }

 private:
  std::string Separator() { return std::string(separator_); }
  std::string Digits(uint64_t count) {
    std::string digits;
    for (uint64_t i = 0; i < count; ++i) digits += static_cast<char>('0' + random_() % 10);
    return digits;
  }
  // x,xx5 with the 5 where a rounding to 1 to 6 digits looks at it.
  std::string Half() {
    const uint64_t integer = 1 + random_() % 3;
    return Digits(integer) + Separator() + Digits(random_() % 5) + "5";
  }
  // Digits whose dropped part at some digit count lies at or next to a half, six tenths or a
  // whole, where the division of doubles may fall on either side.
  std::string NearThreshold() {
    static constexpr const char* kDropped[] = {"4999", "5",    "5000", "5999",     "6",
                                               "6000", "0000", "9999", "49999999", "50000001"};
    std::string digits = Digits(1 + random_() % 9) + kDropped[random_() % std::size(kDropped)] +
                         Digits(random_() % 4);
    const size_t point = random_() % (digits.size() + 1);
    if (point == 0) return "0" + Separator() + std::string(random_() % 4, '0') + digits;
    if (point == digits.size()) return digits;
    return digits.substr(0, point) + Separator() + digits.substr(point);
  }
  std::string Nines() {
    std::string nines(1 + random_() % 6, '9');
    if (random_() % 2) nines += Separator() + std::string(1 + random_() % 6, '9');
    return nines + (random_() % 2 ? "5" : "");
  }
  double Fraction() { return static_cast<double>(random_() >> 11) * 0x1p-53; }

  std::mt19937_64 random_;
  std::string_view separator_;
};

struct Outcome {
  std::vector<std::string> lines;
  int error = 0;
};

template <class Pass>
Outcome OutcomeOf(std::vector<std::string> lines, Pass pass) {
  Outcome outcome;
  try {
    pass(lines);
  } catch (const RuntimeError& error) {
    outcome.error = error.Number();
  }
  outcome.lines = std::move(lines);
  return outcome;
}

// Rounds `line_count` lines of about eight numbers with both passes.
void ExpectSameRounding(uint64_t seed, std::string_view separator, int line_count) {
  NumberShapes shapes(seed, separator);
  std::mt19937_64 random(seed);
  for (int block = 0; block < line_count / 100; ++block) {
    std::vector<std::string> lines{"1,5 line zero stays"};
    for (int i = 0; i < 100; ++i) {
      std::string line;
      const uint64_t numbers = random() % 16;
      for (uint64_t n = 0; n < numbers; ++n) line += shapes.Gap() + shapes.Next();
      lines.push_back(line);
    }
    const auto digits = static_cast<uint8_t>(random() % 8 == 0 ? random() % 256 : random() % 17);
    const auto method = static_cast<uint8_t>(random() % 3);
    const Outcome expected = OutcomeOf(lines, [&](std::vector<std::string>& text) {
      reference::RoundLines(text, digits, method, separator);
    });
    vbСписок list;
    for (size_t i = 1; i < lines.size(); ++i) list.ВставитьСтроку(lines[i]);
    int error = 0;
    try {
      list.ОкруглитьЧисловыеЗначения(digits, method, separator);
    } catch (const RuntimeError& raised) {
      error = raised.Number();
    }
    ASSERT_EQ(error, expected.error) << "digits " << int{digits} << " method " << int{method};
    if (error != 0) continue;  // the reference stops part way, the list is left as it was
    for (size_t i = 1; i < lines.size(); ++i) {
      ASSERT_EQ(list.ПолучитьСтроку(static_cast<int32_t>(i)), expected.lines[i])
          << lines[i] << "\ndigits " << int{digits} << " method " << int{method};
    }
  }
}

TEST(RoundingPassAgainstReference, CommaSeparator) {
  ExpectSameRounding(1, ",", 150000);
}

TEST(RoundingPassAgainstReference, PointSeparator) {
  ExpectSameRounding(2, ".", 150000);
}

TEST(RoundingPassAgainstReference, SeparatorsOfSeveralBytes) {
  ExpectSameRounding(3, "٫", 10000);
  ExpectSameRounding(4, "::", 10000);
}

// Runs where the usual reading of a report's numbers hands over to the general one: 19 and 20
// digits, a second separator, the line's last bytes, a zero byte inside a line, eight kept digits
// and nine, every layout of the text (0,000ddd, ddd000, dd,ddd, exponent form).
TEST(RoundingPassAgainstReference, RunsAtTheEdgesOfTheUsualReading) {
  const std::vector<std::string> lines = {
      "",
      "1234567890123456789",
      "12345678901234567890",
      "123456789,0123456789 x",
      "1234567890,1234567890 x",
      "0,000000000000001234",
      "12,34,",
      "12,34,5",
      "x 12,",
      "7",
      std::string("3,25\0") + "4,75" + std::string(1, '\0'),
      "0,00012345 0,0012345 123456789 1234,5678 99999999,5 999999995 100000000000000000",
      "12345678,5 123456785 0,123456785 1,23456785E-05 0,0000123456785"};
  for (const uint8_t digits : {uint8_t{4}, uint8_t{8}, uint8_t{9}}) {
    for (const uint8_t method : {uint8_t{0}, uint8_t{1}, uint8_t{2}}) {
      const Outcome expected = OutcomeOf(lines, [&](std::vector<std::string>& text) {
        reference::RoundLines(text, digits, method, ",");
      });
      const Outcome rounded = OutcomeOf(lines, [&](std::vector<std::string>& text) {
        vbСписок list;
        for (size_t i = 1; i < text.size(); ++i) list.ВставитьСтроку(text[i]);
        list.ОкруглитьЧисловыеЗначения(digits, method, ",");
        for (size_t i = 1; i < text.size(); ++i)
          text[i] = list.ПолучитьСтроку(static_cast<int32_t>(i));
      });
      ASSERT_EQ(rounded.error, expected.error)
          << "digits " << int{digits} << " method " << int{method};
      if (expected.error != 0) continue;
      EXPECT_EQ(rounded.lines, expected.lines)
          << "digits " << int{digits} << " method " << int{method};
    }
  }
}

// The report's own rule (4 digits, halves up) over many numbers: every rounded text comes
// from the numbers met earlier in the pass once they repeat.
TEST(RoundingPassAgainstReference, RepeatedNumbersOfOneReport) {
  NumberShapes shapes(5, ",");
  std::vector<std::string> numbers;
  for (int i = 0; i < 300; ++i) numbers.push_back(shapes.Next());
  std::mt19937_64 random(6);
  std::vector<std::string> lines{""};
  for (int i = 0; i < 20000; ++i) {
    std::string line = "\tk = ";
    for (int n = 0; n < 10; ++n) line += numbers[random() % numbers.size()] + " * ";
    lines.push_back(line);
  }
  std::vector<std::string> expected = lines;
  reference::RoundLines(expected, 4, 1, ",");
  vbСписок list;
  for (size_t i = 1; i < lines.size(); ++i) list.ВставитьСтроку(lines[i]);
  list.ОкруглитьЧисловыеЗначения(4, 1, ",");
  expected.front().clear();
  EXPECT_EQ(list.Строки(), expected);
}

// A line much longer than the pass's buffer and numbers whose rounded text is longer than the
// number (99995 becomes 100000).
TEST(RoundingPassAgainstReference, LinesThatGrow) {
  std::string line;
  for (int i = 0; i < 20000; ++i) line += "99995 ";
  line += "99995";
  std::vector<std::string> expected{"", line};
  reference::RoundLines(expected, 4, 1, ",");
  EXPECT_EQ(expected[1].size(), line.size() + 20001);
  vbСписок list;
  list.ВставитьСтроку(line);
  list.ОкруглитьЧисловыеЗначения(4, 1, ",");
  EXPECT_EQ(list.ПолучитьСтроку(1), expected[1]);
}

}  // namespace
}  // namespace armocalc
