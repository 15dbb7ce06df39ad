#pragma once
// The system's 8-bit code page (Windows-1251), in which report files are written and read.

#include <cstddef>
#include <string>
#include <string_view>

namespace armocalc {

// UTF-8 <-> CP1251 (characters outside the code page become "?").
std::string Utf8ToCp1251(std::string_view utf8);
std::string Cp1251ToUtf8(std::string_view cp1251);
// Appends the CP1251 bytes of a UTF-8 text to `out` (one pass, one allocation at most).
void AppendCp1251(std::string& out, std::string_view utf8);
// Writes the CP1251 bytes of a UTF-8 text at p, which has room for utf8.size() bytes, and
// returns their end (a character never takes more bytes in CP1251 than in UTF-8).
char* PutCp1251(char* p, std::string_view utf8);
// Number of characters (code points) of a UTF-8 text.
size_t CharacterCount(std::string_view utf8);

}  // namespace armocalc
