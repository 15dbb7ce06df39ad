#pragma once
// The automation object ClassBrige: one dual interface _ClassBrige (IUnknown, IDispatch, then
// the methods of the table as v-table entries) and ISupportErrorInfo.

#include <span>

#include "interface/method_table.hpp"
#include "interface/windows/platform.hpp"

namespace armocalc::com {

class ClassBrige final : public ISupportErrorInfo {
 public:
  // Creates an object and hands out its interface `riid`.
  static HRESULT Create(REFIID riid, void** out);

  // Runs a call that arrived through a v-table entry of the dual interface `self`: `args` in
  // parameter order (the caller's storage as by-reference VARIANTs, by-value arguments as values),
  // `result` the out/retval pointer (double* or VARIANT*).
  static HRESULT CallFromVtable(void* self, const MethodInfo& method,
                                std::span<const VARIANT* const> args, void* result);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID riid) override;

  // IDispatch, reached through the dual interface.
  HRESULT GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info);
  HRESULT GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
  HRESULT Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                 EXCEPINFO* info, UINT* arg_error);

  // The dual interface as its callers see it: a v-table pointer, then the owner.
  struct DualInterface {
    const void* vtable;
    ClassBrige* owner;
  };

 private:
  ClassBrige();
  ~ClassBrige();
  ClassBrige(const ClassBrige&) = delete;
  ClassBrige& operator=(const ClassBrige&) = delete;

  DualInterface dual_;
  LONG references_ = 1;
  ITypeInfo* type_info_ = nullptr;
};

}  // namespace armocalc::com
