#include "interface/windows/type_library.hpp"

#include <vector>

#include "interface/method_table.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/com_text.hpp"
#include "interface/windows/com_variant.hpp"
#include "interface/windows/late_binding.hpp"
#include "runtime/version.hpp"

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
  FunctionLayout(const MethodInfo& method, DefaultEncoding encoding) : encoding_(encoding) {
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
      if (SUCCEEDED(EncodeDefault(*param.default_value, &desc.varDefaultValue))) {
        flags |= PARAMFLAG_FHASDEFAULT;
        element.paramdesc.pparamdescex = &desc;
      }
    }
    element.paramdesc.wParamFlags = flags;
  }

  HRESULT EncodeDefault(const Variant& value, VARIANT* out) const {
    const HRESULT hr = ToAutomationValue(value, out);
    if (FAILED(hr) || encoding_ == DefaultEncoding::Exact) return hr;
    if (V_VT(out) == VT_BOOL) {
      V_VT(out) = VT_I2;
      V_I2(out) = V_BOOL(out) ? -1 : 0;
    } else if (V_VT(out) == VT_R8) {
      const double number = V_R8(out);
      if (number == static_cast<double>(static_cast<int32_t>(number))) {
        V_VT(out) = VT_I4;
        V_I4(out) = static_cast<int32_t>(number);
      } else {
        V_VT(out) = VT_R4;
        V_R4(out) = static_cast<float>(number);
      }
    }
    return S_OK;
  }

  DefaultEncoding encoding_;
  std::vector<TYPEDESC> inner_;
  std::vector<PARAMDESCEX> defaults_;
  std::vector<ELEMDESC> elements_;
};

// The class's help string: the Object Browser shows it with the class. (The library's own help
// string would become the default value of its registry key, which holds the library's name.)
std::string ClassDescription() {
  return "Armocalc " + std::string(kArmocalcVersion) +
         ": расчёт железобетонных элементов без предварительного напряжения";
}

HRESULT AddMethod(ICreateTypeInfo* iface, UINT index, const MethodInfo& method,
                  DefaultEncoding encoding) {
  FunctionLayout layout(method, encoding);
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
  ARMOCALC_RETURN_IF_FAILED(
      iface->SetFuncAndParamNames(index, pointers.data(), static_cast<UINT>(pointers.size())));
  std::wstring help = ToWide(HelpString(method));
  return iface->SetFuncDocString(index, help.data());
}

HRESULT AddInterface(ICreateTypeLib2* lib, DefaultEncoding encoding, ITypeInfo** created) {
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
                                                TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION));
  HREFTYPE base = 0;
  ARMOCALC_RETURN_IF_FAILED(iface->AddRefTypeInfo(dispatch.get(), &base));
  ARMOCALC_RETURN_IF_FAILED(iface->AddImplType(0, base));
  const auto methods = Methods();
  for (UINT i = 0; i < methods.size(); ++i) {
    ARMOCALC_RETURN_IF_FAILED(AddMethod(iface.get(), i, methods[i], encoding));
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
  std::wstring description = ToWide(ClassDescription());
  ARMOCALC_RETURN_IF_FAILED(coclass->SetDocString(description.data()));
  HREFTYPE href = 0;
  ARMOCALC_RETURN_IF_FAILED(coclass->AddRefTypeInfo(interface_info, &href));
  ARMOCALC_RETURN_IF_FAILED(coclass->AddImplType(0, href));
  ARMOCALC_RETURN_IF_FAILED(coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT));
  return coclass->LayOut();
}

}  // namespace

HRESULT BuildTypeLibrary(const std::wstring& file, DefaultEncoding encoding, ITypeLib** library) {
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
  ARMOCALC_RETURN_IF_FAILED(AddInterface(lib.get(), encoding, interface_info.out()));
  ARMOCALC_RETURN_IF_FAILED(AddClass(lib.get(), interface_info.get()));
  if (!file.empty()) ARMOCALC_RETURN_IF_FAILED(lib->SaveAllChanges());
  return lib->QueryInterface(IID_ITypeLib, reinterpret_cast<void**>(library));
}

HRESULT ClassInterfaceTypeInfo(ITypeInfo** info) {
  *info = nullptr;
  ComPtr<ITypeLib> library;
  ARMOCALC_RETURN_IF_FAILED(
      BuildTypeLibrary(std::wstring(), DefaultEncoding::Exact, library.out()));
  return library->GetTypeInfoOfGuid(kInterfaceIid, info);
}

namespace {

bool SameDefault(const VARIANT& recorded, const Variant& expected) {
  ScopedVariant wanted;
  if (FAILED(ToAutomationValue(expected, wanted.get()))) return false;
  return V_VT(&recorded) == V_VT(wanted.get()) &&
         VarCmp(const_cast<VARIANT*>(&recorded), wanted.get(), LOCALE_NEUTRAL, 0) == VARCMP_EQ;
}

// Every method of the written library is readable and records the table's defaults exactly.
bool ReadsBackExactly(ITypeLib* library) {
  ComPtr<ITypeInfo> dispatch_view;
  HREFTYPE ref = 0;
  ComPtr<ITypeInfo> info;
  if (FAILED(library->GetTypeInfoOfGuid(kInterfaceIid, dispatch_view.out())) ||
      FAILED(dispatch_view->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) ||
      FAILED(dispatch_view->GetRefTypeInfo(ref, info.out()))) {
    return false;
  }
  const auto methods = Methods();
  for (UINT i = 0; i < methods.size(); ++i) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info->GetFuncDesc(i, &desc))) return false;
    bool same = desc->memid == methods[i].dispid &&
                static_cast<size_t>(desc->cParams) == methods[i].params.size() + 1;
    for (size_t p = 0; same && p < methods[i].params.size(); ++p) {
      const auto& expected = methods[i].params[p].default_value;
      const PARAMDESC& recorded = desc->lprgelemdescParam[p].paramdesc;
      const bool has_default = (recorded.wParamFlags & PARAMFLAG_FHASDEFAULT) != 0;
      same = has_default == expected.has_value() &&
             (!has_default || SameDefault(recorded.pparamdescex->varDefaultValue, *expected));
    }
    info->ReleaseFuncDesc(desc);
    if (!same) return false;
  }
  return true;
}

}  // namespace

HRESULT WriteTypeLibrary(const std::wstring& file, ITypeLib** library) {
  *library = nullptr;
  for (const DefaultEncoding encoding : {DefaultEncoding::Exact, DefaultEncoding::WineWriter}) {
    {
      ComPtr<ITypeLib> built;
      ARMOCALC_RETURN_IF_FAILED(BuildTypeLibrary(file, encoding, built.out()));
    }
    ComPtr<ITypeLib> written;
    ARMOCALC_RETURN_IF_FAILED(LoadTypeLibEx(file.c_str(), REGKIND_NONE, written.out()));
    if (encoding == DefaultEncoding::WineWriter || ReadsBackExactly(written.get())) {
      *library = written.detach();
      return S_OK;
    }
  }
  return TYPE_E_INVALIDSTATE;
}

}  // namespace armocalc::com
