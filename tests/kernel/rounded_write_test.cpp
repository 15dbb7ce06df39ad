// Reports rounded on their way into the file against the two steps they replace (the rounding
// pass over the list, then the file write): the same bytes and the same errors, for random
// reports with every separator, lines that begin as the line before them, lines beyond a block
// and text outside the code page.

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/report.hpp"
#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/number_text.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

class RandomReport {
 public:
  RandomReport(uint64_t seed, std::string_view separator) : random_(seed), separator_(separator) {}

  std::string Line() {
    std::string line;
    const uint64_t parts = random_() % 14;
    for (uint64_t i = 0; i < parts; ++i) line += Text() + Number();
    return line;
  }

  // The line with its end from a random place on replaced, as the next pass of an iteration
  // writes it.
  std::string Variant(const std::string& line) {
    const size_t cut = line.empty() ? 0 : random_() % (line.size() + 1);
    return line.substr(0, cut) + Number() + Text() + Number();
  }

  std::mt19937_64& Random() { return random_; }

 private:
  std::string Text() {
    static constexpr const char* kTexts[] = {
        " * ", " = ", " кН·м", "\t", "(",    ") / (", "E+", "-", " м — высота", "%",
        "a",   "№ ",  "€",     "✓",  "\xFF", "п. 3",  " ",  ":", "::",          "٫"};
    return kTexts[random_() % std::size(kTexts)];
  }
  std::string Number() {
    const std::string separator(separator_);
    switch (random_() % 6) {
      case 0:
        return std::to_string(random_() % 100000);
      case 1:  // halves where 4 digits look at them
        return std::to_string(1 + random_() % 999) + separator + std::to_string(random_() % 10) +
               "5";
      case 2:  // dates and paragraph numbers
        return std::to_string(random_() % 31) + separator + std::to_string(random_() % 13) +
               separator + "2024";
      case 3:
        return "9999" + separator + "95";
      default: {
        const double fraction = static_cast<double>(random_() >> 11) * 0x1p-53;
        return DoubleText(fraction * std::pow(10.0, static_cast<int>(random_() % 30) - 12),
                          separator_.empty() ? "," : separator_);
      }
    }
  }

  std::mt19937_64 random_;
  std::string_view separator_;
};

class RoundedWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = FreshTestFolder(fs::path(ARMOCALC_BINARY_DIR) / "kernel_test_files");
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // The two steps: a copy of the list rounded, then written. The file's bytes, or the error.
  std::string TwoSteps(const vbСписок& list, uint8_t digits, uint8_t method,
                       std::string_view separator) {
    const std::string path = PathOf("two_steps.txt");
    try {
      vbСписок copy = list;
      copy.ОкруглитьЧисловыеЗначения(digits, method, separator);
      copy.Выгрузить(path);
    } catch (const RuntimeError& error) {
      return "error " + std::to_string(error.Number());
    }
    return Bytes(path);
  }
  std::string OnTheWay(const vbСписок& list, uint8_t digits, uint8_t method,
                       std::string_view separator) {
    const std::string path = PathOf("on_the_way.txt");
    try {
      list.WriteRounded(path, digits, method, separator);
    } catch (const RuntimeError& error) {
      return "error " + std::to_string(error.Number());
    }
    return Bytes(path);
  }

  void ExpectSameFiles(uint64_t seed, std::string_view separator, int lines) {
    RandomReport report(seed, separator);
    vbСписок list;
    std::string line = report.Line();
    for (int i = 0; i < lines; ++i) {
      list.ВставитьСтроку(line);
      line = report.Random()() % 3 == 0 ? report.Line() : report.Variant(line);
    }
    const auto digits = static_cast<uint8_t>(1 + report.Random()() % 8);
    // Halves to even read the kept digits as a 32-bit integer: joined numbers overflow it.
    const auto method = static_cast<uint8_t>(report.Random()() % 2);
    const std::string written = OnTheWay(list, digits, method, separator);
    EXPECT_FALSE(written.starts_with("error")) << written;
    ASSERT_EQ(written, TwoSteps(list, digits, method, separator))
        << "seed " << seed << " digits " << int{digits} << " method " << int{method};
  }

  fs::path folder_;
};

TEST_F(RoundedWrite, SameBytesAsRoundingThenWriting) {
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    ExpectSameFiles(seed, ",", 3000);
    ExpectSameFiles(100 + seed, ".", 3000);
  }
  ExpectSameFiles(201, "٫", 3000);
  ExpectSameFiles(202, "::", 3000);
  ExpectSameFiles(203, ":", 3000);
  ExpectSameFiles(204, "", 300);   // no separator: the text stays
  ExpectSameFiles(205, "1", 300);  // a separator of digits: the text stays
}

TEST_F(RoundedWrite, SameBytesInUtf8) {
  const ScopedReportEncoding utf8(ReportEncoding::Utf8);
  ExpectSameFiles(301, ",", 3000);
}

// Many blocks, lines on both sides of a block's end and one line longer than a block.
TEST_F(RoundedWrite, LinesAcrossBlocks) {
  vbСписок list;
  std::string formula = "\tk = (7351,5 / 1000 + 1 * 340 * 0,000314159265358979) = ";
  for (int i = 0; i < 30000; ++i) list.ВставитьСтроку(formula + DoubleText(i / 7.0, ","));
  std::string long_line;
  for (int i = 0; i < 40000; ++i) long_line += "0,123456789 кН ";
  list.ВставитьСтроку(long_line, 15000);
  EXPECT_EQ(OnTheWay(list, 4, 1, ","), TwoSteps(list, 4, 1, ","));
}

// A number beyond the double range is the call's error before any error of the file, and the
// old file stays as it was.
TEST_F(RoundedWrite, RoundingErrorsComeFirst) {
  vbСписок list;
  for (int i = 0; i < 20000; ++i) list.ВставитьСтроку("x = 1,5 кН");
  list.ВставитьСтроку(std::string(400, '9'));
  const std::string path = PathOf("report.txt");
  { std::ofstream(path, std::ios::binary) << "old report\r\n"; }
  EXPECT_RUNTIME_ERROR(list.WriteRounded(path, 4, 1, ","), kOverflow);
  EXPECT_EQ(Bytes(path), "old report\r\n");
  EXPECT_RUNTIME_ERROR(list.WriteRounded(PathOf("no such folder/report.txt"), 4, 1, ","),
                       kOverflow);
  list.УдалитьСтроку(list.КоличествоСтрок() - 1);
  EXPECT_RUNTIME_ERROR(list.WriteRounded(PathOf("no such folder/report.txt"), 4, 1, ","),
                       kPathNotFound);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

// A finished report with a file holds the lines that the same report collected in memory and
// rounded holds.
TEST_F(RoundedWrite, FinishedReportMatchesItsRoundedLines) {
  const ScopedDecimalSeparator comma(",");
  const std::string path = PathOf("report.txt");
  Отчёт to_file(path);
  Отчёт in_memory("", true);
  for (int i = 0; i < 5000; ++i) {
    for (Отчёт* report : {&to_file, &in_memory}) {
      report->Add("\tk = ", i / 3.0, " * ", 2.5F, " = ", Число(i * 1.0000001), " кН");
      if (i % 1000 == 0) report->List().ВставитьСтроку("Этап " + std::to_string(i));
    }
  }
  to_file.Finish();
  in_memory.Finish();
  std::string expected;
  for (const std::string& line : in_memory.List().Строки()) expected += Utf8ToCp1251(line) + "\r\n";
  EXPECT_EQ(Bytes(path), expected);
}

}  // namespace
}  // namespace armocalc
