#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "cli/csv_dialect.hpp"
#include "runtime/cp1251.hpp"

namespace armocalc::cli {
namespace {

namespace fs = std::filesystem;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

Outcome Csv(std::vector<std::string> args, const std::string& input) {
  args.insert(args.begin(), "csv");
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = Run(args, in, out, err);
  return {status, out.str(), err.str()};
}

// The lines of an output (line ends removed).
std::vector<std::string> Lines(const std::string& text, const std::string& line_end = "\n") {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find(line_end); end != std::string::npos;
       end = text.find(line_end, start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + line_end.size();
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

fs::path TempFolder(const std::string& name) {
  const fs::path folder =
      fs::temp_directory_path() / ("armocalc-csv-" + name + "-" + std::to_string(::getpid()));
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder;
}

constexpr const char* kBom = "\xEF\xBB\xBF";

TEST(CsvBatch, RussianExcelDialectRoundTrips) {
  const std::string input = std::string(kBom) +
                            "Элемент;КлассБетона;Параметр\r\n"
                            "Б-1;25;1\r\n"
                            "Б-2;27,5;1\r\n";
  const Outcome o = Csv({"мтБетонB"}, input);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, std::string(kBom) +
                       "Элемент;КлассБетона;Параметр;Результат;Номер ошибки;Текст ошибки\r\n"
                       "Б-1;25;1;13;;\r\n"
                       "Б-2;27,5;1;14,3;;\r\n");
}

TEST(CsvBatch, CommaDialectRoundTrips) {
  const Outcome o = Csv({"mtBetonB"}, "label,KlassBetona\nB1,27.5\nB2,25\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out,
            "label,KlassBetona,Результат,Номер ошибки,Текст ошибки\nB1,27.5,14.3,,\nB2,25,13,,\n");
}

TEST(CsvBatch, OptionsFixTheDialect) {
  // A ';' file with decimal points, named explicitly, and a tab file detected from its header.
  const Outcome point = Csv({"мтБетонB", "--decimal-separator", "."}, "КлассБетона\n27.5\n");
  EXPECT_EQ(Lines(point.out).at(1), "27.5,14.3,,") << point.err;
  const Outcome detected = Csv({"мтБетонB"}, "x;КлассБетона\na;27.5\n");
  EXPECT_EQ(Lines(detected.out).at(1), "a;27.5;14.3;;") << "decimal points under ';'";
  const Outcome tab = Csv({"мтБетонB"}, "x\tКлассБетона\na\t27,5\n");
  EXPECT_EQ(Lines(tab.out).at(1), "a\t27,5\t14,3\t\t") << tab.err;
  const Outcome pipe = Csv({"мтБетонB", "--delimiter", "|"}, "x|КлассБетона\na|25\n");
  EXPECT_EQ(Lines(pipe.out).at(1), "a|25|13||") << pipe.err;
}

TEST(CsvBatch, Cp1251InputIsAnsweredInCp1251) {
  const std::string input = Utf8ToCp1251("Элемент;КлассБетона\r\nСтойка;25\r\n");
  const Outcome o = Csv({"мтБетонB"}, input);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out, Utf8ToCp1251("Элемент;КлассБетона;Результат;Номер ошибки;Текст ошибки\r\n"
                                "Стойка;25;13;;\r\n"));
}

TEST(CsvBatch, QuotedLabelsPassThroughUntouched) {
  const std::string input =
      "Метка;КлассБетона;Примечание\n"
      "\"Б;1\";25;\"две\nстроки\"\n"
      "\"с \"\"кавычками\"\"\";25;\n";
  const Outcome o = Csv({"мтБетонB"}, input);
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out,
            "Метка;КлассБетона;Примечание;Результат;Номер ошибки;Текст ошибки\n"
            "\"Б;1\";25;\"две\nстроки\";13;;\n"
            "\"с \"\"кавычками\"\"\";25;;13;;\n");
}

TEST(CsvBatch, EmptyCellsOmitParameters) {
  // Параметр omitted takes its default 1; a row without any cell is echoed without a call; an
  // empty required cell fails its row only.
  const Outcome o = Csv({"мтБетонB"}, "КлассБетона;Параметр\n25;\n;\n;8\n25;8\n");
  EXPECT_EQ(o.status, 1);
  const auto lines = Lines(o.out);
  ASSERT_EQ(lines.size(), 5u) << o.out;
  EXPECT_EQ(lines[1], "25;;13;;");
  EXPECT_EQ(lines[2], ";;;;");
  EXPECT_EQ(lines[3], ";8;;449;Argument not optional");
  EXPECT_EQ(lines[4].rfind("25;8;", 0), 0u);
  EXPECT_NE(o.err.find("1 of 3 rows failed (row 4)"), std::string::npos) << o.err;
}

TEST(CsvBatch, AFailingRowDoesNotStopTheBatch) {
  const Outcome o = Csv({"мтБетонB"}, "КлассБетона\n25\nabc\n1,5.\n30\n");
  EXPECT_EQ(o.status, 1);
  const auto lines = Lines(o.out);
  ASSERT_EQ(lines.size(), 5u) << o.out;
  EXPECT_EQ(lines[2].rfind("abc;;13;\"Type mismatch: the cell of КлассБетона holds \"\"abc\"\"", 0),
            0u)
      << lines[2];
  EXPECT_EQ(lines[3].rfind("1,5.;;13;", 0), 0u) << "no number under the ',' separator";
  EXPECT_EQ(lines[4], "30;15,5;;");
}

TEST(CsvBatch, ByRefValuesTheMethodWroteBackGetTheirColumns) {
  // Nl and Ml take N and M when omitted: the routine writes them back.
  const Outcome o = Csv({"мтПрочностьB"},
                        "КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h\n"
                        "3;25;0,5;0,1;10;10;0,05;0,05;0,5\n");
  EXPECT_EQ(o.status, 0) << o.err;
  const auto lines = Lines(o.out);
  EXPECT_EQ(lines[0],
            "КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h;Результат;Номер ошибки;"
            "Текст ошибки;Nl (после);Ml (после)");
  EXPECT_EQ(lines[1], "3;25;0,5;0,1;10;10;0,05;0,05;0,5;43,616156139875315;;;0,5;0,1");
}

TEST(CsvBatch, GoverningRowsPerGroup) {
  const Outcome o = Csv({"мтБетонB", "--group", "Элемент"},
                        "Элемент;Сочетание;КлассБетона\n"
                        "Б1;1;30\nБ1;2;20\nБ2;1;25\nБ1;3;xx\nБ3;1;xx\nБ2;2;25\n");
  EXPECT_EQ(o.status, 1) << "two rows failed";
  const auto lines = Lines(o.out);
  ASSERT_EQ(lines.size(), 12u) << o.out;
  EXPECT_EQ(lines[7], "");
  EXPECT_EQ(lines[8],
            "Строка;Элемент;Сочетание;КлассБетона;Результат;Номер ошибки;Текст ошибки;"
            "Строк в группе;Ошибок в группе");
  EXPECT_EQ(lines[9], "3;Б1;2;20;10,5;;;3;1") << "the failing row 5 does not govern";
  EXPECT_EQ(lines[10], "4;Б2;1;25;13;;;2;0") << "ties: the first row";
  EXPECT_EQ(lines[11].rfind("6;Б3;1;xx;;13;", 0), 0u) << "no result: the failure is shown";
  EXPECT_EQ(lines[11].substr(lines[11].size() - 4), ";1;1");
}

TEST(CsvBatch, GoverningRatioUnderMarginMethodZero) {
  const std::string header =
      "Метка;КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h;"
      "МетодОпределенияЗапаса\n";
  const Outcome o =
      Csv({"мтПрочностьB", "--governing"}, header + "a;3;25;0,5;0,1;10;10;0,05;0,05;0,5;0\n" +
                                               "b;3;25;0,5;0,3;10;10;0,05;0,05;0,5;0\n" +
                                               "c;3;25;0,5;0,2;10;10;0,05;0,05;0,5;0\n");
  EXPECT_EQ(o.status, 0) << o.err;
  const auto lines = Lines(o.out);
  ASSERT_EQ(lines.size(), 7u) << o.out;
  EXPECT_EQ(lines[6].rfind("3;b;", 0), 0u) << "the smallest ratio: " << lines[6];
}

TEST(CsvBatch, ReportPathsFromATemplateStayInTheirFolder) {
  const fs::path folder = TempFolder("reports");
  const std::string pattern = (folder / "reports" / "{Метка}-{Сочетание}.txt").string();
  const Outcome o =
      Csv({"мтПрочностьB", "--report-template", pattern, "--report-encoding", "utf-8"},
          "Метка;Сочетание;КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h\n"
          "../../etc/x;1;3;25;0,5;0,1;10;10;0,05;0,05;0,5\n"
          "C:\\a;2;3;25;0,5;0,1;10;10;0,05;0,05;xx\n");
  EXPECT_EQ(o.status, 1);
  const fs::path written = folder / "reports" / "____etc_x-1.txt";
  EXPECT_TRUE(fs::is_regular_file(written)) << o.out;
  EXPECT_GT(fs::file_size(written), 100u);
  const auto lines = Lines(o.out);
  EXPECT_NE(lines[0].find(";Файл отчета"), std::string::npos);
  EXPECT_NE(lines[1].find(";" + written.string() + ";"), std::string::npos) << lines[1];
  EXPECT_FALSE(fs::exists(folder / "reports" / "C__a-2.txt")) << "a failing row writes none";
  EXPECT_EQ(lines[2].find("C__a-2.txt"), std::string::npos) << lines[2];
  EXPECT_EQ(std::distance(fs::directory_iterator(folder / "reports"), fs::directory_iterator()), 1);
  fs::remove_all(folder);
}

TEST(CsvBatch, ReportPathsFromAColumn) {
  const fs::path folder = TempFolder("column");
  const Outcome o =
      Csv({"мтПрочностьB", "--delimiter", ";"},
          "Метка;Отчет;КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h\n"
          "A;" +
              (folder / "{Метка}.txt").string() + ";3;25;0,5;0,1;10;10;0,05;0,05;0,5\n");
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_TRUE(fs::is_regular_file(folder / "A.txt")) << o.out;
  fs::remove_all(folder);
}

TEST(CsvBatch, OutputFileAndRangeCells) {
  const fs::path folder = TempFolder("output");
  const fs::path output = folder / "out.csv";
  const Outcome o = Csv({"мтПрочностьТB", "--output", output.string()},
                        "КлассАрматурнойСтали,КлассБетона,N,M,B,h,ТаблицаАрматурныхСтержней\n"
                        "3,25,0.5,0.1,1,0.5,\"[[1,0.2,16],[2,-0.2,16]]\"\n"
                        "3,25,0.5,0.1,1,0.5,16\n");
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.out, "");
  std::ifstream file(output, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 3u) << text;
  EXPECT_NE(lines[1].find("]]\","), std::string::npos);
  EXPECT_EQ(lines[1].find(",13,"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find(",13,"), std::string::npos) << "16 is no Range: " << lines[2];
  fs::remove_all(folder);
}

TEST(CsvBatch, AUsageErrorSaysWhatAndWhereToReadOn) {
  const Outcome misspelt = Csv({"мтБетон"}, "");
  EXPECT_EQ(misspelt.status, 2);
  EXPECT_EQ(misspelt.err,
            "armocalc csv: unknown method 'мтБетон'\n"
            "did you mean 'мтБетонB'?\n"
            "see armocalc csv --help\n");
  const Outcome option = Csv({"мтБетонB", "--delimiter"}, "");
  EXPECT_EQ(option.status, 2);
  EXPECT_EQ(option.err.find("Usage:"), std::string::npos) << "no usage dump after an error";
  EXPECT_TRUE(option.err.ends_with("\nsee armocalc csv --help\n")) << option.err;
}

TEST(CsvBatch, ExitStatusAndUnreadableInput) {
  EXPECT_EQ(Csv({"мтБетонB"}, "КлассБетона\n25\n").status, 0);
  EXPECT_EQ(Csv({"мтБетонB"}, "КлассБетона\nzz\n").status, 1);
  EXPECT_EQ(Csv({}, "").status, 2);
  EXPECT_EQ(Csv({"мтНетТакогоB"}, "").status, 2);
  EXPECT_EQ(Csv({"мтБетонB"}, "").status, 2) << "no header";
  EXPECT_EQ(Csv({"мтБетонB"}, "Параметр\n1\n").status, 2) << "a required column is missing";
  EXPECT_EQ(Csv({"мтБетонB"}, "КлассБетона;KlassBetona\n25;25\n").status, 2);
  EXPECT_EQ(Csv({"мтБетонB"}, "КлассБетона\n\"25\n").status, 2) << "an open quote";
  EXPECT_EQ(Csv({"мтБетонB"}, "a,b;КлассБетона,c;d\n1;2\n").status, 2) << "ambiguous";
  EXPECT_EQ(Csv({"мтБетонB"}, "x;КлассБетона\n1.5;1,5\n").status, 0)
      << "a label's decimal point says nothing about the numbers";
  EXPECT_EQ(Csv({"мтБетонB"}, "КлассБетона;Параметр\n1.5;1,5\n").status, 2) << "mixed decimals";
  EXPECT_EQ(Csv({"мтБетонB", "--group", "нет"}, "КлассБетона\n25\n").status, 2);
  EXPECT_EQ(Csv({"мтБетонB", "--report-template", "r/{x}.txt"}, "КлассБетона\n25\n").status, 2)
      << "a method without a report";
  EXPECT_EQ(Csv({"мтПрочностьB", "--report-template", "r/{нет}.txt"},
                "КлассАрматурнойСтали;КлассБетона;N;M;Fв;Fн;ав;ан;h\n")
                .status,
            2);
  EXPECT_EQ(Csv({"мтБетонB", "--delimiter", ",", "--decimal-separator", ","}, "").status, 2);
  EXPECT_EQ(Csv({"мтБетонB", "a.csv", "b.csv"}, "").status, 2);
  EXPECT_EQ(Csv({"мтБетонB", "/nonexistent/armocalc.csv"}, "").status, 2);
  EXPECT_EQ(Csv({"мтБетонB"},
                "\xFF\xFE"
                "K\0"
                "\n")
                .status,
            2)
      << "UTF-16";
  const Outcome extra = Csv({"мтБетонB"}, "КлассБетона\n25;\n25;7\n");
  EXPECT_EQ(extra.status, 1) << "a cell beyond the header fails its row; an empty one does not";
  EXPECT_EQ(Lines(extra.out).at(1), "25;13;;");
  EXPECT_EQ(Lines(extra.out).at(2),
            "25;;5;Invalid procedure call or argument: the row has 2 cells, the header 1")
      << "written in the header's width";
  EXPECT_EQ(Csv({"мтБетонB", "--help"}, "").status, 0);
}

TEST(CsvDialect, NumbersUnderEitherSeparator) {
  using csv::ReadNumber;
  EXPECT_EQ(ReadNumber("1,5", ',')->value, 1.5);
  EXPECT_EQ(ReadNumber(" -0,25 ", ',')->value, -0.25);
  EXPECT_EQ(ReadNumber("+1,5E-03", ',')->value, 1.5e-3);
  EXPECT_EQ(ReadNumber(",5", ',')->value, 0.5);
  EXPECT_TRUE(ReadNumber("12", ',')->integral);
  EXPECT_FALSE(ReadNumber("12,0", ',')->integral);
  EXPECT_FALSE(ReadNumber("1e3", '.')->integral);
  for (const char* text :
       {"1.5", "1,2,3", "", " ", "-", ",", "inf", "nan", "1e", "0x10", "1 000", "1e400", "12a"}) {
    EXPECT_FALSE(ReadNumber(text, ',')) << text;
  }
  EXPECT_EQ(csv::NumberText(0.1 + 0.2, ','), "0,30000000000000004");
  EXPECT_EQ(csv::NumberText(1e-7, '.'), "1E-07");
  EXPECT_EQ(ReadNumber(csv::NumberText(1.0 / 3, ','), ',')->value, 1.0 / 3) << "round trip";
}

TEST(CsvDialect, HugeCellsAndOpenQuotesAreRefused) {
  const std::string huge = "КлассБетона\n\"" + std::string(csv::kMaxCellBytes + 1, 'x') + "\"\n";
  EXPECT_THROW(csv::ReadTable(huge, {}), csv::InputError);
  EXPECT_THROW(csv::ReadTable("a;b\n\"x;y\n", {}), csv::InputError);
  EXPECT_THROW(csv::ReadTable(std::string("a\0b\n", 4), {}), csv::InputError);
  const csv::Table table = csv::ReadTable("a;b\r\n\r\n1;\"x\r\ny\"\r\n", {});
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0][1], "x\r\ny");
  EXPECT_EQ(table.row_numbers[0], 3u) << "the blank line is a worksheet row";
  EXPECT_EQ(table.dialect.line_end, "\r\n");
}

}  // namespace
}  // namespace armocalc::cli
