#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

#include "cli/cli.hpp"
#include "tests/cli/cli_test_support.hpp"

namespace armocalc::cli {
namespace {

TEST(Command, SingleCallPrintsTheResult) {
  const Outcome o = RunCli({"мтБетонB", "КлассБетона=25"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(FirstLine(o.out), "result = 13.0");
}

TEST(Command, SingleCallReadsTextsWithTheGivenSeparator) {
  // "25,0" is the Single 25 under a comma: the same value, so nothing is reported as changed.
  const Outcome o =
      RunCli({"мтбетонb", "классбетона=25,0", "Параметр=1", "--decimal-separator", ","});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(FirstLine(o.out), "result = 13.0");
  EXPECT_EQ(RunCli({"мтбетонb", "классбетона=25,0", "--decimal-separator=."}).status, 1);
}

TEST(Command, SingleCallPrintsTheByRefOutputsTheRoutineSet) {
  const Outcome o = RunCli({"мтНапряжениеB", "КлассАрматурнойСтали=2", "КлассБетона=30", "N=0.5",
                            "M=0.1", "Fв=10", "Fн=10", "ав=0.05", "ан=0.05", "h=0.6", "B=0.4"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(o.out.rfind("result = ", 0), 0u) << o.out;
  EXPECT_NE(o.out.find("\nSb = "), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\nSs = "), std::string::npos) << o.out;
  EXPECT_EQ(o.out.find("\nh = "), std::string::npos) << "unchanged inputs are not printed";
}

TEST(Command, RunTimeErrorsExitWithOne) {
  const Outcome o = RunCli({"мтБетонB", "КлассБетона=abc"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(FirstLine(o.err), "Run-time error '13': Type mismatch");
  EXPECT_EQ(FirstLine(RunCli({"мтБетонB"}).err), "Run-time error '449': Argument not optional");
  const Outcome object = RunCli({"мтБетонB", "КлассБетона={\"a\":1}"});
  EXPECT_EQ(object.status, 1);
  EXPECT_EQ(object.err.rfind("Run-time error '13': Type mismatch", 0), 0u) << object.err;
}

TEST(Command, UsageErrorsExitWithTwo) {
  EXPECT_EQ(RunCli({}).status, 2);
  EXPECT_EQ(RunCli({"мтНетТакогоB"}).status, 2);
  EXPECT_EQ(RunCli({"мтБетонB", "Класс=25"}).status, 2);
  EXPECT_EQ(RunCli({"мтБетонB", "КлассБетона=25", "КЛАССБЕТОНА=25"}).status, 2);
  EXPECT_EQ(RunCli({"мтБетонB", "25"}).status, 2);
  EXPECT_EQ(RunCli({"мтБетонB", "КлассБетона=25", "--report", "x.txt"}).status, 2)
      << "a method without a report";
  EXPECT_EQ(RunCli({"мтБетонB", "КлассБетона=25", "--decimal-separator"}).status, 2);
  EXPECT_EQ(RunCli({"мтБетонB", "КлассБетона=25", "--report-encoding", "koi8"}).status, 2);
  EXPECT_EQ(RunCli({"methods", "x"}).status, 2);
  EXPECT_EQ(RunCli({"call", "--bogus"}).status, 2);
  const Outcome o = RunCli({"мтБетонB", "--frobnicate"});
  EXPECT_EQ(o.err.find("Usage:"), std::string::npos) << "no usage dump after an error";
  EXPECT_NE(o.err.find("\nsee armocalc мтБетонB --help\n"), std::string::npos) << o.err;
}

TEST(Command, MethodsListsEveryMethodWithItsParameters) {
  const Outcome o = RunCli({"methods"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("мтRingStrengthB (0x60030000) -> Double  Прочность круглого сечения сваи\n"),
            std::string::npos);
  EXPECT_NE(o.out.find("мтПрочностьКругаB (0x60030016) -> Double  "), std::string::npos);
  EXPECT_NE(o.out.find("СНиП_RsB (0x60030004) -> Variant  "), std::string::npos);
  EXPECT_TRUE(
      std::regex_search(o.out, std::regex("Фиброползучесть +Boolean +ByRef +optional = True\n")));
  EXPECT_TRUE(std::regex_search(o.out, std::regex("Точность +Double +ByRef +optional = 0.0001\n")));
  EXPECT_TRUE(std::regex_search(o.out, std::regex("\n  Параметр +Byte +ByVal +optional = 1\n")));
  EXPECT_TRUE(std::regex_search(o.out, std::regex("\n  rCells +Range +ByRef +required\n")));
  size_t headers = 0;
  for (size_t pos = 0; (pos = o.out.find(") -> ", pos)) != std::string::npos; ++pos) ++headers;
  EXPECT_EQ(headers, 23u);
}

TEST(Command, MethodsJsonHoldsTheWholeTableForTools) {
  const Outcome o = RunCli({"methods", "--json"});
  ASSERT_EQ(o.status, 0) << o.err;
  const auto table = nlohmann::json::parse(o.out);
  ASSERT_EQ(table["methods"].size(), 23u);
  const auto& ring = table["methods"][0];
  EXPECT_EQ(ring["name"], "мтRingStrengthB");
  EXPECT_EQ(ring["dispid"], 0x60030000);
  const auto& concrete = table["methods"][1];
  EXPECT_EQ(concrete["latin"], "mtBetonB");
  EXPECT_EQ(concrete["params"][0]["latin"], "KlassBetona");
  EXPECT_EQ(concrete["params"][0]["type"], "Single");
  EXPECT_EQ(concrete["params"][0]["optional"], false);
  EXPECT_TRUE(concrete["params"][0]["default"].is_null());
  EXPECT_EQ(concrete["params"][1]["default"], 1);
  EXPECT_FALSE(concrete["params"][1]["codes"].empty());
  for (const auto& method : table["methods"]) {
    EXPECT_FALSE(method["summary"].get<std::string>().empty()) << method["name"];
    for (const auto& param : method["params"]) {
      EXPECT_FALSE(param["meaning"].get<std::string>().empty()) << param["name"];
    }
  }
  EXPECT_EQ(RunCli({"methods", "--xml"}).status, 2);
}

TEST(Command, LatinSpellingsCallTheDeclaredNames) {
  const Outcome o = RunCli({"mtBetonB", "KlassBetona=25", "parametr=1"});
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_EQ(FirstLine(o.out), "result = 13.0");
  const Outcome json =
      RunCli({"call"}, R"({"method": "MTBETONB", "args": {"KlassBetona": 25, "Параметр": 1}})"
                       "\n");
  EXPECT_EQ(json.out,
            "{\"result\":13.0,\"hresult\":0,\"error\":null,"
            "\"byref\":{\"КлассБетона\":25.0,\"Параметр\":1}}\n")
      << "answers keep the declared names";
}

TEST(Command, MethodHelpDocumentsTheParameters) {
  const Outcome o = RunCli({"мтПрочностьB", "--help"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("0x60030009"), std::string::npos);
  EXPECT_NE(o.out.find("[--report FILE]"), std::string::npos);
  EXPECT_NE(o.out.find("\n  L  Double, ByRef"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("optional = -1"), std::string::npos);
  EXPECT_NE(o.out.find("ByVal"), std::string::npos);
  EXPECT_EQ(RunCli({"мтБетонB", "--help"}).out.find("--report FILE"), std::string::npos);
  EXPECT_EQ(RunCli({"--help"}).status, 0);
}

TEST(Command, AnUnusableSeparatorIsAUsageErrorAndNothingIsComputed) {
  for (const std::string bad : {"E", "-", "", "ab", " "}) {
    const Outcome o = RunCli({"мтБетонB", "КлассБетона=25", "--decimal-separator", bad});
    EXPECT_EQ(o.status, 2) << bad;
    EXPECT_EQ(o.out, "") << bad;
    EXPECT_NE(o.err.find("decimal separator"), std::string::npos);
  }
  EXPECT_EQ(RunCli({"call", "--decimal-separator=E"}, "{}\n").status, 2);
}

TEST(Command, CallLoopUsesTheCommandLineSeparator) {
  const Outcome o = RunCli({"call", "--decimal-separator=,"},
                           "{\"method\":\"мтБетонB\",\"args\":{\"КлассБетона\":\"25,0\"}}\n");
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(nlohmann::json::parse(o.out)["result"], 13.0) << o.out;
}

// The built program, as other tools run it.
class Binary : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("ARMOCALC_CLI");
    if (!path || !std::filesystem::exists(path)) GTEST_SKIP() << "ARMOCALC_CLI not set";
    program_ = path;
    dir_ = std::filesystem::temp_directory_path() /
           ("armocalc_cli_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }
  static std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
  }
  Outcome Exec(const std::vector<std::string>& args, const std::string& input = "") {
    const auto in = dir_ / "in.txt", out = dir_ / "out.txt", err = dir_ / "err.txt";
    std::ofstream(in, std::ios::binary) << input;
    std::string command = Quote(program_);
    for (const auto& arg : args) command += " " + Quote(arg);
    command += " <" + Quote(in) + " >" + Quote(out) + " 2>" + Quote(err);
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
  }
  std::string program_;
  std::filesystem::path dir_;
};

TEST_F(Binary, SpeaksJsonLines) {
  const Outcome o =
      Exec({"call"},
           "{\"method\": \"мтБетонB\", \"args\": {\"КлассБетона\": 25, \"Параметр\": 1}}\n"
           "\n"
           "{broken\n"
           "{\"method\": \"мтБетонB\", \"args\": {\"Нет\": 1}}\n"
           "{\"method\": \"СНиП_RsB\", \"args\": {\"Класс_арматуры\": 2, "
           "\"Диаметр_арматуры\": 0.30000000000000004}}\n");
  EXPECT_EQ(o.status, 1) << "every line answered, some failed";
  std::istringstream lines(o.out);
  std::vector<nlohmann::json> answers;
  std::string line;
  while (std::getline(lines, line)) answers.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(answers.size(), 4u) << o.out;
  EXPECT_EQ(
      answers[0].dump(),
      R"({"byref":{"КлассБетона":25.0,"Параметр":1},"error":null,"hresult":0,"result":13.0})");
  EXPECT_EQ(answers[1]["error"]["number"], 5);
  EXPECT_EQ(answers[2]["error"]["number"], 448);
  EXPECT_EQ(answers[3]["byref"]["Диаметр_арматуры"].get<double>(), 0.1 + 0.2);
  EXPECT_EQ(
      o.out.substr(0, o.out.find('\n')),
      R"({"result":13.0,"hresult":0,"error":null,"byref":{"КлассБетона":25.0,"Параметр":1}})");
}

TEST_F(Binary, SingleCallsAndExitStatus) {
  Outcome o = Exec({"мтБетонB", "КлассБетона=25"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(FirstLine(o.out), "result = 13.0");
  o = Exec({"мтБетонB", "КлассБетона=x"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(FirstLine(o.err), "Run-time error '13': Type mismatch");
  o = Exec({"мтБетонB", "Нет=1"});
  EXPECT_EQ(o.status, 2);
  o = Exec({"methods"});
  EXPECT_EQ(o.status, 0);
  EXPECT_NE(o.out.find("ЧислоПрописьюB (0x60030006) -> Variant"), std::string::npos);
}

std::string StrengthRequest(const std::string& report) {
  return "{\"method\": \"мтПрочностьB\", \"args\": {\"КлассАрматурнойСтали\": 3, "
         "\"КлассБетона\": 25, \"N\": 0, \"M\": 0.1, \"Fв\": 10, \"Fн\": 10, \"ав\": 0.05, "
         "\"ан\": 0.05, \"h\": 1, \"Отчет\": " +
         nlohmann::json(report).dump() + "}}\n";
}

TEST_F(Binary, ServingRequestsAReportNeverGoesToTheAnswerStream) {
  const Outcome o = Exec({"call"}, StrengthRequest("/dev/stdout") + StrengthRequest("/dev/fd/1"));
  EXPECT_EQ(o.status, 1) << "both requests fail";
  std::istringstream lines(o.out);
  std::string line;
  int answers = 0;
  while (std::getline(lines, line)) {
    EXPECT_EQ(nlohmann::json::parse(line)["error"]["number"], 75) << line;
    ++answers;
  }
  EXPECT_EQ(answers, 2);
}

TEST_F(Binary, AnOrdinaryUserCannotReplaceAnotherUsersReport) {
  if (::geteuid() != 0 || std::system("command -v setpriv >/dev/null") != 0) {
    GTEST_SKIP() << "needs root and setpriv to run as user nobody";
  }
  const auto shared = dir_ / "shared";
  std::filesystem::create_directories(shared);
  std::filesystem::permissions(shared, std::filesystem::perms::all);
  const auto report = shared / "root.txt";
  std::ofstream(report) << "kept";
  const std::string program = program_;
  program_ = "setpriv";
  const Outcome o = Exec({"--reuid=nobody", "--regid=nogroup", "--clear-groups", program, "call"},
                         StrengthRequest(report.string()));
  program_ = program;
  EXPECT_EQ(nlohmann::json::parse(o.out)["error"]["number"], 70) << o.out << o.err;
  EXPECT_EQ(Read(report), "kept");
}

}  // namespace
}  // namespace armocalc::cli
