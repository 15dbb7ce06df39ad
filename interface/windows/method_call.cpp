#include "interface/windows/method_call.hpp"

#include <vector>

#include "interface/call_frame.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/com_text.hpp"
#include "interface/windows/com_variant.hpp"
#include "runtime/identifiers.hpp"

namespace armocalc::com {
namespace {

bool HoldsEmpty(const VARIANT& arg) {
  if (V_VT(&arg) != (VT_BYREF | VT_VARIANT) || V_VARIANTREF(&arg) == nullptr) return false;
  return V_VT(V_VARIANTREF(&arg)) == VT_EMPTY;
}

}  // namespace

MethodCallResult CallMethod(const MethodInfo& method, std::span<const VARIANT* const> args) {
  MethodCallResult outcome;
  const size_t count = method.params.size();
  std::vector<Variant> values(count);
  std::vector<Variant> given(count);
  std::vector<Argument> frame_args(count);
  for (size_t i = 0; i < count; ++i) {
    const VARIANT* arg = i < args.size() ? args[i] : nullptr;
    if (arg == nullptr || IsMissing(*arg)) {
      if (!method.params[i].optional) {
        outcome.hr = DISP_E_PARAMNOTOPTIONAL;
        outcome.param_index = static_cast<UINT>(i);
        outcome.argument_fault = true;
        return outcome;
      }
      continue;
    }
    const HRESULT hr = ToArgument(*arg, method.params[i].type, values[i]);
    if (FAILED(hr)) {
      outcome.hr = hr;
      outcome.param_index = static_cast<UINT>(i);
      outcome.argument_fault = true;
      return outcome;
    }
    given[i] = values[i];
    frame_args[i].value = &values[i];
  }

  CallOutcome call = Invoke(method, frame_args);

  // Values the routine changed reach the caller's variables, also when it failed part-way.
  for (size_t i = 0; i < count; ++i) {
    if (frame_args[i].value == nullptr || method.params[i].mode != PassingMode::ByRef) continue;
    // An unchanged value is left alone, except in a variable that held Empty: the runtime's
    // coercion of a by-reference argument leaves it holding the declared type (an output such as
    // C_max that the routine only reads reaches the caller as a Double).
    if (values[i] == given[i] && !HoldsEmpty(*args[i])) continue;
    WriteBack(*args[i], values[i], method.params[i].type);
  }
  outcome.result = std::move(call.result);
  if (!call.Succeeded()) {
    outcome.hr = static_cast<HRESULT>(call.hresult);
    outcome.description = std::move(call.description);
  }
  return outcome;
}

void ReportFailure(const MethodCallResult& outcome, EXCEPINFO* info) {
  const std::wstring source = ToWide(ids::kTypeLibraryName);
  const std::wstring description = ToWide(outcome.description);
  if (info != nullptr) {
    *info = EXCEPINFO{};
    info->scode = outcome.hr;
    info->bstrSource = SysAllocString(source.c_str());
    info->bstrDescription = SysAllocString(description.c_str());
  }
  ICreateErrorInfo* create = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetGUID(kInterfaceIid);
  create->SetSource(const_cast<LPOLESTR>(source.c_str()));
  create->SetDescription(const_cast<LPOLESTR>(description.c_str()));
  IErrorInfo* error = nullptr;
  if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&error)))) {
    SetErrorInfo(0, error);
    error->Release();
  }
  create->Release();
}

}  // namespace armocalc::com
