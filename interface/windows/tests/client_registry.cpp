// Registration: the entries DllRegisterServer writes, and that DllUnregisterServer removes them
// and nothing else.

#include <optional>
#include <string>

#include "interface/windows/tests/client.hpp"
#include "runtime/identifiers.hpp"

namespace client {
namespace {

#ifdef _WIN64
constexpr REGSAM kOtherView = KEY_WOW64_32KEY;
constexpr const wchar_t* kPlatform = L"win64";
#else
constexpr REGSAM kOtherView = KEY_WOW64_64KEY;
constexpr const wchar_t* kPlatform = L"win32";
#endif

const std::wstring kClsid = Wide(armocalc::ids::kClsid);
const std::wstring kIid = Wide(armocalc::ids::kInterfaceIid);
const std::wstring kLibid = Wide(armocalc::ids::kTypeLibraryId);
const std::wstring kProgId = Wide(armocalc::ids::kProgId);
const std::wstring kClassKey = L"CLSID\\" + kClsid;
const std::wstring kInterfaceKey = L"Interface\\" + kIid;
const std::wstring kTypeLibKey = L"TypeLib\\" + kLibid + L"\\1.0\\0\\" + kPlatform;
constexpr const wchar_t* kCategory =
    L"Implemented Categories\\{40FC6ED5-2438-11CF-A3DB-080036F12502}";
constexpr const wchar_t* kTypeLibraryMarshaler = L"{00020424-0000-0000-C000-000000000046}";

std::optional<std::wstring> ReadString(const std::wstring& key_name, const wchar_t* value,
                                       REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ | view, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  const LONG status =
      RegQueryValueExW(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::wstring(buffer);
}

bool KeyExists(const std::wstring& key_name, REGSAM view = 0) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_name.c_str(), 0, KEY_READ | view, &key) !=
      ERROR_SUCCESS) {
    return false;
  }
  RegCloseKey(key);
  return true;
}

bool SamePath(const std::optional<std::wstring>& a, const std::wstring& b) {
  return a && CompareStringOrdinal(a->c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring TypeLibraryFile(const std::wstring& dll) {
  return dll.substr(0, dll.find_last_of(L'.')) + L".tlb";
}

void ExpectString(const std::wstring& key, const wchar_t* value, const std::wstring& expected,
                  const std::string& name) {
  const auto actual = ReadString(key, value);
  Check(actual && *actual == expected, name,
        "HKCR\\" + Narrow(key) + " holds '" + (actual ? Narrow(*actual) : "<missing>") +
            "', expected '" + Narrow(expected) + "'");
}

void CheckEntries(const Server& server, const std::string& when) {
  ExpectString(kProgId, nullptr, kProgId, "registry" + when + ": ProgID key");
  ExpectString(kProgId + L"\\CLSID", nullptr, kClsid,
               "registry" + when + ": ProgID names the class");
  ExpectString(kClassKey + L"\\ProgID", nullptr, kProgId, "registry" + when + ": class ProgID");
  const auto server_path = ReadString(kClassKey + L"\\InprocServer32", nullptr);
  Check(SamePath(server_path, server.dll_path), "registry" + when + ": InprocServer32 path",
        server_path ? Narrow(*server_path) : "<missing>");
  ExpectString(kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment",
               "registry" + when + ": threading model");
  ExpectString(kClassKey + L"\\TypeLib", nullptr, kLibid,
               "registry" + when + ": class type library");
  ExpectString(kInterfaceKey, nullptr, L"_ClassBrige", "registry" + when + ": interface name");
  ExpectString(kInterfaceKey + L"\\ProxyStubClsid32", nullptr, kTypeLibraryMarshaler,
               "registry" + when + ": interface marshalled by the type library");
  ExpectString(kInterfaceKey + L"\\TypeLib", nullptr, kLibid,
               "registry" + when + ": interface type library");
  ExpectString(L"TypeLib\\" + kLibid + L"\\1.0", nullptr, L"KelvorVBA",
               "registry" + when + ": type library KelvorVBA 1.0");
  const auto library_file = ReadString(kTypeLibKey, nullptr);
  Check(SamePath(library_file, TypeLibraryFile(server.dll_path)),
        "registry" + when + ": type library file registered",
        library_file ? Narrow(*library_file) : "<missing>");
  Check(GetFileAttributesW(TypeLibraryFile(server.dll_path).c_str()) != INVALID_FILE_ATTRIBUTES,
        "registry" + when + ": type library file written beside the server");
}

HKEY CreateKey(const std::wstring& name) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                  nullptr);
  return key;
}

// Entries of another writer (the installer writes these) that unregistration must keep.
void AddForeignEntries() {
  if (HKEY key = CreateKey(kClassKey)) {
    const auto bytes = static_cast<DWORD>((kClsid.size() + 1) * sizeof(wchar_t));
    RegSetValueExW(key, L"AppID", 0, REG_SZ, reinterpret_cast<const BYTE*>(kClsid.c_str()), bytes);
    RegCloseKey(key);
  }
  if (HKEY key = CreateKey(kClassKey + L"\\" + kCategory)) RegCloseKey(key);
}

void RemoveForeignEntries() {
  RegDeleteKeyW(HKEY_CLASSES_ROOT, (kClassKey + L"\\" + kCategory).c_str());
  RegDeleteKeyW(HKEY_CLASSES_ROOT, (kClassKey + L"\\Implemented Categories").c_str());
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, kClassKey.c_str(), 0, KEY_ALL_ACCESS, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(key, L"AppID");
    RegCloseKey(key);
  }
  RegDeleteKeyW(HKEY_CLASSES_ROOT, kClassKey.c_str());
}

}  // namespace

void RunRegistryChecks(const Server& server) {
  CheckEntries(server, "");
}

void RunUnregistrationChecks(const Server& server) {
  AddForeignEntries();
  const HRESULT hr = server.unregister_server();
  Check(hr == S_OK, "unregistration succeeds", Hex(hr));
  Check(!KeyExists(kClassKey + L"\\InprocServer32") && !KeyExists(kClassKey + L"\\ProgID") &&
            !KeyExists(kClassKey + L"\\TypeLib") && !KeyExists(kClassKey + L"\\VERSION"),
        "unregistration removes the class entries");
  Check(!ReadString(kClassKey, nullptr), "unregistration removes the class name");
  Check(ReadString(kClassKey, L"AppID") == kClsid && KeyExists(kClassKey + L"\\" + kCategory),
        "unregistration keeps entries it did not write");
  Check(!KeyExists(kInterfaceKey), "unregistration removes the interface");
  Check(!KeyExists(kTypeLibKey), "unregistration removes the type library of this platform");
  Check(GetFileAttributesW(TypeLibraryFile(server.dll_path).c_str()) == INVALID_FILE_ATTRIBUTES,
        "unregistration deletes the type library file");
  const bool other_view = KeyExists(kClassKey + L"\\InprocServer32", kOtherView);
  Check(KeyExists(kProgId) == other_view,
        other_view ? "the ProgID stays while the other platform's server is registered"
                   : "unregistration removes the ProgID");
  if (other_view) {
    Check(KeyExists(L"TypeLib\\" + kLibid + L"\\1.0"),
          "the type library of the other platform stays registered");
    Check(KeyExists(kInterfaceKey, kOtherView),
          "the interface of the other platform stays registered");
  }
  Check(server.unregister_server() == S_OK, "unregistering twice succeeds");
  RemoveForeignEntries();

  const HRESULT again = server.register_server();
  Check(again == S_OK, "registration succeeds again", Hex(again));
  CheckEntries(server, " (again)");
}

}  // namespace client
