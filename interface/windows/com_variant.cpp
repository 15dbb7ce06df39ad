#include "interface/windows/com_variant.hpp"

#include <memory>

#include "interface/windows/com_text.hpp"
#include "interface/windows/excel_range.hpp"
#include "interface/windows/late_binding.hpp"

namespace armocalc::com {

const IID kExcelRangeIid = {
    0x00020846, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

namespace {

// A variant variable may refer to another variant; deeper chains are not followed.
constexpr int kMaxVariantIndirection = 4;

const VARIANT* Direct(const VARIANT* arg) {
  for (int i = 0; i < kMaxVariantIndirection && V_VT(arg) == (VT_BYREF | VT_VARIANT); ++i) {
    if (V_VARIANTREF(arg) == nullptr) break;
    arg = V_VARIANTREF(arg);
  }
  return arg;
}

bool HoldsObjectOrArray(const VARIANT& value) {
  const VARTYPE type = V_VT(&value) & ~VT_BYREF;
  return (type & VT_ARRAY) != 0 || type == VT_DISPATCH || type == VT_UNKNOWN;
}

HRESULT ToRangeArgument(const VARIANT& value, Variant& out) {
  IUnknown* unknown = nullptr;
  if (V_VT(&value) == VT_DISPATCH) unknown = V_DISPATCH(&value);
  if (V_VT(&value) == VT_UNKNOWN) unknown = V_UNKNOWN(&value);
  if (unknown == nullptr) {
    if (V_VT(&value) != VT_EMPTY && V_VT(&value) != VT_DISPATCH && V_VT(&value) != VT_UNKNOWN) {
      return DISP_E_TYPEMISMATCH;
    }
    out = Variant(std::shared_ptr<HostRange>());  // Nothing: the routine raises 91 on use
    return S_OK;
  }
  IDispatch* dispatch = nullptr;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
    return DISP_E_TYPEMISMATCH;
  }
  out = Variant(std::shared_ptr<HostRange>(std::make_shared<ExcelRange>(dispatch)));
  dispatch->Release();
  return S_OK;
}

Variant FromScalar(const VARIANT& value) {
  switch (V_VT(&value)) {
    case VT_UI1:
      return V_UI1(&value);
    case VT_I2:
      return V_I2(&value);
    case VT_I4:
      return static_cast<int32_t>(V_I4(&value));
    case VT_R4:
      return V_R4(&value);
    case VT_R8:
      return V_R8(&value);
    case VT_BOOL:
      return V_BOOL(&value) != VARIANT_FALSE;
    case VT_BSTR:
      return BstrToUtf8(V_BSTR(&value));
    default:
      return Variant();
  }
}

// The object a Range value hands back: the Range interface when the object has it.
IDispatch* RangeObjectOf(const Variant& value) {
  if (value.Type() != VarType::Range) return nullptr;
  const auto* range = dynamic_cast<const ExcelRange*>(value.Range().get());
  if (range == nullptr || range->Dispatch() == nullptr) return nullptr;
  IDispatch* object = nullptr;
  if (SUCCEEDED(
          range->Dispatch()->QueryInterface(kExcelRangeIid, reinterpret_cast<void**>(&object)))) {
    return object;
  }
  range->Dispatch()->AddRef();
  return range->Dispatch();
}

SAFEARRAY* ToSafeArray(const VariantArray& rows) {
  size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  SAFEARRAYBOUND bounds[2] = {{static_cast<ULONG>(rows.size()), 1},
                              {static_cast<ULONG>(columns), 1}};
  SAFEARRAY* array = SafeArrayCreate(VT_VARIANT, 2, bounds);
  if (array == nullptr) return nullptr;
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      ScopedVariant element;
      if (FAILED(ToAutomationValue(rows[r][c], element.get()))) continue;
      LONG indices[2] = {static_cast<LONG>(r + 1), static_cast<LONG>(c + 1)};  // rows first
      SafeArrayPutElement(array, indices, element.get());
    }
  }
  return array;
}

// Stores `value` (already of the target's type) into the variable a VT_BYREF variant refers to.
void StoreByRef(const VARIANT& target, VARIANT& value) {
  switch (V_VT(&target) & ~VT_BYREF) {
    case VT_UI1:
      *V_UI1REF(&target) = V_UI1(&value);
      break;
    case VT_I1:
      *V_I1REF(&target) = V_I1(&value);
      break;
    case VT_I2:
      *V_I2REF(&target) = V_I2(&value);
      break;
    case VT_UI2:
      *V_UI2REF(&target) = V_UI2(&value);
      break;
    case VT_I4:
      *V_I4REF(&target) = V_I4(&value);
      break;
    case VT_UI4:
      *V_UI4REF(&target) = V_UI4(&value);
      break;
    case VT_INT:
      *V_INTREF(&target) = V_INT(&value);
      break;
    case VT_UINT:
      *V_UINTREF(&target) = V_UINT(&value);
      break;
    case VT_I8:
      *V_I8REF(&target) = V_I8(&value);
      break;
    case VT_UI8:
      *V_UI8REF(&target) = V_UI8(&value);
      break;
    case VT_R4:
      *V_R4REF(&target) = V_R4(&value);
      break;
    case VT_R8:
      *V_R8REF(&target) = V_R8(&value);
      break;
    case VT_CY:
      *V_CYREF(&target) = V_CY(&value);
      break;
    case VT_DATE:
      *V_DATEREF(&target) = V_DATE(&value);
      break;
    case VT_BOOL:
      *V_BOOLREF(&target) = V_BOOL(&value);
      break;
    case VT_BSTR:
      SysFreeString(*V_BSTRREF(&target));
      *V_BSTRREF(&target) = V_BSTR(&value);
      V_VT(&value) = VT_EMPTY;  // ownership moved to the caller's variable
      break;
    case VT_DISPATCH:
      if (*V_DISPATCHREF(&target) != nullptr) (*V_DISPATCHREF(&target))->Release();
      *V_DISPATCHREF(&target) = V_DISPATCH(&value);
      V_VT(&value) = VT_EMPTY;
      break;
    default:
      break;  // a variable of a kind the parameter cannot take back: left as it was
  }
}

}  // namespace

VARTYPE AutomationType(VarType type) {
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
    case VarType::Empty:
    case VarType::Array:
      break;
  }
  return VT_VARIANT;
}

bool IsMissing(const VARIANT& arg) {
  const VARIANT* value = Direct(&arg);
  return V_VT(value) == VT_ERROR && V_ERROR(value) == DISP_E_PARAMNOTFOUND;
}

HRESULT ToArgument(const VARIANT& arg, VarType declared, Variant& out) {
  ScopedVariant direct;
  const VARIANT* value = Direct(&arg);
  if (V_VT(value) & VT_BYREF) {
    const HRESULT hr = VariantCopyInd(direct.get(), const_cast<VARIANT*>(value));
    if (FAILED(hr)) return hr;
    value = direct.get();
  }
  if (declared == VarType::Range) return ToRangeArgument(*value, out);
  const VARTYPE wanted = AutomationType(declared);
  if (V_VT(value) == wanted) {
    out = FromScalar(*value);
    return S_OK;
  }
  ScopedVariant converted;
  const HRESULT hr = VariantChangeTypeEx(converted.get(), const_cast<VARIANT*>(value),
                                         LOCALE_USER_DEFAULT, 0, wanted);
  if (FAILED(hr)) return hr;
  out = FromScalar(*converted);
  return S_OK;
}

void WriteBack(const VARIANT& target, const Variant& value, VarType declared) {
  if ((V_VT(&target) & VT_BYREF) == 0 || V_BYREF(&target) == nullptr) return;
  ScopedVariant converted;
  if (FAILED(ToAutomationValue(value, converted.get()))) return;
  if (V_VT(&target) == (VT_BYREF | VT_VARIANT)) {
    VARIANT* variable = const_cast<VARIANT*>(Direct(&target));
    if (V_VT(variable) & VT_BYREF) {
      WriteBack(*variable, value, declared);
      return;
    }
    if (declared != VarType::Range && HoldsObjectOrArray(*variable)) return;
    VariantClear(variable);
    *variable = *converted.get();
    V_VT(converted.get()) = VT_EMPTY;  // ownership moved to the caller's variable
    return;
  }
  const VARTYPE wanted = V_VT(&target) & ~VT_BYREF;
  if (V_VT(converted.get()) != wanted) {
    ScopedVariant retyped;
    if (FAILED(
            VariantChangeTypeEx(retyped.get(), converted.get(), LOCALE_USER_DEFAULT, 0, wanted))) {
      return;
    }
    StoreByRef(target, *retyped.get());
    return;
  }
  StoreByRef(target, *converted.get());
}

HRESULT ToAutomationValue(const Variant& value, VARIANT* out) {
  VariantInit(out);
  switch (value.Type()) {
    case VarType::Empty:
      return S_OK;
    case VarType::Byte:
      V_VT(out) = VT_UI1;
      V_UI1(out) = value.Get<uint8_t>();
      return S_OK;
    case VarType::Integer:
      V_VT(out) = VT_I2;
      V_I2(out) = value.Get<int16_t>();
      return S_OK;
    case VarType::Long:
      V_VT(out) = VT_I4;
      V_I4(out) = value.Get<int32_t>();
      return S_OK;
    case VarType::Single:
      V_VT(out) = VT_R4;
      V_R4(out) = value.Get<float>();
      return S_OK;
    case VarType::Double:
      V_VT(out) = VT_R8;
      V_R8(out) = value.Get<double>();
      return S_OK;
    case VarType::Boolean:
      V_VT(out) = VT_BOOL;
      V_BOOL(out) = value.Get<bool>() ? VARIANT_TRUE : VARIANT_FALSE;
      return S_OK;
    case VarType::String: {
      BSTR text = AllocBstr(value.Text());
      if (text == nullptr) return E_OUTOFMEMORY;
      V_VT(out) = VT_BSTR;
      V_BSTR(out) = text;
      return S_OK;
    }
    case VarType::Range:
      V_VT(out) = VT_DISPATCH;
      V_DISPATCH(out) = RangeObjectOf(value);
      return S_OK;
    case VarType::Array: {
      SAFEARRAY* array = value.Array() ? ToSafeArray(*value.Array()) : nullptr;
      if (array == nullptr) return E_OUTOFMEMORY;
      V_VT(out) = VT_ARRAY | VT_VARIANT;
      V_ARRAY(out) = array;
      return S_OK;
    }
  }
  return E_UNEXPECTED;
}

}  // namespace armocalc::com
