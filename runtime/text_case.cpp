#include "runtime/text_case.hpp"

#include <cstdint>

namespace armocalc {
namespace {

bool IsContinuation(unsigned char byte) noexcept {
  return (byte & 0xC0) == 0x80;
}

bool InRange(char32_t c, char32_t first, char32_t last) noexcept {
  return c >= first && c <= last;
}

// Blocks where upper and lower case alternate: the upper case letter sits at the even (or,
// with `upper_odd`, the odd) code point and its lower case letter right after it.
struct AlternatingBlock {
  char32_t first;
  char32_t last;
  bool upper_odd;
};

constexpr AlternatingBlock kAlternating[] = {
    {0x0100, 0x012F, false}, {0x0132, 0x0137, false}, {0x0139, 0x0148, true},
    {0x014A, 0x0177, false}, {0x0179, 0x017E, true},  {0x0460, 0x0481, false},
    {0x048A, 0x04BF, false}, {0x04C1, 0x04CE, true},  {0x04D0, 0x052F, false},
};

const AlternatingBlock* FindAlternating(char32_t c) noexcept {
  for (const auto& block : kAlternating) {
    if (InRange(c, block.first, block.last)) return &block;
  }
  return nullptr;
}

bool IsUpperInAlternating(const AlternatingBlock& block, char32_t c) noexcept {
  return ((c & 1u) != 0) == block.upper_odd;
}

}  // namespace

CodePoint DecodeUtf8(std::string_view text, size_t pos) noexcept {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  const CodePoint raw{lead, 1, lead < 0x80};
  if (lead < 0x80) return raw;
  size_t length = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1Fu, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0Fu, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07u, minimum = 0x10000;
  } else {
    return raw;
  }
  if (pos + length > text.size()) return raw;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i))) return raw;
    value = (value << 6) | (byte(i) & 0x3Fu);
  }
  if (value < minimum || value > 0x10FFFF || InRange(value, 0xD800, 0xDFFF)) return raw;
  return {value, length, true};
}

void AppendUtf8(std::string& out, char32_t c) {
  const auto put = [&](uint32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (c < 0x80) {
    put(c);
  } else if (c < 0x800) {
    put(0xC0u | (c >> 6));
    put(0x80u | (c & 0x3Fu));
  } else if (c < 0x10000) {
    put(0xE0u | (c >> 12));
    put(0x80u | ((c >> 6) & 0x3Fu));
    put(0x80u | (c & 0x3Fu));
  } else {
    put(0xF0u | (c >> 18));
    put(0x80u | ((c >> 12) & 0x3Fu));
    put(0x80u | ((c >> 6) & 0x3Fu));
    put(0x80u | (c & 0x3Fu));
  }
}

bool IsLetter(char32_t c) noexcept {
  if (c < 0x80) return InRange(c, 'A', 'Z') || InRange(c, 'a', 'z');
  if (c == 0xAA || c == 0xB5 || c == 0xBA) return true;
  if (InRange(c, 0xC0, 0x24F)) return c != 0xD7 && c != 0xF7;
  if (InRange(c, 0x370, 0x3FF)) {
    return c != 0x375 && c != 0x37E && c != 0x384 && c != 0x385 && c != 0x387 && c != 0x3F6;
  }
  return InRange(c, 0x400, 0x481) || InRange(c, 0x48A, 0x52F);
}

char32_t ToLowerCase(char32_t c) noexcept {
  if (InRange(c, 'A', 'Z')) return c + 0x20;
  if (c < 0x80) return c;
  if (InRange(c, 0xC0, 0xDE) && c != 0xD7) return c + 0x20;
  if (c == 0x178) return 0xFF;
  if (InRange(c, 0x391, 0x3AB) && c != 0x3A2) return c + 0x20;
  if (c == 0x386) return 0x3AC;
  if (InRange(c, 0x388, 0x38A)) return c + 0x25;
  if (c == 0x38C) return 0x3CC;
  if (InRange(c, 0x38E, 0x38F)) return c + 0x3F;
  if (InRange(c, 0x400, 0x40F)) return c + 0x50;
  if (InRange(c, 0x410, 0x42F)) return c + 0x20;
  if (c == 0x4C0) return 0x4CF;
  if (const auto* block = FindAlternating(c)) {
    return IsUpperInAlternating(*block, c) ? c + 1 : c;
  }
  return c;
}

char32_t ToUpperCase(char32_t c) noexcept {
  if (InRange(c, 'a', 'z')) return c - 0x20;
  if (c < 0x80) return c;
  if (InRange(c, 0xE0, 0xFE) && c != 0xF7) return c - 0x20;
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;
  if (InRange(c, 0x3B1, 0x3CB)) return c - 0x20;
  if (c == 0x3AC) return 0x386;
  if (InRange(c, 0x3AD, 0x3AF)) return c - 0x25;
  if (c == 0x3CC) return 0x38C;
  if (InRange(c, 0x3CD, 0x3CE)) return c - 0x3F;
  if (InRange(c, 0x430, 0x44F)) return c - 0x20;
  if (InRange(c, 0x450, 0x45F)) return c - 0x50;
  if (c == 0x4CF) return 0x4C0;
  if (const auto* block = FindAlternating(c)) {
    return IsUpperInAlternating(*block, c) ? c : c - 1;
  }
  return c;
}

namespace {

template <class Map>
std::string MapCase(std::string_view text, Map map) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0; pos < text.size();) {
    const CodePoint cp = DecodeUtf8(text, pos);
    if (cp.valid) {
      AppendUtf8(out, map(cp.value));
    } else {
      out.push_back(text[pos]);
    }
    pos += cp.length;
  }
  return out;
}

}  // namespace

std::string ToLowerUtf8(std::string_view text) {
  return MapCase(text, ToLowerCase);
}
std::string ToUpperUtf8(std::string_view text) {
  return MapCase(text, ToUpperCase);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) noexcept {
  size_t i = 0;
  size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const CodePoint ca = DecodeUtf8(a, i);
    const CodePoint cb = DecodeUtf8(b, j);
    if (ca.valid != cb.valid) return false;
    if (ca.valid ? ToLowerCase(ca.value) != ToLowerCase(cb.value) : ca.value != cb.value) {
      return false;
    }
    i += ca.length;
    j += cb.length;
  }
  return i == a.size() && j == b.size();
}

size_t Utf8Length(std::string_view text) noexcept {
  size_t count = 0;
  for (size_t pos = 0; pos < text.size(); ++count) pos += DecodeUtf8(text, pos).length;
  return count;
}

}  // namespace armocalc
