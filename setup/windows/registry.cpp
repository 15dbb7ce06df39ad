#include <windows.h>

#include <vector>

#include "setup/windows/wide.hpp"
#include "setup/windows/win_platform.hpp"

namespace armocalc::setup::win {

namespace {

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::kClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

REGSAM ViewFlag(RegistryView view) {
  switch (view) {
    case RegistryView::k32:
      return KEY_WOW64_32KEY;
    case RegistryView::k64:
      return KEY_WOW64_64KEY;
    case RegistryView::kOwn:
      break;
  }
  return 0;
}

class Key {
 public:
  Key() = default;
  ~Key() {
    if (handle_) RegCloseKey(handle_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY* out() { return &handle_; }
  HKEY get() const { return handle_; }

 private:
  HKEY handle_ = nullptr;
};

Result Failure(LSTATUS status) {
  const Fault fault = status == ERROR_ACCESS_DENIED ? Fault::kAccessDenied : Fault::kOther;
  return {fault, SystemMessage(static_cast<unsigned long>(status))};
}

LSTATUS Create(RegistryRoot root, RegistryView view, const std::string& key, REGSAM access,
               Key& result) {
  return RegCreateKeyExW(RootKey(root), Wide(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         access | ViewFlag(view), nullptr, result.out(), nullptr);
}

LSTATUS Open(RegistryRoot root, RegistryView view, const std::string& key, REGSAM access,
             Key& result) {
  return RegOpenKeyExW(RootKey(root), Wide(key).c_str(), 0, access | ViewFlag(view), result.out());
}

}  // namespace

Result WinRegistry::SetString(RegistryRoot root, RegistryView view, const std::string& key,
                              const std::string& name, const std::string& data) {
  Key handle;
  LSTATUS status = Create(root, view, key, KEY_SET_VALUE, handle);
  if (status != ERROR_SUCCESS) return Failure(status);
  const std::wstring wide_name = Wide(name);
  const std::wstring wide_data = Wide(data);
  const DWORD bytes = static_cast<DWORD>((wide_data.size() + 1) * sizeof(wchar_t));
  status = RegSetValueExW(handle.get(), name.empty() ? nullptr : wide_name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide_data.c_str()), bytes);
  return status == ERROR_SUCCESS ? Result{} : Failure(status);
}

Result WinRegistry::CreateKey(RegistryRoot root, RegistryView view, const std::string& key) {
  Key handle;
  const LSTATUS status = Create(root, view, key, KEY_QUERY_VALUE, handle);
  return status == ERROR_SUCCESS ? Result{} : Failure(status);
}

std::optional<std::string> WinRegistry::ReadString(RegistryRoot root, RegistryView view,
                                                   const std::string& key,
                                                   const std::string& name) {
  Key handle;
  if (Open(root, view, key, KEY_QUERY_VALUE, handle) != ERROR_SUCCESS) return std::nullopt;
  const std::wstring wide_name = Wide(name);
  const wchar_t* value_name = name.empty() ? nullptr : wide_name.c_str();
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(handle.get(), value_name, nullptr, &type, nullptr, &bytes) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  // One spare character: a stored string need not end with a NUL.
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
  DWORD size = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
  if (RegQueryValueExW(handle.get(), value_name, nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return Utf8(std::wstring_view(buffer.data()));
}

Deletion WinRegistry::DeleteValue(RegistryRoot root, RegistryView view, const std::string& key,
                                  const std::string& name) {
  Key handle;
  LSTATUS status = Open(root, view, key, KEY_SET_VALUE, handle);
  if (status == ERROR_FILE_NOT_FOUND) return Deletion::kMissing;
  if (status != ERROR_SUCCESS) return Deletion::kFailed;
  status = RegDeleteValueW(handle.get(), name.empty() ? nullptr : Wide(name).c_str());
  if (status == ERROR_FILE_NOT_FOUND) return Deletion::kMissing;
  return status == ERROR_SUCCESS ? Deletion::kDeleted : Deletion::kFailed;
}

Deletion WinRegistry::DeleteKeyTree(RegistryRoot root, RegistryView view, const std::string& key) {
  {
    Key handle;
    const LSTATUS status = Open(
        root, view, key, DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE, handle);
    if (status == ERROR_FILE_NOT_FOUND) return Deletion::kMissing;
    if (status != ERROR_SUCCESS) return Deletion::kFailed;
    // Empties the key in the view it was opened in.
    if (RegDeleteTreeW(handle.get(), nullptr) != ERROR_SUCCESS) return Deletion::kFailed;
  }
  const LSTATUS status = RegDeleteKeyExW(RootKey(root), Wide(key).c_str(), ViewFlag(view), 0);
  return status == ERROR_SUCCESS ? Deletion::kDeleted : Deletion::kFailed;
}

}  // namespace armocalc::setup::win
