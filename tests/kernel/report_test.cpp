#include "kernel/report.hpp"

#include <filesystem>
#include <fstream>
#include <string>

#include "runtime/decimal_separator.hpp"
#include "tests/runtime/test_support.hpp"

namespace armocalc {
namespace {

namespace fs = std::filesystem;

TEST(ReportPath, LongerThanFourCharacters) {
  EXPECT_FALSE(IsReportPath(""));
  EXPECT_FALSE(IsReportPath("a.tx"));
  EXPECT_TRUE(IsReportPath("a.txt"));
  EXPECT_FALSE(IsReportPath("абвг"));
  EXPECT_TRUE(IsReportPath("абвгд"));
}

TEST(ReportSteelClass, CyrillicLetterAndLatinNumerals) {
  EXPECT_EQ(КлассАрматурыТекст(3), "\xD0\x90III");
  EXPECT_EQ(КлассАрматурыТекст(2), "\xD0\x90II");
  EXPECT_EQ(КлассАрматурыТекст(1), "\xD0\x90I");
}

TEST(Report, WithoutPathCollectsNothing) {
  Отчёт rep("a.tx");
  EXPECT_FALSE(rep);
  rep.Add("\tN = ", 1.5, " МН");
  EXPECT_EQ(rep.List().КоличествоСтрок(), 1);
  rep.Finish();
}

TEST(Report, ForcedReportRoundsWithoutWriting) {
  ScopedDecimalSeparator comma(",");
  Отчёт rep("", true);
  ASSERT_TRUE(rep.Enabled());
  rep.Add("Расчет (СНиП 2.05.03-84*)");
  rep.Add("\tКласс бетона: B", 27.5f);
  rep.Add("\tКласс арматурной стали: ", КлассАрматурыТекст(3));
  rep.Add("\tN = ", 0.1 + 0.2, " * ", 2.0 / 3.0, " = ", 0.2, " МН");
  rep.Add("\tn = ", 12, ", d = ", int16_t{16}, " мм, ", size_t{3}, 'x', true);
  EXPECT_EQ(rep.List().ПолучитьСтроку(4), "\tN = 0,3 * 0,666666666666667 = 0,2 МН");
  rep.Finish();
  EXPECT_EQ(
      rep.List().Строки(),
      (std::vector<std::string>{"", "Расчет (СНиП 2.5.3-84*)", "\tКласс бетона: B27,5",
                                "\tКласс арматурной стали: АIII", "\tN = 0,3 * 0,6667 = 0,2 МН",
                                "\tn = 12, d = 16 мм, 3xTrue"}));
}

TEST(Report, FinishWritesTheRoundedFile) {
  ScopedDecimalSeparator point(".");
  const fs::path path = fs::path(ARMOCALC_BINARY_DIR) / "kernel_report_test.txt";
  fs::remove(path);
  Отчёт rep(path.string());
  rep.Add("Расчет");
  rep.Add("1. Исходные данные:");
  rep.Add("\tM = ", 123.456789, " МН*м");
  rep.Finish();
  std::ifstream in(path, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  EXPECT_EQ(bytes, Utf8ToCp1251("\r\nРасчет\r\n1. Исходные данные:\r\n\tM = 123.5 МН*м\r\n"));
  fs::remove(path);
}

}  // namespace
}  // namespace armocalc
