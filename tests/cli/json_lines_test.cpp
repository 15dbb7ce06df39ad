#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/cli.hpp"

namespace armocalc::cli {
namespace {

using nlohmann::json;

json Ask(const std::string& line, const CallOptions& options = {}) {
  const std::string answer = AnswerRequest(line, options);
  EXPECT_EQ(answer.find('\n'), std::string::npos);
  return json::parse(answer);
}

void ExpectError(const json& answer, int number) {
  EXPECT_EQ(answer["error"]["number"], number) << answer.dump();
  EXPECT_EQ(answer["hresult"], static_cast<int32_t>(0x800A0000u + static_cast<uint32_t>(number)));
  EXPECT_TRUE(answer["error"]["description"].is_string());
}

TEST(JsonLines, AnswersTheDocumentedExampleExactly) {
  const std::string answer = AnswerRequest(
      R"({"method": "мтБетонB", "args": {"КлассБетона": 25, "Параметр": 1}, "decimal_separator": ","})",
      {});
  EXPECT_EQ(
      answer,
      R"({"result":13.0,"hresult":0,"error":null,"byref":{"КлассБетона":25.0,"Параметр":1}})");
}

TEST(JsonLines, OmittedOptionalsTakeDefaultsAndStillReportTheirByRefValue) {
  const json answer = Ask(R"({"method": "мтбетонb", "args": {"классбетона": 25}})");
  EXPECT_EQ(answer["result"], 13.0);
  EXPECT_EQ(answer["byref"]["Параметр"], 1);
  const json no_args = Ask(R"({"method": "СНиП_EsB"})");
  ExpectError(no_args, 449);
  EXPECT_EQ(no_args["error"]["description"], "Argument not optional");
  EXPECT_TRUE(no_args["result"].is_null()) << "Variant methods fail with Empty";
  EXPECT_TRUE(no_args["byref"].is_object());
}

TEST(JsonLines, DoublesReadBackExactly) {
  const double values[] = {0.1 + 0.2, 1e-300, 5e-324, 1.7976931348623157e308, -2.5e-7, 1.0 / 3};
  for (const double value : values) {
    json request = {{"method", "СНиП_RsB"},
                    {"args", {{"Класс_арматуры", 2}, {"Диаметр_арматуры", value}}}};
    const json answer = Ask(request.dump());
    ASSERT_TRUE(answer["byref"]["Диаметр_арматуры"].is_number_float()) << answer.dump();
    const double back = answer["byref"]["Диаметр_арматуры"].get<double>();
    EXPECT_EQ(std::bit_cast<uint64_t>(back), std::bit_cast<uint64_t>(value)) << answer.dump();
  }
}

TEST(JsonLines, SinglesArePrintedAsTheirDoubleValue) {
  const json answer = Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 27.3}})");
  EXPECT_EQ(answer["byref"]["КлассБетона"].get<double>(), static_cast<double>(27.3f));
}

TEST(JsonLines, TextNumbersFollowTheDecimalSeparator) {
  const json comma = Ask(
      R"({"method": "СНиП_RsB", "args": {"Класс_арматуры": "2", "Диаметр_арматуры": "12,5"},
          "decimal_separator": ","})");
  EXPECT_EQ(comma["byref"]["Диаметр_арматуры"], 12.5) << comma.dump();
  const json point =
      Ask(R"({"method": "СНиП_RsB", "args": {"Класс_арматуры": 2, "Диаметр_арматуры": "12.5"}})",
          CallOptions{".", std::nullopt});
  EXPECT_EQ(point["byref"]["Диаметр_арматуры"], 12.5) << point.dump();
  const json option_comma =
      Ask(R"({"method": "СНиП_RsB", "args": {"Класс_арматуры": 2, "Диаметр_арматуры": "12,5"}})",
          CallOptions{",", std::nullopt});
  EXPECT_EQ(option_comma["byref"]["Диаметр_арматуры"], 12.5) << option_comma.dump();
  const json request_wins = Ask(
      R"({"method": "СНиП_RsB", "args": {"Класс_арматуры": 2, "Диаметр_арматуры": "12.5"},
          "decimal_separator": "."})",
      CallOptions{",", std::nullopt});
  EXPECT_EQ(request_wins["byref"]["Диаметр_арматуры"], 12.5) << request_wins.dump();
}

TEST(JsonLines, RunTimeErrorsOfTheCall) {
  const json mismatch = Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": "абв"}})");
  ExpectError(mismatch, 13);
  EXPECT_EQ(mismatch["error"]["description"], "Type mismatch");
  EXPECT_EQ(mismatch["result"], 0.0) << "Double methods fail with 0.0";
  EXPECT_EQ(mismatch["byref"]["КлассБетона"], "абв") << "the caller's variable is untouched";
  const json overflow =
      Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25, "Параметр": 256}})");
  ExpectError(overflow, 6);
  EXPECT_EQ(overflow["hresult"], -2146828282);
}

TEST(JsonLines, BadLinesGetAnAnswerWithAnError) {
  const json malformed = Ask(R"({"method": "мтБетонB", "args": )");
  ExpectError(malformed, 5);
  EXPECT_NE(malformed["error"]["description"].get<std::string>().find("not valid JSON"),
            std::string::npos);
  EXPECT_TRUE(malformed["result"].is_null());

  ExpectError(Ask("[1, 2]"), 13);
  ExpectError(Ask(R"("мтБетонB")"), 13);
  ExpectError(Ask(R"({"args": {}})"), 449);
  ExpectError(Ask(R"({"method": 7})"), 13);
  const json unknown_method = Ask(R"({"method": "мтНетТакогоB"})");
  ExpectError(unknown_method, 438);
  EXPECT_EQ(unknown_method["error"]["description"].get<std::string>().rfind(
                "Object doesn't support this property or method", 0),
            0u);
  const json unknown_param = Ask(R"({"method": "мтБетонB", "args": {"Класс": 25}})");
  ExpectError(unknown_param, 448);
  EXPECT_EQ(unknown_param["result"], 0.0);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": {"a": 1}}})"), 13);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": [25]}})"), 13);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": [25]})"), 13);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25, "классбетона": 30}})"), 5);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "extra": 1})"), 5);
  ExpectError(
      Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "decimal_separator": ""})"), 5);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "decimal_separator": 1})"),
              13);
  ExpectError(
      Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "report_encoding": "koi8-r"})"),
      5);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 1e999}})"), 6);
}

TEST(JsonLines, UnusableDecimalSeparatorsAreRefusedBeforeTheCall) {
  // Each would sit inside every printed number: "B27E5", "27-5", a line break in a report line.
  for (const std::string bad : {"E", "e", "-", "+", "7", " ", "\\t", "\\r\\n", "\\u0000", "\\u00A0",
                                "ё", "Б", "\u2013", "\u00B1", "\U0001F600", ",,", "..."}) {
    const json answer = Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": "27,5"}, )"
                            R"("decimal_separator": ")" +
                            bad + "\"}");
    ExpectError(answer, 5);
    EXPECT_NE(answer["error"]["description"].get<std::string>().find("decimal separator"),
              std::string::npos);
    EXPECT_TRUE(answer["byref"].empty()) << bad;  // nothing was computed
  }
  for (const std::string good : {",", ".", "/", "'", "\u00B7", "\u2019"}) {
    const json answer = Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": "27)" + good +
                            R"(5"}, "decimal_separator": ")" + good + "\"}");
    EXPECT_TRUE(answer["error"].is_null()) << good << answer.dump();
  }
}

TEST(JsonLines, DuplicateKeysAndNulBytesAreRefused) {
  const json twice_method =
      Ask(R"({"method": "мтБетонB", "method": "ЧислоПрописьюB", "args": {"КлассБетона": 25}})");
  ExpectError(twice_method, 5);
  EXPECT_NE(twice_method["error"]["description"].get<std::string>().find("\"method\""),
            std::string::npos);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25, "КлассБетона": 30}})"), 5);
  ExpectError(Ask(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "args": {}})"), 5);
  // The same key in two different objects is no duplicate.
  EXPECT_TRUE(Ask(R"({"method": "мтБетонB", "args": {"method": 1}})")["error"]["number"] == 448);
  const std::string with_nul =
      std::string(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}})") + '\0' + "garbage";
  const json nul = Ask(with_nul);
  ExpectError(nul, 5);
  EXPECT_NE(nul["error"]["description"].get<std::string>().find("NUL"), std::string::npos);
  std::istringstream in(std::string(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}})") +
                        '\0' + "\n{\"method\": \"мтБетонB\", \"args\": {\"КлассБетона\": 25}}\n");
  std::ostringstream out;
  ServeJsonLines(in, out, {});
  std::istringstream lines(out.str());
  std::string first, second;
  std::getline(lines, first);
  std::getline(lines, second);
  ExpectError(json::parse(first), 5);
  EXPECT_TRUE(json::parse(second)["error"].is_null());  // the loop goes on with the next line
}

TEST(JsonLines, RangeArgumentsAreArraysOfRows) {
  const json answer = Ask(
      R"({"method": "мтПрочностьТB", "args": {"ТаблицаАрматурныхСтержней": [[1, 0.05, 16], [2, "x"], [null]]}})");
  const json& table = answer["byref"]["ТаблицаАрматурныхСтержней"];
  ASSERT_TRUE(table.is_array()) << answer.dump();
  EXPECT_EQ(table, json::parse(R"([[1.0, 0.05, 16.0], [2.0, "x", null], [null, null, null]])"));

  ExpectError(Ask(R"({"method": "мтПрочностьТB", "args": {"ТаблицаАрматурныхСтержней": [1, 2]}})"),
              13);
  ExpectError(Ask(R"({"method": "мтПрочностьТB", "args": {"ТаблицаАрматурныхСтержней": 5}})"), 13);
  ExpectError(
      Ask(R"({"method": "мтПрочностьТB", "args": {"ТаблицаАрматурныхСтержней": [[{"a": 1}]]}})"),
      13);
}

TEST(JsonLines, ServesLinesInOrderSkippingEmptyOnes) {
  std::istringstream in(
      "\xEF\xBB\xBF{\"method\": \"мтБетонB\", \"args\": {\"КлассБетона\": 25}}\r\n"
      "\n"
      "   \n"
      "not json\n"
      "{\"method\": \"СНиП_EsB\", \"args\": {\"Класс_арматуры\": 1}}");
  std::ostringstream out;
  ServeJsonLines(in, out, {});
  std::istringstream lines(out.str());
  std::vector<json> answers;
  std::string line;
  while (std::getline(lines, line)) answers.push_back(json::parse(line));
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[0]["result"], 13.0);
  ExpectError(answers[1], 5);
  EXPECT_EQ(answers[2]["hresult"], 0);
  EXPECT_TRUE(answers[2]["result"].is_number()) << answers[2].dump();
}

}  // namespace
}  // namespace armocalc::cli
