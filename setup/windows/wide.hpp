#pragma once
// UTF-8 texts of the installer's logic to and from the UTF-16 of the Windows API.

#include <string>
#include <string_view>

namespace armocalc::setup::win {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The system's description of an error code, without the trailing line break.
std::string SystemMessage(unsigned long error);

}  // namespace armocalc::setup::win
