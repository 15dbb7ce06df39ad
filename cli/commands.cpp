#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "cli/batch.hpp"
#include "cli/cli.hpp"
#include "cli/csv_batch.hpp"
#include "cli/diagram.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "interface/latin_names.hpp"
#include "kernel/row_list.hpp"
#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc::cli {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRuntimeError = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kReportParam = "Отчет";

// A usage error: wrong command line, reported with exit status 2.
struct UsageError {
  std::string message;
};

std::string Padded(std::string_view text, size_t width) {
  std::string out(text);
  const size_t length = Utf8Length(text);
  if (length < width) out.append(width - length, ' ');
  return out;
}

std::string ResultTypeName(const MethodInfo& method) {
  return method.result == VarType::Double ? "Double" : "Variant";
}

std::string DispidText(int32_t dispid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(dispid));
  return text;
}

// A recorded default as the interface declares it: 3, -1, 0.0001, True.
std::string DefaultText(const Variant& value) {
  switch (value.Type()) {
    case VarType::Boolean:
      return value.Get<bool>() ? "True" : "False";
    case VarType::Single:
    case VarType::Double: {
      char text[32];
      std::snprintf(text, sizeof text, "%.15G", ToDouble(value));
      return text;
    }
    case VarType::String:
      return "\"" + value.Text() + "\"";
    default:
      return DumpLine(VariantToJson(value));
  }
}

std::string ParamLine(const ParamInfo& param, size_t name_width) {
  std::string line = "  " + Padded(param.name, name_width) + "  " +
                     Padded(VarTypeName(param.type), 8) + " " +
                     (param.mode == PassingMode::ByRef ? "ByRef" : "ByVal");
  if (param.optional) {
    line += "  optional";
    if (param.default_value) line += " = " + DefaultText(*param.default_value);
  } else {
    line += "  required";
  }
  return line;
}

size_t NameWidth(const MethodInfo& method) {
  size_t width = 0;
  for (const ParamInfo& param : method.params) width = std::max(width, Utf8Length(param.name));
  return width;
}

bool HasReport(const MethodInfo& method) {
  return FindParam(method, kReportParam) >= 0;
}

std::string OptionsSynopsis(bool report) {
  return std::string(report ? " [--report FILE]" : "") +
         " [--decimal-separator S] [--report-encoding utf-8|cp1251] [--report-format text|html]";
}

// The value of an option given as "--name VALUE" or "--name=VALUE".
bool TakeOption(const std::vector<std::string>& args, size_t& i, std::string_view name,
                std::string& value) {
  const std::string& arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size()) throw UsageError{"option " + arg + " needs a value"};
    value = args[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
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
    throw UsageError{e.what()};
  }
  return false;
}

// A command-line value: JSON when it reads as JSON (numbers with "."), otherwise the text itself.
Variant CommandLineValue(const ParamInfo& param, const std::string& text) {
  const Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    if (param.type == VarType::Range) ArgumentFromJson(param, Json(text));  // raises 13
    return text;
  }
  return ArgumentFromJson(param, json);
}

void SetArgument(NamedCall& call, const std::string& name, const std::string& text) {
  int index = 0;
  try {
    index = call.ParamIndex(name);
  } catch (const RuntimeError& e) {
    throw UsageError{e.what()};
  }
  call.Set(index, CommandLineValue(call.Method().params[static_cast<size_t>(index)], text));
}

std::string RuntimeErrorMessage(const CallOutcome& outcome) {
  if (outcome.hresult == HresultOf(outcome.error_number)) {
    return "Run-time error '" + std::to_string(outcome.error_number) + "': " + outcome.description;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "%08X", static_cast<unsigned>(outcome.hresult));
  return "Run-time error '" + std::to_string(outcome.hresult) + " (" + hex +
         ")': " + outcome.description;
}

int RunSingleCall(const MethodInfo& method, const std::vector<std::string>& args, std::ostream& out,
                  std::ostream& err) {
  NamedCall call(method);
  CallOptions options;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (TakeCallOption(args, i, options)) continue;
    if (TakeOption(args, i, "--report", value)) {
      if (!HasReport(method)) throw UsageError{std::string(method.name) + " writes no report"};
      SetArgument(call, std::string(kReportParam), value);
      continue;
    }
    const size_t equals = arg.find('=');
    if (arg.starts_with("-") || equals == std::string::npos || equals == 0) {
      throw UsageError{"unexpected argument '" + arg + "' (expected NAME=VALUE)"};
    }
    SetArgument(call, arg.substr(0, equals), arg.substr(equals + 1));
  }

  const NamedCall::Result done = call.Execute(options);
  const CallOutcome& outcome = done.outcome;
  if (outcome.Succeeded()) out << "result = " << DumpLine(VariantToJson(outcome.result)) << '\n';
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].mode == PassingMode::ByRef && done.Changed(i)) {
      out << method.params[i].name << " = " << DumpLine(VariantToJson(done.after[i])) << '\n';
    }
  }
  if (outcome.Succeeded()) return kExitSuccess;
  err << RuntimeErrorMessage(outcome) << '\n';
  return kExitRuntimeError;
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
  return kExitSuccess;
}

int RunCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
               std::ostream& err) {
  if (args.empty()) throw UsageError{"no command given"};
  const std::string& command = args[0];
  if (command == "--help" || command == "-h" || command == "help") {
    out << UsageText();
    return kExitSuccess;
  }
  if (command == "methods") {
    if (args.size() == 2 && args[1] == "--json") {
      out << MethodListJson();
      return kExitSuccess;
    }
    if (args.size() > 1) throw UsageError{"methods takes no arguments but --json"};
    out << MethodListText();
    return kExitSuccess;
  }
  if (command == "call") return RunCallLoop(args, in, out, err);
  if (command == "csv") return RunCsv({args.begin() + 1, args.end()}, in, out, err);
  if (command == "diagram") return RunDiagram({args.begin() + 1, args.end()}, out, err);
  const MethodInfo* method = LookUpMethod(command);
  if (!method) throw UsageError{"unknown method or command '" + command + "'"};
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      out << MethodHelpText(*method);
      return kExitSuccess;
    }
  }
  try {
    return RunSingleCall(*method, args, out, err);
  } catch (const RuntimeError& e) {
    // A value that cannot become an argument (a JSON object for a number, ...).
    err << "Run-time error '" << e.Number() << "': " << e.what() << '\n';
    return kExitRuntimeError;
  }
}

}  // namespace

std::string UsageText() {
  return "Usage:\n"
         "  armocalc methods [--json]\n"
         "      List the methods with their parameters, types, passing modes and defaults\n"
         "      (--json: the whole method table as JSON, for tools).\n"
         "  armocalc METHOD [NAME=VALUE ...] [--report FILE] [--decimal-separator S]\n"
         "                  [--report-encoding utf-8|cp1251] [--report-format text|html]\n"
         "      Call one method; print its result and the by-reference parameters it changed.\n"
         "  armocalc diagram METHOD NAME=VALUE ... --svg FILE [--json FILE|--json] [--forces CSV]\n"
         "      The N–M interaction diagram of мтПрочностьB, мтПрочностьТB or мтПрочностьКругаB.\n"
         "  armocalc METHOD --help\n"
         "      Describe the method and its parameters.\n"
         "  armocalc call [--jobs N] [--summary] [--decimal-separator S]\n"
         "                [--report-encoding utf-8|cp1251] [--report-format F]\n"
         "      Answer JSON Lines requests from standard input, one answer line per request:\n"
         "        {\"method\": \"...\", \"args\": {\"NAME\": VALUE, ...},"
         " \"decimal_separator\": \",\", \"report_encoding\": \"utf-8\"}\n"
         "      -> {\"result\": ..., \"hresult\": 0, \"error\": null, \"byref\": {...}}\n"
         "      An \"id\" (any JSON value) in a request comes back first in its answer.\n"
         "      --jobs N computes the answers on N threads (0: one per core), still in input\n"
         "      order. --summary (always on a terminal) prints the counts of answers and errors\n"
         "      and the time taken to standard error.\n"
         "  armocalc csv METHOD [FILE|-] [--governing] [--group COLUMN] [--output FILE] ...\n"
         "      Call the method for every row of a CSV file (armocalc csv --help).\n"
         "\n"
         "A VALUE is read as JSON when it is JSON (a number with \".\", true, false, null for\n"
         "Empty, a Range as an array of rows of cells: [[1,0.05,16],[2,-0.05,16]]), otherwise\n"
         "as a text (a text number uses the decimal separator). Names ignore letter case.\n"
         "--report FILE sets the report path (Отчет); reports are written in CP1251 unless\n"
         "--report-encoding utf-8 is given. --decimal-separator overrides the locale's.\n"
         "--report-format html also writes an HTML page beside each report (FILE.html).\n"
         "\n"
         "Exit status of a call: 0 success, 1 run-time error, 2 usage error.\n";
}

std::string MethodListText() {
  std::ostringstream text;
  bool first = true;
  for (const MethodInfo& method : Methods()) {
    if (!first) text << '\n';
    first = false;
    text << method.name << " (" << DispidText(method.dispid) << ") -> " << ResultTypeName(method)
         << '\n';
    const size_t width = NameWidth(method);
    for (const ParamInfo& param : method.params) text << ParamLine(param, width) << '\n';
  }
  return text.str();
}

std::string MethodHelpText(const MethodInfo& method) {
  std::ostringstream text;
  text << method.name << ": " << method.summary << '\n'
       << "Result: " << ResultTypeName(method) << ", dispatch id " << DispidText(method.dispid)
       << (method.routine ? "" : " (not implemented yet)") << "\n\n"
       << "Usage: armocalc " << method.name << " [NAME=VALUE ...]"
       << OptionsSynopsis(HasReport(method)) << "\n\nParameters, in order:\n";
  const size_t width = NameWidth(method);
  for (const ParamInfo& param : method.params) text << ParamLine(param, width) << '\n';
  text << "\nOmitted optional parameters take their default (else 0, False or an empty text).\n"
          "ByRef parameters that the call changes are printed after the result.\n";
  return text.str();
}

int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err) {
  try {
    return RunCommand(args, in, out, err);
  } catch (const UsageError& e) {
    err << "armocalc: " << e.message << "\n\n" << UsageText();
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
