#include <functional>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli/answer_text.hpp"
#include "cli/cli.hpp"
#include "cli/hints.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "cli/quick_request.hpp"
#include "interface/latin_names.hpp"
#include "runtime/errors.hpp"

namespace armocalc::cli {
namespace {

// The parser's reason without its "[json.exception...] " tag.
std::string ParserReason(const Json::exception& e) {
  std::string reason = e.what();
  const size_t tag_end = reason.find("] ");
  if (reason.starts_with("[json.exception") && tag_end != std::string::npos) {
    reason.erase(0, tag_end + 2);
  }
  return reason;
}

int NotJson(std::string& out, const Json::exception& e) {
  constexpr int kNumberOverflow = 406;  // a number beyond the double range
  const int number = e.id == kNumberOverflow ? kOverflow : kInvalidProcedureCall;
  AppendFailedRequest(
      out, {}, nullptr, number,
      ErrorDescription(number) + ": the line is not valid JSON (" + ParserReason(e) + ")");
  return number;
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
        key != "report_encoding" && key != "report_format" && key != "id") {
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
  if (request.contains("report_format") && !request["report_format"].is_null()) {
    options.report_format =
        ParseReportFormat(StringField(request, "report_format").get<std::string>());
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

// The request's id as JSON text; empty when it gives none.
std::string IdJson(const Json& request) {
  if (!request.is_object() || !request.contains("id")) return {};
  return request["id"].dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The full reading: every refusal with its exact number and reason. Returns the answer's
// error number, 0 on success.
int AppendFullAnswer(std::string& out, std::string_view line, const CallOptions& defaults) {
  Json request;
  try {
    request = ParseRequest(line);
  } catch (const Json::exception& e) {
    return NotJson(out, e);
  } catch (const RuntimeError& e) {
    AppendFailedRequest(out, {}, nullptr, e.Number(), e.what());
    return e.Number();
  }
  const std::string id = IdJson(request);
  const MethodInfo* method = nullptr;
  const size_t start = out.size();
  try {
    if (!request.is_object()) RequestError(kTypeMismatch, "a request is a JSON object");
    CheckFields(request);
    method = &RequestedMethod(request);
    CallOptions options = defaults;
    ReadOptions(request, options);
    NamedCall call(*method);
    ReadArguments(request, call);
    const int number = AppendCallAnswer(out, id, call, options);
    if (number != 0) AddHintToAnswer(out, start, RequestHint(request, number, defaults));
    return number;
  } catch (const RuntimeError& e) {
    out.resize(start);
    AppendFailedRequest(out, id, method, e.Number(), e.what());
    AddHintToAnswer(out, start, RequestHint(request, e.Number(), defaults));
    return e.Number();
  }
}

// The quick reading keeps no request tree: a failed call's request is read again for its hint.
void AddHintToQuickAnswer(std::string& out, size_t start, std::string_view line, int number,
                          const CallOptions& defaults) {
  try {
    AddHintToAnswer(out, start, RequestHint(ParseRequest(line), number, defaults));
  } catch (...) {
    // The answer stands without a hint.
  }
}

}  // namespace

int AppendRequestAnswer(std::string& out, std::string_view line, const CallOptions& defaults) {
  const size_t start = out.size();
  try {
    const std::optional<int> quick = TryAnswerQuickly(line, defaults, out);
    if (quick && *quick != 0) AddHintToQuickAnswer(out, start, line, *quick, defaults);
    if (quick) return *quick;
    return AppendFullAnswer(out, line, defaults);
  } catch (const std::bad_alloc&) {
    out.resize(start);
    AppendFailedRequest(out, {}, nullptr, kOutOfMemory, ErrorDescription(kOutOfMemory));
    return kOutOfMemory;
  } catch (...) {
    out.resize(start);
    AppendFailedRequest(out, {}, nullptr, kInternalError, ErrorDescription(kInternalError));
    return kInternalError;
  }
}

std::string AnswerRequest(std::string_view line, const CallOptions& defaults) {
  std::string out;
  AppendRequestAnswer(out, line, defaults);
  return out;
}

}  // namespace armocalc::cli
