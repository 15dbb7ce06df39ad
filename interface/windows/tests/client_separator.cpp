// The decimal separator comes from sDecimal of the user's regional settings (read once per
// thread), and report files go to full paths with Cyrillic names.

#include <fstream>
#include <iterator>
#include <string>

#include "interface/method_table.hpp"
#include "interface/windows/tests/client.hpp"

namespace client {
namespace {

constexpr const wchar_t* kInternational = L"Control Panel\\International";

bool SetSeparator(const wchar_t* separator) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kInternational, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const auto bytes = static_cast<DWORD>((wcslen(separator) + 1) * sizeof(wchar_t));
  const bool ok = RegSetValueExW(key, L"sDecimal", 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(separator), bytes) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}

std::wstring ReadSeparator() {
  wchar_t buffer[16] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  RegGetValueW(HKEY_CURRENT_USER, kInternational, L"sDecimal", RRF_RT_REG_SZ, nullptr, buffer,
               &size);
  return buffer;
}

// Calls мтПрочностьB with a report written to `path`; returns the report's bytes (code page 1251).
std::string Report(const std::wstring& path) {
  Ptr<IDispatch> object;
  if (FAILED(CreateObject(object.out()))) return {};
  VARIANT args[29];
  for (VARIANT& arg : args) {
    V_VT(&arg) = VT_ERROR;
    V_ERROR(&arg) = DISP_E_PARAMNOTFOUND;
  }
  const double values[] = {3, 25, 0.5, 0.1, 10, 10, 0.05, 0.05, 1};
  for (size_t i = 0; i < std::size(values); ++i) {
    V_VT(&args[i]) = VT_R8;
    V_R8(&args[i]) = values[i];
  }
  V_VT(&args[28]) = VT_BSTR;
  V_BSTR(&args[28]) = SysAllocString(path.c_str());
  VARIANT reversed[29];
  for (size_t i = 0; i < 29; ++i) reversed[i] = args[28 - i];
  DISPPARAMS params{reversed, nullptr, 29, 0};
  Var result;
  DeleteFileW(path.c_str());
  object->Invoke(0x60030009, IID_NULL, 0, DISPATCH_METHOD, &params, result.get(), nullptr, nullptr);
  SysFreeString(V_BSTR(&args[28]));
  std::string content;
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[65536];
    DWORD read = 0;
    if (ReadFile(file, buffer, sizeof buffer, &read, nullptr)) content.assign(buffer, read);
    CloseHandle(file);
  }
  return content;
}

}  // namespace

// Run in a process of its own, before anything has read the separator: the library reads it once
// per thread.
void RunSeparatorChecks(const std::wstring& work_folder, const std::wstring& separator) {
  const armocalc::MethodInfo* strength = armocalc::FindMethod("мтПрочностьB");
  if (strength == nullptr || strength->routine == nullptr) {
    Skip("decimal separator from the registry", "мтПрочностьB is not built");
    return;
  }
  const std::wstring folder = work_folder + L"\\отчёты клиента";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring path = folder + L"\\Прочность (разделитель).txt";
  const std::wstring saved = ReadSeparator();
  const std::string sep = Narrow(separator);
  const std::string other = sep == "." ? "," : ".";

  Check(SetSeparator(separator.c_str()), "sDecimal set to '" + sep + "'");
  const std::string report = Report(path);
  Check(report.find("0" + sep + "1 ") != std::string::npos &&
            report.find("0" + other + "1 ") == std::string::npos,
        "a report follows sDecimal '" + sep + "' of the registry (Cyrillic full path)",
        report.substr(0, 300));
  SetSeparator(saved.empty() ? L"," : saved.c_str());
}

}  // namespace client
