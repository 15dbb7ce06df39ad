#pragma once
// Run-time errors of the automation runtime. A calculation routine never catches them: the
// error travels up to the call frame, which turns it into the HRESULT 0x800A0000 + number.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace armocalc {

enum ErrorNumber : int {
  kInvalidProcedureCall = 5,  // "Invalid procedure call or argument"
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kDivisionByZero = 11,
  kTypeMismatch = 13,
  kInternalError = 51,
  kBadFileName = 52,
  kFileNotFound = 53,
  kDiskFull = 61,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kObjectVariableNotSet = 91,  // "Object variable or With block variable not set"
  kObjectRequired = 424,
  kObjectDoesNotSupport = 438,  // "Object doesn't support this property or method"
  kNamedArgumentNotFound = 448,
  kArgumentNotOptional = 449,
  kWrongNumberOfArguments = 450,  // "Wrong number of arguments or invalid property assignment"
};

// HRESULT of a routine that is declared in the method table but not built yet (E_NOTIMPL).
inline constexpr int32_t kNotImplementedHresult = static_cast<int32_t>(0x80004001u);

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, const std::string& description);
  int Number() const noexcept { return number_; }

 private:
  int number_;
};

// The routine's "not implemented" answer, carried with its own HRESULT.
class NotImplementedError : public std::runtime_error {
 public:
  explicit NotImplementedError(const std::string& method);
};

[[noreturn]] void Raise(int number);

// The runtime's standard description of an error number ("Division by zero", "Overflow", ...).
std::string ErrorDescription(int number);

// 0x800A0000 + number, the HRESULT the automation layer returns for a run-time error.
constexpr int32_t HresultOf(int number) noexcept {
  return static_cast<int32_t>(0x800A0000u + static_cast<uint32_t>(number & 0xFFFF));
}

}  // namespace armocalc
