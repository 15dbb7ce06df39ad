#include "cli/html_text.hpp"

#include <array>
#include <cmath>
#include <cstdio>

#include "runtime/text_case.hpp"

namespace armocalc::cli {
namespace {

constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// The text written for a byte that is not copied: the markup characters, the zero byte and a
// byte that begins no valid UTF-8 sequence.
std::string_view EscapeOf(unsigned char byte) {
  switch (byte) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\'':
      return "&#39;";
    default:
      return kReplacementCharacter;
  }
}

// The ASCII bytes that are copied as they are.
constexpr std::array<bool, 128> kPlainAscii = [] {
  std::array<bool, 128> plain{};
  for (size_t c = 1; c < plain.size(); ++c) {  // the zero byte is not plain
    plain[c] = std::string_view("&<>\"'").find(static_cast<char>(c)) == std::string_view::npos;
  }
  return plain;
}();

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  AppendHtmlEscaped(out, text);
  return out;
}

void AppendHtmlEscaped(std::string& out, std::string_view text) {
  size_t plain_from = 0;  // the text from here up to i is copied as it is
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80 && kPlainAscii[byte]) {
      ++i;
      continue;
    }
    if (byte >= 0xC2 && byte <= 0xDF && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      i += 2;  // a letter of two bytes (Cyrillic), most of a report's, read here without a call
      continue;
    }
    if (byte >= 0x80) {
      const CodePoint character = DecodeUtf8(text, i);
      if (character.valid) {
        i += character.length;
        continue;
      }
    }
    out.append(text, plain_from, i - plain_from);
    out += EscapeOf(byte);
    plain_from = ++i;
  }
  out.append(text, plain_from);
}

std::string ShortNumber(double value, std::string_view separator) {
  if (!std::isfinite(value)) return "—";
  char text[32];
  std::snprintf(text, sizeof text, "%.4G", value == 0 ? 0.0 : value);
  std::string out;
  for (const char* c = text; *c; ++c) {
    if (*c == '.') {
      out += separator;
    } else {
      out += *c;
    }
  }
  return out;
}

std::string PixelText(double value) {
  if (!std::isfinite(value)) value = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  if (out == "-0") out = "0";
  return out;
}

std::string SvgElement(std::string_view name, Attributes attributes) {
  std::string out = "<" + std::string(name);
  for (const auto& [key, value] : attributes) {
    out += ' ';
    out += key;
    out += "=\"";
    out += HtmlEscape(value);
    out += '"';
  }
  out += "/>\n";
  return out;
}

std::string SvgText(double x, double y, std::string_view anchor, std::string_view text) {
  return "<text x=\"" + PixelText(x) + "\" y=\"" + PixelText(y) + "\" text-anchor=\"" +
         std::string(anchor) + "\">" + HtmlEscape(text) + "</text>\n";
}

std::string SvgOpening(double width, double height, std::string_view css_class) {
  const std::string w = PixelText(std::ceil(width));
  const std::string h = PixelText(std::ceil(height));
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"" + std::string(css_class) +
         "\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h +
         "\" font-family=\"DejaVu Sans, Liberation Sans, sans-serif\" font-size=\"12\">\n";
}

}  // namespace armocalc::cli
