#include "runtime/cp1251.hpp"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace armocalc {
namespace {

// Code points of the bytes 0x80 to 0xBF; 0xC0 to 0xFF are А to я (U+0410 to U+044F). The unused
// byte 0x98 maps to U+0098 as the Windows conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 64> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char32_t Cp1251CodePoint(unsigned char byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kUpperHalf[byte - 0x80];
}

char Cp1251Byte(char32_t code_point) {
  if (code_point < 0x80) return static_cast<char>(code_point);
  if (code_point >= 0x0410 && code_point <= 0x044F) {
    return static_cast<char>(0xC0 + (code_point - 0x0410));
  }
  for (size_t i = 0; i < kUpperHalf.size(); ++i) {
    if (kUpperHalf[i] == code_point) return static_cast<char>(0x80 + i);
  }
  return '?';
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsContinuation(unsigned char byte) {
  return (byte & 0xC0) == 0x80;
}

// Decodes one UTF-8 character at text[i] and advances i; a malformed sequence yields U+FFFD
// and consumes one byte.
char32_t NextCodePoint(std::string_view text, size_t& i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length = 0;
  char32_t c = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return 0xFFFD;
  }
  if (i + static_cast<size_t>(length) > text.size()) {
    ++i;
    return 0xFFFD;
  }
  for (int k = 1; k < length; ++k) {
    const auto byte = static_cast<unsigned char>(text[i + static_cast<size_t>(k)]);
    if (!IsContinuation(byte)) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (byte & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += static_cast<size_t>(length);
  return c;
}

// The CP1251 byte of the letter А to я (U+0410 to U+044F: D0 90 … D0 BF, D1 80 … D1 8F) that
// starts at text[i]; 0 for any other character.
char CyrillicLetterAt(std::string_view text, size_t i) {
  if (i + 1 >= text.size()) return 0;
  const auto lead = static_cast<unsigned char>(text[i]);
  const auto next = static_cast<unsigned char>(text[i + 1]);
  if (lead == 0xD0 && next >= 0x90 && next <= 0xBF) return static_cast<char>(0xC0 + (next - 0x90));
  if (lead == 0xD1 && next >= 0x80 && next <= 0x8F) return static_cast<char>(0xF0 + (next - 0x80));
  return 0;
}

}  // namespace

void AppendCp1251(std::string& out, std::string_view utf8) {
  // Every character takes at least one byte and gives exactly one: the text never grows.
  const size_t start = out.size();
  out.resize(start + utf8.size());
  char* p = out.data() + start;
  const char* text = utf8.data();
  const size_t size = utf8.size();
  constexpr uint64_t kHighBits = 0x8080808080808080u;
  size_t i = 0;
  while (i < size) {
    uint64_t chunk = 0;
    if (i + 8 <= size && (std::memcpy(&chunk, text + i, 8), (chunk & kHighBits) == 0)) {
      std::memcpy(p, text + i, 8);  // eight ASCII characters are their own bytes
      p += 8;
      i += 8;
    } else if (static_cast<unsigned char>(text[i]) < 0x80) {
      *p++ = text[i++];
    } else if (const char letter = CyrillicLetterAt(utf8, i); letter != 0) {
      *p++ = letter;  // А to я, most of a report's words
      i += 2;
    } else {
      *p++ = Cp1251Byte(NextCodePoint(utf8, i));
    }
  }
  out.resize(static_cast<size_t>(p - out.data()));
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  AppendCp1251(out, utf8);
  return out;
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char byte : cp1251) AppendUtf8(out, Cp1251CodePoint(static_cast<unsigned char>(byte)));
  return out;
}

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (char byte : utf8) {
    if (!IsContinuation(static_cast<unsigned char>(byte))) ++count;
  }
  return count;
}

}  // namespace armocalc
