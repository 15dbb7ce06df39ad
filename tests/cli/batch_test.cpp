#include "cli/batch.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/answer_text.hpp"
#include "cli/cli.hpp"
#include "cli/json_values.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

std::string WrittenText(const Variant& value) {
  std::string out;
  AppendJsonValue(out, value);
  return out;
}

std::string DumpedText(const Variant& value) {
  return DumpLine(VariantToJson(value));
}

TEST(AnswerText, WritesTheSameBytesAsTheJsonDump) {
  std::mt19937_64 random(20261208);
  for (int i = 0; i < 200000; ++i) {
    const double value = std::bit_cast<double>(random());
    ASSERT_EQ(WrittenText(value), DumpedText(value)) << i;
  }
  for (const double value :
       {0.0, -0.0, 1.0, -1.0, 25.0, 1e15, 1e14, 123456789012345678.0, 0.1 + 0.2, 5e-324, 1e-5,
        4.1752050594835004e+78, 1.7976931348623157e308}) {
    EXPECT_EQ(WrittenText(value), DumpedText(value)) << value;
  }
  const std::string texts[] = {"",
                               "Отчет",
                               "a\"b\\c",
                               "\t\r\n\b\f",
                               "\x01\x1F",
                               "\x7F",
                               "\xC3\x28",
                               "ok\xE2\x82",
                               "\xED\xA0\x80",
                               "\xF4\x90\x80\x80",
                               "\xF0\x9F\x98\x80",
                               "\xC0\xAF",
                               "\xEF\xBF\xBD"};
  for (const std::string& text : texts) EXPECT_EQ(WrittenText(text), DumpedText(text)) << text;
  for (int i = 0; i < 20000; ++i) {  // random bytes, mostly ill-formed UTF-8
    std::string text(static_cast<size_t>(random() % 8), ' ');
    for (char& c : text) c = static_cast<char>(random());
    ASSERT_EQ(WrittenText(text), DumpedText(text)) << i;
  }
  EXPECT_EQ(WrittenText(Variant()), DumpedText(Variant()));
  EXPECT_EQ(WrittenText(uint8_t{255}), DumpedText(uint8_t{255}));
  EXPECT_EQ(WrittenText(int16_t{-32768}), DumpedText(int16_t{-32768}));
  EXPECT_EQ(WrittenText(27.3f), DumpedText(27.3f));
  EXPECT_EQ(WrittenText(true), DumpedText(true));
  const auto grid = std::make_shared<GridRange>(
      std::vector<std::vector<Variant>>{{1.0, std::string("x")}, {Variant(), 2.5}});
  EXPECT_EQ(WrittenText(std::shared_ptr<HostRange>(grid)),
            DumpedText(std::shared_ptr<HostRange>(grid)));
  const auto rows =
      std::make_shared<const VariantArray>(VariantArray{{int32_t{1}, std::string("\"")}, {false}});
  EXPECT_EQ(WrittenText(rows), DumpedText(rows));
}

// The same request written so that the quick reader takes it, and so that it does not (a tab
// before the arguments, the arguments before the method): the answers are the same bytes.
TEST(Requests, QuickAndFullReadingsAnswerAlike) {
  const std::vector<std::pair<std::string, std::string>> requests = {
      {R"("мтБетонB")", R"({"КлассБетона": 25, "Параметр": 1})"},
      {R"("мтбетонb")", R"({"классбетона": "27,5"})"},
      {R"("мтБетонB")", R"({"КлассБетона": "абв"})"},
      {R"("СНиП_RsB")", R"({"Класс_арматуры": 2, "Диаметр_арматуры": 0.30000000000000004})"},
      {R"("СНиП_RsB")", R"({"Класс_арматуры": 2, "Диаметр_арматуры": -0})"},
      {R"("СНиП_RsB")", R"({"Класс_арматуры": 2, "Диаметр_арматуры": 3000000000})"},
      {R"("СНиП_RsB")", R"({"Класс_арматуры": 2, "Диаметр_арматуры": 1e-400})"},
      {R"("СНиП_EsB")", R"(null)"},
      {R"("мтПрочностьТB")",
       R"({"КлассАрматурнойСтали": 3, "КлассБетона": 25, "N": 0.5, "M": 0.1, "B": 1, "h": 0.5,
           "ТаблицаАрматурныхСтержней": [[1, 0.2, 16], [2, -0.2, 16], [null, "x", true], []]})"},
      {R"("ЧислоПрописьюB")", R"({"Значение": 1234.5})"},
  };
  for (const auto& [method, args] : requests) {
    const std::string quick = AnswerRequest(
        R"({"method": )" + method + R"(, "args": )" + args + R"(, "decimal_separator": ","})", {});
    const std::string full_by_tab = AnswerRequest(
        R"({"method": )" + method + ",\t\"args\": " + args + R"(, "decimal_separator": ","})", {});
    const std::string full_by_order = AnswerRequest(
        R"({"args": )" + args + R"(, "decimal_separator": ",", "method": )" + method + "}", {});
    EXPECT_EQ(quick, full_by_tab) << args;
    EXPECT_EQ(quick, full_by_order) << args;
    EXPECT_TRUE(json::accept(quick)) << quick;
  }
}

TEST(Requests, TrailingTextAndRefusedArgumentsGoToTheFullReading) {
  const json trailing = json::parse(AnswerRequest(R"({"method": "мтБетонB"}} x)", {}));
  EXPECT_EQ(trailing["error"]["number"], 5);
  const json overflow =
      json::parse(AnswerRequest(R"({"method": "мтБетонB", "args": {"КлассБетона": -1e400}})", {}));
  EXPECT_EQ(overflow["error"]["number"], 6);
  const json twice = json::parse(
      AnswerRequest(R"({"method": "мтБетонB", "args": {"КлассБетона": 1, "классбетона": 2}})", {}));
  EXPECT_EQ(twice["error"]["number"], 5);
  const json escaped =
      json::parse(AnswerRequest(R"({"method": "\u043c\u0442\u0411\u0435\u0442\u043e\u043dB",)"
                                R"( "args": {"КлассБетона": 25}})",
                                {}));
  EXPECT_EQ(escaped["result"], 13.0) << escaped.dump();
}

// Escapes and raw control characters anywhere in the line (the quick reading looks at eight bytes
// at a time): the answer is the full reading's, which a tab at the end of the line asks for.
TEST(Requests, EscapesAndControlCharactersAnywhereAnswerAsTheFullReading) {
  for (const std::string& inside :
       {std::string("\x01"), std::string("\x1f"), std::string("\\u00e9"), std::string("\\ud800"),
        std::string("\\\"")}) {
    for (size_t pad = 0; pad < 24; ++pad) {
      const std::string rest = R"("method": "мтБетонB", "args": {"КлассБетона": 25}, "id": ")" +
                               std::string(pad, 'a') + inside + R"("})";
      EXPECT_EQ(AnswerRequest("{" + rest, {}), AnswerRequest("{" + rest + "\t", {})) << pad;
    }
  }
}

TEST(Requests, AnIdComesBackFirstAndOnlyWhenGiven) {
  const std::string plain =
      AnswerRequest(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}})", {});
  for (const std::string id : {R"("балка 1")", "7", "-3", "18446744073709551615", "2.50", "true",
                               "null", R"({"b": 1, "a": [1, 2]})", R"([1, "x"])"}) {
    const json parsed_id = json::parse(id);
    for (const std::string& line :
         {R"({"id": )" + id + R"(, "method": "мтБетонB", "args": {"КлассБетона": 25}})",
          R"({"method": "мтБетонB", "args": {"КлассБетона": 25}, "id": )" + id + "}"}) {
      const std::string answer = AnswerRequest(line, {});
      const std::string expected_start = "{\"id\":" + parsed_id.dump() + ",";
      EXPECT_EQ(answer.substr(0, expected_start.size()), expected_start) << answer;
      EXPECT_EQ("{" + answer.substr(expected_start.size()), plain) << answer;
    }
  }
  const json failed = json::parse(AnswerRequest(R"({"id": "x", "method": "мтНетB"})", {}));
  EXPECT_EQ(failed["id"], "x");
  EXPECT_EQ(failed["error"]["number"], 438);
  const json bad_field = json::parse(AnswerRequest(R"({"id": 5, "idd": 1})", {}));
  EXPECT_EQ(bad_field["id"], 5);
  EXPECT_EQ(bad_field["error"]["number"], 5);
  EXPECT_FALSE(
      json::parse(AnswerRequest(R"({"id": 1, "id": 2, "method": "мтБетонB"})", {})).contains("id"))
      << "an id given twice is refused with the line";
}

// A varied batch: every method's worked example, with reports where the method writes one,
// failing requests, and report files that are written twice, read-only or in a missing folder.
std::string VariedBatch(const fs::path& folder) {
  std::ostringstream batch;
  int n = 0;
  for (const MethodInfo& method : Methods()) {
    json args = json::object();
    std::istringstream pairs{std::string(method.example)};
    std::string pair;
    while (pairs >> pair) {
      const size_t equals = pair.find('=');
      const std::string value = pair.substr(equals + 1);
      const json parsed = json::parse(value, nullptr, false);
      args[pair.substr(0, equals)] = parsed.is_discarded() ? json(value) : parsed;
    }
    const bool reports = FindParam(method, "Отчет") >= 0;
    for (int variant = 0; variant < 6; ++variant) {
      json request = {{"id", n++}, {"method", method.name}, {"args", args}};
      if (variant == 1) request["args"]["N"] = 0.75;
      if (variant == 2) request["args"]["Нет"] = 1;  // refused: no such parameter
      if (reports && variant == 3) request["args"]["Отчет"] = (folder / "same.txt").string();
      if (reports && variant == 4) {
        request["args"]["Отчет"] = (folder / (std::string(method.name) + ".txt")).string();
      }
      if (reports && variant == 5) request["args"]["Отчет"] = (folder / "read-only.txt").string();
      batch << request.dump() << '\n';
    }
    if (reports) {
      json missing = {{"method", method.name}, {"args", args}};
      missing["args"]["Отчет"] = (folder / "no-such-folder" / "r.txt").string();
      batch << missing.dump() << '\n';
    }
  }
  batch << "not json\n\n";
  return batch.str();
}

std::map<std::string, std::string> FolderContents(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

struct BatchRun {
  std::string answers;
  std::map<std::string, std::string> files;
  BatchSummary summary;
};

BatchRun RunBatch(int jobs, const std::string& tag) {
  const fs::path folder = fs::temp_directory_path() / ("armocalc_batch_" + tag);
  fs::remove_all(folder);
  fs::create_directories(folder);
  { std::ofstream(folder / "read-only.txt") << "old"; }
  fs::permissions(folder / "read-only.txt", fs::perms::owner_read);
  std::istringstream in(VariedBatch(folder));
  std::ostringstream out;
  StreamSource source(in);
  StreamSink sink(out);
  BatchRun run;
  run.summary = ServeJsonLines(source, sink, CallOptions{}, BatchSettings{jobs, {}});
  run.answers = out.str();
  run.files = FolderContents(folder);
  fs::permissions(folder / "read-only.txt", fs::perms::owner_all);
  fs::remove_all(folder);
  return run;
}

TEST(Batch, ParallelJobsAnswerAndWriteReportsAsOneJobDoes) {
  const BatchRun serial = RunBatch(1, "serial");
  const BatchRun parallel = RunBatch(2, "parallel");
  const BatchRun many = RunBatch(5, "many");
  // The folder names differ: compare the answers with them taken out.
  const auto neutral = [](std::string text, const std::string& tag) {
    const std::string name = "armocalc_batch_" + tag;
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at)) {
      text.replace(at, name.size(), "armocalc_batch_X");
    }
    return text;
  };
  EXPECT_EQ(neutral(serial.answers, "serial"), neutral(parallel.answers, "parallel"));
  EXPECT_EQ(neutral(serial.answers, "serial"), neutral(many.answers, "many"));
  EXPECT_EQ(serial.files, parallel.files);
  EXPECT_EQ(serial.files, many.files);
  EXPECT_GT(serial.files.size(), 5u);
  EXPECT_EQ(serial.files.at("read-only.txt"), "old");
  EXPECT_EQ(serial.summary.answered, parallel.summary.answered);
  EXPECT_EQ(serial.summary.failed, parallel.summary.failed);
  EXPECT_GT(serial.summary.failed.at(448), 0);
  EXPECT_GT(serial.summary.failed.at(75), 0) << "the read-only report";
  EXPECT_GT(serial.summary.failed.at(76), 0) << "the missing folder";

  // The ids come back in input order.
  std::istringstream lines(parallel.answers);
  std::string line;
  int64_t expected_id = 0;
  while (std::getline(lines, line)) {
    const json answer = json::parse(line);
    if (answer.contains("id")) {
      EXPECT_EQ(answer["id"], expected_id++);
    }
  }
  EXPECT_EQ(expected_id, 6 * static_cast<int64_t>(Methods().size()));
}

TEST(Batch, SameReportFileTwiceKeepsTheLaterRequests) {
  const fs::path folder = fs::temp_directory_path() / "armocalc_batch_twice";
  fs::remove_all(folder);
  fs::create_directories(folder);
  const std::string report = (folder / "r.txt").string();
  std::string batch;
  for (int i = 0; i < 40; ++i) {
    json request = {{"method", "мтПрочностьB"},
                    {"args",
                     {{"КлассАрматурнойСтали", 3},
                      {"КлассБетона", 25},
                      {"N", 0.5 + i},
                      {"M", 0.1},
                      {"Fв", 10},
                      {"Fн", 10},
                      {"ав", 0.05},
                      {"ан", 0.05},
                      {"h", 0.5},
                      {"Отчет", i % 10 == 0 ? report : std::string()}}}};
    batch += request.dump() + "\n";
  }
  std::string texts[2];
  for (int jobs = 1; jobs <= 2; ++jobs) {
    std::istringstream in(batch);
    std::ostringstream out;
    StreamSource source(in);
    StreamSink sink(out);
    ServeJsonLines(source, sink, CallOptions{}, BatchSettings{jobs, {}});
    std::ifstream file(report, std::ios::binary);
    texts[jobs - 1] = std::string(std::istreambuf_iterator<char>(file), {});
    fs::remove(report);
  }
  EXPECT_EQ(texts[0], texts[1]);
  EXPECT_TRUE(texts[0].find("30.5") != std::string::npos ||
              texts[0].find("30,5") != std::string::npos)
      << "the last request naming the file (N = 30.5) wrote it";
  fs::remove_all(folder);
}

TEST(Batch, SummaryCountsAnswersAndErrors) {
  BatchSummary summary;
  summary.answered = 5;
  summary.failed = {{13, 2}, {5, 1}};
  summary.elapsed = std::chrono::milliseconds(1500);
  EXPECT_EQ(SummaryText(summary),
            "armocalc call: 5 answered, 2 succeeded, 3 failed (error 5: 1, error 13: 2), 1.500 s");
  EXPECT_EQ(JobsFor(3), 3);
  EXPECT_GE(JobsFor(0), 1);
}

// A client writes one line and waits for its answer before it writes the next: every answer
// must come without more input or the end of the input.
class Child {
 public:
  // error_fd: the child's standard error (by default the test's own).
  explicit Child(const std::vector<std::string>& args, int error_fd = -1) {
    int to_child[2], from_child[2];
    if (::pipe(to_child) != 0 || ::pipe(from_child) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(to_child[0], STDIN_FILENO);
      ::dup2(from_child[1], STDOUT_FILENO);
      if (error_fd >= 0) ::dup2(error_fd, STDERR_FILENO);
      ::close(to_child[1]);
      ::close(from_child[0]);
      std::vector<char*> argv;
      for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(to_child[0]);
    ::close(from_child[1]);
    in_ = to_child[1];
    out_ = from_child[0];
  }
  ~Child() {
    if (in_ >= 0) ::close(in_);
    if (out_ >= 0) ::close(out_);
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  bool Started() const { return pid_ > 0; }
  // The exit status once the child has ended (-1 when it did not exit normally).
  int Wait() {
    int status = 0;
    if (pid_ <= 0 || ::waitpid(pid_, &status, 0) != pid_) return -1;
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Send(const std::string& line) {
    ASSERT_EQ(::write(in_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
  }
  void CloseInput() {
    ::close(in_);
    in_ = -1;
  }
  // The next answer line, or "" after the time limit.
  std::string Receive(int milliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
      const size_t end = received_.find('\n');
      if (end != std::string::npos) {
        std::string line = received_.substr(0, end);
        received_.erase(0, end + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) return {};
      pollfd entry{out_, POLLIN, 0};
      if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) continue;
      char buffer[4096];
      const ssize_t read = ::read(out_, buffer, sizeof buffer);
      if (read <= 0) return {};
      received_.append(buffer, static_cast<size_t>(read));
    }
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  std::string received_;
};

TEST(Batch, AnInteractiveClientGetsEachAnswerAtOnce) {
  const char* cli = std::getenv("ARMOCALC_CLI");
  if (!cli || !fs::exists(cli)) GTEST_SKIP() << "ARMOCALC_CLI not set";
  for (const std::string jobs : {"1", "2"}) {
    Child child({cli, "call", "--jobs", jobs});
    ASSERT_TRUE(child.Started());
    for (int i = 0; i < 5; ++i) {
      child.Send(R"({"id": )" + std::to_string(i) +
                 R"(, "method": "мтБетонB", "args": {"КлассБетона": 25}})" + "\n");
      const std::string answer = child.Receive(10000);  // generous: this is no speed check
      ASSERT_FALSE(answer.empty()) << "no answer with --jobs " << jobs;
      EXPECT_EQ(json::parse(answer)["id"], i);
    }
    child.Send(R"({"method": "мтБетонB", "args": {"КлассБетона": 30}})");  // no line end
    child.CloseInput();
    EXPECT_FALSE(child.Receive(10000).empty()) << "the last line without a line end";
  }
}

// Everything written to the terminal whose controlling side is `main` until its other side closes.
std::string TerminalText(int main) {
  std::string text;
  for (int blocks = 0; blocks < 1000; ++blocks) {
    pollfd entry{main, POLLIN, 0};
    if (::poll(&entry, 1, 10000) <= 0) break;
    char buffer[4096];
    const ssize_t read = ::read(main, buffer, sizeof buffer);
    if (read <= 0) break;  // EIO once no process holds the terminal any more
    text.append(buffer, static_cast<size_t>(read));
  }
  return text;
}

TEST(Batch, ATerminalShowsProgressDuringALongBatchAndTheSummaryAtItsEnd) {
  const char* cli = std::getenv("ARMOCALC_CLI");
  if (!cli || !fs::exists(cli)) GTEST_SKIP() << "ARMOCALC_CLI not set";
  const int main = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(main, 0);
  ASSERT_EQ(::grantpt(main), 0);
  ASSERT_EQ(::unlockpt(main), 0);
  const int terminal = ::open(::ptsname(main), O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  Child child({cli, "call"}, terminal);
  ::close(terminal);
  ASSERT_TRUE(child.Started());
  child.Send(R"({"method": "мтБетонB", "args": {"КлассБетона": 25}})"
             "\n");
  EXPECT_FALSE(child.Receive(10000).empty());
  // The batch lasts past the first second: the next answer rewrites the progress line.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  child.Send(R"({"method": "мтБетонB", "args": {"КлассБетона": "x"}})"
             "\n");
  EXPECT_FALSE(child.Receive(10000).empty());
  child.CloseInput();
  const std::string shown = TerminalText(main);
  EXPECT_EQ(child.Wait(), 1) << "a request failed";
  ::close(main);
  const std::string counts = "armocalc call: 2 answered, 1 succeeded, 1 failed (error 13: 1), ";
  const size_t progress = shown.find("\r" + counts);
  const size_t cleared = shown.find("\r\x1B[K" + counts);
  ASSERT_NE(cleared, std::string::npos) << "the progress line cleared for the summary: " << shown;
  EXPECT_LT(progress, cleared) << "the progress line, then the summary: " << shown;
  EXPECT_TRUE(shown.ends_with(" s\r\n")) << shown;
}

TEST(Batch, CallPrintsASummaryWhenAskedAndFailsWhenARequestFailed) {
  const std::string input =
      "{\"method\": \"мтБетонB\", \"args\": {\"КлассБетона\": 25}}\n{\"method\": 1}\nnot json\n";
  for (const std::string jobs : {"--jobs=1", "--jobs=2"}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    EXPECT_EQ(cli::Run({"call", "--summary", jobs}, in, out, err), 1);
    EXPECT_EQ(err.str().rfind("armocalc call: 3 answered, 1 succeeded, 2 failed "
                              "(error 5: 1, error 13: 1), ",
                              0),
              0u)
        << err.str();
    std::istringstream quiet_in(input);
    std::ostringstream quiet_out, quiet_err;
    EXPECT_EQ(cli::Run({"call", jobs}, quiet_in, quiet_out, quiet_err), 1);
    EXPECT_EQ(quiet_err.str(), "");
    EXPECT_EQ(quiet_out.str(), out.str());
    const std::string answers = out.str();
    EXPECT_EQ(std::count(answers.begin(), answers.end(), '\n'), 3) << "every line answered";
    std::istringstream good_in(input.substr(0, input.find('\n') + 1));
    std::ostringstream good_out, good_err;
    EXPECT_EQ(cli::Run({"call", jobs}, good_in, good_out, good_err), 0);
  }
  std::istringstream in;
  std::ostringstream out, err;
  EXPECT_EQ(cli::Run({"call", "--jobs", "x"}, in, out, err), 2);
  EXPECT_EQ(cli::Run({"call", "--jobs=-1"}, in, out, err), 2);
}

}  // namespace
}  // namespace armocalc::cli
