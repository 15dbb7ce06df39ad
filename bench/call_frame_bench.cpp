// One call through the frame by name with all 29 arguments of the widest method; the routine
// does nothing, so the time is the frame's own: lookup, coercion, defaults and write-back.

#include <benchmark/benchmark.h>

#include <vector>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"

namespace armocalc {
namespace {

Variant DoNothing(Frame&) {
  return Variant(0.0);
}

std::vector<Variant> TypicalArguments(const MethodInfo& method) {
  std::vector<Variant> values;
  for (const ParamInfo& param : method.params) {
    switch (param.type) {
      case VarType::Byte:
        values.emplace_back(uint8_t{3});
        break;
      case VarType::Single:
        values.emplace_back(25.0f);
        break;
      case VarType::Boolean:
        values.emplace_back(false);
        break;
      case VarType::Long:
        values.emplace_back(int32_t{12});
        break;
      case VarType::String:
        values.emplace_back(std::string());
        break;
      default:
        values.emplace_back(0.35);
        break;
    }
  }
  return values;
}

void BM_CallByNameWith29Arguments(benchmark::State& state) {
  const std::string_view name = "мтПрочностьB";
  MethodInfo idle = *FindMethod(name);
  idle.routine = &DoNothing;
  std::vector<Variant> values = TypicalArguments(idle);
  std::vector<Argument> args;
  for (Variant& v : values) args.push_back(Argument{&v});
  if (args.size() != 29) state.SkipWithError("expected 29 parameters");
  for (auto _ : state) {
    const MethodInfo* method = FindMethod(name);
    benchmark::DoNotOptimize(method);
    CallOutcome outcome = Invoke(idle, args);
    benchmark::DoNotOptimize(outcome);
  }
}
BENCHMARK(BM_CallByNameWith29Arguments);

}  // namespace
}  // namespace armocalc
