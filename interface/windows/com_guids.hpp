#pragma once
// The class, interface and type-library identifiers as GUID values, parsed at compile time from
// their registry form in runtime/identifiers.hpp (shared with the installer).

#include <string_view>

#include "interface/windows/platform.hpp"
#include "runtime/identifiers.hpp"

namespace armocalc::com {

namespace detail {

constexpr unsigned HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<unsigned>(c - 'A' + 10);
  throw "not a hexadecimal digit";  // a compile-time error in a constant expression
}

constexpr unsigned long long Hex(std::string_view text, size_t first, size_t count) {
  unsigned long long value = 0;
  for (size_t i = first; i < first + count; ++i) value = value * 16 + HexDigit(text[i]);
  return value;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"
constexpr GUID ParseGuid(std::string_view text) {
  if (text.size() != 38 || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-' ||
      text[24] != '-' || text[37] != '}') {
    throw "not a GUID in registry form";
  }
  GUID guid{};
  guid.Data1 = static_cast<unsigned long>(Hex(text, 1, 8));
  guid.Data2 = static_cast<unsigned short>(Hex(text, 10, 4));
  guid.Data3 = static_cast<unsigned short>(Hex(text, 15, 4));
  guid.Data4[0] = static_cast<unsigned char>(Hex(text, 20, 2));
  guid.Data4[1] = static_cast<unsigned char>(Hex(text, 22, 2));
  for (size_t i = 0; i < 6; ++i) {
    guid.Data4[2 + i] = static_cast<unsigned char>(Hex(text, 25 + 2 * i, 2));
  }
  return guid;
}

}  // namespace detail

inline constexpr GUID kClassId = detail::ParseGuid(ids::kClsid);
inline constexpr GUID kInterfaceIid = detail::ParseGuid(ids::kInterfaceIid);
inline constexpr GUID kTypeLibraryId = detail::ParseGuid(ids::kTypeLibraryId);

}  // namespace armocalc::com
