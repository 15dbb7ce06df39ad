#pragma once
// Letter case of UTF-8 texts for the scripts the library meets: Latin (with Latin-1 and
// Latin Extended-A), Greek and Cyrillic (Ё/ё included). Bytes that are not valid UTF-8 pass
// through unchanged and count as non-letters.

#include <cstddef>
#include <string>
#include <string_view>

namespace armocalc {

struct CodePoint {
  char32_t value;  // the code point, or the raw byte when the sequence is not valid UTF-8
  size_t length;   // bytes consumed (1 … 4)
  bool valid;
};

// Decodes the code point at `pos` (pos < text.size()).
CodePoint DecodeUtf8(std::string_view text, size_t pos) noexcept;
void AppendUtf8(std::string& out, char32_t code_point);

bool IsLetter(char32_t c) noexcept;
char32_t ToLowerCase(char32_t c) noexcept;
char32_t ToUpperCase(char32_t c) noexcept;

std::string ToLowerUtf8(std::string_view text);
std::string ToUpperUtf8(std::string_view text);

// Equality ignoring letter case (no allocation).
bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept;

// Number of characters (code points; each invalid byte counts as one).
size_t Utf8Length(std::string_view text) noexcept;

}  // namespace armocalc
