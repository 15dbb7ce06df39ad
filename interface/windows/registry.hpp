#pragma once
// Reading the user's settings from the registry.

#include <cstdint>
#include <string>

#include "runtime/variant.hpp"

namespace armocalc::com {

inline constexpr int32_t kHkeyCurrentUser = static_cast<int32_t>(0x80000001u);

// The text of the string value `Параметр` of the key `Ключ` under the root key `Раздел`
// (a predefined root such as HKEY_CURRENT_USER), or Empty when the key or the value is missing
// or the value is not a string.
Variant ПрочитатьСтрокуРеестра(int32_t Раздел, const std::string& Ключ,
                               const std::string& Параметр);

// Makes the library take the decimal separator from sDecimal of the user's regional settings.
void InstallRegistryDecimalSeparator();

}  // namespace armocalc::com
