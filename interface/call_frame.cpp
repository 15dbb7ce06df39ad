#include "interface/call_frame.hpp"

#include <cmath>
#include <new>

#include "runtime/errors.hpp"

namespace armocalc {
namespace {

// A native client can pass NaN or an infinity, which no formula may see: every comparison with
// NaN is false, so a routine would return an ordinary-looking margin.
template <class T>
T Finite(T value) {
  if (!std::isfinite(value)) Raise(kOverflow);
  return value;
}

}  // namespace

HostRange& Frame::Range(int i) {
  const auto& range = slots_[i].range_value;
  if (!range) Raise(kObjectVariableNotSet);  // a typed object variable holding Nothing
  return *range;
}

void Frame::Load(int i, VarType type, const Variant& value) {
  Slot& slot = slots_[i];
  switch (type) {
    case VarType::Byte:
      slot.byte_value = ToByte(value);
      return;
    case VarType::Integer:
      slot.integer_value = ToInteger(value);
      return;
    case VarType::Long:
      slot.long_value = ToLong(value);
      return;
    case VarType::Single:
      slot.single_value = Finite(ToSingle(value));
      return;
    case VarType::Double:
      slot.double_value = Finite(ToDouble(value));
      return;
    case VarType::Boolean:
      slot.boolean_value = ToBoolean(value);
      return;
    case VarType::String:
      if (value.Type() == VarType::String) {
        slot.string_value = value.Text();
      } else {
        slot.string_value = ToText(value);
      }
      return;
    case VarType::Range:
      slot.range_value = CoerceTo(value, VarType::Range).Range();
      return;
    case VarType::Empty:
    case VarType::Array:
      break;
  }
  Raise(kInternalError);  // no parameter is declared with these kinds
}

Variant Frame::Read(int i, VarType type) const {
  const Slot& slot = slots_[i];
  switch (type) {
    case VarType::Byte:
      return slot.byte_value;
    case VarType::Integer:
      return slot.integer_value;
    case VarType::Long:
      return slot.long_value;
    case VarType::Single:
      return slot.single_value;
    case VarType::Double:
      return slot.double_value;
    case VarType::Boolean:
      return slot.boolean_value;
    case VarType::String:
      return slot.string_value;
    case VarType::Range:
      return slot.range_value;
    case VarType::Empty:
    case VarType::Array:
      break;
  }
  return {};
}

namespace {

Variant EmptyResult(const MethodInfo& method) {
  return method.result == VarType::Double ? Variant(0.0) : Variant();
}

void SetFailure(CallOutcome& outcome, const MethodInfo* method, int32_t hresult, int number,
                std::string description) {
  outcome.hresult = hresult;
  outcome.error_number = number;
  outcome.description = std::move(description);
  outcome.result = method ? EmptyResult(*method) : Variant();
}

void SetRuntimeFailure(CallOutcome& outcome, const MethodInfo* method, int number) {
  SetFailure(outcome, method, HresultOf(number), number, ErrorDescription(number));
}

// Fills the frame from the caller's arguments: omitted optionals keep the slot's zero value or
// take the recorded default; every given argument is converted to its declared type.
void LoadArguments(const MethodInfo& method, std::span<Argument> args, Frame& frame) {
  for (size_t i = 0; i < method.params.size(); ++i) {
    const ParamInfo& param = method.params[i];
    const int slot = static_cast<int>(i);
    const Variant* value = i < args.size() ? args[i].value : nullptr;
    frame.Declare(slot, param.type);
    if (value) {
      frame.Load(slot, param.type, *value);
    } else if (!param.optional) {
      Raise(kArgumentNotOptional);
    } else if (param.default_value) {
      frame.Load(slot, param.type, *param.default_value);
    }
  }
}

// Stores `value` into the caller's variable, in place when it already holds that kind.
template <class T>
void Store(Variant& target, const T& value) {
  if (T* held = target.GetIf<T>()) {
    *held = value;
  } else {
    target = Variant(value);
  }
}

void WriteBackSlot(Frame& frame, int slot, VarType type, Variant& target) {
  switch (type) {
    case VarType::Byte:
      return Store(target, frame.Byte(slot));
    case VarType::Integer:
      return Store(target, frame.Integer(slot));
    case VarType::Long:
      return Store(target, frame.Long(slot));
    case VarType::Single:
      return Store(target, frame.Single(slot));
    case VarType::Double:
      return Store(target, frame.Double(slot));
    case VarType::Boolean:
      return Store(target, frame.Boolean(slot));
    case VarType::String:
      return Store(target, frame.String(slot));
    default:
      target = frame.Read(slot, type);
  }
}

// The routine worked on the caller's own variables: by-reference arguments receive the frame's
// values (as their declared types), by-value arguments stay as the caller passed them.
void WriteBack(const MethodInfo& method, std::span<Argument> args, Frame& frame) {
  for (size_t i = 0; i < args.size(); ++i) {
    Variant* target = args[i].value;
    if (target && method.params[i].mode == PassingMode::ByRef) {
      WriteBackSlot(frame, static_cast<int>(i), method.params[i].type, *target);
    }
  }
}

// Runs the routine on the loaded frame and stores its result; any failure is recorded.
void RunRoutine(const MethodInfo& method, Frame& frame, CallOutcome& outcome) {
  try {
    Variant result = method.routine(frame);
    if (method.result == VarType::Double) {
      outcome.result = ToDouble(result);
    } else {
      outcome.result = std::move(result);
    }
  } catch (const RuntimeError& e) {
    SetFailure(outcome, &method, HresultOf(e.Number()), e.Number(), e.what());
  } catch (const NotImplementedError& e) {
    SetFailure(outcome, &method, kNotImplementedHresult, kNotImplementedHresult, e.what());
  } catch (const std::bad_alloc&) {
    SetRuntimeFailure(outcome, &method, kOutOfMemory);
  } catch (...) {
    SetRuntimeFailure(outcome, &method, kInternalError);
  }
}

CallOutcome InvokeInFrame(const MethodInfo& method, std::span<Argument> args) {
  CallOutcome outcome;
  outcome.result = EmptyResult(method);
  if (method.params.size() > static_cast<size_t>(kMaxParams)) {
    SetRuntimeFailure(outcome, &method, kInternalError);
    return outcome;
  }
  if (args.size() > method.params.size()) {
    SetRuntimeFailure(outcome, &method, kWrongNumberOfArguments);
    return outcome;
  }
  if (!method.routine) {
    const NotImplementedError error{std::string(method.name)};
    SetFailure(outcome, &method, kNotImplementedHresult, kNotImplementedHresult, error.what());
    return outcome;
  }
  Frame frame;
  try {
    LoadArguments(method, args, frame);
  } catch (const RuntimeError& e) {
    SetFailure(outcome, &method, HresultOf(e.Number()), e.Number(), e.what());
    return outcome;
  }
  RunRoutine(method, frame, outcome);
  WriteBack(method, args, frame);
  return outcome;
}

}  // namespace

CallOutcome Invoke(const MethodInfo& method, std::span<Argument> args,
                   const HostApplication* host) {
  std::optional<ScopedHost> host_guard;
  if (host) host_guard.emplace(*host);
  try {
    return InvokeInFrame(method, args);
  } catch (const std::bad_alloc&) {
    CallOutcome outcome;
    SetRuntimeFailure(outcome, &method, kOutOfMemory);
    return outcome;
  } catch (...) {
    CallOutcome outcome;
    SetRuntimeFailure(outcome, &method, kInternalError);
    return outcome;
  }
}

CallOutcome InvokeByName(std::string_view method_name, std::span<Argument> args,
                         const HostApplication* host) {
  const MethodInfo* method = FindMethod(method_name);
  if (method) return Invoke(*method, args, host);
  CallOutcome outcome;
  SetRuntimeFailure(outcome, nullptr, kObjectDoesNotSupport);
  return outcome;
}

}  // namespace armocalc
