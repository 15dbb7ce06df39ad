// What the command tells people: help from the method table, the worked examples, hints after a
// mistake, the meaning and verdict of a result, the reports written, the version.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/hints.hpp"
#include "interface/latin_names.hpp"
#include "runtime/version.hpp"
#include "tests/cli/cli_test_support.hpp"

namespace armocalc::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Words(std::string_view text) {
  std::vector<std::string> words;
  std::istringstream in{std::string(text)};
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

std::string NameOf(const std::string& argument) {
  return argument.substr(0, argument.find('='));
}

// The method's worked example as armocalc's arguments; `more` replaces an argument of the same
// name or follows.
std::vector<std::string> ExampleArgs(const MethodInfo& method,
                                     const std::vector<std::string>& more = {}) {
  std::vector<std::string> args{std::string(method.name)};
  for (std::string& word : Words(method.example)) args.push_back(std::move(word));
  for (const std::string& argument : more) {
    const auto same = std::find_if(args.begin() + 1, args.end(), [&](const std::string& given) {
      return argument.find('=') != std::string::npos && NameOf(given) == NameOf(argument);
    });
    if (same != args.end()) {
      *same = argument;
    } else {
      args.push_back(argument);
    }
  }
  return args;
}

nlohmann::json ResultOf(const Outcome& o) {
  const std::string first = FirstLine(o.out);
  EXPECT_EQ(first.rfind("result = ", 0), 0u) << o.out << o.err;
  return nlohmann::json::parse(first.substr(first.find('=') + 2), nullptr, false);
}

const MethodInfo& Method(std::string_view name) {
  const MethodInfo* method = FindMethod(name);
  EXPECT_NE(method, nullptr) << name;
  return *method;
}

TEST(Help, EveryMethodsHelpExplainsEachParameterAndShowsItsExample) {
  for (const MethodInfo& method : Methods()) {
    const Outcome o = RunCli({std::string(method.name), "--help"});
    ASSERT_EQ(o.status, 0) << method.name;
    EXPECT_NE(o.out.find(Transliterated(method.name)), std::string::npos) << method.name;
    EXPECT_NE(o.out.find(method.result_meaning), std::string::npos) << method.name;
    EXPECT_NE(o.out.find("\n  armocalc " + std::string(method.name) + " " +
                         std::string(method.example) + "\n"),
              std::string::npos)
        << method.name;
    for (const ParamInfo& param : method.params) {
      EXPECT_NE(o.out.find(std::string(param.doc.meaning)), std::string::npos) << param.name;
      for (const CodeMeaning& code : param.doc.codes) {
        std::string value = std::to_string(code.value);
        value.resize(std::max<size_t>(value.size(), 3), ' ');
        EXPECT_NE(o.out.find("\n      " + value + " " + std::string(code.meaning) + "\n"),
                  std::string::npos)
            << param.name << " " << code.value;
      }
    }
  }
  const Outcome concrete = RunCli({"mtBetonB", "--help"});
  EXPECT_NE(concrete.out.find("  Параметр (Parametr)  Byte, ByRef, optional = 1\n"),
            std::string::npos)
      << concrete.out;
  EXPECT_NE(concrete.out.find("      8   модуль упругости Eb, МПа\n"), std::string::npos);
}

TEST(Help, TheBarTableMethodsDescribeTheTableLayout) {
  for (const char* name :
       {"мтПрочностьТB", "мтТрещиностойкостьПродольныеТB", "мтТрещиностойкостьТB"}) {
    const std::string help = RunCli({name, "--help"}).out;
    EXPECT_NE(help.find("столбец 2"), std::string::npos) << name;
    EXPECT_NE(help.find("y > 0"), std::string::npos) << name;
  }
}

// A result an engineer could use: a finite number that is none of the "could not compute"
// answers (0, −1, the largest Double), or a text that is no error marker.
bool IsSensible(const nlohmann::json& result) {
  if (result.is_number()) {
    const double value = result.get<double>();
    return std::isfinite(value) && std::fabs(value) < 1e300 && value != 0 && value != -1;
  }
  return result.is_string() && !result.get<std::string>().empty() && result != "ERROR";
}

TEST(Help, EveryWorkedExampleRunsAndGivesASensibleResult) {
  for (const MethodInfo& method : Methods()) {
    ASSERT_FALSE(method.example.empty()) << method.name;
    const Outcome o = RunCli(ExampleArgs(method));
    EXPECT_EQ(o.status, 0) << method.name << ": " << o.err;
    EXPECT_TRUE(IsSensible(ResultOf(o))) << method.name << ": " << o.out;
  }
}

TEST(Help, MethodsAndTheReferenceComeFromTheTable) {
  const std::string markdown = RunCli({"methods", "--markdown"}).out;
  for (const MethodInfo& method : Methods()) {
    EXPECT_NE(markdown.find("\n## " + std::string(method.name) + "\n"), std::string::npos);
    for (const ParamInfo& param : method.params) {
      EXPECT_NE(markdown.find("| `" + std::string(param.name) + "` | `" +
                              Transliterated(param.name) + "` |"),
                std::string::npos)
          << method.name << " " << param.name;
    }
  }
  EXPECT_EQ(markdown.find("|\n|"), markdown.find("|\n|---")) << "rows are whole";
  const auto table = nlohmann::json::parse(RunCli({"methods", "--json"}).out);
  EXPECT_EQ(table["version"], std::string(kArmocalcVersion));
}

TEST(Version, TheCommandSaysItsVersion) {
  const Outcome o = RunCli({"--version"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "armocalc " + std::string(kArmocalcVersion) + "\n");
  EXPECT_EQ(std::count(kArmocalcVersion.begin(), kArmocalcVersion.end(), '.'), 2);
}

TEST(Hints, ACommaNumberUnderAPointSeparatorSaysHowToWriteIt) {
  const Outcome o = RunCli({"мтБетонB", "КлассБетона=27,5", "--decimal-separator", "."});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.err,
            "Run-time error '13': Type mismatch\n"
            "КлассБетона = '27,5' is not a number: use '.' or --decimal-separator ,\n");
  const Outcome point = RunCli({"мтБетонB", "КлассБетона=27.5x", "--decimal-separator", ","});
  EXPECT_NE(point.err.find("КлассБетона = '27.5x' is not a number: use ',' or "
                           "--decimal-separator .\n"),
            std::string::npos)
      << point.err;
  const Outcome overflow = RunCli({"мтБетонB", "КлассБетона=25", "Параметр=300"});
  EXPECT_NE(overflow.err.find("Параметр = '300' is out of the range of Byte (0 … 255)"),
            std::string::npos)
      << overflow.err;
  const Outcome missing = RunCli({"мтБетонB"});
  EXPECT_NE(missing.err.find("\nrequired, not given: КлассБетона (класс бетона"), std::string::npos)
      << missing.err;
  const Outcome range = RunCli({"ЧислоПрописьюB", "rCells=12"});
  EXPECT_NE(range.err.find("rCells is a Range: give its rows of cells as JSON"), std::string::npos)
      << range.err;
}

TEST(Hints, AMisspeltNameGetsTheNearestDeclaredOnesAndNoUsageDump) {
  Outcome o = RunCli({"мтБетон", "КлассБетона=25"});
  EXPECT_EQ(o.status, 2);
  EXPECT_EQ(o.err,
            "armocalc: unknown method or command 'мтБетон'\n"
            "did you mean 'мтБетонB'?\n"
            "see armocalc methods, armocalc --help\n");
  o = RunCli({"mtProchnstTB"});
  EXPECT_NE(o.err.find("did you mean 'мтПрочностьТB' (mtProchnostTB)?"), std::string::npos)
      << "a Latin spelling finds the name by its transliteration: " << o.err;
  o = RunCli({"мтПрочностьТ"});
  EXPECT_NE(o.err.find("did you mean 'мтПрочностьB' or 'мтПрочностьТB'?"), std::string::npos)
      << o.err;
  o = RunCli({"frobnicate"});
  EXPECT_EQ(o.err.find("did you mean"), std::string::npos) << "nothing is near: " << o.err;

  o = RunCli({"мтБетонB", "КласБетона=25"});
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("\ndid you mean 'КлассБетона'?\nsee armocalc мтБетонB --help\n"),
            std::string::npos)
      << o.err;
  o = RunCli({"мтБетонB", "KlasBetona=25"});
  EXPECT_NE(o.err.find("did you mean 'КлассБетона' (KlassBetona)?"), std::string::npos) << o.err;
  o = RunCli({"мтПрочностьB", "Fb=10"});
  EXPECT_NE(o.err.find("did you mean 'Fв' (Fv)"), std::string::npos) << o.err;
}

TEST(Hints, LookAlikeLettersCountAsTheLettersTheyResemble) {
  // Latin K, a and o inside the Cyrillic name, and one letter missing.
  EXPECT_EQ(NameDistance("KлaссБетoна", "КлассБетона"), 0u);
  const Outcome o = RunCli({"мтБетонB", "KлaсБетoна=25"});
  EXPECT_NE(o.err.find("did you mean 'КлассБетона'?"), std::string::npos) << o.err;
  // A look-alike spelling without a typo is the declared name itself.
  EXPECT_EQ(FirstLine(RunCli({"мтБетонB", "KлaссБетoна=25"}).out), "result = 13.0");
}

TEST(Hints, TheProtocolAddsTheHintToItsErrorObject) {
  const auto answer = [](const std::string& request) {
    return nlohmann::json::parse(RunCli({"call"}, request + "\n").out);
  };
  auto a = answer(R"({"method":"мтБетонB","args":{"КлассБетона":"27,5"},"decimal_separator":"."})");
  EXPECT_EQ(a["error"]["number"], 13);
  EXPECT_EQ(a["error"]["description"], "Type mismatch");
  EXPECT_EQ(a["error"]["hint"],
            "КлассБетона = '27,5' is not a number: use '.' or \"decimal_separator\": \",\"");
  a = answer(R"({"method":"mtBetnB","args":{}})");
  EXPECT_EQ(a["error"]["hint"], "did you mean 'мтБетонB' (mtBetonB)?");
  a = answer(R"({"method":"мтБетонB","args":{"КлассБетонаа":25}})");
  EXPECT_EQ(a["error"]["hint"], "'КлассБетонаа': did you mean 'КлассБетона'?");
  a = answer(R"({"method":"мтБетонB","args":{"Параметр":1}})");
  EXPECT_EQ(a["error"]["number"], 449);
  EXPECT_NE(a["error"]["hint"].get<std::string>().find("КлассБетона"), std::string::npos);
  a = answer(R"({"method":"мтБетонB","args":{"КлассБетона":25}})");
  EXPECT_TRUE(a["error"].is_null()) << "no hint where nothing failed";
  a = answer(R"({"method":"frobnicate"})");
  EXPECT_FALSE(a["error"].contains("hint")) << "no hint where none helps";
}

// The verdict printed for a margin result, or "" when there is none.
std::string VerdictLine(const std::string& out) {
  const size_t start = out.find("\nverdict: ");
  if (start == std::string::npos) return {};
  return out.substr(start + 10, out.find('\n', start + 1) - start - 10);
}

TEST(Verdict, EachMarginMethodJudgesTheResultByItsOwnLimit) {
  const MethodInfo& strength = Method("мтПрочностьB");
  for (const int code : {0, 1, 2, 3}) {
    for (const char* moment : {"M=0.1", "M=5"}) {
      const Outcome o =
          RunCli(ExampleArgs(strength, {moment, "МетодОпределенияЗапаса=" + std::to_string(code)}));
      ASSERT_EQ(o.status, 0) << o.err;
      const double result = ResultOf(o).get<double>();
      const bool ratio = code == 0;
      const bool holds = ratio ? result >= 1 : result >= 0;
      EXPECT_EQ(holds, std::string(moment) == "M=0.1") << code << " " << result;
      const std::string expected =
          ratio ? (holds ? "запас обеспечен (отношение ≥ 1)" : "запас не обеспечен (отношение < 1)")
                : (holds ? "запас обеспечен (запас ≥ 0 %)" : "запас не обеспечен (запас < 0 %)");
      EXPECT_EQ(VerdictLine(o.out), expected) << code << " " << moment << "\n" << o.out;
    }
  }
}

TEST(Verdict, EveryMarginMethodsExampleHasAVerdictAndOthersNone) {
  size_t margins = 0;
  for (const MethodInfo& method : Methods()) {
    const Outcome o = RunCli(ExampleArgs(method));
    const bool margin = MarginMethodParam(method) >= 0;
    margins += margin;
    EXPECT_EQ(VerdictLine(o.out).empty(), !margin) << method.name << "\n" << o.out;
    EXPECT_NE(o.out.find("\nmeaning: " + std::string(method.result_meaning) + "\n"),
              std::string::npos)
        << method.name;
  }
  EXPECT_EQ(margins, 14u);
  const Outcome width =
      RunCli(ExampleArgs(Method("мтТрещиностойкостьB"), {"МетодОпределенияЗапаса=4"}));
  EXPECT_EQ(width.status, 0) << width.err;
  EXPECT_EQ(VerdictLine(width.out), "") << "a crack width is no margin";
}

class Reports : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        fs::temp_directory_path() /
        ("armocalc-explain-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  std::string In(const std::string& name) const { return (folder_ / name).string(); }

  fs::path folder_;
};

TEST_F(Reports, TheReportFilesWrittenArePrinted) {
  const std::string report = In("отчёт.txt");
  Outcome o = RunCli(ExampleArgs(Method("мтПрочностьB"), {"--report", report}));
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_NE(o.out.find("\nreport: " + report + "\n"), std::string::npos) << o.out;
  EXPECT_TRUE(fs::exists(fs::u8path(report)));
  EXPECT_EQ(o.err, "");

  const std::string stress = In("напряжения.txt");
  o = RunCli(ExampleArgs(Method("мтНапряжениеB"), {"--report", stress}));
  EXPECT_NE(o.out.find("\nreport: " + In("Stress-напряжения.txt") + "\n"), std::string::npos)
      << o.out;
  EXPECT_EQ(o.out.find("\nreport: " + stress + "\n"), std::string::npos) << "not written";

  const std::string endurance = In("endurance.txt");
  o = RunCli(ExampleArgs(Method("мтВыносливостьB"), {"--report", endurance}));
  EXPECT_NE(o.out.find("\nreport: " + endurance + "\n"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("\nreport: " + In("Stress-endurance.txt") + "\n"), std::string::npos)
      << o.out;
}

TEST_F(Reports, AShortReportPathWarnsThatNothingWasWritten) {
  const fs::path here = fs::current_path();
  fs::current_path(folder_);
  const Outcome o = RunCli(ExampleArgs(Method("мтПрочностьB"), {"--report", "r.md"}));
  fs::current_path(here);
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out.find("report:"), std::string::npos);
  EXPECT_EQ(o.err,
            "armocalc: warning: the report path 'r.md' has 4 characters or fewer: no report was "
            "written (give a longer path)\n");
  EXPECT_FALSE(fs::exists(folder_ / "r.md"));
}

TEST(JsonOutput, ASingleCallCanPrintTheProtocolsAnswerLine) {
  Outcome o = RunCli({"мтБетонB", "КлассБетона=25", "--json"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, RunCli({"call"}, R"({"method":"мтБетонB","args":{"КлассБетона":25}})"
                                    "\n")
                       .out);
  o = RunCli({"мтБетонB", "КлассБетона=25,5", "--decimal-separator", ",", "--json"});
  EXPECT_EQ(nlohmann::json::parse(o.out)["byref"]["КлассБетона"], 25.5);
  o = RunCli({"мтБетонB", "КлассБетона=abc", "--json"});
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(nlohmann::json::parse(o.out)["error"]["number"], 13);
}

}  // namespace
}  // namespace armocalc::cli
