#include "interface/windows/registry.hpp"

#include <climits>
#include <mutex>
#include <vector>

#include "interface/windows/com_text.hpp"
#include "interface/windows/platform.hpp"
#include "runtime/decimal_separator.hpp"

namespace armocalc::com {
namespace {

// Regional settings hold short texts; a longer value is not one of them.
constexpr DWORD kMaxValueBytes = 64 * 1024;

HKEY RootKey(int32_t Раздел) {
  return reinterpret_cast<HKEY>(static_cast<intptr_t>(Раздел));  // sign-extended as Windows does
}

}  // namespace

Variant ПрочитатьСтрокуРеестра(int32_t Раздел, const std::string& Ключ,
                               const std::string& Параметр) {
  HKEY key = nullptr;
  const std::wstring key_name = ToWide(Ключ);
  if (RegOpenKeyExW(RootKey(Раздел), key_name.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return Variant();
  }
  const std::wstring value_name = ToWide(Параметр);
  Variant result;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, value_name.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ && size <= kMaxValueBytes) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD read = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, value_name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &read) == ERROR_SUCCESS &&
        type == REG_SZ) {
      result = ToUtf8(buffer.data());  // the text up to the first NUL
    }
  }
  RegCloseKey(key);
  return result;
}

void InstallRegistryDecimalSeparator() {
  static std::once_flag installed;
  std::call_once(installed, [] {
    SetDecimalSeparatorSource([] {
      const Variant text =
          ПрочитатьСтрокуРеестра(kHkeyCurrentUser, "Control Panel\\International", "sDecimal");
      return text.Type() == VarType::String ? text.Text() : std::string();
    });
  });
}

}  // namespace armocalc::com
