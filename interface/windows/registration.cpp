// Self-registration: DllRegisterServer writes the class ClassBrige under its ProgID with this
// file as in-process server ("Apartment"), writes the type library beside this file (generated
// from the method table) and registers it with the interface for type-library marshalling;
// DllUnregisterServer removes exactly these entries again.

#include <string>
#include <vector>

#include "interface/windows/com_guids.hpp"
#include "interface/windows/com_text.hpp"
#include "interface/windows/platform.hpp"
#include "interface/windows/server.hpp"
#include "interface/windows/type_library.hpp"
#include "runtime/identifiers.hpp"

namespace armocalc::com {
namespace {

// Longest path Windows handles (in UTF-16 units).
constexpr DWORD kMaxPath = 32768;

#ifdef _WIN64
constexpr SYSKIND kSystem = SYS_WIN64;
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
#else
constexpr SYSKIND kSystem = SYS_WIN32;
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
#endif

const std::wstring kProgId = ToWide(ids::kProgId);
const std::wstring kClassKey = L"CLSID\\" + ToWide(ids::kClsid);
const std::wstring kProgIdKey = ToWide(ids::kProgId);
const wchar_t* const kClassSubkeys[] = {L"InprocServer32", L"ProgID", L"TypeLib", L"VERSION"};

std::wstring ModulePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (buffer.size() <= kMaxPath) {
    const DWORD length =
        GetModuleFileNameW(ModuleHandle(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return std::wstring(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
  return {};
}

std::wstring TypeLibraryPath(const std::wstring& module) {
  const size_t dot = module.find_last_of(L'.');
  const size_t slash = module.find_last_of(L"\\/");
  const bool has_extension =
      dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
  return (has_extension ? module.substr(0, dot) : module) + L".tlb";
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

HRESULT SetString(const std::wstring& key_name, const wchar_t* value_name, const std::wstring& data,
                  REGSAM view = 0) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | view, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(key, value_name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          bytes);
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

HRESULT WriteClassEntries(const std::wstring& module) {
  const std::wstring clsid = ToWide(ids::kClsid);
  const std::pair<std::wstring, std::pair<const wchar_t*, std::wstring>> entries[] = {
      {kProgIdKey, {nullptr, kProgId}},
      {kProgIdKey + L"\\CLSID", {nullptr, clsid}},
      {kClassKey, {nullptr, kProgId}},
      {kClassKey + L"\\InprocServer32", {nullptr, module}},
      {kClassKey + L"\\InprocServer32", {L"ThreadingModel", L"Apartment"}},
      {kClassKey + L"\\ProgID", {nullptr, kProgId}},
      {kClassKey + L"\\TypeLib", {nullptr, ToWide(ids::kTypeLibraryId)}},
      {kClassKey + L"\\VERSION", {nullptr, L"1.0"}},
  };
  for (const auto& [key, value] : entries) {
    const HRESULT hr = SetString(key, value.first, value.second);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

HRESULT RegisterTypeLibrary(const std::wstring& module) {
  const std::wstring file = TypeLibraryPath(module);
  ITypeLib* library = nullptr;
  HRESULT hr = WriteTypeLibrary(file, &library);
  if (FAILED(hr)) return hr;
  std::wstring folder = FolderOf(module);
  hr = RegisterTypeLib(library, const_cast<LPOLESTR>(file.c_str()),
                       folder.empty() ? nullptr : folder.data());
  library->Release();
  return hr;
}

// Removes the key if nothing is left in it.
void DeleteKeyIfEmpty(const std::wstring& key_name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return;
  }
  DWORD subkeys = 0;
  DWORD values = 0;
  const LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                       &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (status == ERROR_SUCCESS && subkeys == 0 && values == 0) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, key_name.c_str());
  }
}

void DeleteDefaultValue(const std::wstring& key_name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
    RegDeleteValueW(key, nullptr);
    RegCloseKey(key);
  }
}

// The ProgID key is shared by the 32- and the 64-bit registry views: it stays while the class is
// still registered in the other view.
bool RegisteredInOtherView() {
  if (kOtherView == KEY_WOW64_64KEY) {
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64) return false;
  }
  HKEY key = nullptr;
  const std::wstring name = kClassKey + L"\\InprocServer32";
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ | kOtherView, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

void RemoveClassEntries() {
  for (const wchar_t* subkey : kClassSubkeys) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (kClassKey + L"\\" + subkey).c_str());
  }
  DeleteDefaultValue(kClassKey);
  DeleteKeyIfEmpty(kClassKey);
  if (!RegisteredInOtherView()) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, (kProgIdKey + L"\\CLSID").c_str());
    DeleteDefaultValue(kProgIdKey);
    DeleteKeyIfEmpty(kProgIdKey);
  }
}

// UnRegisterTypeLib may remove the interface's marshalling entries from both registry views
// (Wine does); the other platform's server still needs its own.
void KeepOtherPlatformInterface() {
  if (!RegisteredInOtherView()) return;
  const std::wstring key_name = L"Interface\\" + ToWide(ids::kInterfaceIid);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ | kOtherView, &key) ==
      ERROR_SUCCESS) {
    RegCloseKey(key);
    return;
  }
  const std::wstring marshaler = L"{00020424-0000-0000-C000-000000000046}";
  SetString(key_name, nullptr, ToWide(ids::kInterfaceName), kOtherView);
  SetString(key_name + L"\\ProxyStubClsid", nullptr, marshaler, kOtherView);
  SetString(key_name + L"\\ProxyStubClsid32", nullptr, marshaler, kOtherView);
  SetString(key_name + L"\\TypeLib", nullptr, ToWide(ids::kTypeLibraryId), kOtherView);
  SetString(key_name + L"\\TypeLib", L"Version", L"1.0", kOtherView);
}

void RemoveTypeLibrary(const std::wstring& module) {
  UnRegisterTypeLib(kTypeLibraryId, ids::kTypeLibraryMajor, ids::kTypeLibraryMinor, LOCALE_NEUTRAL,
                    kSystem);
  KeepOtherPlatformInterface();
  if (!module.empty()) DeleteFileW(TypeLibraryPath(module).c_str());
}

}  // namespace
}  // namespace armocalc::com

STDAPI DllRegisterServer() {
  using namespace armocalc::com;
  try {
    const std::wstring module = ModulePath();
    if (module.empty()) return E_UNEXPECTED;
    HRESULT hr = WriteClassEntries(module);
    if (SUCCEEDED(hr)) hr = RegisterTypeLibrary(module);
    if (FAILED(hr)) {
      RemoveTypeLibrary(module);
      RemoveClassEntries();
    }
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDAPI DllUnregisterServer() {
  using namespace armocalc::com;
  try {
    RemoveTypeLibrary(ModulePath());
    RemoveClassEntries();
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
