#include <functional>
#include <istream>
#include <new>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "cli/cli.hpp"
#include "cli/hints.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "interface/latin_names.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cli {
namespace {

OrderedJson ErrorJson(int number, const std::string& description) {
  OrderedJson error = OrderedJson::object();
  error["number"] = number;
  error["description"] = description;
  return error;
}

OrderedJson Answer(OrderedJson result, int32_t hresult, OrderedJson error, OrderedJson byref) {
  OrderedJson answer = OrderedJson::object();
  answer["result"] = std::move(result);
  answer["hresult"] = hresult;
  answer["error"] = std::move(error);
  answer["byref"] = std::move(byref);
  return answer;
}

// The answer to a request that never reached the call.
OrderedJson FailedRequest(const MethodInfo* method, int number, const std::string& description) {
  OrderedJson result = method && method->result == VarType::Double ? OrderedJson(0.0) : nullptr;
  return Answer(std::move(result), HresultOf(number), ErrorJson(number, description),
                OrderedJson::object());
}

// The parser's reason without its "[json.exception...] " tag.
std::string ParserReason(const Json::exception& e) {
  std::string reason = e.what();
  const size_t tag_end = reason.find("] ");
  if (reason.starts_with("[json.exception") && tag_end != std::string::npos) {
    reason.erase(0, tag_end + 2);
  }
  return reason;
}

OrderedJson NotJson(const Json::exception& e) {
  constexpr int kNumberOverflow = 406;  // a number beyond the double range
  const int number = e.id == kNumberOverflow ? kOverflow : kInvalidProcedureCall;
  return FailedRequest(
      nullptr, number,
      ErrorDescription(number) + ": the line is not valid JSON (" + ParserReason(e) + ")");
}

const Json& StringField(const Json& request, const char* field) {
  const Json& value = request.at(field);
  if (!value.is_string()) {
    RequestError(kTypeMismatch, std::string("\"") + field + "\" is a text");
  }
  return value;
}

void CheckFields(const Json& request) {
  for (const auto& [key, value] : request.items()) {
    if (key != "method" && key != "args" && key != "decimal_separator" &&
        key != "report_encoding") {
      RequestError(kInvalidProcedureCall, "unknown request field \"" + key + "\"");
    }
  }
}

const MethodInfo& RequestedMethod(const Json& request) {
  if (!request.contains("method")) {
    RequestError(kArgumentNotOptional, "the request names no \"method\"");
  }
  const auto name = StringField(request, "method").get<std::string>();
  const MethodInfo* method = LookUpMethod(name);
  if (!method) RequestError(kObjectDoesNotSupport, "no method named '" + name + "'");
  return *method;
}

void ReadOptions(const Json& request, CallOptions& options) {
  if (request.contains("decimal_separator") && !request["decimal_separator"].is_null()) {
    options.decimal_separator =
        CheckedSeparator(StringField(request, "decimal_separator").get<std::string>());
  }
  if (request.contains("report_encoding") && !request["report_encoding"].is_null()) {
    options.report_encoding =
        ParseReportEncoding(StringField(request, "report_encoding").get<std::string>());
  }
}

void ReadArguments(const Json& request, NamedCall& call) {
  if (!request.contains("args") || request["args"].is_null()) return;
  const Json& args = request["args"];
  if (!args.is_object()) RequestError(kTypeMismatch, "\"args\" is an object of named values");
  for (const auto& [name, value] : args.items()) {
    const int index = call.ParamIndex(name);
    call.Set(index, ArgumentFromJson(call.Method().params[static_cast<size_t>(index)], value));
  }
}

OrderedJson CallAnswer(const NamedCall& call, const CallOptions& options) {
  const NamedCall::Result done = call.Execute(options);
  const MethodInfo& method = call.Method();
  OrderedJson byref = OrderedJson::object();
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].mode == PassingMode::ByRef) {
      byref[std::string(method.params[i].name)] = VariantToJson(done.after[i]);
    }
  }
  const CallOutcome& outcome = done.outcome;
  OrderedJson error = outcome.Succeeded() ? OrderedJson(nullptr)
                                          : ErrorJson(outcome.error_number, outcome.description);
  return Answer(VariantToJson(outcome.result), outcome.hresult, std::move(error), std::move(byref));
}

// A failed answer's error object gains the hint for people, when there is one; built only on
// failure.
OrderedJson WithHint(OrderedJson answer, const Json& request, const CallOptions& defaults) {
  OrderedJson& error = answer["error"];
  if (error.is_null()) return answer;
  std::string hint = RequestHint(request, error["number"].get<int>(), defaults);
  if (!hint.empty()) error["hint"] = std::move(hint);
  return answer;
}

// A key given twice would be decided by whichever the parser keeps: the request is refused.
class DuplicateKeyGuard {
 public:
  bool operator()(int, Json::parse_event_t event, Json& parsed) {
    if (event == Json::parse_event_t::object_start) keys_.emplace_back();
    if (event == Json::parse_event_t::object_end && !keys_.empty()) keys_.pop_back();
    if (event == Json::parse_event_t::key && !keys_.empty()) {
      const auto& key = parsed.get_ref<const std::string&>();
      if (!keys_.back().insert(key).second) {
        RequestError(kInvalidProcedureCall, "the key \"" + key + "\" is given twice");
      }
    }
    return true;
  }

 private:
  std::vector<std::set<std::string>> keys_;
};

Json ParseRequest(std::string_view line) {
  if (line.find('\0') != std::string_view::npos) {
    RequestError(kInvalidProcedureCall, "the line holds a NUL character");
  }
  DuplicateKeyGuard guard;
  return Json::parse(line, std::ref(guard));
}

OrderedJson AnswerJson(std::string_view line, const CallOptions& defaults) {
  Json request;
  try {
    request = ParseRequest(line);
  } catch (const Json::exception& e) {
    return NotJson(e);
  } catch (const RuntimeError& e) {
    return FailedRequest(nullptr, e.Number(), e.what());
  }
  const MethodInfo* method = nullptr;
  try {
    if (!request.is_object()) RequestError(kTypeMismatch, "a request is a JSON object");
    CheckFields(request);
    method = &RequestedMethod(request);
    CallOptions options = defaults;
    ReadOptions(request, options);
    NamedCall call(*method);
    ReadArguments(request, call);
    return WithHint(CallAnswer(call, options), request, defaults);
  } catch (const RuntimeError& e) {
    return WithHint(FailedRequest(method, e.Number(), e.what()), request, defaults);
  }
}

}  // namespace

std::string AnswerRequest(std::string_view line, const CallOptions& defaults) {
  try {
    return DumpLine(AnswerJson(line, defaults));
  } catch (const std::bad_alloc&) {
    return DumpLine(FailedRequest(nullptr, kOutOfMemory, ErrorDescription(kOutOfMemory)));
  } catch (...) {
    return DumpLine(FailedRequest(nullptr, kInternalError, ErrorDescription(kInternalError)));
  }
}

void ServeJsonLines(std::istream& in, std::ostream& out, const CallOptions& defaults) {
  std::string line;
  bool first = true;
  while (std::getline(in, line)) {
    if (first && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);  // byte order mark
    first = false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    out << AnswerRequest(line, defaults) << '\n' << std::flush;
  }
}

}  // namespace armocalc::cli
