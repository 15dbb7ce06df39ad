#pragma once
// The automation variant, reduced to the kinds the methods of ClassBrige use. Texts are held as
// UTF-8; the Windows layer converts to and from BSTR.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

namespace armocalc {

class HostRange;
class Variant;
using VariantArray = std::vector<std::vector<Variant>>;  // [row][column], from a multi-cell Value

enum class VarType : uint8_t {
  Empty,
  Byte,
  Integer,
  Long,
  Single,
  Double,
  Boolean,
  String,
  Range,
  Array
};

const char* VarTypeName(VarType type);  // "Empty", "Byte", "Integer", ...

class Variant {
 public:
  Variant() = default;
  Variant(uint8_t v) : value_(v) {}                   // NOLINT(google-explicit-constructor)
  Variant(int16_t v) : value_(v) {}                   // NOLINT
  Variant(int32_t v) : value_(v) {}                   // NOLINT
  Variant(float v) : value_(v) {}                     // NOLINT
  Variant(double v) : value_(v) {}                    // NOLINT
  Variant(bool v) : value_(v) {}                      // NOLINT
  Variant(std::string v) : value_(std::move(v)) {}    // NOLINT
  Variant(const char* v) : value_(std::string(v)) {}  // NOLINT
  Variant(std::shared_ptr<HostRange> v) : value_(std::move(v)) {}           // NOLINT
  Variant(std::shared_ptr<const VariantArray> v) : value_(std::move(v)) {}  // NOLINT

  VarType Type() const noexcept { return static_cast<VarType>(value_.index()); }
  bool IsEmpty() const noexcept { return Type() == VarType::Empty; }
  bool IsNumeric() const noexcept;  // Byte … Double or Boolean (as the runtime counts them)

  template <class T>
  const T& Get() const {
    return std::get<T>(value_);
  }
  // The held value when it is of kind T, for changing it in place; nullptr otherwise.
  template <class T>
  T* GetIf() noexcept {
    return std::get_if<T>(&value_);
  }
  const std::string& Text() const { return std::get<std::string>(value_); }
  const std::shared_ptr<HostRange>& Range() const {
    return std::get<std::shared_ptr<HostRange>>(value_);
  }
  const std::shared_ptr<const VariantArray>& Array() const {
    return std::get<std::shared_ptr<const VariantArray>>(value_);
  }

  bool operator==(const Variant& other) const = default;

 private:
  std::variant<std::monostate, uint8_t, int16_t, int32_t, float, double, bool, std::string,
               std::shared_ptr<HostRange>, std::shared_ptr<const VariantArray>>
      value_;
};

// Coercions of the runtime. Empty reads as 0 / "" / False; a text is read as a number with the
// user's decimal separator (not a number: error 13); integers use banker's rounding and raise
// error 6 out of range; a Range or an array where a value is needed: error 13.
double ToDouble(const Variant& v);
float ToSingle(const Variant& v);
uint8_t ToByte(const Variant& v);
int16_t ToInteger(const Variant& v);
int32_t ToLong(const Variant& v);
bool ToBoolean(const Variant& v);
std::string ToText(const Variant& v);  // numbers as the number-to-text conversion writes them

// Converts to the given kind (Empty and Array are returned unchanged for those kinds).
Variant CoerceTo(const Variant& v, VarType type);

}  // namespace armocalc
