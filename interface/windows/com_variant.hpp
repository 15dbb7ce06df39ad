#pragma once
// Automation VARIANTs and the library's variants: the caller's arguments converted to the
// declared parameter types with the platform's conversions, results handed back, and the values
// of by-reference parameters written back into the caller's variables.

#include "interface/windows/platform.hpp"
#include "runtime/variant.hpp"

namespace armocalc::com {

// The Excel Range interface; a Range written back to the caller is asked for it.
extern const IID kExcelRangeIid;

// The automation type of a declared parameter or result type (Range: VT_DISPATCH).
VARTYPE AutomationType(VarType type);

// True when the argument stands for an omitted optional parameter (VT_ERROR with
// DISP_E_PARAMNOTFOUND, also behind a by-reference variant).
bool IsMissing(const VARIANT& arg);

// The caller's argument (by value or by reference) converted to `declared`. Returns S_OK, or the
// conversion's failure (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, E_OUTOFMEMORY).
HRESULT ToArgument(const VARIANT& arg, VarType declared, Variant& out);

// Writes a by-reference parameter's value back into the caller's variable `target` (a VT_BYREF
// variant). A variable of another type receives the value converted to its own type; a variant
// variable holding an object or an array keeps it unless the parameter is a Range.
void WriteBack(const VARIANT& target, const Variant& value, VarType declared);

// Stores a library value in `out` (uninitialised on entry). Ranges go back as their object.
HRESULT ToAutomationValue(const Variant& value, VARIANT* out);

}  // namespace armocalc::com
