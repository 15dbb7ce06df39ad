#pragma once
// The call frame common to all methods: omitted optionals take their defaults, arguments are
// coerced to the declared types, the routine runs on typed storage, by-reference arguments are
// written back to the caller's variables (also when the routine fails part-way, as the original
// platform does with the caller's own storage), and any run-time error becomes an automation
// HRESULT with its description while the result takes its empty value.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "interface/method_table.hpp"
#include "runtime/host.hpp"
#include "runtime/variant.hpp"

namespace armocalc {

inline constexpr int kMaxParams = 32;

// Typed storage of one call's arguments, handed to the routine binding.
class Frame {
 public:
  uint8_t& Byte(int i) { return slots_[i].byte_value; }
  int16_t& Integer(int i) { return slots_[i].integer_value; }
  int32_t& Long(int i) { return slots_[i].long_value; }
  float& Single(int i) { return slots_[i].single_value; }
  double& Double(int i) { return slots_[i].double_value; }
  bool& Boolean(int i) { return slots_[i].boolean_value; }
  std::string& String(int i) { return slots_[i].string_value; }
  // The Range argument; a missing object (Nothing or Empty) raises error 91.
  HostRange& Range(int i);
  std::shared_ptr<HostRange>& RangeRef(int i) { return slots_[i].range_value; }

  // Loads argument i from the caller's value (coercing to `type`) and reads it back as a Variant.
  void Load(int i, VarType type, const Variant& value);
  Variant Read(int i, VarType type) const;
  // The declared type of argument i, recorded for every parameter before the routine runs, and
  // the argument read back as a Variant of that type.
  void Declare(int i, VarType type) { slots_[i].declared = type; }
  Variant Read(int i) const { return Read(i, slots_[i].declared); }

 private:
  struct Slot {
    uint8_t byte_value = 0;
    int16_t integer_value = 0;
    int32_t long_value = 0;
    float single_value = 0;
    double double_value = 0;
    bool boolean_value = false;
    std::string string_value;
    std::shared_ptr<HostRange> range_value;
    VarType declared = VarType::Empty;
  };
  std::array<Slot, kMaxParams> slots_;
};

// One argument as the caller passes it: absent (omitted optional) or the caller's variable.
// By-reference parameters are written back into *value after the call.
struct Argument {
  Variant* value = nullptr;  // nullptr: omitted
};

struct CallOutcome {
  int32_t hresult = 0;      // 0 (S_OK), 0x800A0000 + number, or E_NOTIMPL
  Variant result;           // Empty for Variant methods and 0.0 for Double methods on failure
  int error_number = 0;     // 0 on success
  std::string description;  // the error's description on failure
  bool Succeeded() const noexcept { return hresult == 0; }
};

// Calls `method` with positional arguments (fewer than the parameters: the rest are omitted).
// Errors: more arguments than parameters 450, a required one omitted 449, an argument that does
// not convert to its declared type 13 or 6 (the routine does not run then), no routine E_NOTIMPL.
// With `host`, the routine's calls to Host() reach it for the span of the call.
CallOutcome Invoke(const MethodInfo& method, std::span<Argument> args,
                   const HostApplication* host = nullptr);

// Calls the method of that name; an unknown name answers error 438 as the runtime would.
CallOutcome InvokeByName(std::string_view method_name, std::span<Argument> args,
                         const HostApplication* host = nullptr);

}  // namespace armocalc
