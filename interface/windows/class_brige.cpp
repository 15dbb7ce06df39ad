#include "interface/windows/class_brige.hpp"

#include <array>
#include <string>
#include <vector>

#include "interface/windows/com_guids.hpp"
#include "interface/windows/com_text.hpp"
#include "interface/windows/com_variant.hpp"
#include "interface/windows/method_call.hpp"
#include "interface/windows/server.hpp"
#include "interface/windows/type_library.hpp"
#include "interface/windows/vtable_thunks.hpp"

namespace armocalc::com {
namespace {

using Dual = ClassBrige::DualInterface;

HRESULT STDMETHODCALLTYPE DualQueryInterface(Dual* self, REFIID riid, void** out) {
  return self->owner->QueryInterface(riid, out);
}
ULONG STDMETHODCALLTYPE DualAddRef(Dual* self) {
  return self->owner->AddRef();
}
ULONG STDMETHODCALLTYPE DualRelease(Dual* self) {
  return self->owner->Release();
}
HRESULT STDMETHODCALLTYPE DualGetTypeInfoCount(Dual*, UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 1;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE DualGetTypeInfo(Dual* self, UINT index, LCID lcid, ITypeInfo** info) {
  return self->owner->GetTypeInfo(index, lcid, info);
}
HRESULT STDMETHODCALLTYPE DualGetIDsOfNames(Dual* self, REFIID riid, LPOLESTR* names, UINT count,
                                            LCID lcid, DISPID* ids) {
  return self->owner->GetIDsOfNames(riid, names, count, lcid, ids);
}
HRESULT STDMETHODCALLTYPE DualInvoke(Dual* self, DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                                     UINT* arg_error) {
  return self->owner->Invoke(id, riid, lcid, flags, params, result, info, arg_error);
}

constexpr size_t kDispatchEntries = 7;

// IUnknown and IDispatch, then one entry per method of the table.
const void* DualVtable() {
  static const auto table = [] {
    std::array<VtableEntry, kDispatchEntries + kMaxVtableMethods> entries{};
    entries[0] = reinterpret_cast<VtableEntry>(&DualQueryInterface);
    entries[1] = reinterpret_cast<VtableEntry>(&DualAddRef);
    entries[2] = reinterpret_cast<VtableEntry>(&DualRelease);
    entries[3] = reinterpret_cast<VtableEntry>(&DualGetTypeInfoCount);
    entries[4] = reinterpret_cast<VtableEntry>(&DualGetTypeInfo);
    entries[5] = reinterpret_cast<VtableEntry>(&DualGetIDsOfNames);
    entries[6] = reinterpret_cast<VtableEntry>(&DualInvoke);
    for (size_t i = 0; i < kMaxVtableMethods; ++i) {
      entries[kDispatchEntries + i] = MethodVtableEntry(i);
    }
    return entries;
  }();
  return table.data();
}

double DoubleResult(const Variant& result) {
  return result.Type() == VarType::Double ? result.Get<double>() : 0.0;
}

}  // namespace

ClassBrige::ClassBrige() : dual_{DualVtable(), this} {
  ObjectCreated();
}

ClassBrige::~ClassBrige() {
  if (type_info_ != nullptr) type_info_->Release();
  ObjectDestroyed();
}

HRESULT ClassBrige::Create(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (Methods().size() > kMaxVtableMethods) return E_UNEXPECTED;
  auto* object = new (std::nothrow) ClassBrige();
  if (object == nullptr) return E_OUTOFMEMORY;
  const HRESULT hr = object->QueryInterface(riid, out);
  object->Release();
  return hr;
}

HRESULT ClassBrige::QueryInterface(REFIID riid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
      IsEqualIID(riid, kInterfaceIid)) {
    *out = &dual_;
  } else if (IsEqualIID(riid, IID_ISupportErrorInfo)) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG ClassBrige::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG ClassBrige::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ClassBrige::InterfaceSupportsErrorInfo(REFIID riid) {
  return IsEqualIID(riid, kInterfaceIid) || IsEqualIID(riid, IID_IDispatch) ? S_OK : S_FALSE;
}

HRESULT ClassBrige::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  if (type_info_ == nullptr) {
    const HRESULT hr = ClassInterfaceTypeInfo(&type_info_);
    if (FAILED(hr)) return hr;
  }
  type_info_->AddRef();
  *info = type_info_;
  return S_OK;
}

HRESULT ClassBrige::GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (names == nullptr || ids == nullptr) return E_POINTER;
  const MethodInfo* method = FindMethod(ToUtf8(names[0]));
  HRESULT hr = S_OK;
  for (UINT i = 0; i < count; ++i) {
    ids[i] = DISPID_UNKNOWN;
    if (method != nullptr) {
      // Named arguments are known by their position in the parameter list.
      ids[i] = i == 0 ? method->dispid : FindParam(*method, ToUtf8(names[i]));
    }
    if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT ClassBrige::Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params,
                           VARIANT* result, EXCEPINFO* info, UINT* arg_error) {
  if (!IsEqualIID(riid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const MethodInfo* method = FindMethod(static_cast<int32_t>(id));
  if (method == nullptr || (flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
    return DISP_E_MEMBERNOTFOUND;
  }
  const UINT arg_count = params != nullptr ? params->cArgs : 0;
  const UINT named_count = params != nullptr ? params->cNamedArgs : 0;
  if (named_count > arg_count || (arg_count > 0 && params->rgvarg == nullptr) ||
      (named_count > 0 && params->rgdispidNamedArgs == nullptr)) {
    return E_INVALIDARG;
  }
  const size_t param_count = method->params.size();
  if (arg_count > param_count) return DISP_E_BADPARAMCOUNT;

  // Arguments come last first; named ones lead the array.
  std::vector<const VARIANT*> ordered(param_count, nullptr);
  std::vector<UINT> source(param_count, 0);
  const UINT positional = arg_count - named_count;
  for (UINT p = 0; p < positional; ++p) {
    ordered[p] = &params->rgvarg[arg_count - 1 - p];
    source[p] = arg_count - 1 - p;
  }
  for (UINT k = 0; k < named_count; ++k) {
    const DISPID target = params->rgdispidNamedArgs[k];
    if (target < 0 || static_cast<size_t>(target) >= param_count || ordered[target] != nullptr) {
      if (arg_error != nullptr) *arg_error = k;
      return DISP_E_PARAMNOTFOUND;
    }
    ordered[target] = &params->rgvarg[k];
    source[target] = k;
  }

  AddRef();
  const MethodCallResult outcome = CallMethod(*method, ordered);
  if (result != nullptr) ToAutomationValue(outcome.result, result);
  Release();
  if (outcome.argument_fault) {
    if (arg_error != nullptr) *arg_error = source[outcome.param_index];
    return outcome.hr;
  }
  if (FAILED(outcome.hr)) {
    ReportFailure(outcome, info);
    return DISP_E_EXCEPTION;
  }
  return S_OK;
}

HRESULT ClassBrige::CallFromVtable(void* self, const MethodInfo& method,
                                   std::span<const VARIANT* const> args, void* result) {
  if (self == nullptr) return E_POINTER;
  ClassBrige* object = static_cast<Dual*>(self)->owner;
  if (result == nullptr) return E_POINTER;
  object->AddRef();
  const MethodCallResult outcome = CallMethod(method, args);
  if (method.result == VarType::Double) {
    *static_cast<double*>(result) = DoubleResult(outcome.result);
  } else {
    ToAutomationValue(outcome.result, static_cast<VARIANT*>(result));
  }
  object->Release();
  if (FAILED(outcome.hr) && !outcome.argument_fault) ReportFailure(outcome, nullptr);
  return outcome.hr;
}

}  // namespace armocalc::com
