#include "interface/windows/type_library.hpp"

#include <vector>

#include "interface/method_table.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/com_text.hpp"
#include "interface/windows/com_variant.hpp"

namespace armocalc::com {
namespace {

constexpr int kDispatchSlots = 7;  // IUnknown (3) and IDispatch (4) before the methods

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  T* detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  T* p_ = nullptr;
};

#define ARMOCALC_RETURN_IF_FAILED(expr) \
  do {                                  \
    const HRESULT hr_ = (expr);         \
    if (FAILED(hr_)) return hr_;        \
  } while (false)

// The parameter descriptions of one method; the storage stays alive while the function is added.
class FunctionLayout {
 public:
  explicit FunctionLayout(const MethodInfo& method) {
    const size_t count = method.params.size();
    inner_.resize(count + 1);
    defaults_.resize(count);
    elements_.resize(count + 1);
    for (size_t i = 0; i < count; ++i) Describe(i, method.params[i]);
    // The result: [out, retval] Double* or VARIANT*.
    inner_[count].vt = method.result == VarType::Double ? VT_R8 : VT_VARIANT;
    elements_[count].tdesc.vt = VT_PTR;
    elements_[count].tdesc.lptdesc = &inner_[count];
    elements_[count].paramdesc.wParamFlags = PARAMFLAG_FOUT | PARAMFLAG_FRETVAL;
  }
  ~FunctionLayout() {
    for (auto& d : defaults_) VariantClear(&d.varDefaultValue);
  }
  FunctionLayout(const FunctionLayout&) = delete;
  FunctionLayout& operator=(const FunctionLayout&) = delete;

  ELEMDESC* elements() { return elements_.data(); }
  SHORT count() const { return static_cast<SHORT>(elements_.size()); }

 private:
  void Describe(size_t i, const ParamInfo& param) {
    ELEMDESC& element = elements_[i];
    USHORT flags = PARAMFLAG_FIN;
    if (param.mode == PassingMode::ByRef) {
      inner_[i].vt = AutomationType(param.type);
      element.tdesc.vt = VT_PTR;
      element.tdesc.lptdesc = &inner_[i];
      flags |= PARAMFLAG_FOUT;
    } else {
      element.tdesc.vt = AutomationType(param.type);
    }
    if (param.optional) flags |= PARAMFLAG_FOPT;
    if (param.default_value) {
      PARAMDESCEX& desc = defaults_[i];
      desc.cBytes = sizeof(PARAMDESCEX);
      if (SUCCEEDED(ToAutomationValue(*param.default_value, &desc.varDefaultValue))) {
        flags |= PARAMFLAG_FHASDEFAULT;
        element.paramdesc.pparamdescex = &desc;
      }
    }
    element.paramdesc.wParamFlags = flags;
  }

  std::vector<TYPEDESC> inner_;
  std::vector<PARAMDESCEX> defaults_;
  std::vector<ELEMDESC> elements_;
};

HRESULT AddMethod(ICreateTypeInfo* iface, UINT index, const MethodInfo& method) {
  FunctionLayout layout(method);
  FUNCDESC desc{};
  desc.memid = method.dispid;
  desc.funckind = FUNC_PUREVIRTUAL;
  desc.invkind = INVOKE_FUNC;
  desc.callconv = CC_STDCALL;
  desc.cParams = layout.count();
  desc.cParamsOpt = 0;
  desc.oVft = static_cast<SHORT>((kDispatchSlots + index) * sizeof(void*));
  desc.elemdescFunc.tdesc.vt = VT_HRESULT;
  desc.lprgelemdescParam = layout.elements();
  ARMOCALC_RETURN_IF_FAILED(iface->AddFuncDesc(index, &desc));

  std::vector<std::wstring> names;
  names.push_back(ToWide(method.name));
  for (const ParamInfo& param : method.params) names.push_back(ToWide(param.name));
  std::vector<LPOLESTR> pointers;
  for (auto& name : names) pointers.push_back(name.data());
  ARMOCALC_RETURN_IF_FAILED(iface->SetFuncAndParamNames(index, pointers.data(),
                                                        static_cast<UINT>(pointers.size())));
  std::wstring help = ToWide(method.summary);
  return iface->SetFuncDocString(index, help.data());
}

HRESULT AddInterface(ICreateTypeLib2* lib, ITypeInfo** created) {
  ComPtr<ITypeLib> stdole;
  ARMOCALC_RETURN_IF_FAILED(LoadTypeLib(L"stdole2.tlb", stdole.out()));
  ComPtr<ITypeInfo> dispatch;
  ARMOCALC_RETURN_IF_FAILED(stdole->GetTypeInfoOfGuid(IID_IDispatch, dispatch.out()));

  std::wstring name = ToWide(ids::kInterfaceName);
  ComPtr<ICreateTypeInfo> iface;
  ARMOCALC_RETURN_IF_FAILED(lib->CreateTypeInfo(name.data(), TKIND_INTERFACE, iface.out()));
  ARMOCALC_RETURN_IF_FAILED(iface->SetGuid(kInterfaceIid));
  ARMOCALC_RETURN_IF_FAILED(iface->SetVersion(1, 0));
  ARMOCALC_RETURN_IF_FAILED(iface->SetTypeFlags(TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL |
                                               TYPEFLAG_FNONEXTENSIBLE |
                                               TYPEFLAG_FOLEAUTOMATION));
  HREFTYPE base = 0;
  ARMOCALC_RETURN_IF_FAILED(iface->AddRefTypeInfo(dispatch.get(), &base));
  ARMOCALC_RETURN_IF_FAILED(iface->AddImplType(0, base));
  const auto methods = Methods();
  for (UINT i = 0; i < methods.size(); ++i) {
    ARMOCALC_RETURN_IF_FAILED(AddMethod(iface.get(), i, methods[i]));
  }
  ARMOCALC_RETURN_IF_FAILED(iface->LayOut());
  return iface->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(created));
}

HRESULT AddClass(ICreateTypeLib2* lib, ITypeInfo* interface_info) {
  std::wstring name = ToWide(ids::kClassName);
  ComPtr<ICreateTypeInfo> coclass;
  ARMOCALC_RETURN_IF_FAILED(lib->CreateTypeInfo(name.data(), TKIND_COCLASS, coclass.out()));
  ARMOCALC_RETURN_IF_FAILED(coclass->SetGuid(kClassId));
  ARMOCALC_RETURN_IF_FAILED(coclass->SetVersion(1, 0));
  ARMOCALC_RETURN_IF_FAILED(coclass->SetTypeFlags(TYPEFLAG_FCANCREATE));
  HREFTYPE href = 0;
  ARMOCALC_RETURN_IF_FAILED(coclass->AddRefTypeInfo(interface_info, &href));
  ARMOCALC_RETURN_IF_FAILED(coclass->AddImplType(0, href));
  ARMOCALC_RETURN_IF_FAILED(coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT));
  return coclass->LayOut();
}

}  // namespace

HRESULT BuildTypeLibrary(const std::wstring& file, ITypeLib** library) {
  *library = nullptr;
#ifdef _WIN64
  constexpr SYSKIND kSystem = SYS_WIN64;
#else
  constexpr SYSKIND kSystem = SYS_WIN32;
#endif
  // The file name is only recorded until the library is saved.
  std::wstring target = file.empty() ? std::wstring(L"KelvorVBA.tlb") : file;
  ComPtr<ICreateTypeLib2> lib;
  ARMOCALC_RETURN_IF_FAILED(CreateTypeLib2(kSystem, target.c_str(), lib.out()));
  std::wstring name = ToWide(ids::kTypeLibraryName);
  ARMOCALC_RETURN_IF_FAILED(lib->SetName(name.data()));
  ARMOCALC_RETURN_IF_FAILED(lib->SetGuid(kTypeLibraryId));
  ARMOCALC_RETURN_IF_FAILED(lib->SetVersion(ids::kTypeLibraryMajor, ids::kTypeLibraryMinor));
  ARMOCALC_RETURN_IF_FAILED(lib->SetLcid(LOCALE_NEUTRAL));
  ComPtr<ITypeInfo> interface_info;
  ARMOCALC_RETURN_IF_FAILED(AddInterface(lib.get(), interface_info.out()));
  ARMOCALC_RETURN_IF_FAILED(AddClass(lib.get(), interface_info.get()));
  if (!file.empty()) ARMOCALC_RETURN_IF_FAILED(lib->SaveAllChanges());
  return lib->QueryInterface(IID_ITypeLib, reinterpret_cast<void**>(library));
}

HRESULT ClassInterfaceTypeInfo(ITypeInfo** info) {
  *info = nullptr;
  ComPtr<ITypeLib> library;
  ARMOCALC_RETURN_IF_FAILED(BuildTypeLibrary(std::wstring(), library.out()));
  return library->GetTypeInfoOfGuid(kInterfaceIid, info);
}

}  // namespace armocalc::com
