#pragma once
// The text of answer lines, written straight into a buffer: the same bytes a JSON dump of the
// answer gives (compact, keys in the order written, UTF-8 kept, doubles in their shortest form
// that reads back exactly, invalid UTF-8 replaced), without building a tree per answer.

#include <cstdint>
#include <string>
#include <string_view>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"

namespace armocalc::cli {

void AppendJsonText(std::string& out, std::string_view text);
void AppendJsonDouble(std::string& out, double value);
void AppendJsonValue(std::string& out, const Variant& value);

// The error object of an answer: {"number":n,"description":"..."}.
void AppendErrorObject(std::string& out, int number, std::string_view description);

// Adds "hint" to the error object of the failed answer that begins at `start` in `out`.
void AddHintToAnswer(std::string& out, size_t start, std::string_view hint);

// One answer line without its line end:
//   {"id":...,"result":...,"hresult":...,"error":...,"byref":{...}}
// `id_json` is the request's id as JSON text, empty when the request gave none. Without a call
// (`byref` null) the by-reference object is empty; otherwise it holds the by-reference
// parameters of `method` in their declared order.
struct AnswerParts {
  std::string_view id_json;
  const Variant* result = nullptr;  // null for a Variant method's Empty
  int32_t hresult = 0;
  bool failed = false;  // false: "error" is null
  int error_number = 0;
  std::string_view description;
  const MethodInfo* method = nullptr;
  const Variant* byref = nullptr;  // the caller's variables after the call, one per parameter
};
void AppendAnswer(std::string& out, const AnswerParts& answer);

class NamedCall;
struct CallOptions;

// Runs the call (its values move into the call) and appends its answer; returns the error
// number, 0 on success.
int AppendCallAnswer(std::string& out, std::string_view id_json, NamedCall& call,
                     const CallOptions& options);

// The answer to a request that never reached the call: no by-reference values, the result the
// method's callers see on failure (0.0 for a Double method, else Empty).
void AppendFailedRequest(std::string& out, std::string_view id_json, const MethodInfo* method,
                         int number, std::string_view description);

}  // namespace armocalc::cli
