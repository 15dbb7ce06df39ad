#include "runtime/variant.hpp"

#include "runtime/checked_math.hpp"
#include "runtime/errors.hpp"
#include "runtime/number_text.hpp"
#include "runtime/text_case.hpp"

namespace armocalc {
namespace {

// Boolean True is -1 when the runtime turns it into a number.
double BooleanNumber(bool b) {
  return b ? -1.0 : 0.0;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

const char* VarTypeName(VarType type) {
  switch (type) {
    case VarType::Empty:
      return "Empty";
    case VarType::Byte:
      return "Byte";
    case VarType::Integer:
      return "Integer";
    case VarType::Long:
      return "Long";
    case VarType::Single:
      return "Single";
    case VarType::Double:
      return "Double";
    case VarType::Boolean:
      return "Boolean";
    case VarType::String:
      return "String";
    case VarType::Range:
      return "Range";
    case VarType::Array:
      return "Array";
  }
  return "Unknown";
}

bool Variant::IsNumeric() const noexcept {
  switch (Type()) {
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Boolean:
      return true;
    default:
      return false;
  }
}

double ToDouble(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return 0.0;
    case VarType::Byte:
      return v.Get<uint8_t>();
    case VarType::Integer:
      return v.Get<int16_t>();
    case VarType::Long:
      return v.Get<int32_t>();
    case VarType::Single:
      return v.Get<float>();
    case VarType::Double:
      return v.Get<double>();
    case VarType::Boolean:
      return BooleanNumber(v.Get<bool>());
    case VarType::String:
      return ТекстВЧисло(v.Text());
    case VarType::Range:
    case VarType::Array:
      break;
  }
  Raise(kTypeMismatch);
}

float ToSingle(const Variant& v) {
  if (v.Type() == VarType::Single) return v.Get<float>();
  return CSng(ToDouble(v));
}

uint8_t ToByte(const Variant& v) {
  if (v.Type() == VarType::Byte) return v.Get<uint8_t>();
  return CByte(ToDouble(v));
}

int16_t ToInteger(const Variant& v) {
  switch (v.Type()) {
    case VarType::Integer:
      return v.Get<int16_t>();
    case VarType::Byte:
      return v.Get<uint8_t>();
    default:
      return CInt(ToDouble(v));
  }
}

int32_t ToLong(const Variant& v) {
  switch (v.Type()) {
    case VarType::Long:
      return v.Get<int32_t>();
    case VarType::Integer:
      return v.Get<int16_t>();
    case VarType::Byte:
      return v.Get<uint8_t>();
    default:
      return CLng(ToDouble(v));
  }
}

bool ToBoolean(const Variant& v) {
  switch (v.Type()) {
    case VarType::Boolean:
      return v.Get<bool>();
    case VarType::String: {
      const std::string_view text = TrimBlanks(v.Text());
      if (EqualsIgnoreCase(text, "True")) return true;
      if (EqualsIgnoreCase(text, "False")) return false;
      return ТекстВЧисло(v.Text()) != 0.0;
    }
    default:
      return ToDouble(v) != 0.0;
  }
}

std::string ToText(const Variant& v) {
  switch (v.Type()) {
    case VarType::Empty:
      return {};
    case VarType::Byte:
      return Текст(v.Get<uint8_t>());
    case VarType::Integer:
      return Текст(v.Get<int16_t>());
    case VarType::Long:
      return Текст(v.Get<int32_t>());
    case VarType::Single:
      return Текст(v.Get<float>());
    case VarType::Double:
      return Текст(v.Get<double>());
    case VarType::Boolean:
      return Текст(v.Get<bool>());
    case VarType::String:
      return v.Text();
    case VarType::Range:
    case VarType::Array:
      break;
  }
  Raise(kTypeMismatch);
}

Variant CoerceTo(const Variant& v, VarType type) {
  switch (type) {
    case VarType::Empty:
      return v;
    case VarType::Byte:
      return ToByte(v);
    case VarType::Integer:
      return ToInteger(v);
    case VarType::Long:
      return ToLong(v);
    case VarType::Single:
      return ToSingle(v);
    case VarType::Double:
      return ToDouble(v);
    case VarType::Boolean:
      return ToBoolean(v);
    case VarType::String:
      return ToText(v);
    case VarType::Range:
      // Empty stands for a missing object (Nothing).
      if (v.IsEmpty()) return std::shared_ptr<HostRange>();
      if (v.Type() == VarType::Range) return v;
      break;
    case VarType::Array:
      if (v.Type() == VarType::Array) return v;
      break;
  }
  Raise(kTypeMismatch);
}

}  // namespace armocalc
