#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "cli/html_text.hpp"
#include "runtime/cp1251.hpp"

namespace armocalc::cli {
namespace {

namespace fs = std::filesystem;

class ReportPage : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("armocalc_page_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  int Call(std::vector<std::string> args) const {
    std::istringstream in;
    std::ostringstream out, err;
    const int status = cli::Run(args, in, out, err);
    EXPECT_EQ(status, 0) << err.str();
    return status;
  }

  fs::path folder_;
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The report's lines as the CP1251 file holds them, in UTF-8.
std::vector<std::string> TextReportLines(const std::string& path) {
  const std::string text = Cp1251ToUtf8(ReadBytes(path));
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  EXPECT_EQ(start, text.size()) << "the report ends with a line break";
  return lines;
}

std::string Unescaped(std::string text) {
  text = std::regex_replace(text, std::regex("<[^>]*>"), "");
  const std::pair<const char*, const char*> references[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [reference, character] : references) {
    text = std::regex_replace(text, std::regex(reference), character);
  }
  return text;
}

// The text of every element that stands for one report line, in page order.
std::vector<std::string> PageLines(const std::string& html) {
  static const std::regex line_element(R"(<(p|h2|h3) class="line[^"]*">([\s\S]*?)</\1>)");
  std::vector<std::string> lines;
  for (auto it = std::sregex_iterator(html.begin(), html.end(), line_element);
       it != std::sregex_iterator(); ++it) {
    lines.push_back(Unescaped((*it)[2].str()));
  }
  return lines;
}

const std::vector<std::string> kStrength = {"мтПрочностьB",   "КлассАрматурнойСтали=3",
                                            "КлассБетона=25", "N=0.5",
                                            "M=0.1",          "Fв=10",
                                            "Fн=10",          "ав=0.05",
                                            "ан=0.05",        "h=0.5"};

TEST_F(ReportPage, HoldsTheTextReportsLinesOneForOne) {
  auto args = kStrength;
  args.insert(args.end(), {"--report", Path("strength.txt"), "--report-format", "html",
                           "--decimal-separator", ","});
  Call(args);
  const auto text = TextReportLines(Path("strength.txt"));
  const std::string html = ReadBytes(Path("strength.txt.html"));
  ASSERT_GT(text.size(), 20u);
  EXPECT_EQ(PageLines(html), text);
  EXPECT_NE(html.find("<h2 class=\"line\">1. Исходные данные:</h2>"), std::string::npos);
  EXPECT_NE(html.find("<code>Fb = b * h = 1 * 0,5 = 0,5 кв.м</code>"), std::string::npos);
  EXPECT_NE(html.find("Вывод: обеспечена"), std::string::npos);
  EXPECT_NE(html.find("<td>Fв</td><td>10</td><td>см²</td>"), std::string::npos);
  EXPECT_NE(html.find("X = 0,06538 м"), std::string::npos) << "the zone height in the sketch";
}

TEST_F(ReportPage, StressReportsAndUtf8ReportsGetTheirPagesToo) {
  Call({"мтНапряжениеB", "КлассАрматурнойСтали=2", "КлассБетона=30", "N=0.5", "M=0.1", "Fв=10",
        "Fн=10", "ав=0.05", "ан=0.05", "h=0.6", "B=0.4", "--report", Path("s.txt"),
        "--report-format=html"});
  EXPECT_FALSE(fs::exists(Path("s.txt.html"))) << "the stress routine writes only Stress-s.txt";
  const auto text = TextReportLines(Path("Stress-s.txt"));
  EXPECT_EQ(PageLines(ReadBytes(Path("Stress-s.txt.html"))), text);

  Call({"мтПрочностьТB", "КлассАрматурнойСтали=3", "КлассБетона=25", "N=0.5", "M=0.1", "B=1",
        "h=0.5", "ТаблицаАрматурныхСтержней=[[1,0.2,16],[2,-0.2,16]]", "--report", Path("t.txt"),
        "--report-format", "html", "--report-encoding", "utf-8"});
  std::vector<std::string> utf8_lines;
  std::istringstream utf8(ReadBytes(Path("t.txt")));
  for (std::string line; std::getline(utf8, line);)
    utf8_lines.push_back(line.substr(0, line.size() - 1));
  EXPECT_EQ(PageLines(ReadBytes(Path("t.txt.html"))), utf8_lines);
}

TEST_F(ReportPage, EscapesEveryText) {
  EXPECT_EQ(HtmlEscape("x1 < 2 * ai & \"a\" 'b' > c"),
            "x1 &lt; 2 * ai &amp; &quot;a&quot; &#39;b&#39; &gt; c");
  EXPECT_EQ(HtmlEscape("\xD0\x90\xFF"), "\xD0\x90\xEF\xBF\xBD") << "invalid UTF-8";
  // Letters of two, three and four bytes pass whole; a broken or cut sequence gives one
  // replacement character per byte that begins none, the text around it kept.
  EXPECT_EQ(HtmlEscape("ж€𝄞<"), "ж€𝄞&lt;");
  EXPECT_EQ(HtmlEscape("a\xD0"), "a\xEF\xBF\xBD") << "a two-byte letter cut at the end";
  EXPECT_EQ(HtmlEscape("\xD0"
                       "a\xC1\x81\xE2\x82"),
            "\xEF\xBF\xBD"
            "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(HtmlEscape(std::string("x\0y", 3)), "x\xEF\xBF\xBDy");
  auto args = kStrength;
  args.insert(args.end(), {"--report", Path("a<b>&\"c'.txt"), "--report-format", "html"});
  Call(args);
  const std::string html = ReadBytes(Path("a<b>&\"c'.txt.html"));
  EXPECT_NE(html.find("x1 &lt; 2 * ai"), std::string::npos);
  EXPECT_NE(html.find("a&lt;b&gt;&amp;&quot;c&#39;.txt"), std::string::npos) << "the path input";
  EXPECT_EQ(html.find("a<b>"), std::string::npos);
}

TEST_F(ReportPage, WrittenOnlyBesideAReportThisCallWrote) {
  // The dispatcher of circular sections writes no report: no page, and no page either from a
  // report left by an earlier call.
  std::ofstream(Path("old.txt")) << "an earlier report\r\n";
  Call({"мтПрочностьКругаB", "КлассАрматурнойСтали=3", "КлассБетона=25", "N=1", "M=0.1",
        "ДиаметрНаружний=0.6", "ДиаметрКаркаса=0.5", "ns=12", "ds=16", "Отчет=" + Path("old.txt"),
        "--report-format", "html"});
  EXPECT_FALSE(fs::exists(Path("old.txt.html")));
  // Text stays the default; a method without a section gets a page without a sketch.
  auto args = kStrength;
  args.insert(args.end(), {"--report", Path("plain.txt")});
  Call(args);
  EXPECT_FALSE(fs::exists(Path("plain.txt.html")));
  Call({"мтХомутыB", "КлассАрматурнойСтали=1", "КлассБетона=25", "Q=0.3", "B=1", "ho=0.45",
        "s_wx=0.2", "s_wz=0.2", "dw_mm=10", "--report", Path("q.txt"), "--report-format", "html"});
  const std::string html = ReadBytes(Path("q.txt.html"));
  EXPECT_NE(html.find("class=\"line"), std::string::npos);
  EXPECT_EQ(html.find("<svg"), std::string::npos);
}

TEST_F(ReportPage, EachOfQuickCallsToOneReportGetsItsOwnPage) {
  // Calls within one tick of the file system's clock leave the report's time stamp as it was;
  // the page must still follow every call.
  const std::string report = Path("same.txt");
  for (int i = 0; i < 30; ++i) {
    nlohmann::json request = {{"method", "гПродавливаниеB"},
                              {"args",
                               {{"КлассБетона", 25},
                                {"N", 300 + 50 * (i % 2)},
                                {"ho", 0.25},
                                {"h", 0.4},
                                {"Отчет", report}}},
                              {"report_format", "html"}};
    const auto answer = nlohmann::json::parse(AnswerRequest(request.dump(), {}));
    ASSERT_EQ(answer["hresult"], 0) << answer.dump();
    ASSERT_EQ(PageLines(ReadBytes(report + ".html")), TextReportLines(report)) << "call " << i;
  }
}

TEST_F(ReportPage, VerdictFollowsTheMarginMethod) {
  auto failing = kStrength;
  failing[3] = "N=5";
  failing[4] = "M=0.8";
  failing.insert(failing.end(), {"--report", Path("f.txt"), "--report-format", "html"});
  Call(failing);
  EXPECT_NE(ReadBytes(Path("f.txt.html")).find("Вывод: не обеспечена"), std::string::npos);
  auto ratio = kStrength;
  ratio.insert(ratio.end(),
               {"МетодОпределенияЗапаса=0", "--report", Path("r.txt"), "--report-format", "html"});
  Call(ratio);
  EXPECT_NE(ReadBytes(Path("r.txt.html")).find("Вывод: обеспечена"), std::string::npos);
}

TEST_F(ReportPage, TheProtocolTakesTheFormatAndRefusesUnknownOnes) {
  const std::string report = Path("j.txt");
  nlohmann::json request = {{"method", "мтПрочностьB"},
                            {"args",
                             {{"КлассАрматурнойСтали", 3},
                              {"КлассБетона", 25},
                              {"N", 0.5},
                              {"M", 0.1},
                              {"Fв", 10},
                              {"Fн", 10},
                              {"ав", 0.05},
                              {"ан", 0.05},
                              {"h", 0.5},
                              {"Отчет", report}}},
                            {"report_format", "html"}};
  auto answer = nlohmann::json::parse(AnswerRequest(request.dump(), {}));
  EXPECT_EQ(answer["hresult"], 0) << answer.dump();
  EXPECT_EQ(PageLines(ReadBytes(report + ".html")), TextReportLines(report));

  request["report_format"] = "pdf";
  answer = nlohmann::json::parse(AnswerRequest(request.dump(), {}));
  EXPECT_EQ(answer["error"]["number"], 5);
  EXPECT_NE(answer["error"]["description"].get<std::string>().find("text or html"),
            std::string::npos);
}

TEST_F(ReportPage, APageThatCannotBeWrittenFailsTheCall) {
  fs::create_directories(Path("busy.txt.html"));  // a folder where the page would go
  auto args = kStrength;
  args.insert(args.end(), {"--report", Path("busy.txt"), "--report-format", "html"});
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run(args, in, out, err), 1);
  EXPECT_NE(err.str().find("Run-time error"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace armocalc::cli
