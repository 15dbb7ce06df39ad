#include "cli/quick_request.hpp"

// The MinGW builds have no simdjson (Debian packages it for Linux only): there every line takes
// the full reading, which answers with the same bytes.
#ifdef ARMOCALC_QUICK_READING

#include <simdjson.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "cli/answer_text.hpp"
#include "cli/named_call.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

namespace od = simdjson::ondemand;

// The parser and the padded copy of the line, kept per thread so that a request allocates
// nothing for them once the first lines are read.
struct Reader {
  od::parser parser;
  std::string padded;
  std::string id_json;
};

Reader& ThisThreadReader() {
  thread_local Reader reader;
  return reader;
}

// Control characters (also NUL, tabs and CR) and \u escapes: the full reading knows exactly
// which of them JSON allows and how to describe the others.
bool NeedsFullReading(std::string_view line) {
  // Eight bytes at a time while none is below 0x20 or a backslash; from the first chunk that
  // holds one, byte by byte.
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  size_t i = 0;
  for (; i + 8 <= line.size(); i += 8) {
    uint64_t chunk = 0;
    std::memcpy(&chunk, line.data() + i, 8);
    const uint64_t control = (chunk - 0x20 * kOnes) & ~chunk & kHighBits;
    const uint64_t not_backslash = chunk ^ ('\\' * kOnes);
    const uint64_t backslash = (not_backslash - kOnes) & ~not_backslash & kHighBits;
    if ((control | backslash) != 0) break;
  }
  for (; i < line.size(); ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (c < 0x20) return true;
    if (c == '\\' && i + 1 < line.size() && line[i + 1] == 'u') return true;
  }
  return false;
}

// A number as the full reading takes it: integers within Long as Long, other numbers as Double.
std::optional<Variant> NumberValue(od::value& value) {
  od::number number;
  if (value.get_number().get(number)) return std::nullopt;  // beyond every range, or malformed
  switch (number.get_number_type()) {
    case od::number_type::signed_integer: {
      const int64_t n = number.get_int64();
      if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max()) {
        return Variant(static_cast<int32_t>(n));
      }
      return Variant(static_cast<double>(n));
    }
    case od::number_type::unsigned_integer:
      return Variant(static_cast<double>(number.get_uint64()));
    case od::number_type::floating_point_number:
      return Variant(number.get_double());
    default:
      return std::nullopt;
  }
}

std::optional<Variant> ScalarValue(od::value& value) {
  od::json_type type;
  if (value.type().get(type)) return std::nullopt;
  switch (type) {
    case od::json_type::null: {
      bool is_null = false;
      if (value.is_null().get(is_null) || !is_null) return std::nullopt;
      return Variant();
    }
    case od::json_type::boolean: {
      bool flag = false;
      if (value.get_bool().get(flag)) return std::nullopt;
      return Variant(flag);
    }
    case od::json_type::number:
      return NumberValue(value);
    case od::json_type::string: {
      std::string_view text;
      if (value.get_string().get(text)) return std::nullopt;
      return Variant(std::string(text));
    }
    default:
      return std::nullopt;
  }
}

// A Range: null (Empty) or an array of rows of scalar cells; worksheet cells hold numbers as
// Doubles.
std::optional<Variant> RangeValue(od::value& value) {
  od::json_type type;
  if (value.type().get(type)) return std::nullopt;
  if (type == od::json_type::null) return ScalarValue(value);
  od::array rows;
  if (value.get_array().get(rows)) return std::nullopt;
  std::vector<std::vector<Variant>> grid;
  for (auto row_result : rows) {
    od::array cells;
    if (row_result.get_array().get(cells)) return std::nullopt;
    std::vector<Variant>& row = grid.emplace_back();
    for (auto cell_result : cells) {
      od::value cell_value;
      if (cell_result.get(cell_value)) return std::nullopt;
      std::optional<Variant> cell = ScalarValue(cell_value);
      if (!cell) return std::nullopt;
      if (cell->Type() == VarType::Long) cell = Variant(static_cast<double>(cell->Get<int32_t>()));
      row.push_back(std::move(*cell));
    }
  }
  return Variant(std::shared_ptr<HostRange>(std::make_shared<GridRange>(std::move(grid))));
}

// An id echoed in the answer: a scalar, written as the full reading writes it (integers
// beyond Long stay integers there).
bool ReadId(od::value& value, std::string& id_json) {
  id_json.clear();
  od::json_type type;
  if (value.type().get(type)) return false;
  if (type != od::json_type::number) {
    std::optional<Variant> id = ScalarValue(value);
    if (!id) return false;
    AppendJsonValue(id_json, *id);
    return true;
  }
  od::number number;
  if (value.get_number().get(number)) return false;
  switch (number.get_number_type()) {
    case od::number_type::signed_integer:
      id_json = std::to_string(number.get_int64());
      return true;
    case od::number_type::unsigned_integer:
      id_json = std::to_string(number.get_uint64());
      return true;
    case od::number_type::floating_point_number:
      AppendJsonDouble(id_json, number.get_double());
      return true;
    default:
      return false;
  }
}

bool ReadArguments(od::value& value, NamedCall& call) {
  od::json_type type;
  if (value.type().get(type)) return false;
  if (type == od::json_type::null) return ScalarValue(value).has_value();
  od::object args;
  if (value.get_object().get(args)) return false;
  size_t next = 0;  // arguments mostly come in the declared order
  for (auto field : args) {
    std::string_view name;
    if (field.unescaped_key().get(name)) return false;
    const auto& params = call.Method().params;
    const bool in_order = next < params.size() && params[next].name == name;
    // An unknown name, or one given twice (in any spelling), is the full reading's to refuse.
    const int index = in_order ? static_cast<int>(next) : FindParam(call.Method(), name);
    if (index < 0 || call.IsSet(index)) return false;
    od::value argument;
    if (field.value().get(argument)) return false;
    const ParamInfo& param = call.Method().params[static_cast<size_t>(index)];
    std::optional<Variant> converted =
        param.type == VarType::Range ? RangeValue(argument) : ScalarValue(argument);
    if (!converted) return false;
    call.Set(index, std::move(*converted));
    next = static_cast<size_t>(index) + 1;
  }
  return true;
}

// A text option or null (the default stays).
bool ReadTextOption(od::value& value, std::optional<std::string_view>& option) {
  od::json_type type;
  if (value.type().get(type)) return false;
  if (type == od::json_type::null) return ScalarValue(value).has_value();
  std::string_view text;
  if (value.get_string().get(text)) return false;
  option = text;
  return true;
}

enum Field : unsigned { kMethod = 1, kArgs = 2, kSeparator = 4, kEncoding = 8, kId = 16 };

std::optional<Field> FieldOf(std::string_view key) {
  if (key == "method") return kMethod;
  if (key == "args") return kArgs;
  if (key == "decimal_separator") return kSeparator;
  if (key == "report_encoding") return kEncoding;
  if (key == "id") return kId;
  return std::nullopt;
}

struct Request {
  std::optional<NamedCall> call;
  std::optional<std::string_view> separator;
  std::optional<std::string_view> encoding;
  bool has_id = false;
};

bool ReadField(Field field, od::value& value, Request& request, Reader& reader) {
  switch (field) {
    case kMethod: {
      std::string_view name;
      if (value.get_string().get(name)) return false;
      const MethodInfo* method = FindMethod(name);
      if (!method) return false;
      request.call.emplace(*method);
      return true;
    }
    case kArgs:
      return request.call && ReadArguments(value, *request.call);  // "args" first: full reading
    case kSeparator:
      return ReadTextOption(value, request.separator);
    case kEncoding:
      return ReadTextOption(value, request.encoding);
    case kId:
      request.has_id = true;
      return ReadId(value, reader.id_json);
  }
  return false;
}

bool ReadRequest(std::string_view line, Request& request, Reader& reader) {
  reader.padded.assign(line);
  reader.padded.append(simdjson::SIMDJSON_PADDING, ' ');
  od::document document;
  if (reader.parser.iterate(reader.padded.data(), line.size(), reader.padded.size())
          .get(document)) {
    return false;
  }
  od::object object;
  if (document.get_object().get(object)) return false;
  unsigned seen = 0;
  for (auto member : object) {
    std::string_view key;
    if (member.unescaped_key().get(key)) return false;
    const std::optional<Field> field = FieldOf(key);
    if (!field || (seen & *field) != 0) return false;
    seen |= *field;
    od::value value;
    if (member.value().get(value)) return false;
    if (!ReadField(*field, value, request, reader)) return false;
  }
  // Anything after the object is left for the full reading to refuse.
  return request.call.has_value() && document.current_location().error() == simdjson::OUT_OF_BOUNDS;
}

std::optional<CallOptions> Options(const Request& request, const CallOptions& defaults) {
  CallOptions options = defaults;
  try {
    if (request.separator) options.decimal_separator = CheckedSeparator(*request.separator);
    if (request.encoding) options.report_encoding = ParseReportEncoding(*request.encoding);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
  return options;
}

}  // namespace

std::optional<int> TryAnswerQuickly(std::string_view line, const CallOptions& defaults,
                                    std::string& out) {
  if (NeedsFullReading(line)) return std::nullopt;
  Reader& reader = ThisThreadReader();
  Request request;
  if (!ReadRequest(line, request, reader)) return std::nullopt;
  const std::optional<CallOptions> options = Options(request, defaults);
  if (!options) return std::nullopt;
  return AppendCallAnswer(out,
                          request.has_id ? std::string_view(reader.id_json) : std::string_view(),
                          *request.call, *options);
}

}  // namespace armocalc::cli

#else

namespace armocalc::cli {

std::optional<int> TryAnswerQuickly(std::string_view, const CallOptions&, std::string&) {
  return std::nullopt;
}

}  // namespace armocalc::cli

#endif
