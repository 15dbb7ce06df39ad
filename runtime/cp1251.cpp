#include "runtime/cp1251.hpp"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "runtime/text_case.hpp"

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

// The highest code point the code page holds (U+2122, the trade mark sign), plus one.
constexpr char32_t kCodePointsEnd = 0x2123;

// The CP1251 byte of every code point below kCodePointsEnd ("?" where the code page has none).
constexpr std::array<char, kCodePointsEnd> kBytesOfCodePoints = [] {
  std::array<char, kCodePointsEnd> bytes{};
  for (char& byte : bytes) byte = '?';
  for (char32_t c = 0; c < 0x80; ++c) bytes[c] = static_cast<char>(c);
  for (char32_t c = 0x0410; c <= 0x044F; ++c) bytes[c] = static_cast<char>(0xC0 + (c - 0x0410));
  for (size_t i = 0; i < kUpperHalf.size(); ++i) bytes[kUpperHalf[i]] = static_cast<char>(0x80 + i);
  return bytes;
}();

char Cp1251Byte(char32_t code_point) {
  return code_point < kCodePointsEnd ? kBytesOfCodePoints[code_point] : '?';
}

// The byte of every two-byte UTF-8 sequence C2 80 … DF BF, by (lead - C2) × 64 + (next - 80).
constexpr std::array<char, 30 * 64> kBytesOfPairs = [] {
  std::array<char, 30 * 64> bytes{};
  for (size_t i = 0; i < bytes.size(); ++i) {
    const auto code_point = static_cast<char32_t>(((0xC2 + i / 64) & 0x1F) << 6 | (i % 64));
    bytes[i] = code_point < kCodePointsEnd ? kBytesOfCodePoints[code_point] : '?';
  }
  return bytes;
}();

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

// The CP1251 byte of the two-byte character (C2 80 … DF BF) that starts at text[i]; 0 for any
// other sequence.
char TwoByteCharacterAt(const char* text, size_t i, size_t size) {
  if (i + 1 >= size) return 0;
  const auto lead = static_cast<unsigned char>(text[i]);
  const auto next = static_cast<unsigned char>(text[i + 1]);
  if (lead < 0xC2 || lead > 0xDF || !IsContinuation(next)) return 0;
  return kBytesOfPairs[(lead - 0xC2) * 64u + (next - 0x80u)];
}

}  // namespace

namespace {

constexpr uint64_t kAsciiHighBits = 0x8080808080808080u;

// The count of ASCII characters a chunk of eight starts with.
size_t LeadingAscii(uint64_t chunk) {
  const uint64_t high = chunk & kAsciiHighBits;
  if (high == 0) return 8;
  if constexpr (std::endian::native == std::endian::little) {
    return static_cast<size_t>(std::countr_zero(high) / 8);
  } else {
    return static_cast<size_t>(std::countl_zero(high) / 8);
  }
}

}  // namespace

char* PutCp1251(char* p, std::string_view utf8) {
  // Every character takes at least one byte and gives exactly one: the output never runs ahead of
  // the input, so a chunk of eight copied whole always fits.
  const char* text = utf8.data();
  const size_t size = utf8.size();
  size_t i = 0;
  while (i < size) {
    // Runs of ASCII, most of a report, sixteen characters a turn.
    for (; i + 16 <= size; i += 16, p += 16) {
      uint64_t first = 0;
      uint64_t second = 0;
      std::memcpy(&first, text + i, 8);
      std::memcpy(&second, text + i + 8, 8);
      if (((first | second) & kAsciiHighBits) != 0) break;
      std::memcpy(p, &first, 8);
      std::memcpy(p + 8, &second, 8);
    }
    if (i == size) break;
    if (i + 8 <= size) {
      uint64_t chunk = 0;
      std::memcpy(&chunk, text + i, 8);
      std::memcpy(p, &chunk, 8);  // ASCII characters are their own bytes
      const size_t ascii = LeadingAscii(chunk);
      p += ascii;
      i += ascii;
      if (ascii == 8) continue;
    } else if (static_cast<unsigned char>(text[i]) < 0x80) {
      *p++ = text[i++];
      continue;
    }
    for (char letter; (letter = TwoByteCharacterAt(text, i, size)) != 0; i += 2) *p++ = letter;
    if (i < size && static_cast<unsigned char>(text[i]) >= 0x80) {
      *p++ = Cp1251Byte(NextCodePoint(utf8, i));
    }
  }
  return p;
}

void AppendCp1251(std::string& out, std::string_view utf8) {
  const size_t start = out.size();
  out.resize(start + utf8.size());
  char* end = PutCp1251(out.data() + start, utf8);
  out.resize(static_cast<size_t>(end - out.data()));
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  AppendCp1251(out, utf8);
  return out;
}

namespace {

// The UTF-8 bytes of every CP1251 byte.
struct Utf8Bytes {
  char bytes[3] = {};
  uint8_t size = 0;
};
using Utf8Table = std::array<Utf8Bytes, 256>;
const Utf8Table& Utf8OfBytes() {
  static const Utf8Table table = [] {
    Utf8Table bytes{};
    for (size_t byte = 0; byte < bytes.size(); ++byte) {
      std::string utf8;
      AppendUtf8(utf8, Cp1251CodePoint(static_cast<unsigned char>(byte)));
      std::memcpy(bytes[byte].bytes, utf8.data(), utf8.size());  // at most 3: all below U+10000
      bytes[byte].size = static_cast<uint8_t>(utf8.size());
    }
    return bytes;
  }();
  return table;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
  const Utf8Table& table = Utf8OfBytes();
  // Written into room for the longest result, left uninitialised (a report read back is
  // megabytes), then copied once into the string.
  const std::unique_ptr<char[]> room(new char[3 * cp1251.size() + sizeof(Utf8Bytes::bytes) + 8]);
  char* p = room.get();
  const char* const text = cp1251.data();
  for (size_t i = 0; i < cp1251.size();) {
    if (i + 8 <= cp1251.size()) {  // ASCII, most of a report, up to eight characters a turn
      uint64_t chunk = 0;
      std::memcpy(&chunk, text + i, 8);
      std::memcpy(p, &chunk, 8);
      const size_t ascii = LeadingAscii(chunk);
      p += ascii;
      i += ascii;
      if (ascii == 8) continue;
    }
    const Utf8Bytes& u = table[static_cast<unsigned char>(text[i++])];
    std::memcpy(p, u.bytes, sizeof u.bytes);
    p += u.size;
  }
  return {room.get(), p};
}

size_t CharacterCount(std::string_view utf8) {
  size_t count = 0;
  for (char byte : utf8) {
    if (!IsContinuation(static_cast<unsigned char>(byte))) ++count;
  }
  return count;
}

}  // namespace armocalc
