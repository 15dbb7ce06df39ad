#pragma once
// Text pieces of the HTML pages and SVG pictures: escaping, short numbers, elements.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace armocalc::cli {

// The text with &, <, >, " and ' written as character references; usable in element content
// and in quoted attribute values. Invalid UTF-8 bytes become U+FFFD.
std::string HtmlEscape(std::string_view text);
// The same appended to `out`.
void AppendHtmlEscaped(std::string& out, std::string_view text);

// A number with 4 significant digits ("0.06538", "1.2E+05"), the decimal point replaced by
// `separator`; "—" for a value that is not finite.
std::string ShortNumber(double value, std::string_view separator);

// A pixel coordinate with at most two decimals and a point ("12.5").
std::string PixelText(double value);

using Attributes = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// An empty element: <name a="v" .../>, the values escaped.
std::string SvgElement(std::string_view name, Attributes attributes);
// A text element at (x, y) with the anchor "start", "middle" or "end".
std::string SvgText(double x, double y, std::string_view anchor, std::string_view text);
// The opening tag of an inline SVG picture of that size in pixels.
std::string SvgOpening(double width, double height, std::string_view css_class);

}  // namespace armocalc::cli
