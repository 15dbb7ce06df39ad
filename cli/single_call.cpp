#include "cli/single_call.hpp"

#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/hints.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "kernel/row_list.hpp"
#include "runtime/cp1251.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cli {
namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitRuntimeError = 1;
constexpr std::string_view kReportParam = "Отчет";
constexpr int32_t kRatioMethod = 0;
constexpr int32_t kLastPercentMethod = 3;

using GivenValues = std::vector<std::optional<Variant>>;

std::string HelpTopic(const MethodInfo& method) {
  return "armocalc " + std::string(method.name) + " --help";
}

int ParamIndexOf(const NamedCall& call, const std::string& name) {
  try {
    return call.ParamIndex(name);
  } catch (const RuntimeError& e) {
    const std::string hint =
        e.Number() == kNamedArgumentNotFound ? ParamNameHint(call.Method(), name) : std::string();
    throw UsageError(e.what(), hint, HelpTopic(call.Method()));
  }
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

// The hint to a failed call: the value that cannot be its parameter's, or what is missing.
std::string FailureHint(const MethodInfo& method, const GivenValues& given, int number,
                        const CallOptions& options) {
  std::optional<ScopedDecimalSeparator> separator;
  if (options.decimal_separator) separator.emplace(*options.decimal_separator);
  if (number == kArgumentNotOptional) {
    std::vector<bool> present(given.size());
    for (size_t i = 0; i < given.size(); ++i) present[i] = given[i].has_value();
    return MissingArgumentsHint(method, present);
  }
  if (number != kTypeMismatch && number != kOverflow) return {};
  for (size_t i = 0; i < given.size(); ++i) {
    if (!given[i]) continue;
    std::string hint = ValueHint(method.params[i], *given[i], HintStyle::CommandLine);
    if (!hint.empty()) return hint;
  }
  return {};
}

void PrintHint(std::ostream& err, const std::string& hint) {
  if (!hint.empty()) err << hint << '\n';
}

std::optional<double> NumberOf(const Variant& value) {
  switch (value.Type()) {
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
      return ToDouble(value);
    default:
      return std::nullopt;
  }
}

// The code of the margin method the call used: given, or the parameter's default.
std::optional<int32_t> MarginMethodUsed(const MethodInfo& method, const NamedCall::Result& done) {
  const int index = MarginMethodParam(method);
  if (index < 0) return std::nullopt;
  const size_t i = static_cast<size_t>(index);
  const Variant& passed = done.after[i];
  const Variant code = passed.Type() == VarType::Empty ? DefaultArgument(method.params[i]) : passed;
  try {
    return CoerceTo(code, VarType::Long).Get<int32_t>();
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// Method 0 gives the ratio of the limit to the acting value, which suffices from 1 on; methods
// 1–3 give a margin in %, which suffices from 0 on. Other codes give no margin (a crack width).
std::optional<std::string> Verdict(const MethodInfo& method, const NamedCall::Result& done) {
  const std::optional<int32_t> code = MarginMethodUsed(method, done);
  const std::optional<double> value = NumberOf(done.outcome.result);
  if (!code || !value || std::isnan(*value) || *code < kRatioMethod || *code > kLastPercentMethod) {
    return std::nullopt;
  }
  if (*code == kRatioMethod) {
    return *value >= 1 ? "запас обеспечен (отношение ≥ 1)" : "запас не обеспечен (отношение < 1)";
  }
  return *value >= 0 ? "запас обеспечен (запас ≥ 0 %)" : "запас не обеспечен (запас < 0 %)";
}

void PrintResult(const MethodInfo& method, const NamedCall::Result& done, std::ostream& out) {
  out << "result = " << DumpLine(VariantToJson(done.outcome.result)) << '\n';
  if (!method.result_meaning.empty()) out << "meaning: " << method.result_meaning << '\n';
  if (const auto verdict = Verdict(method, done)) out << "verdict: " << *verdict << '\n';
}

void PrintChangedOutputs(const MethodInfo& method, const NamedCall::Result& done,
                         std::ostream& out) {
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].mode == PassingMode::ByRef && done.Changed(i)) {
      out << method.params[i].name << " = " << DumpLine(VariantToJson(done.after[i])) << '\n';
    }
  }
}

std::optional<std::string> ReportPathGiven(const MethodInfo& method, const GivenValues& given) {
  const int index = FindParam(method, kReportParam);
  if (index < 0 || !given[static_cast<size_t>(index)]) return std::nullopt;
  try {
    return CoerceTo(*given[static_cast<size_t>(index)], VarType::String).Text();
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// The reports written, and a warning when a report was asked for and none came.
void PrintReports(const MethodInfo& method, const GivenValues& given, const WrittenFiles& written,
                  bool succeeded, std::ostream& out, std::ostream& err) {
  for (const std::string& path : written.Paths()) out << "report: " << path << '\n';
  const std::optional<std::string> path = ReportPathGiven(method, given);
  if (!succeeded || !written.Paths().empty() || !path || path->empty()) return;
  if (CharacterCount(*path) <= 4) {
    err << "armocalc: warning: the report path '" << *path
        << "' has 4 characters or fewer: no report was written (give a longer path)\n";
  } else {
    err << "armocalc: warning: " << method.name << " wrote no report to '" << *path << "'\n";
  }
}

int RunNamedCall(const SingleCall& single, std::ostream& out, std::ostream& err) {
  const MethodInfo& method = *single.method;
  NamedCall call(method);
  GivenValues given(method.params.size());
  for (const auto& [name, text] : single.args) {
    const int index = ParamIndexOf(call, name);
    const ParamInfo& param = method.params[static_cast<size_t>(index)];
    try {
      given[static_cast<size_t>(index)] = CommandLineValue(param, text);
    } catch (const RuntimeError& e) {
      // A value that cannot become an argument (a JSON object for a number, ...).
      err << "Run-time error '" << e.Number() << "': " << e.what() << '\n';
      PrintHint(err, ValueHint(param, Variant(text), HintStyle::CommandLine));
      return kExitRuntimeError;
    }
    call.Set(index, *given[static_cast<size_t>(index)]);
  }

  const WrittenFiles written;
  const NamedCall::Result done = call.Execute(single.options);
  const CallOutcome& outcome = done.outcome;
  if (outcome.Succeeded()) PrintResult(method, done, out);
  PrintChangedOutputs(method, done, out);
  PrintReports(method, given, written, outcome.Succeeded(), out, err);
  if (outcome.Succeeded()) return kExitSuccess;
  err << RuntimeErrorMessage(outcome) << '\n';
  PrintHint(err, FailureHint(method, given, outcome.error_number, single.options));
  return kExitRuntimeError;
}

// The same call as one request of the protocol, answered with its answer line.
int RunAsRequest(const SingleCall& single, std::ostream& out) {
  OrderedJson args = OrderedJson::object();
  for (const auto& [name, text] : single.args) {
    if (args.contains(name)) {
      throw UsageError{"parameter '" + name + "' is given twice", "", HelpTopic(*single.method)};
    }
    const OrderedJson json = OrderedJson::parse(text, nullptr, /*allow_exceptions=*/false);
    args[name] = json.is_discarded() ? OrderedJson(text) : json;
  }
  OrderedJson request = OrderedJson::object();
  request["method"] = single.method->name;
  request["args"] = std::move(args);
  const std::string answer = AnswerRequest(DumpLine(request), single.options);
  out << answer << '\n';
  const Json parsed = Json::parse(answer, nullptr, /*allow_exceptions=*/false);
  const bool succeeded = parsed.is_object() && parsed.contains("hresult") &&
                         parsed["hresult"].is_number() && parsed["hresult"].get<int64_t>() == 0;
  return succeeded ? kExitSuccess : kExitRuntimeError;
}

}  // namespace

bool TakeOption(const std::vector<std::string>& args, size_t& i, std::string_view name,
                std::string& value) {
  const std::string& arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size()) throw UsageError("option " + arg + " needs a value");
    value = args[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    value = arg.substr(name.size() + 1);
    return true;
  }
  return false;
}

Variant CommandLineValue(const ParamInfo& param, const std::string& text) {
  const Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) {
    if (param.type == VarType::Range) ArgumentFromJson(param, Json(text));  // raises 13
    return text;
  }
  return ArgumentFromJson(param, json);
}

int RunSingleCall(const SingleCall& call, std::ostream& out, std::ostream& err) {
  if (call.json) return RunAsRequest(call, out);
  return RunNamedCall(call, out, err);
}

}  // namespace armocalc::cli
