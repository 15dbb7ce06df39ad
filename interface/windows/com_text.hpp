#pragma once
// Text conversions between the library's UTF-8 strings and the platform's UTF-16 (BSTR) strings.

#include <string>
#include <string_view>

#include "interface/windows/platform.hpp"

namespace armocalc::com {

std::string ToUtf8(const wchar_t* text, size_t length);
std::string ToUtf8(const wchar_t* text);  // NUL-terminated; nullptr gives ""
std::string BstrToUtf8(BSTR text);        // a null BSTR is the empty string
std::wstring ToWide(std::string_view utf8);
// A new BSTR (nullptr when the memory runs out).
BSTR AllocBstr(std::string_view utf8);

// Owns a BSTR for the span of a scope.
class Bstr {
 public:
  explicit Bstr(std::string_view utf8) : value_(AllocBstr(utf8)) {}
  explicit Bstr(const wchar_t* text) : value_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(value_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return value_; }
  BSTR release() {
    BSTR value = value_;
    value_ = nullptr;
    return value;
  }

 private:
  BSTR value_;
};

}  // namespace armocalc::com
