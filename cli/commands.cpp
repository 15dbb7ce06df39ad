#include <unistd.h>

#include <charconv>
#include <iostream>
#include <istream>
#include <ostream>
#include <string>

#include "cli/batch.hpp"
#include "cli/cli.hpp"
#include "cli/csv_batch.hpp"
#include "cli/diagram.hpp"
#include "cli/hints.hpp"
#include "cli/named_call.hpp"
#include "cli/single_call.hpp"
#include "interface/latin_names.hpp"
#include "kernel/row_list.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cli {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRuntimeError = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kReportParam = "Отчет";

bool HasReport(const MethodInfo& method) {
  return FindParam(method, kReportParam) >= 0;
}

// Applies a common option at args[i]; false when args[i] is none of them.
bool TakeCallOption(const std::vector<std::string>& args, size_t& i, CallOptions& options) {
  std::string value;
  try {
    if (TakeOption(args, i, "--decimal-separator", value)) {
      options.decimal_separator = CheckedSeparator(value);
      return true;
    }
    if (TakeOption(args, i, "--report-encoding", value)) {
      options.report_encoding = ParseReportEncoding(value);
      return true;
    }
    if (TakeOption(args, i, "--report-format", value)) {
      options.report_format = ParseReportFormat(value);
      return true;
    }
  } catch (const RuntimeError& e) {
    throw UsageError(e.what());
  }
  return false;
}

SingleCall ParseSingleCall(const MethodInfo& method, const std::vector<std::string>& args) {
  SingleCall call;
  call.method = &method;
  const std::string topic = "armocalc " + std::string(method.name) + " --help";
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (TakeCallOption(args, i, call.options)) continue;
    if (arg == "--json") {
      call.json = true;
      continue;
    }
    if (TakeOption(args, i, "--report", value)) {
      if (!HasReport(method)) {
        throw UsageError(std::string(method.name) + " writes no report", "", topic);
      }
      call.args.emplace_back(kReportParam, value);
      continue;
    }
    const size_t equals = arg.find('=');
    if (arg.starts_with("-") || equals == std::string::npos || equals == 0) {
      throw UsageError("unexpected argument '" + arg + "' (expected NAME=VALUE)", "", topic);
    }
    call.args.emplace_back(arg.substr(0, equals), arg.substr(equals + 1));
  }
  return call;
}

int JobsOption(const std::string& text) {
  int jobs = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
  if (error != std::errc() || end != text.data() + text.size() || jobs < 0) {
    throw UsageError{"--jobs takes a number of jobs, 0 for one per core"};
  }
  return JobsFor(jobs);
}

bool IsStandardStreams(const std::istream& in, const std::ostream& out) {
  return &in == &std::cin && &out == &std::cout;
}

bool IsTerminal(const std::ostream& err) {
  return &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
}

// The progress line, rewritten in place on the terminal.
void ShowProgress(std::ostream& err, const BatchSummary& summary) {
  err << '\r' << SummaryText(summary) << "\x1B[K" << std::flush;
}

BatchSummary ServeCalls(std::istream& in, std::ostream& out, const CallOptions& options,
                        const BatchSettings& settings) {
  if (!IsStandardStreams(in, out)) {
    StreamSource source(in);
    StreamSink sink(out);
    return ServeJsonLines(source, sink, options, settings);
  }
  out.flush();
  DescriptorSource source(STDIN_FILENO);
  DescriptorSink sink(STDOUT_FILENO);
  return ServeJsonLines(source, sink, options, settings);
}

int RunCallLoop(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err) {
  CallOptions options;
  BatchSettings settings;
  bool summary = IsTerminal(err);
  for (size_t i = 1; i < args.size(); ++i) {
    std::string value;
    if (TakeCallOption(args, i, options)) continue;
    if (TakeOption(args, i, "--jobs", value)) {
      settings.jobs = JobsOption(value);
    } else if (args[i] == "--summary") {
      summary = true;
    } else {
      throw UsageError{"unexpected argument '" + args[i] + "' for call"};
    }
  }
  const bool progress = IsTerminal(err);
  if (progress)
    settings.progress = [&err](const BatchSummary& so_far) { ShowProgress(err, so_far); };
  const StandardOutputReservation answers_only;
  const BatchSummary done = ServeCalls(in, out, options, settings);
  if (progress && done.elapsed >= std::chrono::seconds(1)) err << "\r\x1B[K";
  if (summary) err << SummaryText(done) << '\n';
  // Every request is answered either way; a script can still tell that some failed.
  return done.Failed() == 0 ? kExitSuccess : kExitRuntimeError;
}

int RunMethods(const std::vector<std::string>& args, std::ostream& out) {
  if (args.size() == 2 && args[1] == "--json") {
    out << MethodListJson();
  } else if (args.size() == 2 && args[1] == "--markdown") {
    out << MethodListMarkdown();
  } else if (args.size() == 1) {
    out << MethodListText();
  } else {
    throw UsageError("methods takes no arguments but --json or --markdown");
  }
  return kExitSuccess;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") return true;
  }
  return false;
}

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  if (args.empty()) throw UsageError("no command given");
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << UsageText();
    return kExitSuccess;
  }
  if (command == "--version" || command == "version") {
    out << VersionText();
    return kExitSuccess;
  }
  if (command == "methods") return RunMethods(args, out);
  if (command == "call") return RunCallLoop(args, in, out, err);
  if (command == "csv") return RunCsv({args.begin() + 1, args.end()}, in, out, err);
  if (command == "diagram") return RunDiagram({args.begin() + 1, args.end()}, out, err);
  const MethodInfo* method = LookUpMethod(command);
  if (!method) {
    throw UsageError{"unknown method or command '" + command + "'", MethodNameHint(command),
                     "armocalc methods, armocalc --help"};
  }
  if (AsksForHelp(args)) {
    out << MethodHelpText(*method);
    return kExitSuccess;
  }
  return RunSingleCall(ParseSingleCall(*method, args), out, err);
}

}  // namespace

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  try {
    return RunCommand(args, in, out, err);
  } catch (const UsageError& e) {
    err << "armocalc: " << e.message << '\n';
    if (!e.hint.empty()) err << e.hint << '\n';
    err << "see " << e.topic << '\n';
    return kExitUsage;
  } catch (const std::exception& e) {
    err << "armocalc: " << e.what() << '\n';
    return kExitRuntimeError;
  }
}

int Main(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return Run(args, in, out, err);
}

}  // namespace armocalc::cli
