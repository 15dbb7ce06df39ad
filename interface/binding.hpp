#pragma once
// A method's binding derived from its routine's declaration: `Bind<&routine>("name")` deduces the
// C++ type of each parameter and whether it is a mutable reference, hands the frame's typed slots
// on in parameter order, and records the parameters' shapes so that a test can hold them against
// the method table. A mutable reference reaches the caller's variable (the frame writes it back);
// a by-value or const parameter only reads it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"
#include "kernel/report.hpp"
#include "runtime/host.hpp"
#include "runtime/variant.hpp"

namespace armocalc::binding {

// How a routine takes one parameter. `type` is Empty for a Variant parameter, which takes the
// argument as a value of its declared type.
struct ParamShape {
  VarType type;
  bool writes_back;  // a mutable reference: the routine may change the caller's variable
};

template <class T>
constexpr VarType AutomationTypeOf() {
  if constexpr (std::is_same_v<T, uint8_t>)
    return VarType::Byte;
  else if constexpr (std::is_same_v<T, int16_t>)
    return VarType::Integer;
  else if constexpr (std::is_same_v<T, int32_t>)
    return VarType::Long;
  else if constexpr (std::is_same_v<T, float>)
    return VarType::Single;
  else if constexpr (std::is_same_v<T, double>)
    return VarType::Double;
  else if constexpr (std::is_same_v<T, bool>)
    return VarType::Boolean;
  else if constexpr (std::is_same_v<T, std::string>)
    return VarType::String;
  else if constexpr (std::is_same_v<T, HostRange>)
    return VarType::Range;
  else if constexpr (std::is_same_v<T, Variant>)
    return VarType::Empty;
  else
    static_assert(sizeof(T) == 0, "a routine parameter of a type the interface does not have");
}

template <class P>
constexpr ParamShape ShapeOf() {
  using Bare = std::remove_cvref_t<P>;
  constexpr bool mutable_reference =
      std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>;
  // The Range object itself is what the frame stores back; its cells are never written.
  return {AutomationTypeOf<Bare>(), mutable_reference && !std::is_same_v<Bare, HostRange>};
}

template <class Bare>
decltype(auto) SlotOf(Frame& f, int i) {
  if constexpr (std::is_same_v<Bare, uint8_t>)
    return (f.Byte(i));
  else if constexpr (std::is_same_v<Bare, int16_t>)
    return (f.Integer(i));
  else if constexpr (std::is_same_v<Bare, int32_t>)
    return (f.Long(i));
  else if constexpr (std::is_same_v<Bare, float>)
    return (f.Single(i));
  else if constexpr (std::is_same_v<Bare, double>)
    return (f.Double(i));
  else if constexpr (std::is_same_v<Bare, bool>)
    return (f.Boolean(i));
  else if constexpr (std::is_same_v<Bare, std::string>)
    return (f.String(i));
  else if constexpr (std::is_same_v<Bare, HostRange>)
    return (f.Range(i));
  else
    return f.Read(i);  // a Variant of the declared type
}

template <class Declared, size_t... I>
constexpr std::array<ParamShape, sizeof...(I)> ShapesOf(std::index_sequence<I...>) {
  return {ShapeOf<std::tuple_element_t<I, Declared>>()...};
}

template <auto routine>
struct Binding;

// A routine may end with a report collector (`Отчёт*`, for callers inside the library that read
// the lines back); it is no parameter of the interface, and the binding passes nullptr.
template <class... Params>
constexpr bool kEndsWithCollector =
    sizeof...(Params) > 0 &&
    std::is_same_v<std::tuple_element_t<sizeof...(Params) - 1, std::tuple<Params..., void>>,
                   Отчёт*>;

template <class Result, class... Params, Result (*routine)(Params...)>
struct Binding<routine> {
  static constexpr size_t kInterfaceParams =
      sizeof...(Params) - (kEndsWithCollector<Params...> ? 1 : 0);
  using Declared = std::tuple<Params...>;

  static constexpr std::array<ParamShape, kInterfaceParams> kShapes =
      ShapesOf<Declared>(std::make_index_sequence<kInterfaceParams>{});

  static Variant Call(Frame& f) {
    return CallWith(f, std::make_index_sequence<kInterfaceParams>{});
  }

 private:
  template <size_t... I>
  static Variant CallWith(Frame& f, std::index_sequence<I...>) {
    if constexpr (kEndsWithCollector<Params...>) {
      return Variant(routine(
          SlotOf<std::remove_cvref_t<std::tuple_element_t<I, Declared>>>(f, static_cast<int>(I))...,
          nullptr));
    } else {
      return Variant(routine(SlotOf<std::remove_cvref_t<std::tuple_element_t<I, Declared>>>(
          f, static_cast<int>(I))...));
    }
  }
};

struct BoundMethod {
  std::string_view name;
  Routine routine;
  std::span<const ParamShape> shapes;
};

template <auto routine>
constexpr BoundMethod Bind(std::string_view method_name) {
  return {method_name, &Binding<routine>::Call, Binding<routine>::kShapes};
}

// The bindings of the built methods.
std::span<const BoundMethod> Bindings();

// Empty when the binding agrees with the method's table entry (parameter count, types, and no
// mutable reference on a by-value parameter); otherwise what disagrees.
std::string DisagreementWithTable(const BoundMethod& bound, const MethodInfo& method);

}  // namespace armocalc::binding
