#pragma once
// Late-bound calls on the host's objects (Excel ranges, script objects standing in for them):
// members are found through IDispatchEx::GetDispID when the object offers it (script objects
// answer only there) and through IDispatch::GetIDsOfNames otherwise (Excel). Failures raise the
// run-time error the runtime would report.

#include "interface/windows/platform.hpp"
#include "runtime/variant.hpp"

namespace armocalc::com {

// A VARIANT cleared when the scope ends.
class ScopedVariant {
 public:
  ScopedVariant() { VariantInit(&value_); }
  ~ScopedVariant() { VariantClear(&value_); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT* get() { return &value_; }
  const VARIANT& operator*() const { return value_; }

 private:
  VARIANT value_;
};

// Raises the run-time error that corresponds to a failed automation call.
[[noreturn]] void RaiseForHresult(HRESULT hr, EXCEPINFO* info);

// The dispatch id of the member `name` (case-insensitive); error 438 when it is unknown.
DISPID MemberId(IDispatch* object, const wchar_t* name);

// Reads the property (or calls the method) `id` with the given arguments in natural order.
void GetProperty(IDispatch* object, DISPID id, VARIANT* args, UINT arg_count, VARIANT* result);
void GetProperty(IDispatch* object, const wchar_t* name, VARIANT* result);

// The value of a cell or object as the library's variant: objects are read through their default
// member (as a cell's value is), dates and currency become numbers, error values become texts
// ("Error 2042"), arrays become nested rows.
Variant ToLibraryValue(const VARIANT& value);

}  // namespace armocalc::com
