#include "cli/answer_text.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <functional>
#include <nlohmann/json.hpp>
#include <span>
#include <vector>

#include "cli/named_call.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

// Length of the well-formed UTF-8 sequence at text[i] (Unicode table 3-7), 0 when ill-formed.
size_t Utf8SequenceLength(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  const size_t left = text.size() - i;
  const auto tail = [&](size_t k) { return k < left && (byte(i + k) & 0xC0) == 0x80; };
  if (lead >= 0xC2 && lead <= 0xDF) return tail(1) ? 2 : 0;
  if (lead >= 0xE0 && lead <= 0xEF) {
    if (left < 2) return 0;
    const unsigned char second = byte(i + 1);
    const bool second_ok = lead == 0xE0   ? second >= 0xA0 && second <= 0xBF
                           : lead == 0xED ? second >= 0x80 && second <= 0x9F
                                          : (second & 0xC0) == 0x80;
    return second_ok && tail(2) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4) {
    if (left < 2) return 0;
    const unsigned char second = byte(i + 1);
    const bool second_ok = lead == 0xF0   ? second >= 0x90 && second <= 0xBF
                           : lead == 0xF4 ? second >= 0x80 && second <= 0x8F
                                          : (second & 0xC0) == 0x80;
    return second_ok && tail(2) && tail(3) ? 4 : 0;
  }
  return 0;
}

bool IsWellFormedUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    if (static_cast<unsigned char>(text[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceLength(text, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

void AppendEscaped(std::string& out, unsigned char c) {
  switch (c) {
    case '"':
      out += "\\\"";
      return;
    case '\\':
      out += "\\\\";
      return;
    case '\b':
      out += "\\b";
      return;
    case '\f':
      out += "\\f";
      return;
    case '\n':
      out += "\\n";
      return;
    case '\r':
      out += "\\r";
      return;
    case '\t':
      out += "\\t";
      return;
    default: {
      constexpr char kHex[] = "0123456789abcdef";
      const char text[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 0xF]};
      out.append(text, sizeof text);
    }
  }
}

template <class Integer>
void AppendInteger(std::string& out, Integer value) {
  char text[24];
  const auto end = std::to_chars(text, text + sizeof text, value).ptr;
  out.append(text, end);
}

template <class Cells>
void AppendRow(std::string& out, const Cells& cells) {
  out += '[';
  bool first = true;
  for (const Variant& cell : cells) {
    if (!first) out += ',';
    first = false;
    AppendJsonValue(out, cell);
  }
  out += ']';
}

void AppendRange(std::string& out, const HostRange& range) {
  out += '[';
  const int32_t row_count = range.RowsCount();
  const int32_t column_count = range.ColumnsCount();
  for (int32_t r = 1; r <= row_count; ++r) {
    if (r > 1) out += ',';
    out += '[';
    for (int32_t c = 1; c <= column_count; ++c) {
      if (c > 1) out += ',';
      AppendJsonValue(out, range.Cell(r, c));
    }
    out += ']';
  }
  out += ']';
}

void AppendArray(std::string& out, const VariantArray& rows) {
  out += '[';
  bool first = true;
  for (const auto& row : rows) {
    if (!first) out += ',';
    first = false;
    AppendRow(out, row);
  }
  out += ']';
}

// The text before each by-reference value of a method's answer, ",\"name\":" (without the
// comma for the first).
std::vector<std::string> KeysOf(const MethodInfo& method) {
  std::vector<std::string> keys(method.params.size());
  bool first = true;
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].mode != PassingMode::ByRef) continue;
    if (!first) keys[i] += ',';
    first = false;
    AppendJsonText(keys[i], method.params[i].name);
    keys[i] += ':';
  }
  return keys;
}

// The keys of the table's methods, written once for all answers.
const std::vector<std::string>* TableKeys(const MethodInfo& method) {
  static const std::vector<std::vector<std::string>> keys = [] {
    std::vector<std::vector<std::string>> all;
    for (const MethodInfo& each : Methods()) all.push_back(KeysOf(each));
    return all;
  }();
  const std::span<const MethodInfo> methods = Methods();
  const std::less<const MethodInfo*> before;
  if (before(&method, methods.data()) || !before(&method, methods.data() + methods.size())) {
    return nullptr;
  }
  return &keys[static_cast<size_t>(&method - methods.data())];
}

void AppendByRef(std::string& out, const MethodInfo* method, const Variant* byref) {
  out += '{';
  if (method && byref) {
    const std::vector<std::string>* table_keys = TableKeys(*method);
    const std::vector<std::string> own_keys =
        table_keys ? std::vector<std::string>() : KeysOf(*method);
    const std::vector<std::string>& keys = table_keys ? *table_keys : own_keys;
    for (size_t i = 0; i < method->params.size(); ++i) {
      if (method->params[i].mode != PassingMode::ByRef) continue;
      out += keys[i];
      AppendJsonValue(out, byref[i]);
    }
  }
  out += '}';
}

}  // namespace

void AppendJsonText(std::string& out, std::string_view text) {
  if (!IsWellFormedUtf8(text)) {
    // The dump's own replacement of ill-formed sequences, which this writer does not repeat.
    out += nlohmann::ordered_json(std::string(text))
               .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    return;
  }
  out += '"';
  size_t plain = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c != '"' && c != '\\') continue;
    out.append(text.data() + plain, i - plain);
    AppendEscaped(out, c);
    plain = i + 1;
  }
  out.append(text.data() + plain, text.size() - plain);
  out += '"';
}

void AppendJsonDouble(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  // An answer repeats most of its numbers (inputs echoed, defaults such as -1): the text of the
  // last doubles seen on this thread is kept by bit pattern.
  struct Cached {
    uint64_t bits = 0;
    uint8_t length = 0;
    char text[31] = {};
  };
  constexpr unsigned kCacheBits = 8;
  thread_local std::array<Cached, size_t{1} << kCacheBits> cache{};
  const auto bits = std::bit_cast<uint64_t>(value);
  Cached& entry = cache[static_cast<size_t>((bits * 0x9E3779B97F4A7C15u) >> (64 - kCacheBits))];
  if (entry.length == 0 || entry.bits != bits) {
    // The dump's own digit generation: std::to_chars gives other digits for some values (its
    // shortest form is not always the dump's), which would change answers.
    char* end = nlohmann::detail::to_chars(entry.text, entry.text + sizeof entry.text, value);
    entry.bits = bits;
    entry.length = static_cast<uint8_t>(end - entry.text);
  }
  out.append(entry.text, entry.length);
}

void AppendJsonValue(std::string& out, const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      out += "null";
      return;
    case VarType::Byte:
      return AppendInteger(out, value.Get<uint8_t>());
    case VarType::Integer:
      return AppendInteger(out, value.Get<int16_t>());
    case VarType::Long:
      return AppendInteger(out, value.Get<int32_t>());
    case VarType::Single:
      return AppendJsonDouble(out, static_cast<double>(value.Get<float>()));
    case VarType::Double:
      return AppendJsonDouble(out, value.Get<double>());
    case VarType::Boolean:
      out += value.Get<bool>() ? "true" : "false";
      return;
    case VarType::String:
      return AppendJsonText(out, value.Text());
    case VarType::Range:
      if (!value.Range()) {
        out += "null";
        return;
      }
      return AppendRange(out, *value.Range());
    case VarType::Array:
      if (!value.Array()) {
        out += "[]";
        return;
      }
      return AppendArray(out, *value.Array());
  }
  out += "null";
}

void AppendErrorObject(std::string& out, int number, std::string_view description) {
  out += "{\"number\":";
  AppendInteger(out, number);
  out += ",\"description\":";
  AppendJsonText(out, description);
  out += '}';
}

void AddHintToAnswer(std::string& out, size_t start, std::string_view hint) {
  if (hint.empty()) return;
  // Every quote inside a text is escaped, so the last literal by-reference key is the answer's
  // own, and the error object closes just before it.
  const size_t byref = out.rfind(",\"byref\":");
  if (byref == std::string::npos || byref <= start || out[byref - 1] != '}') return;
  std::string field = ",\"hint\":";
  AppendJsonText(field, hint);
  out.insert(byref - 1, field);
}

void AppendAnswer(std::string& out, const AnswerParts& answer) {
  out += '{';
  if (!answer.id_json.empty()) {
    out += "\"id\":";
    out += answer.id_json;
    out += ',';
  }
  out += "\"result\":";
  if (answer.result) {
    AppendJsonValue(out, *answer.result);
  } else {
    out += "null";
  }
  out += ",\"hresult\":";
  AppendInteger(out, answer.hresult);
  out += ",\"error\":";
  if (!answer.failed) {
    out += "null";
  } else {
    AppendErrorObject(out, answer.error_number, answer.description);
  }
  out += ",\"byref\":";
  AppendByRef(out, answer.method, answer.byref);
  out += '}';
}

int AppendCallAnswer(std::string& out, std::string_view id_json, NamedCall& call,
                     const CallOptions& options) {
  thread_local std::vector<Variant> after;
  const CallOutcome outcome = call.Run(options, after);
  AppendAnswer(out, {.id_json = id_json,
                     .result = &outcome.result,
                     .hresult = outcome.hresult,
                     .failed = !outcome.Succeeded(),
                     .error_number = outcome.error_number,
                     .description = outcome.description,
                     .method = &call.Method(),
                     .byref = after.data()});
  return outcome.Succeeded() ? 0 : outcome.error_number;
}

void AppendFailedRequest(std::string& out, std::string_view id_json, const MethodInfo* method,
                         int number, std::string_view description) {
  const Variant zero(0.0);
  const bool double_result = method && method->result == VarType::Double;
  AppendAnswer(out, {.id_json = id_json,
                     .result = double_result ? &zero : nullptr,
                     .hresult = HresultOf(number),
                     .failed = true,
                     .error_number = number,
                     .description = description});
}

}  // namespace armocalc::cli
