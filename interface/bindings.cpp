// Each method of ClassBrige bound to its calculation routine: the frame's typed storage is handed
// on in parameter order, by-reference slots as references (the routine's writes reach the caller)
// and by-value slots as copies. A method without a binding answers "not implemented".

#include <string_view>
#include <utility>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"
#include "materials/civil_defence.hpp"
#include "materials/concrete.hpp"
#include "materials/steel.hpp"

namespace armocalc {
namespace {

Variant Bind_мтБетонB(Frame& f) { return мтБетон(f.Single(0), f.Byte(1)); }

Variant Bind_гоБетонB(Frame& f) {
  return гоБетон(f.Single(0), f.Byte(1), f.Boolean(2), f.Boolean(3), f.Boolean(4), f.Boolean(5),
                 f.Boolean(6), f.Long(7), f.Integer(8));
}

Variant Bind_гоАрматураB(Frame& f) {
  return гоАрматура(f.Byte(0), f.Byte(1), f.Boolean(2), f.Boolean(3));
}

Variant Bind_СНиП_RsB(Frame& f) {
  return СНиП_Rs(Variant(f.Byte(0)), Variant(f.Double(1)), f.Byte(2));
}

Variant Bind_СНиП_EsB(Frame& f) { return СНиП_Es(Variant(f.Byte(0))); }

constexpr std::pair<std::string_view, Routine> kBindings[] = {
    {"мтБетонB", &Bind_мтБетонB},
    {"гоБетонB", &Bind_гоБетонB},
    {"гоАрматураB", &Bind_гоАрматураB},
    {"СНиП_RsB", &Bind_СНиП_RsB},
    {"СНиП_EsB", &Bind_СНиП_EsB},
};

}  // namespace

Routine BoundRoutine(std::string_view method_name) {
  for (const auto& [name, routine] : kBindings) {
    if (name == method_name) return routine;
  }
  return nullptr;
}

}  // namespace armocalc
