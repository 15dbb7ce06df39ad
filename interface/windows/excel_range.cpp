#include "interface/windows/excel_range.hpp"

#include "interface/windows/late_binding.hpp"
#include "runtime/errors.hpp"

namespace armocalc::com {

ExcelRange::ExcelRange(IDispatch* range) : range_(range) {
  if (range_) range_->AddRef();
}

ExcelRange::~ExcelRange() {
  if (range_) range_->Release();
}

int32_t ExcelRange::CountOf(const wchar_t* collection) const {
  ScopedVariant items;
  GetProperty(range_, collection, items.get());
  if (V_VT(items.get()) != VT_DISPATCH) Raise(kObjectRequired);
  if (V_DISPATCH(items.get()) == nullptr) Raise(kObjectVariableNotSet);
  ScopedVariant count;
  GetProperty(V_DISPATCH(items.get()), L"Count", count.get());
  ScopedVariant number;
  const HRESULT hr = VariantChangeTypeEx(number.get(), count.get(), LOCALE_USER_DEFAULT, 0, VT_I4);
  if (FAILED(hr)) RaiseForHresult(hr, nullptr);
  return static_cast<int32_t>(V_I4(number.get()));
}

int32_t ExcelRange::RowsCount() const {
  return CountOf(L"Rows");
}

int32_t ExcelRange::ColumnsCount() const {
  return CountOf(L"Columns");
}

Variant ExcelRange::Cell(int32_t row, int32_t column) const {
  VARIANT args[2];
  V_VT(&args[0]) = VT_I4;
  V_I4(&args[0]) = row;
  V_VT(&args[1]) = VT_I4;
  V_I4(&args[1]) = column;
  ScopedVariant cell;
  GetProperty(range_, DISPID_VALUE, args, 2, cell.get());
  return ToLibraryValue(*cell);  // Excel answers a one-cell Range: read its value
}

Variant ExcelRange::Value() const {
  ScopedVariant value;
  GetProperty(range_, L"Value", value.get());
  return ToLibraryValue(*value);
}

}  // namespace armocalc::com
