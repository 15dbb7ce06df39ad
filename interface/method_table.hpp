#pragma once
// The methods of ClassBrige as data: names, dispatch ids, parameters with their automation types,
// passing modes, optionality and recorded defaults, and the result type. The COM type library,
// the IDispatch layer, the CLI and its documentation are all generated from this one table.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "runtime/variant.hpp"

namespace armocalc {

class Frame;

enum class PassingMode : uint8_t { ByRef, ByVal };

// One value of a coded parameter and what it selects, in the engineers' words.
struct CodeMeaning {
  int32_t value;
  std::string_view meaning;
};

// What a parameter means to the engineer: the help, the reference and the type library read it.
struct ParamDoc {
  std::string_view meaning;  // Russian, as the reports speak
  std::string_view unit;     // "м", "МН·м", "см²", ...; empty for codes, flags, classes
  std::span<const CodeMeaning> codes;  // the codes a coded parameter takes; empty otherwise
};

struct ParamInfo {
  std::string_view name;  // UTF-8, exactly as in the interface (Latin and Cyrillic mixed)
  VarType type;           // Byte, Integer, Long, Single, Double, Boolean, String or Range
  PassingMode mode;
  bool optional;
  std::optional<Variant> default_value;  // recorded default; nullopt: 0, False or ""
  ParamDoc doc{};
};

// Runs the method's calculation routine on the frame's arguments and returns its result.
using Routine = Variant (*)(Frame& frame);

struct MethodInfo {
  std::string_view name;
  int32_t dispid;
  std::span<const ParamInfo> params;
  VarType result;   // Double or Variant (Variant is represented by VarType::Empty)
  Routine routine;  // nullptr while the routine is not built
  std::string_view
      summary;  // purpose in one line: the CLI's help and the type library's help string
  std::string_view result_meaning{};  // what the result is, with its unit
  std::string_view example{};         // arguments of one worked call: NAME=VALUE ...
};

inline constexpr int32_t kFirstDispid = 0x60030000;

std::span<const MethodInfo> Methods();  // all 23, in v-table order

// Case-insensitive lookup (as IDispatch::GetIDsOfNames), Cyrillic included; nullptr if unknown.
const MethodInfo* FindMethod(std::string_view name);
const MethodInfo* FindMethod(int32_t dispid);
// Index of the parameter with that name (case-insensitive), or -1.
int FindParam(const MethodInfo& method, std::string_view name);

// The method's help string for the type library (the VBA Object Browser shows it): the purpose,
// then what the result is.
std::string HelpString(const MethodInfo& method);

// Index of the parameter that chooses how a margin is expressed (the codes 0–3 of the safety
// margin), or -1: a method that has one returns a margin for those codes.
int MarginMethodParam(const MethodInfo& method);

// The value an omitted optional parameter takes: its recorded default, else 0, False or "" of
// its type (Nothing for a Range).
Variant DefaultArgument(const ParamInfo& param);

// The routine bindings, one per method in table order (nullptr where not built yet).
Routine BoundRoutine(std::string_view method_name);

}  // namespace armocalc
