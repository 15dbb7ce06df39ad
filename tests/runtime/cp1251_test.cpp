// The UTF-8 to CP1251 conversion against a plain character-by-character decoding: every code
// point at every offset of the eight-character chunks, and random bytes with malformed sequences.

#include "runtime/cp1251.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>

namespace armocalc {
namespace {

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// Byte of each code point of the code page, from the opposite conversion.
std::map<char32_t, char> CodePageBytes() {
  std::map<char32_t, char> bytes;
  for (int b = 0; b < 256; ++b) {
    const std::string utf8 = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
    char32_t c = 0;
    const auto lead = static_cast<unsigned char>(utf8[0]);
    if (utf8.size() == 1) c = lead;
    if (utf8.size() == 2) c = (lead & 0x1Fu) << 6 | (utf8[1] & 0x3F);
    if (utf8.size() == 3) c = (lead & 0x0Fu) << 12 | (utf8[1] & 0x3F) << 6 | (utf8[2] & 0x3F);
    bytes[c] = static_cast<char>(b);
  }
  return bytes;
}

// The byte-by-byte decoding: a well-formed character gives its byte or "?", any other byte "?".
std::string PlainConversion(const std::string& text, const std::map<char32_t, char>& bytes) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                    ? 1
                          : lead >= 0xC2 && lead <= 0xDF ? 2
                          : (lead & 0xF0) == 0xE0        ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 0;
    bool formed = length > 0 && i + length <= text.size();
    char32_t c = length == 1   ? lead
                 : length == 2 ? lead & 0x1Fu
                 : length == 3 ? lead & 0x0Fu
                               : lead & 0x07u;
    for (size_t k = 1; formed && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      formed = (next & 0xC0) == 0x80;
      c = c << 6 | (next & 0x3Fu);
    }
    const char32_t minimum = length == 3 ? 0x800 : length == 4 ? 0x10000 : 0;
    formed = formed && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!formed) {
      out += '?';
      ++i;
      continue;
    }
    const auto found = bytes.find(c);
    out += found == bytes.end() ? '?' : found->second;
    i += length;
  }
  return out;
}

TEST(Cp1251Conversion, EveryCodePointAtEveryChunkOffset) {
  const auto bytes = CodePageBytes();
  for (char32_t c = 1; c <= 0x10FFFF; c += (c < 0x3000 ? 1 : 97)) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    for (size_t offset = 0; offset < 18; offset += (c < 0x3000 ? 1 : 4)) {
      const std::string text = std::string(offset, 'a') + Utf8Of(c) + "Жb" + Utf8Of(c);
      ASSERT_EQ(Utf8ToCp1251(text), PlainConversion(text, bytes))
          << std::hex << static_cast<uint32_t>(c);
    }
  }
}

TEST(Cp1251Conversion, AsciiRunsOfEveryLengthBeforeAndAfterALetter) {
  const auto bytes = CodePageBytes();
  for (size_t before = 0; before < 40; ++before) {
    const std::string ascii(before, 'k');
    EXPECT_EQ(Utf8ToCp1251(ascii), ascii);
    for (size_t after = 0; after < 40; after += 7) {
      const std::string text = ascii + "ж" + std::string(after, '=');
      EXPECT_EQ(Utf8ToCp1251(text), PlainConversion(text, bytes)) << before << " " << after;
    }
  }
}

TEST(Cp1251Conversion, RandomBytesAndMixedText) {
  const auto bytes = CodePageBytes();
  std::mt19937_64 random(9);
  const std::string pieces[] = {"Расчёт ",
                                "k = 0,5 ",
                                "№",
                                "—",
                                "«",
                                "\xD0",
                                "\xE2\x80",
                                "\xFF",
                                "abcdefgh",
                                "\xC0\x80",
                                "\xED\xA0\x80",
                                "€",
                                "\xF4\x90\x80\x80"};
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    const uint64_t count = random() % 40;
    for (uint64_t k = 0; k < count; ++k) {
      if (random() % 3 == 0) {
        text += static_cast<char>(random() % 256);
      } else {
        text += pieces[random() % std::size(pieces)];
      }
    }
    std::string appended = "prefix";
    AppendCp1251(appended, text);
    ASSERT_EQ(appended, "prefix" + PlainConversion(text, bytes));
  }
}

TEST(Cp1251Conversion, ToUtf8OfMixedTextsIsEachBytesCharacterInTurn) {
  std::string character_of[256];
  for (int b = 0; b < 256; ++b)
    character_of[b] = Cp1251ToUtf8(std::string(1, static_cast<char>(b)));
  EXPECT_EQ(character_of[0xC0], "А");
  EXPECT_EQ(character_of[0xB9], "№");
  EXPECT_EQ(character_of[0x41], "A");
  std::mt19937_64 random(12);
  for (int i = 0; i < 20000; ++i) {
    // ASCII runs of every length with bytes of the upper half between them, as a report has.
    std::string text;
    const uint64_t count = random() % 48;
    for (uint64_t k = 0; k < count; ++k) {
      const bool upper = random() % 4 == 0;
      text += static_cast<char>(upper ? 0x80 + random() % 128 : 1 + random() % 127);
    }
    std::string expected;
    for (char byte : text) expected += character_of[static_cast<unsigned char>(byte)];
    ASSERT_EQ(Cp1251ToUtf8(text), expected);
    ASSERT_EQ(Utf8ToCp1251(expected), text);
  }
}

}  // namespace
}  // namespace armocalc
