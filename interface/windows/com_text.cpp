#include "interface/windows/com_text.hpp"

#include <climits>

namespace armocalc::com {

std::string ToUtf8(const wchar_t* text, size_t length) {
  if (text == nullptr || length == 0 || length > INT_MAX) return {};
  const int wide_length = static_cast<int>(length);
  const int size = WideCharToMultiByte(CP_UTF8, 0, text, wide_length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, wide_length, result.data(), size, nullptr, nullptr);
  return result;
}

std::string ToUtf8(const wchar_t* text) {
  return text == nullptr ? std::string() : ToUtf8(text, wcslen(text));
}

std::string BstrToUtf8(BSTR text) {
  return ToUtf8(text, SysStringLen(text));
}

std::wstring ToWide(std::string_view utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const int narrow_length = static_cast<int>(utf8.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), narrow_length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), narrow_length, result.data(), size);
  return result;
}

BSTR AllocBstr(std::string_view utf8) {
  const std::wstring wide = ToWide(utf8);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace armocalc::com
