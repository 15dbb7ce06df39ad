// The registered type library KelvorVBA 1.0: the dual interface _ClassBrige with the 23 methods,
// their dispatch ids, v-table offsets, parameter types, passing modes, optional flags and
// defaults, and the creatable class ClassBrige.

#include <string>
#include <vector>

#include "interface/method_table.hpp"
#include "interface/windows/com_guids.hpp"
#include "interface/windows/tests/client.hpp"
#include "runtime/version.hpp"

namespace client {
namespace {

using armocalc::MethodInfo;
using armocalc::ParamInfo;
using armocalc::PassingMode;
using armocalc::VarType;

VARTYPE Automation(VarType type) {
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
    case VarType::Range:
      return VT_DISPATCH;
    default:
      return VT_VARIANT;
  }
}

// Wine's type-library writer cannot store Double defaults: the server then records whole ones as
// Long, others as Single and Boolean ones as Integer.
bool OnWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

bool WineEncoding(VARTYPE recorded, VARTYPE declared) {
  return OnWine() && ((declared == VT_R8 && (recorded == VT_I4 || recorded == VT_R4)) ||
                      (declared == VT_BOOL && recorded == VT_I2));
}

bool SameNumber(double recorded, double expected, VARTYPE recorded_type) {
  if (recorded_type == VT_R4) return recorded == static_cast<double>(static_cast<float>(expected));
  return recorded == expected;
}

double AsDouble(const VARIANT& value) {
  Var copy;
  VariantChangeType(copy.get(), const_cast<VARIANT*>(&value), 0, VT_R8);
  return V_VT(copy.get()) == VT_R8 ? V_R8(copy.get()) : -12345.0;
}

std::vector<std::wstring> Names(ITypeInfo* info, MEMBERID id) {
  BSTR names[40] = {};
  UINT count = 0;
  std::vector<std::wstring> result;
  if (SUCCEEDED(info->GetNames(id, names, 40, &count))) {
    for (UINT i = 0; i < count; ++i) {
      result.emplace_back(names[i] ? names[i] : L"");
      SysFreeString(names[i]);
    }
  }
  return result;
}

// One parameter against the method table; returns a description of the first difference.
std::string ParamDifference(const ELEMDESC& element, const ParamInfo& param) {
  const TYPEDESC& type = element.tdesc;
  const USHORT flags = element.paramdesc.wParamFlags;
  const bool by_ref = param.mode == PassingMode::ByRef;
  if (by_ref) {
    if (type.vt != VT_PTR || type.lptdesc == nullptr ||
        type.lptdesc->vt != Automation(param.type)) {
      return "by-reference type";
    }
    if ((flags & (PARAMFLAG_FIN | PARAMFLAG_FOUT)) != (PARAMFLAG_FIN | PARAMFLAG_FOUT)) {
      return "by-reference flags in/out";
    }
  } else {
    if (type.vt != Automation(param.type)) return "by-value type";
    if ((flags & (PARAMFLAG_FIN | PARAMFLAG_FOUT)) != PARAMFLAG_FIN) return "by-value flag in";
  }
  if (((flags & PARAMFLAG_FOPT) != 0) != param.optional) return "optional flag";
  const bool has_default = (flags & PARAMFLAG_FHASDEFAULT) != 0;
  if (has_default != param.default_value.has_value()) return "default flag";
  if (has_default) {
    const VARIANT& value = element.paramdesc.pparamdescex->varDefaultValue;
    const VARTYPE declared = Automation(param.type);
    if (V_VT(&value) != declared && !WineEncoding(V_VT(&value), declared)) return "default type";
    if (!SameNumber(AsDouble(value), armocalc::ToDouble(*param.default_value), V_VT(&value))) {
      return "default value";
    }
  }
  return {};
}

void CheckFunction(ITypeInfo* info, UINT index, const MethodInfo& method) {
  FUNCDESC* desc = nullptr;
  if (FAILED(info->GetFuncDesc(index, &desc))) {
    Check(false, "type library: method " + std::to_string(index), "no function description");
    return;
  }
  const std::string name = "type library: " + std::string(method.name);
  std::string difference;
  if (desc->memid != method.dispid) difference = "dispatch id " + Hex(desc->memid);
  if (desc->oVft != static_cast<SHORT>((7 + index) * sizeof(void*))) difference = "v-table offset";
  if (desc->funckind != FUNC_PUREVIRTUAL || desc->callconv != CC_STDCALL) difference = "call kind";
  if (desc->elemdescFunc.tdesc.vt != VT_HRESULT) difference = "HRESULT return";
  if (static_cast<size_t>(desc->cParams) != method.params.size() + 1)
    difference = "parameter count";
  if (difference.empty()) {
    for (size_t p = 0; p < method.params.size() && difference.empty(); ++p) {
      const std::string d = ParamDifference(desc->lprgelemdescParam[p], method.params[p]);
      if (!d.empty()) difference = std::string(method.params[p].name) + ": " + d;
    }
    const ELEMDESC& retval = desc->lprgelemdescParam[method.params.size()];
    const VARTYPE result = method.result == VarType::Double ? VT_R8 : VT_VARIANT;
    if (retval.tdesc.vt != VT_PTR || retval.tdesc.lptdesc->vt != result ||
        (retval.paramdesc.wParamFlags & (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)) !=
            (PARAMFLAG_FOUT | PARAMFLAG_FRETVAL)) {
      difference = "out/retval result";
    }
  }
  const std::vector<std::wstring> names = Names(info, desc->memid);
  if (difference.empty()) {
    if (names.empty() || Narrow(names[0]) != method.name) {
      difference = "method name '" + (names.empty() ? std::string() : Narrow(names[0])) + "'";
    }
    for (size_t p = 0; p < method.params.size() && difference.empty(); ++p) {
      if (p + 1 >= names.size() || Narrow(names[p + 1]) != method.params[p].name) {
        difference = "parameter name " + std::to_string(p);
      }
    }
  }
  Check(difference.empty(), name, difference);
  info->ReleaseFuncDesc(desc);
}

// A few entries of the interface, written out as the workbook knows them.
struct Expected {
  UINT index;
  const char* method;
  MEMBERID dispid;
  UINT param;
  const char* param_name;
  VARTYPE type;
  bool by_ref;
  bool optional;
  bool has_default;
  double default_value;
};

constexpr Expected kExpected[] = {
    {0, "мтRingStrengthB", 0x60030000, 4, "ns", VT_I2, true, false, false, 0},
    {1, "мтБетонB", 0x60030001, 1, "Параметр", VT_UI1, true, true, true, 1},
    {2, "гоБетонB", 0x60030002, 1, "Параметр", VT_UI1, false, true, true, 1},
    {4, "СНиП_RsB", 0x60030004, 1, "Диаметр_арматуры", VT_R8, true, true, true, 10},
    {6, "ЧислоПрописьюB", 0x60030006, 0, "rCells", VT_DISPATCH, true, false, false, 0},
    {9, "мтПрочностьB", 0x60030009, 20, "Z", VT_R8, false, true, true, -1},
    {9, "мтПрочностьB", 0x60030009, 28, "Отчет", VT_BSTR, true, true, false, 0},
    {10, "мтПрочностьТB", 0x6003000A, 7, "БетонирВВертикПолож", VT_BOOL, false, true, false, 0},
    {18, "мтНапряжениеB", 0x60030012, 13, "Фиброползучесть", VT_BOOL, true, true, true, -1},
    {18, "мтНапряжениеB", 0x60030012, 14, "Точность", VT_R8, true, true, true, 0.0001},
    {22, "мтПрочностьКругаB", 0x60030016, 16, "МетодОпределенияЗапаса", VT_I4, true, true, true, 3},
};

void CheckExpected(ITypeInfo* info) {
  for (const Expected& e : kExpected) {
    const std::string name =
        std::string("type library: ") + e.method + " parameter " + e.param_name;
    FUNCDESC* desc = nullptr;
    if (FAILED(info->GetFuncDesc(e.index, &desc))) {
      Check(false, name, "no function");
      continue;
    }
    const std::vector<std::wstring> names = Names(info, desc->memid);
    std::string difference;
    if (desc->memid != e.dispid) difference = "dispatch id";
    if (names.size() <= e.param + 1 || Narrow(names[0]) != e.method ||
        Narrow(names[e.param + 1]) != e.param_name) {
      difference = "names";
    }
    if (difference.empty()) {
      const ELEMDESC& element = desc->lprgelemdescParam[e.param];
      const USHORT flags = element.paramdesc.wParamFlags;
      const VARTYPE type =
          e.by_ref ? (element.tdesc.vt == VT_PTR ? element.tdesc.lptdesc->vt : VARTYPE(VT_EMPTY))
                   : element.tdesc.vt;
      if (type != e.type) difference = "type";
      if (((flags & PARAMFLAG_FOPT) != 0) != e.optional) difference = "optional";
      if (((flags & PARAMFLAG_FHASDEFAULT) != 0) != e.has_default) difference = "default flag";
      if (e.has_default && (flags & PARAMFLAG_FHASDEFAULT)) {
        const VARIANT& value = element.paramdesc.pparamdescex->varDefaultValue;
        if (!SameNumber(AsDouble(value), e.default_value, V_VT(&value))) {
          difference = "default value";
        }
      }
    }
    Check(difference.empty(), name, difference);
    info->ReleaseFuncDesc(desc);
  }
}

// The Object Browser's line under each method: its purpose and what its result is.
void CheckHelpStrings(ITypeInfo* info) {
  const auto methods = armocalc::Methods();
  size_t same = 0;
  std::string first_different;
  for (const MethodInfo& method : methods) {
    BSTR help = nullptr;
    info->GetDocumentation(method.dispid, nullptr, &help, nullptr, nullptr);
    if (help && std::wstring(help) == Wide(armocalc::HelpString(method))) {
      ++same;
    } else if (first_different.empty()) {
      first_different = std::string(method.name);
    }
    SysFreeString(help);
  }
  Check(same == methods.size(), "type library: every method's help string is the table's",
        first_different);
}

void CheckInterface(ITypeLib* library) {
  Ptr<ITypeInfo> dispatch_view;
  if (FAILED(library->GetTypeInfoOfGuid(armocalc::com::kInterfaceIid, dispatch_view.out()))) {
    Check(false, "type library: _ClassBrige", "not found");
    return;
  }
  TYPEATTR* attr = nullptr;
  dispatch_view->GetTypeAttr(&attr);
  const WORD wanted =
      TYPEFLAG_FHIDDEN | TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FDISPATCHABLE;
  Check(attr && (attr->wTypeFlags & wanted) == wanted,
        "type library: _ClassBrige is hidden, dual and non-extensible",
        attr ? Hex(attr->wTypeFlags) : "");
  if (attr) dispatch_view->ReleaseTypeAttr(attr);

  HREFTYPE vtable_ref = 0;
  Ptr<ITypeInfo> info;
  if (FAILED(dispatch_view->GetRefTypeOfImplType(static_cast<UINT>(-1), &vtable_ref)) ||
      FAILED(dispatch_view->GetRefTypeInfo(vtable_ref, info.out()))) {
    Check(false, "type library: v-table view of _ClassBrige", "missing");
    return;
  }
  info->GetTypeAttr(&attr);
  const auto methods = armocalc::Methods();
  Check(attr && attr->typekind == TKIND_INTERFACE && attr->cFuncs == 23 && methods.size() == 23,
        "type library: _ClassBrige has 23 methods",
        attr ? std::to_string(attr->cFuncs) : "no attributes");
  Check(attr && (attr->wTypeFlags & (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL)) ==
                    (TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDUAL),
        "type library: _ClassBrige is automation-compatible (type-library marshalling)",
        attr ? Hex(attr->wTypeFlags) : "");
  if (attr) info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < methods.size(); ++i) CheckFunction(info.get(), i, methods[i]);
  CheckHelpStrings(info.get());
  CheckExpected(info.get());
}

// The class's help string names the version the server was built as.
void CheckClassDescription(ITypeInfo* coclass) {
  BSTR description = nullptr;
  coclass->GetDocumentation(MEMBERID_NIL, nullptr, &description, nullptr, nullptr);
  Check(description &&
            std::wstring(description).find(Wide(armocalc::kArmocalcVersion)) != std::wstring::npos,
        "type library: the class's help string names the version",
        std::string(armocalc::kArmocalcVersion));
  SysFreeString(description);
}

void CheckClass(ITypeLib* library) {
  Ptr<ITypeInfo> coclass;
  if (FAILED(library->GetTypeInfoOfGuid(armocalc::com::kClassId, coclass.out()))) {
    Check(false, "type library: ClassBrige", "not found");
    return;
  }
  CheckClassDescription(coclass.get());
  TYPEATTR* attr = nullptr;
  coclass->GetTypeAttr(&attr);
  Check(attr && attr->typekind == TKIND_COCLASS && (attr->wTypeFlags & TYPEFLAG_FCANCREATE) &&
            attr->cImplTypes == 1,
        "type library: ClassBrige is a creatable class with one interface");
  if (attr) coclass->ReleaseTypeAttr(attr);
  INT flags = 0;
  HREFTYPE ref = 0;
  Ptr<ITypeInfo> implemented;
  BSTR name = nullptr;
  coclass->GetImplTypeFlags(0, &flags);
  coclass->GetRefTypeOfImplType(0, &ref);
  coclass->GetRefTypeInfo(ref, implemented.out());
  if (implemented) implemented->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr);
  Check((flags & IMPLTYPEFLAG_FDEFAULT) && name && std::wstring(name) == L"_ClassBrige",
        "type library: _ClassBrige is the default interface of ClassBrige");
  SysFreeString(name);
}

}  // namespace

void RunTypeLibraryChecks() {
  Ptr<ITypeLib> library;
  const HRESULT hr = LoadRegTypeLib(armocalc::com::kTypeLibraryId, 1, 0, 0, library.out());
  Check(hr == S_OK, "type library: KelvorVBA 1.0 is registered", Hex(hr));
  if (!library) return;
  BSTR name = nullptr;
  library->GetDocumentation(-1, &name, nullptr, nullptr, nullptr);
  Check(name && std::wstring(name) == L"KelvorVBA", "type library: named KelvorVBA");
  SysFreeString(name);
  TLIBATTR* attr = nullptr;
  library->GetLibAttr(&attr);
  Check(attr && attr->wMajorVerNum == 1 && attr->wMinorVerNum == 0, "type library: version 1.0");
  if (attr) library->ReleaseTLibAttr(attr);
  CheckInterface(library.get());
  CheckClass(library.get());

  // The object's own type information describes the same interface.
  Ptr<IDispatch> object;
  CreateObject(object.out());
  Ptr<ITypeInfo> own;
  if (object) object->GetTypeInfo(0, 0, own.out());
  BSTR own_name = nullptr;
  if (own) own->GetDocumentation(MEMBERID_NIL, &own_name, nullptr, nullptr, nullptr);
  Check(own_name && std::wstring(own_name) == L"_ClassBrige",
        "IDispatch::GetTypeInfo describes _ClassBrige");
  SysFreeString(own_name);
}

}  // namespace client
