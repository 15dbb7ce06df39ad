// IDispatch as late-bound callers use it: names in any letter case, positional and named
// arguments, omitted optionals, the platform's conversions, by-reference write-back, the
// automation errors, and Range arguments read through late binding.

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "interface/call_frame.hpp"
#include "interface/method_table.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/tests/client.hpp"
#include "interface/windows/tests/grid_range.hpp"

namespace client {
namespace {

constexpr DISPID kConcrete = 0x60030001;  // мтБетонB
constexpr DISPID kStrength = 0x60030009;  // мтПрочностьB
constexpr DISPID kWords = 0x60030006;     // ЧислоПрописьюB

struct Call {
  HRESULT hr = S_OK;
  Var result;
  EXCEPINFO info{};
  UINT arg_error = 0;
  ~Call() {
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
  }
};

// Arguments in natural order; `named` gives the dispatch ids of the last ones.
void Invoke(IDispatch* object, DISPID id, std::vector<VARIANT> args, Call& call,
            std::vector<DISPID> named = {}, WORD flags = DISPATCH_METHOD) {
  std::vector<VARIANT> reversed(args.rbegin(), args.rend());
  std::vector<DISPID> named_reversed(named.rbegin(), named.rend());
  DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(),
                    named_reversed.empty() ? nullptr : named_reversed.data(),
                    static_cast<UINT>(reversed.size()), static_cast<UINT>(named_reversed.size())};
  call.hr = object->Invoke(id, IID_NULL, 0, flags, &params, call.result.get(), &call.info,
                           &call.arg_error);
}

VARIANT R8(double value) {
  VARIANT v;
  V_VT(&v) = VT_R8;
  V_R8(&v) = value;
  return v;
}
VARIANT I4(long value) {
  VARIANT v;
  V_VT(&v) = VT_I4;
  V_I4(&v) = value;
  return v;
}
VARIANT Missing() {
  VARIANT v;
  V_VT(&v) = VT_ERROR;
  V_ERROR(&v) = DISP_E_PARAMNOTFOUND;
  return v;
}
VARIANT Ref(VARIANT* target) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_VARIANT;
  V_VARIANTREF(&v) = target;
  return v;
}
VARIANT RefR8(double* target) {
  VARIANT v;
  V_VT(&v) = VT_BYREF | VT_R8;
  V_R8REF(&v) = target;
  return v;
}

double Number(const Call& call) {
  return V_VT(&*call.result) == VT_R8 ? V_R8(&*call.result) : std::nan("");
}

bool Built(DISPID id) {
  const armocalc::MethodInfo* method = armocalc::FindMethod(id);
  return method != nullptr && method->routine != nullptr;
}

void CheckIdentity(IDispatch* object) {
  Ptr<IUnknown> unknown;
  Ptr<IUnknown> dual;
  object->QueryInterface(IID_IUnknown, unknown.void_out());
  object->QueryInterface(armocalc::com::kInterfaceIid, dual.void_out());
  Check(unknown.get() == static_cast<IUnknown*>(object) && dual.get() == unknown.get(),
        "IUnknown, IDispatch and _ClassBrige are one interface");
  Ptr<ISupportErrorInfo> support;
  object->QueryInterface(IID_ISupportErrorInfo, support.void_out());
  Check(support && support->InterfaceSupportsErrorInfo(armocalc::com::kInterfaceIid) == S_OK,
        "ClassBrige supports error information");
  UINT count = 0;
  Check(object->GetTypeInfoCount(&count) == S_OK && count == 1, "GetTypeInfoCount is 1");
}

void CheckNames(IDispatch* object) {
  struct Case {
    const wchar_t* name;
    DISPID expected;
  };
  const Case methods[] = {{L"мтБетонB", kConcrete},         {L"МТБЕТОНB", kConcrete},
                          {L"мтбетонb", kConcrete},         {L"мтRingStrengthB", 0x60030000},
                          {L"МТringstrengthb", 0x60030000}, {L"мтПрочностьКругаB", 0x60030016},
                          {L"снип_rsb", 0x60030004}};
  for (const Case& c : methods) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
    DISPID id = 0;
    const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, 0, &id);
    Check(hr == S_OK && id == c.expected, "GetIDsOfNames: " + Narrow(c.name),
          Hex(hr) + " " + Hex(id));
  }
  LPOLESTR with_params[] = {const_cast<LPOLESTR>(L"МТБЕТОНB"), const_cast<LPOLESTR>(L"параметр"),
                            const_cast<LPOLESTR>(L"КЛАССБЕТОНА")};
  DISPID ids[3] = {};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, with_params, 3, 0, ids);
  Check(hr == S_OK && ids[0] == kConcrete && ids[1] == 1 && ids[2] == 0,
        "GetIDsOfNames: named arguments in any letter case");
  LPOLESTR unknown_param[] = {const_cast<LPOLESTR>(L"мтБетонB"), const_cast<LPOLESTR>(L"Нет")};
  hr = object->GetIDsOfNames(IID_NULL, unknown_param, 2, 0, ids);
  Check(hr == DISP_E_UNKNOWNNAME && ids[0] == kConcrete && ids[1] == DISPID_UNKNOWN,
        "GetIDsOfNames: an unknown argument name", Hex(hr));
  LPOLESTR unknown_method[] = {const_cast<LPOLESTR>(L"мтБетон")};
  hr = object->GetIDsOfNames(IID_NULL, unknown_method, 1, 0, ids);
  Check(hr == DISP_E_UNKNOWNNAME && ids[0] == DISPID_UNKNOWN,
        "GetIDsOfNames: an unknown method name", Hex(hr));
}

void CheckArguments(IDispatch* object) {
  if (!Built(kConcrete)) {
    Skip("IDispatch arguments", "мтБетонB is not built");
    return;
  }
  Call plain, defaulted, missing, named, mixed, other, text, comma;
  Invoke(object, kConcrete, {R8(25)}, plain);
  Invoke(object, kConcrete, {R8(25), I4(1)}, defaulted);
  Invoke(object, kConcrete, {R8(25), Missing()}, missing);
  Invoke(object, kConcrete, {I4(1), R8(25)}, named, {1, 0});
  Invoke(object, kConcrete, {R8(25), I4(2)}, mixed, {1});
  Invoke(object, kConcrete, {R8(25), I4(2)}, other);
  Check(plain.hr == S_OK && Number(plain) == Number(defaulted),
        "an omitted optional takes its default (мтБетонB Параметр = 1)");
  Check(missing.hr == S_OK && Number(missing) == Number(plain),
        "an optional passed as missing (VT_ERROR) takes its default");
  Check(named.hr == S_OK && Number(named) == Number(plain), "named arguments in any order");
  Check(mixed.hr == S_OK && Number(mixed) == Number(other) && Number(other) != Number(plain),
        "positional and named arguments together");

  VARIANT text_value;
  V_VT(&text_value) = VT_BSTR;
  V_BSTR(&text_value) = SysAllocString(L"27,5");
  Invoke(object, kConcrete, {text_value}, text);
  SysFreeString(V_BSTR(&text_value));
  Invoke(object, kConcrete, {R8(27.5)}, comma);
  Check(text.hr == S_OK && Number(text) == Number(comma),
        "a text argument is read with the user's decimal comma");

  Call mismatch, overflow, too_many, not_optional, bad_name, put, unknown;
  V_VT(&text_value) = VT_BSTR;
  V_BSTR(&text_value) = SysAllocString(L"abc");
  Invoke(object, kConcrete, {R8(25), text_value}, mismatch);
  SysFreeString(V_BSTR(&text_value));
  Check(mismatch.hr == DISP_E_TYPEMISMATCH && mismatch.arg_error == 0,
        "a text that is no number: DISP_E_TYPEMISMATCH at its argument",
        Hex(mismatch.hr) + " " + std::to_string(mismatch.arg_error));
  Invoke(object, kConcrete, {R8(25), I4(300)}, overflow);
  Check(overflow.hr == DISP_E_OVERFLOW, "a Byte argument of 300: DISP_E_OVERFLOW",
        Hex(overflow.hr));
  Invoke(object, kConcrete, {R8(25), I4(1), I4(1)}, too_many);
  Check(too_many.hr == DISP_E_BADPARAMCOUNT, "too many arguments: DISP_E_BADPARAMCOUNT");
  Invoke(object, kConcrete, {}, not_optional);
  Check(not_optional.hr == DISP_E_PARAMNOTOPTIONAL,
        "a required argument omitted: DISP_E_PARAMNOTOPTIONAL", Hex(not_optional.hr));
  Invoke(object, kConcrete, {R8(25), I4(1)}, bad_name, {7});
  Check(bad_name.hr == DISP_E_PARAMNOTFOUND && bad_name.arg_error == 0,
        "a named argument that does not exist: DISP_E_PARAMNOTFOUND", Hex(bad_name.hr));
  Invoke(object, kConcrete, {R8(25)}, put, {}, DISPATCH_PROPERTYPUT);
  Check(put.hr == DISP_E_MEMBERNOTFOUND, "a property assignment: DISP_E_MEMBERNOTFOUND");
  Invoke(object, 0x60030017, {R8(25)}, unknown);
  Check(unknown.hr == DISP_E_MEMBERNOTFOUND, "an unknown dispatch id: DISP_E_MEMBERNOTFOUND");
}

// мтПрочностьB replaces N = 0 by -1e-20 in the caller's variable.
void CheckWriteBack(IDispatch* object) {
  if (!Built(kStrength)) {
    Skip("by-reference write-back", "мтПрочностьB is not built");
    return;
  }
  double n = 0;
  Call typed;
  Invoke(object, kStrength,
         {I4(3), R8(25), RefR8(&n), R8(0.1), R8(10), R8(10), R8(0.05), R8(0.05), R8(1)}, typed);
  Check(typed.hr == S_OK && n == -1e-20, "write-back into a Double variable (VT_BYREF|VT_R8)",
        Hex(typed.hr) + " N=" + std::to_string(n));

  Var n_variant;
  V_VT(n_variant.get()) = VT_I4;
  V_I4(n_variant.get()) = 0;
  Var m_variant;
  V_VT(m_variant.get()) = VT_BSTR;
  V_BSTR(m_variant.get()) = SysAllocString(L"0,1");
  Call by_variant;
  Invoke(object, kStrength,
         {I4(3), R8(25), Ref(n_variant.get()), Ref(m_variant.get()), R8(10), R8(10), R8(0.05),
          R8(0.05), R8(1)},
         by_variant);
  Check(by_variant.hr == S_OK && V_VT(n_variant.get()) == VT_R8 && V_R8(n_variant.get()) == -1e-20,
        "write-back into a variant variable (VT_BYREF|VT_VARIANT)");
  Check(V_VT(m_variant.get()) == VT_BSTR && Number(by_variant) == Number(typed),
        "an unchanged variable keeps its own type");
}

// A native client can pass NaN or an infinity, which a script cannot make; the call frame
// refuses them with Overflow before any formula sees them.
void CheckNonFiniteNumbers(IDispatch* object) {
  if (!Built(kConcrete) || !Built(kStrength)) {
    Skip("NaN and infinite arguments", "мтБетонB or мтПрочностьB is not built");
    return;
  }
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    const char* name;
  } cases[] = {{std::numeric_limits<double>::quiet_NaN(), "NaN"}, {inf, "+inf"}, {-inf, "-inf"}};
  for (const auto& c : cases) {
    Call by_value, by_reference, single;
    Invoke(object, kStrength,
           {I4(3), R8(25), R8(c.value), R8(0.1), R8(10), R8(10), R8(0.05), R8(0.05), R8(1)},
           by_value);
    Check(by_value.hr == DISP_E_EXCEPTION && by_value.info.scode == static_cast<SCODE>(0x800A0006),
          std::string("a VT_R8 ") + c.name + " argument: run-time error 6",
          Hex(by_value.hr) + " " + Hex(by_value.info.scode));
    // A Single parameter: the platform's own conversion already reports an infinity as overflow.
    Invoke(object, kConcrete, {R8(c.value)}, single);
    Check(single.hr == DISP_E_OVERFLOW || (single.hr == DISP_E_EXCEPTION &&
                                           single.info.scode == static_cast<SCODE>(0x800A0006)),
          std::string("a VT_R8 ") + c.name + " for a Single parameter: overflow",
          Hex(single.hr) + " " + Hex(single.info.scode));
    double n = c.value;
    Invoke(object, kStrength,
           {I4(3), R8(25), RefR8(&n), R8(0.1), R8(10), R8(10), R8(0.05), R8(0.05), R8(1)},
           by_reference);
    Check(by_reference.hr == DISP_E_EXCEPTION &&
              by_reference.info.scode == static_cast<SCODE>(0x800A0006),
          std::string("a VT_BYREF|VT_R8 ") + c.name + " argument: run-time error 6",
          Hex(by_reference.hr) + " " + Hex(by_reference.info.scode));
  }
}

void CheckFailures(IDispatch* object) {
  const armocalc::MethodInfo* missing = nullptr;
  for (const auto& method : armocalc::Methods()) {
    if (method.routine == nullptr) missing = &method;
  }
  if (missing == nullptr) {
    Skip("not implemented through COM", "every method is built");
  } else {
    std::vector<VARIANT> args;
    for (const auto& param : missing->params) {
      if (!param.optional) args.push_back(R8(1));
    }
    Call call;
    Invoke(object, missing->dispid, args, call);
    const std::string description =
        call.info.bstrDescription ? Narrow(call.info.bstrDescription) : "";
    Check(call.hr == DISP_E_EXCEPTION && call.info.scode == E_NOTIMPL &&
              description.find("not implemented") != std::string::npos,
          "a method not built answers E_NOTIMPL: " + std::string(missing->name),
          Hex(call.hr) + " " + Hex(call.info.scode) + " " + description);
  }
}

void CheckRangeArguments(IDispatch* object) {
  if (!Built(kWords)) {
    Skip("Range read through IDispatch", "ЧислоПрописьюB is not built");
    return;
  }
  const long before = GridCalls();
  Var cell;
  V_VT(cell.get()) = VT_DISPATCH;
  V_DISPATCH(cell.get()) = NewGridRange({{1234.5}});
  IDispatch* original = V_DISPATCH(cell.get());
  Call words;
  Invoke(object, kWords, {Ref(cell.get())}, words);
  const std::wstring expected = L"Одна тысяча двести тридцать четыре руб.  50 копеек.";
  Check(words.hr == S_OK && V_VT(words.result.get()) == VT_BSTR &&
            std::wstring(V_BSTR(words.result.get())) == expected,
        "ЧислоПрописьюB reads a one-cell range (1234.5)",
        Hex(words.hr) + " " +
            (V_VT(words.result.get()) == VT_BSTR ? Narrow(V_BSTR(words.result.get())) : "?"));
  Check(GridCalls() > before, "the range is read through IDispatch::Invoke");
  Check(V_VT(cell.get()) == VT_DISPATCH && V_DISPATCH(cell.get()) == original,
        "the caller keeps its Range reference");

  Var block;
  V_VT(block.get()) = VT_DISPATCH;
  V_DISPATCH(block.get()) = NewGridRange({{1, 2}, {3, 4}});
  Call array;
  Invoke(object, kWords, {Ref(block.get())}, array);
  Check(array.hr == S_OK && V_VT(array.result.get()) == VT_BSTR &&
            std::wstring(V_BSTR(array.result.get())) == L"Ссылка не содержит числового значения !",
        "ЧислоПрописьюB: a range of several cells is not a number");

  Var text;
  V_VT(text.get()) = VT_DISPATCH;
  V_DISPATCH(text.get()) = NewTextCell(L"сто");
  Call not_number;
  Invoke(object, kWords, {Ref(text.get())}, not_number);
  Check(not_number.hr == S_OK && V_VT(not_number.result.get()) == VT_BSTR &&
            std::wstring(V_BSTR(not_number.result.get())) ==
                L"Ссылка не содержит числового значения !",
        "ЧислоПрописьюB: a text cell is not a number");

  Call nothing;
  Var empty_object;
  V_VT(empty_object.get()) = VT_DISPATCH;
  V_DISPATCH(empty_object.get()) = nullptr;
  Invoke(object, kWords, {Ref(empty_object.get())}, nothing);
  Check(nothing.hr == DISP_E_EXCEPTION && nothing.info.scode == static_cast<SCODE>(0x800A005B),
        "a Range argument of Nothing: run-time error 91",
        Hex(nothing.hr) + " " + Hex(nothing.info.scode));
}

}  // namespace

void RunDispatchChecks() {
  Ptr<IDispatch> object;
  if (FAILED(CreateObject(object.out()))) {
    Check(false, "IDispatch checks", "ClassBrige cannot be created");
    return;
  }
  CheckIdentity(object.get());
  CheckNames(object.get());
  CheckArguments(object.get());
  CheckWriteBack(object.get());
  CheckFailures(object.get());
  CheckNonFiniteNumbers(object.get());
  CheckRangeArguments(object.get());
}

}  // namespace client
