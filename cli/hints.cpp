#include "cli/hints.hpp"

#include <algorithm>
#include <limits>
#include <optional>

#include "cli/named_call.hpp"
#include "interface/latin_names.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc::cli {
namespace {

// Longer spellings are no misspelt name: no declared name comes near this length.
constexpr size_t kLongestComparedName = 100;
constexpr size_t kMostSuggestions = 3;
constexpr size_t kFar = std::numeric_limits<size_t>::max();

std::u32string ComparedForm(std::string_view name) {
  const std::string folded = ToLowerUtf8(LookAlikeSkeleton(name));
  std::u32string letters;
  for (size_t pos = 0; pos < folded.size();) {
    const CodePoint point = DecodeUtf8(folded, pos);
    letters.push_back(point.value);
    pos += point.length;
  }
  return letters;
}

size_t Levenshtein(const std::u32string& a, const std::u32string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// How far a spelling is from a declared name: the nearer of the name and its Latin spelling.
size_t DistanceToName(std::string_view spelling, std::string_view name) {
  return std::min(NameDistance(spelling, name), NameDistance(spelling, Transliterated(name)));
}

// A misspelling keeps most of the name: a quarter of its letters may be wrong, and never all.
bool IsNearEnough(size_t distance, std::string_view name) {
  const size_t length = Utf8Length(name);
  return distance < length && distance <= std::max<size_t>(1, length / 4);
}

std::string Quoted(std::string_view name, bool with_latin) {
  std::string text = "'" + std::string(name) + "'";
  const std::string latin = Transliterated(name);
  if (with_latin && latin != name) text += " (" + latin + ")";
  return text;
}

// "did you mean 'a'?", "did you mean 'a' or 'b'?", "did you mean 'a', 'b' or 'c'?"
std::string DidYouMean(std::string_view spelling, const std::vector<std::string_view>& names) {
  if (Utf8Length(spelling) > kLongestComparedName) return {};
  size_t best = kFar;
  std::vector<std::string_view> nearest;
  for (const std::string_view name : names) {
    const size_t distance = DistanceToName(spelling, name);
    if (!IsNearEnough(distance, name) || distance > best) continue;
    if (distance < best) nearest.clear();
    best = distance;
    nearest.push_back(name);
  }
  if (nearest.empty()) return {};
  if (nearest.size() > kMostSuggestions) nearest.resize(kMostSuggestions);
  const bool latin = IsAscii(spelling);
  std::string text = "did you mean ";
  for (size_t i = 0; i < nearest.size(); ++i) {
    if (i > 0) text += i + 1 == nearest.size() ? " or " : ", ";
    text += Quoted(nearest[i], latin);
  }
  return text + "?";
}

bool IsNumberType(VarType type) {
  return type == VarType::Byte || type == VarType::Integer || type == VarType::Long ||
         type == VarType::Single || type == VarType::Double;
}

std::string_view RangeOf(VarType type) {
  switch (type) {
    case VarType::Byte:
      return "0 … 255";
    case VarType::Integer:
      return "−32768 … 32767";
    case VarType::Long:
      return "−2147483648 … 2147483647";
    case VarType::Single:
      return "±3.402823E+38";
    default:
      return "±1.79769313486231E+308";
  }
}

std::string ShownValue(const Variant& value) {
  if (value.Type() == VarType::String) return value.Text();
  return DumpLine(VariantToJson(value));
}

std::string SeparatorFix(std::string_view usable, std::string_view other, HintStyle style) {
  std::string fix = "use '" + std::string(usable) + "' or ";
  if (style == HintStyle::CommandLine) return fix + "--decimal-separator " + std::string(other);
  return fix + "\"decimal_separator\": \"" + std::string(other) + "\"";
}

std::string NumberHint(const ParamInfo& param, const std::string& text, HintStyle style) {
  std::string hint = std::string(param.name) + " = '" + text + "' is not a number";
  const std::string separator = РазделительДробнойЧасти();
  const std::string_view other = separator == "," ? "." : ",";
  if (text.find(other) != std::string::npos)
    return hint + ": " + SeparatorFix(separator, other, style);
  if (!param.doc.unit.empty()) hint += " (" + std::string(param.doc.unit) + ")";
  return hint;
}

std::string ConversionHint(const ParamInfo& param, const Variant& value, int number,
                           HintStyle style) {
  const std::string shown = ShownValue(value);
  if (number == kOverflow) {
    return std::string(param.name) + " = '" + shown + "' is out of the range of " +
           VarTypeName(param.type) + " (" + std::string(RangeOf(param.type)) + ")";
  }
  if (param.type == VarType::Boolean) {
    return std::string(param.name) + " = '" + shown + "' is not a Boolean: use true or false";
  }
  if (IsNumberType(param.type) && value.Type() == VarType::String) {
    return NumberHint(param, shown, style);
  }
  return std::string(param.name) + " = '" + shown + "' cannot be a " + VarTypeName(param.type);
}

std::string RangeHint(const ParamInfo& param) {
  return std::string(param.name) +
         " is a Range: give its rows of cells as JSON, e.g. [[1,0.2,16],[2,-0.2,16]]";
}

const MethodInfo* RequestedMethod(const Json& request) {
  const auto found = request.find("method");
  if (found == request.end() || !found->is_string()) return nullptr;
  return LookUpMethod(found->get_ref<const std::string&>());
}

const Json* RequestArgs(const Json& request) {
  const auto found = request.find("args");
  return found != request.end() && found->is_object() ? &*found : nullptr;
}

std::optional<std::string> RequestSeparator(const Json& request, const CallOptions& defaults) {
  const auto found = request.find("decimal_separator");
  if (found != request.end() && found->is_string()) return found->get<std::string>();
  return defaults.decimal_separator;
}

std::string UnknownArgumentHint(const MethodInfo& method, const Json& args) {
  for (const auto& [name, value] : args.items()) {
    if (LookUpParam(method, name) >= 0) continue;
    const std::string hint = ParamNameHint(method, name);
    if (!hint.empty()) return "'" + name + "': " + hint;
  }
  return {};
}

std::string ArgumentValueHint(const MethodInfo& method, const Json& args) {
  for (const auto& [name, value] : args.items()) {
    const int index = LookUpParam(method, name);
    if (index < 0) continue;
    const ParamInfo& param = method.params[static_cast<size_t>(index)];
    std::string hint;
    try {
      hint = ValueHint(param, ArgumentFromJson(param, value), HintStyle::Protocol);
    } catch (const RuntimeError&) {
      hint = param.type == VarType::Range ? RangeHint(param)
                                          : std::string(param.name) + " = " + DumpLine(value) +
                                                " cannot be a " + VarTypeName(param.type);
    }
    if (!hint.empty()) return hint;
  }
  return {};
}

std::string MissingRequestArguments(const MethodInfo& method, const Json* args) {
  std::vector<bool> given(method.params.size());
  if (args) {
    for (const auto& [name, value] : args->items()) {
      const int index = LookUpParam(method, name);
      if (index >= 0) given[static_cast<size_t>(index)] = true;
    }
  }
  return MissingArgumentsHint(method, given);
}

std::string HintForMethod(const MethodInfo& method, const Json& request, int number) {
  const Json* args = RequestArgs(request);
  if (number == kArgumentNotOptional) return MissingRequestArguments(method, args);
  if (!args) return {};
  if (number == kNamedArgumentNotFound) return UnknownArgumentHint(method, *args);
  if (number == kTypeMismatch || number == kOverflow) return ArgumentValueHint(method, *args);
  return {};
}

}  // namespace

size_t NameDistance(std::string_view a, std::string_view b) {
  return Levenshtein(ComparedForm(a), ComparedForm(b));
}

std::string MethodNameHint(std::string_view spelling) {
  std::vector<std::string_view> names;
  for (const MethodInfo& method : Methods()) names.push_back(method.name);
  return DidYouMean(spelling, names);
}

std::string ParamNameHint(const MethodInfo& method, std::string_view spelling) {
  std::vector<std::string_view> names;
  for (const ParamInfo& param : method.params) names.push_back(param.name);
  return DidYouMean(spelling, names);
}

std::string ValueHint(const ParamInfo& param, const Variant& value, HintStyle style) {
  const bool is_range = value.Type() == VarType::Range || value.Type() == VarType::Array;
  if (param.type == VarType::Range) return is_range ? std::string() : RangeHint(param);
  if (value.Type() == VarType::Empty) return {};
  try {
    CoerceTo(value, param.type);
    return {};
  } catch (const RuntimeError& e) {
    return ConversionHint(param, value, e.Number(), style);
  }
}

std::string MissingArgumentsHint(const MethodInfo& method, const std::vector<bool>& given) {
  std::string hint;
  for (size_t i = 0; i < method.params.size() && i < given.size(); ++i) {
    const ParamInfo& param = method.params[i];
    if (param.optional || given[i]) continue;
    hint += hint.empty() ? "required, not given: " : ", ";
    hint += std::string(param.name);
    if (!param.doc.meaning.empty()) hint += " (" + std::string(param.doc.meaning) + ")";
  }
  return hint;
}

std::string RequestHint(const Json& request, int number, const CallOptions& defaults) {
  try {
    if (!request.is_object()) return {};
    const MethodInfo* method = RequestedMethod(request);
    if (!method) {
      const auto name = request.find("method");
      if (number != kObjectDoesNotSupport || name == request.end() || !name->is_string()) return {};
      return MethodNameHint(name->get_ref<const std::string&>());
    }
    std::optional<ScopedDecimalSeparator> separator;
    if (const auto chosen = RequestSeparator(request, defaults)) separator.emplace(*chosen);
    return HintForMethod(*method, request, number);
  } catch (...) {
    return {};  // a hint never stands in the way of the answer
  }
}

}  // namespace armocalc::cli
