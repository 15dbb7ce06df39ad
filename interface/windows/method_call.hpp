#pragma once
// One method call through the automation layer, shared by IDispatch::Invoke and the v-table
// entries: the caller's VARIANTs converted to the declared types, the call frame, the write-back
// of changed by-reference values into the caller's variables, and the failure as error
// information.

#include <span>
#include <string>

#include "interface/method_table.hpp"
#include "interface/windows/platform.hpp"
#include "runtime/variant.hpp"

namespace armocalc::com {

struct MethodCallResult {
  // S_OK; an argument fault (DISP_E_TYPEMISMATCH, DISP_E_OVERFLOW, DISP_E_PARAMNOTOPTIONAL) of
  // parameter `param_index`; or the run-time failure (0x800A0000 + n, E_NOTIMPL).
  HRESULT hr = S_OK;
  UINT param_index = 0;
  bool argument_fault = false;
  std::string description;  // of a run-time failure
  Variant result;           // 0.0 (Double methods) or Empty (Variant methods) on failure
};

// `args` holds one entry per parameter in parameter order; nullptr or a missing-argument marker
// means omitted.
MethodCallResult CallMethod(const MethodInfo& method, std::span<const VARIANT* const> args);

// The run-time failure as EXCEPINFO (scode = the HRESULT) and as the thread's error information.
void ReportFailure(const MethodCallResult& outcome, EXCEPINFO* info);

}  // namespace armocalc::com
