// The three ways into a method give the same outcome, bit for bit: the call frame of the library
// itself, IDispatch::Invoke of the server, and the v-table entries (through the type library's
// ITypeInfo::Invoke, as early-bound callers reach them, and through typed C++ calls).

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/tests/client.hpp"
#include "interface/windows/tests/grid_range.hpp"
#include "runtime/host.hpp"

namespace client {
namespace {

using armocalc::Argument;
using armocalc::MethodInfo;
using armocalc::ParamInfo;
using armocalc::PassingMode;
using armocalc::VarType;

const std::vector<std::vector<double>> kBarTable = {{1, 0.45, 20},  {2, 0.45, 20},  {3, 0.45, 20},
                                                    {4, -0.45, 25}, {5, -0.45, 25}, {6, -0.45, 25}};

struct Plan {
  const char* label;
  bool omit_optionals;
  double scale;
  bool flags;
};

constexpr Plan kPlans[] = {
    {"typical", false, 1.0, false},
    {"required only", true, 1.0, false},
    {"varied", false, 1.7, true},
};

// Values for the parameters by their names in the interface; other numbers by type.
double NumberFor(const ParamInfo& param, const Plan& plan) {
  struct Named {
    const char* name;
    double value;
  };
  static const Named kNamed[] = {
      {"КлассАрматурнойСтали", 3},
      {"Класс_арматуры", 3},
      {"КлассБетона", 25},
      {"N", 0.5},
      {"M", 0.2},
      {"h", 1.0},
      {"B", 1.0},
      {"Fв", 10},
      {"Fн", 20},
      {"ав", 0.05},
      {"ан", 0.05},
      {"ho", 0.9},
      {"Q", 0.3},
      {"D", 1.2},
      {"ns", 8},
      {"ds", 20},
      {"Cov", 0.05},
      {"L0", 6},
      {"dв", 20},
      {"dн", 25},
      {"шв", 0.1},
      {"шн", 0.1},
      {"acr_sm", 0.02},
      {"dw_mm", 10},
      {"s_wx", 0.15},
      {"s_wz", 0.2},
      {"Nmin", 0.2},
      {"Mmin", 0.1},
      {"Nmax", 0.6},
      {"Mmax", 0.3},
      {"Параметр", 1},
      {"МетодОпределенияЗапаса", 3},
      {"МетодЗапаса", 3},
      {"ДиаметрНаружний", 1.2},
      {"ЗакрепленияНаКонцахЭлемента", 12},
      {"U", 12},
      {"Диаметр_арматуры", 16},
      {"ТипЗначеня", 3},
  };
  double value = param.type == VarType::Double ? 0.5 : 1.0;
  for (const Named& named : kNamed) {
    if (param.name == named.name) value = named.value;
  }
  if (plan.flags) {
    if (param.name == "N") return 0.0;  // replaced by a tiny force: written back
    if (param.name == "МетодОпределенияЗапаса" || param.name == "МетодЗапаса") return 1.0;
  }
  return param.type == VarType::Double ? value * plan.scale : value;
}

bool Given(const ParamInfo& param, const Plan& plan) {
  return !(plan.omit_optionals && param.optional);
}

std::string Exact(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%a", value);
  return text;
}

std::string TextOf(const armocalc::Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
      return "<empty>";
    case VarType::String:
      return "'" + value.Text() + "'";
    case VarType::Boolean:
      return value.Get<bool>() ? "True" : "False";
    case VarType::Range:
      return "<range>";
    case VarType::Array:
      return "<array>";
    default:
      return Exact(armocalc::ToDouble(value));
  }
}

std::string TextOf(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return "<empty>";
    case VT_BSTR:
      return "'" + Narrow(V_BSTR(&value) ? V_BSTR(&value) : L"") + "'";
    case VT_BOOL:
      return V_BOOL(&value) ? "True" : "False";
    case VT_DISPATCH:
      return "<range>";
    default: {
      Var number;
      if (FAILED(VariantChangeType(number.get(), const_cast<VARIANT*>(&value), 0, VT_R8))) {
        return "<vt " + std::to_string(V_VT(&value)) + ">";
      }
      return Exact(V_R8(number.get()));
    }
  }
}

struct Outcome {
  long hr = 0;
  std::string result;
  std::vector<std::string> after;  // by-reference parameters after the call

  std::string Text() const {
    std::string text = Hex(hr) + " " + result;
    for (const auto& value : after) text += " " + value;
    return text;
  }
  bool operator==(const Outcome&) const = default;
};

// The caller's typed variables, as an early-bound caller holds them.
class Variables {
 public:
  Variables(const MethodInfo& method, const Plan& plan, bool fill_omitted)
      : method_(method), slots_(method.params.size()) {
    for (size_t i = 0; i < method.params.size(); ++i) {
      const ParamInfo& param = method.params[i];
      Slot& slot = slots_[i];
      slot.given = Given(param, plan) || fill_omitted;
      const bool from_default = !Given(param, plan);
      const double number =
          from_default ? (param.default_value ? armocalc::ToDouble(*param.default_value) : 0.0)
                       : NumberFor(param, plan);
      V_VT(&slot.value) = VT_EMPTY;
      switch (param.type) {
        case VarType::Byte:
          slot.value.bVal = static_cast<BYTE>(number);
          break;
        case VarType::Integer:
          slot.value.iVal = static_cast<SHORT>(number);
          break;
        case VarType::Long:
          slot.value.lVal = static_cast<LONG>(number);
          break;
        case VarType::Single:
          slot.value.fltVal = static_cast<FLOAT>(number);
          break;
        case VarType::Double:
          slot.value.dblVal = number;
          break;
        case VarType::Boolean:
          slot.value.boolVal = from_default ? (number != 0 ? VARIANT_TRUE : VARIANT_FALSE)
                                            : (plan.flags ? VARIANT_TRUE : VARIANT_FALSE);
          break;
        case VarType::String:
          slot.value.bstrVal = SysAllocString(L"");
          break;
        case VarType::Range:
          slot.value.pdispVal = NewGridRange(kBarTable);
          break;
        default:
          break;
      }
    }
  }
  ~Variables() {
    for (size_t i = 0; i < slots_.size(); ++i) {
      if (method_.params[i].type == VarType::String) SysFreeString(slots_[i].value.bstrVal);
      if (method_.params[i].type == VarType::Range && slots_[i].value.pdispVal) {
        slots_[i].value.pdispVal->Release();
      }
    }
  }
  Variables(const Variables&) = delete;
  Variables& operator=(const Variables&) = delete;

  // The arguments in natural order: by-reference ones refer to the variables.
  std::vector<VARIANT> Arguments() {
    std::vector<VARIANT> args(slots_.size());
    for (size_t i = 0; i < slots_.size(); ++i) {
      const ParamInfo& param = method_.params[i];
      VARIANT& arg = args[i];
      VariantInit(&arg);
      if (!slots_[i].given) {
        V_VT(&arg) = VT_ERROR;
        V_ERROR(&arg) = DISP_E_PARAMNOTFOUND;
        continue;
      }
      const VARTYPE type = AutomationType(param.type);
      if (param.mode == PassingMode::ByRef) {
        V_VT(&arg) = static_cast<VARTYPE>(VT_BYREF | type);
        V_BYREF(&arg) = &slots_[i].value.bVal;
      } else {
        arg = slots_[i].value;
        V_VT(&arg) = type;
      }
    }
    return args;
  }

  std::vector<std::string> After() const {
    std::vector<std::string> after;
    for (size_t i = 0; i < slots_.size(); ++i) {
      if (method_.params[i].mode != PassingMode::ByRef) continue;
      VARIANT value = slots_[i].value;
      V_VT(&value) = AutomationType(method_.params[i].type);
      after.push_back(TextOf(value));
    }
    return after;
  }

  static VARTYPE AutomationType(VarType type) {
    switch (type) {
      case VarType::Byte:
        return VT_UI1;
      case VarType::Integer:
        return VT_I2;
      case VarType::Long:
        return VT_I4;
      case VarType::Single:
        return VT_R4;
      case VarType::Double:
        return VT_R8;
      case VarType::Boolean:
        return VT_BOOL;
      case VarType::String:
        return VT_BSTR;
      default:
        return VT_DISPATCH;
    }
  }

 private:
  struct Slot {
    bool given = false;
    VARIANT value;  // only the union is used; the type follows the parameter
  };
  const MethodInfo& method_;
  std::vector<Slot> slots_;
};

Outcome ThroughFrame(const MethodInfo& method, const Plan& plan) {
  std::vector<armocalc::Variant> values(method.params.size());
  std::vector<Argument> args(method.params.size());
  for (size_t i = 0; i < method.params.size(); ++i) {
    const ParamInfo& param = method.params[i];
    if (!Given(param, plan)) continue;
    if (param.type == VarType::Range) {
      std::vector<std::vector<armocalc::Variant>> rows;
      for (const auto& row : kBarTable) rows.emplace_back(row.begin(), row.end());
      values[i] = std::shared_ptr<armocalc::HostRange>(
          std::make_shared<armocalc::GridRange>(std::move(rows)));
    } else if (param.type == VarType::String) {
      values[i] = std::string();
    } else if (param.type == VarType::Boolean) {
      values[i] = plan.flags;
    } else {
      values[i] = armocalc::CoerceTo(armocalc::Variant(NumberFor(param, plan)), param.type);
    }
    args[i].value = &values[i];
  }
  const armocalc::CallOutcome call = armocalc::Invoke(method, args);
  Outcome outcome{call.hresult, call.Succeeded() ? TextOf(call.result) : "-", {}};
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (method.params[i].mode != PassingMode::ByRef) continue;
    if (Given(method.params[i], plan)) {
      outcome.after.push_back(TextOf(values[i]));
    } else {
      outcome.after.push_back("-");
    }
  }
  return outcome;
}

Outcome FromCall(HRESULT hr, const EXCEPINFO& info, const VARIANT& result, Variables& variables,
                 const MethodInfo& method, const Plan& plan) {
  Outcome outcome{hr == DISP_E_EXCEPTION ? info.scode : hr, SUCCEEDED(hr) ? TextOf(result) : "-",
                  variables.After()};
  // Omitted by-reference parameters have no variable on the other paths.
  size_t k = 0;
  for (const ParamInfo& param : method.params) {
    if (param.mode != PassingMode::ByRef) continue;
    if (!Given(param, plan)) outcome.after[k] = "-";
    ++k;
  }
  return outcome;
}

void ClearInfo(EXCEPINFO& info) {
  SysFreeString(info.bstrSource);
  SysFreeString(info.bstrDescription);
  SysFreeString(info.bstrHelpFile);
}

Outcome ThroughDispatch(IDispatch* object, const MethodInfo& method, const Plan& plan) {
  Variables variables(method, plan, false);
  std::vector<VARIANT> args = variables.Arguments();
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  Var result;
  EXCEPINFO info{};
  UINT arg_error = 0;
  const HRESULT hr = object->Invoke(method.dispid, IID_NULL, 0, DISPATCH_METHOD, &params,
                                    result.get(), &info, &arg_error);
  Outcome outcome = FromCall(hr, info, *result, variables, method, plan);
  ClearInfo(info);
  return outcome;
}

Outcome ThroughVtable(ITypeInfo* info_of_interface, IDispatch* object, const MethodInfo& method,
                      const Plan& plan) {
  Variables variables(method, plan, true);  // early-bound callers pass every argument
  std::vector<VARIANT> args = variables.Arguments();
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  Var result;
  EXCEPINFO info{};
  UINT arg_error = 0;
  const HRESULT hr = info_of_interface->Invoke(object, method.dispid, DISPATCH_METHOD, &params,
                                               result.get(), &info, &arg_error);
  Outcome outcome = FromCall(hr, info, *result, variables, method, plan);
  ClearInfo(info);
  return outcome;
}

HRESULT InterfaceTypeInfo(ITypeInfo** info) {
  Ptr<ITypeLib> library;
  HRESULT hr = LoadRegTypeLib(armocalc::com::kTypeLibraryId, 1, 0, 0, library.out());
  if (FAILED(hr)) return hr;
  Ptr<ITypeInfo> dispatch_view;
  hr = library->GetTypeInfoOfGuid(armocalc::com::kInterfaceIid, dispatch_view.out());
  if (FAILED(hr)) return hr;
  HREFTYPE ref = 0;
  hr = dispatch_view->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref);
  if (FAILED(hr)) return hr;
  return dispatch_view->GetRefTypeInfo(ref, info);
}

// Typed calls of three v-table entries, compiled as an early-bound caller would.
void CheckTypedCalls(IDispatch* object) {
  auto entry = [&](size_t index) { return (*reinterpret_cast<void***>(object))[7 + index]; };
  const auto methods = armocalc::Methods();

  {
    using Fn = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, FLOAT*, BYTE*, DOUBLE*);
    FLOAT concrete = 27.5F;
    BYTE property = 2;
    DOUBLE result = -1;
    const HRESULT hr = reinterpret_cast<Fn>(entry(1))(object, &concrete, &property, &result);
    armocalc::Variant c(27.5F), p(uint8_t{2});
    Argument args[] = {{&c}, {&p}};
    const auto expected = armocalc::Invoke(methods[1], args);
    Check(hr == expected.hresult && Exact(result) == TextOf(expected.result),
          "v-table: typed call of мтБетонB", Hex(hr) + " " + Exact(result));
  }
  {
    using Fn = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, BYTE, DOUBLE*, BYTE, VARIANT*);
    DOUBLE diameter = 12;
    Var result;
    const HRESULT hr = reinterpret_cast<Fn>(entry(4))(object, 2, &diameter, 2, result.get());
    armocalc::Variant k(uint8_t{2}), d(12.0), t(uint8_t{2});
    Argument args[] = {{&k}, {&d}, {&t}};
    const auto expected = armocalc::Invoke(methods[4], args);
    Check(hr == expected.hresult && TextOf(*result) == TextOf(expected.result),
          "v-table: typed call of СНиП_RsB (by-value bytes around a reference)",
          Hex(hr) + " " + TextOf(*result) + " expected " + TextOf(expected.result));
  }
  {
    // гПродавливаниеB: a Double by value (B) in fifth place.
    using Fn = HRESULT(STDMETHODCALLTYPE*)(IDispatch*, FLOAT*, DOUBLE*, DOUBLE*, DOUBLE*, DOUBLE,
                                           BYTE*, DOUBLE*, BYTE*, BYTE*, BSTR*, DOUBLE*);
    FLOAT concrete = 25;
    DOUBLE n = 400, ho = 0.25, h = 0.3;
    BYTE stirrup = 0, angle = 45, method = 3;
    DOUBLE step = 0;
    BSTR report = SysAllocString(L"");
    DOUBLE result = -1;
    const HRESULT hr = reinterpret_cast<Fn>(entry(8))(object, &concrete, &n, &ho, &h, 0.4, &stirrup,
                                                      &step, &angle, &method, &report, &result);
    SysFreeString(report);
    armocalc::Variant a0(25.0F), a1(400.0), a2(0.25), a3(0.3), a4(0.4), a5(uint8_t{0}), a6(0.0),
        a7(uint8_t{45}), a8(uint8_t{3}), a9{std::string()};
    Argument args[] = {{&a0}, {&a1}, {&a2}, {&a3}, {&a4}, {&a5}, {&a6}, {&a7}, {&a8}, {&a9}};
    const auto expected = armocalc::Invoke(methods[8], args);
    Check(hr == expected.hresult && Exact(result) == TextOf(expected.result),
          "v-table: typed call of гПродавливаниеB (a Double by value)",
          Hex(hr) + " " + Exact(result) + " expected " + Hex(expected.hresult) + " " +
              TextOf(expected.result));
  }
}

}  // namespace

void RunVtableChecks() {
  Ptr<IDispatch> object;
  const HRESULT created = CreateObject(object.out());
  Check(created == S_OK, "ClassBrige is created through its registration", Hex(created));
  if (!object) return;
  Ptr<ITypeInfo> info;
  const HRESULT found = InterfaceTypeInfo(info.out());
  Check(found == S_OK, "v-table: the interface description is found", Hex(found));
  if (!info) return;

  for (const MethodInfo& method : armocalc::Methods()) {
    for (const Plan& plan : kPlans) {
      const std::string name = std::string(method.name) + " (" + plan.label + ")";
      const Outcome frame = ThroughFrame(method, plan);
      const Outcome dispatch = ThroughDispatch(object.get(), method, plan);
      Check(dispatch == frame, "IDispatch::Invoke = call frame: " + name,
            "dispatch " + dispatch.Text() + " / frame " + frame.Text());
      const Outcome vtable = ThroughVtable(info.get(), object.get(), method, plan);
      Check(vtable == frame, "v-table = call frame: " + name,
            "v-table " + vtable.Text() + " / frame " + frame.Text());
    }
  }
  CheckTypedCalls(object.get());
}

}  // namespace client
