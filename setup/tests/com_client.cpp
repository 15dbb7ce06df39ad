// Creates the installed class from its class identifier, as a client of this program's bitness,
// and calls one method by name through late binding:
//   setup_com_client OUT_FILE
// writes "NAME(25, 1) = RESULT" (or the failing step and its HRESULT) to OUT_FILE and exits 0
// only when the call succeeded.

#include <windows.h>
// After windows.h, which it needs.
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "runtime/identifiers.hpp"

namespace {

const wchar_t kMethod[] = L"мтБетонB";

bool WriteText(const wchar_t* path, const std::string& text) {
  FILE* file = _wfopen(path, L"wb");
  if (!file) return false;
  fputs(text.c_str(), file);
  return fclose(file) == 0;
}

std::string Hex(HRESULT result) {
  char text[16];
  snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(result));
  return text;
}

std::string Call() {
  const std::string clsid_text(armocalc::ids::kClsid);
  const std::wstring clsid_wide(clsid_text.begin(), clsid_text.end());
  CLSID clsid;
  HRESULT result = CLSIDFromString(clsid_wide.c_str(), &clsid);
  if (FAILED(result)) return "CLSIDFromString failed " + Hex(result);
  IDispatch* object = nullptr;
  result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                            reinterpret_cast<void**>(&object));
  if (FAILED(result)) return "CoCreateInstance failed " + Hex(result);
  LPOLESTR names[] = {const_cast<LPOLESTR>(kMethod)};
  DISPID dispid = 0;
  result = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(result)) {
    object->Release();
    return "GetIDsOfNames failed " + Hex(result);
  }
  // The concrete class (Single) and the property code (Byte), both by reference.
  float concrete_class = 25.0f;
  unsigned char property = 1;
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  args[1].vt = VT_R4 | VT_BYREF;  // arguments go in reverse order
  args[1].pfltVal = &concrete_class;
  args[0].vt = VT_UI1 | VT_BYREF;
  args[0].pbVal = &property;
  DISPPARAMS params = {args, nullptr, 2, 0};
  VARIANT value;
  VariantInit(&value);
  result = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &value,
                          nullptr, nullptr);
  object->Release();
  if (FAILED(result)) return "Invoke failed " + Hex(result);
  VARIANT number;
  VariantInit(&number);
  result = VariantChangeType(&number, &value, 0, VT_R8);
  VariantClear(&value);
  if (FAILED(result)) return "the result is not a number " + Hex(result);
  char text[64];
  snprintf(text, sizeof(text), "%.15g", number.dblVal);
  return std::string("dispid ") + Hex(dispid) + " result " + text;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  if (FAILED(CoInitialize(nullptr))) return 1;
  const std::string outcome = Call();
  CoUninitialize();
  WriteText(argv[1], outcome + "\n");
  return outcome.rfind("dispid ", 0) == 0 ? 0 : 1;
}
