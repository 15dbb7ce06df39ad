#include "interface/windows/late_binding.hpp"

#include <string>

#include "interface/windows/com_text.hpp"
#include "interface/windows/platform.hpp"
#include "runtime/errors.hpp"

namespace armocalc::com {
namespace {

// Objects are read through their default member; a chain longer than this is not a value.
constexpr int kMaxDefaultMemberDepth = 8;
// Largest number of elements converted from an array value.
constexpr long long kMaxArrayElements = 1LL << 26;

constexpr uint32_t kControlFacilityMask = 0xFFFF0000u;
constexpr uint32_t kControlFacility = 0x800A0000u;

constexpr int kAutomationError = 440;

// IDispatchEx (not in the import libraries of every MinGW release).
constexpr IID kDispatchExIid = {
    0xA6EF9860, 0xC720, 0x11D0, {0x93, 0x37, 0x00, 0xA0, 0xC9, 0x0D, 0xCA, 0xA9}};

int ErrorNumberOf(HRESULT hr) {
  const auto code = static_cast<uint32_t>(hr);
  if ((code & kControlFacilityMask) == kControlFacility) return static_cast<int>(code & 0xFFFFu);
  switch (hr) {
    case DISP_E_MEMBERNOTFOUND:
    case DISP_E_UNKNOWNNAME:
    case E_NOINTERFACE:
    case E_NOTIMPL:
      return kObjectDoesNotSupport;
    case DISP_E_TYPEMISMATCH:
      return kTypeMismatch;
    case DISP_E_OVERFLOW:
      return kOverflow;
    case DISP_E_DIVBYZERO:
      return kDivisionByZero;
    case DISP_E_BADPARAMCOUNT:
      return kWrongNumberOfArguments;
    case DISP_E_PARAMNOTOPTIONAL:
      return kArgumentNotOptional;
    case DISP_E_BADINDEX:
      return kSubscriptOutOfRange;
    case E_OUTOFMEMORY:
      return kOutOfMemory;
    default:
      return kAutomationError;
  }
}

std::string DescriptionOf(int number) {
  return number == kAutomationError ? std::string("Automation error") : ErrorDescription(number);
}

IDispatchEx* QueryDispatchEx(IDispatch* object) {
  IDispatchEx* ex = nullptr;
  if (FAILED(object->QueryInterface(kDispatchExIid, reinterpret_cast<void**>(&ex)))) {
    return nullptr;
  }
  return ex;
}

HRESULT CallMember(IDispatch* object, DISPID id, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* info) {
  const WORD flags = DISPATCH_PROPERTYGET | DISPATCH_METHOD;
  if (IDispatchEx* ex = QueryDispatchEx(object)) {
    const HRESULT hr = ex->InvokeEx(id, LOCALE_USER_DEFAULT, flags, params, result, info, nullptr);
    ex->Release();
    return hr;
  }
  UINT arg_error = 0;
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, info, &arg_error);
}

Variant FromArray(const VARIANT& value);
Variant ToLibraryValueAt(const VARIANT& value, int depth);

Variant FromObject(IUnknown* unknown, int depth) {
  if (unknown == nullptr) return Variant();
  if (depth >= kMaxDefaultMemberDepth) Raise(kTypeMismatch);
  IDispatch* object = nullptr;
  if (FAILED(unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object)))) {
    Raise(kTypeMismatch);
  }
  ScopedVariant inner;
  try {
    GetProperty(object, DISPID_VALUE, nullptr, 0, inner.get());
  } catch (...) {
    object->Release();
    throw;
  }
  object->Release();
  return ToLibraryValueAt(*inner, depth + 1);
}

Variant AsDouble(const VARIANT& value) {
  ScopedVariant number;
  const HRESULT hr = VariantChangeTypeEx(number.get(), const_cast<VARIANT*>(&value),
                                         LOCALE_USER_DEFAULT, 0, VT_R8);
  if (FAILED(hr)) RaiseForHresult(hr, nullptr);
  return V_R8(number.get());
}

Variant ToLibraryValueAt(const VARIANT& value, int depth) {
  if (V_VT(&value) & VT_BYREF) {
    ScopedVariant direct;
    const HRESULT hr = VariantCopyInd(direct.get(), const_cast<VARIANT*>(&value));
    if (FAILED(hr)) RaiseForHresult(hr, nullptr);
    if (V_VT(direct.get()) & VT_BYREF) Raise(kTypeMismatch);
    return ToLibraryValueAt(*direct, depth);
  }
  if (V_VT(&value) & VT_ARRAY) return FromArray(value);
  switch (V_VT(&value)) {
    case VT_EMPTY:
      return Variant();
    case VT_NULL:
      return Variant(std::string());
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
    case VT_ERROR:
      return "Error " + std::to_string(static_cast<uint32_t>(V_ERROR(&value)) & 0xFFFFu);
    case VT_DISPATCH:
      return FromObject(V_DISPATCH(&value), depth);
    case VT_UNKNOWN:
      return FromObject(V_UNKNOWN(&value), depth);
    default:
      return AsDouble(value);  // currency, dates, decimals and the other integer kinds
  }
}

// One row per element of the first dimension (a one-dimensional array is a single row).
Variant FromArray(const VARIANT& value) {
  SAFEARRAY* array = V_ARRAY(&value);
  if (array == nullptr) return Variant();
  const UINT dims = SafeArrayGetDim(array);
  if (dims < 1 || dims > 2) Raise(kTypeMismatch);
  VARTYPE element_type = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &element_type))) Raise(kTypeMismatch);
  LONG low[2] = {0, 0};
  LONG high[2] = {0, 0};
  for (UINT d = 0; d < dims; ++d) {
    SafeArrayGetLBound(array, d + 1, &low[d]);
    SafeArrayGetUBound(array, d + 1, &high[d]);
  }
  const long long rows = dims == 2 ? static_cast<long long>(high[0]) - low[0] + 1 : 1;
  const long long columns = static_cast<long long>(high[dims - 1]) - low[dims - 1] + 1;
  if (rows < 0 || columns < 0 || rows * columns > kMaxArrayElements) Raise(kOutOfMemory);
  auto result = std::make_shared<VariantArray>();
  result->resize(static_cast<size_t>(rows));
  for (long long r = 0; r < rows; ++r) {
    auto& row = (*result)[static_cast<size_t>(r)];
    row.reserve(static_cast<size_t>(columns));
    for (long long c = 0; c < columns; ++c) {
      // Indices in declaration order, the rows' dimension first, as oleaut32 reads them.
      LONG indices[2] = {static_cast<LONG>(low[0] + (dims == 2 ? r : c)),
                         static_cast<LONG>(low[1] + c)};
      ScopedVariant element;
      HRESULT hr;
      if (element_type == VT_VARIANT) {
        hr = SafeArrayGetElement(array, indices, element.get());
      } else {
        hr = SafeArrayGetElement(array, indices, &V_UI1(element.get()));
        if (SUCCEEDED(hr)) V_VT(element.get()) = element_type;
      }
      if (FAILED(hr)) RaiseForHresult(hr, nullptr);
      row.push_back(ToLibraryValueAt(*element, 0));
    }
  }
  return std::shared_ptr<const VariantArray>(std::move(result));
}

}  // namespace

void RaiseForHresult(HRESULT hr, EXCEPINFO* info) {
  std::string description;
  if (hr == DISP_E_EXCEPTION && info != nullptr) {
    if (info->pfnDeferredFillIn != nullptr) info->pfnDeferredFillIn(info);
    if (info->scode != 0) {
      hr = info->scode;
    } else if (info->wCode != 0) {
      hr = static_cast<HRESULT>(kControlFacility | info->wCode);
    }
    description = BstrToUtf8(info->bstrDescription);
    SysFreeString(info->bstrSource);
    SysFreeString(info->bstrDescription);
    SysFreeString(info->bstrHelpFile);
    *info = EXCEPINFO{};
  }
  const int number = ErrorNumberOf(hr);
  throw RuntimeError(number, description.empty() ? DescriptionOf(number) : description);
}

DISPID MemberId(IDispatch* object, const wchar_t* name) {
  if (object == nullptr) Raise(kObjectVariableNotSet);
  DISPID id = DISPID_UNKNOWN;
  if (IDispatchEx* ex = QueryDispatchEx(object)) {
    Bstr member(name);
    const HRESULT hr = ex->GetDispID(member.get(), fdexNameCaseInsensitive, &id);
    ex->Release();
    if (SUCCEEDED(hr)) return id;
  }
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) RaiseForHresult(hr, nullptr);
  return id;
}

void GetProperty(IDispatch* object, DISPID id, VARIANT* args, UINT arg_count, VARIANT* result) {
  if (object == nullptr) Raise(kObjectVariableNotSet);
  constexpr UINT kMaxArgs = 8;
  if (arg_count > kMaxArgs) Raise(kWrongNumberOfArguments);
  VARIANT reversed[kMaxArgs];
  for (UINT i = 0; i < arg_count; ++i) reversed[i] = args[arg_count - 1 - i];
  DISPPARAMS params{arg_count > 0 ? reversed : nullptr, nullptr, arg_count, 0};
  EXCEPINFO info{};
  const HRESULT hr = CallMember(object, id, &params, result, &info);
  if (FAILED(hr)) RaiseForHresult(hr, &info);
}

void GetProperty(IDispatch* object, const wchar_t* name, VARIANT* result) {
  GetProperty(object, MemberId(object, name), nullptr, 0, result);
}

Variant ToLibraryValue(const VARIANT& value) {
  return ToLibraryValueAt(value, 0);
}

}  // namespace armocalc::com
