#include "cli/report_page.hpp"

#include "cli/html_text.hpp"
#include "cli/section_sketch.hpp"
#include "kernel/report_file.hpp"
#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/host.hpp"

namespace armocalc::cli {
namespace {

constexpr std::string_view kMarginParams[] = {"МетодОпределенияЗапаса", "МетодЗапаса"};
constexpr int32_t kMaxShownRows = 200;

constexpr std::string_view kStyle =
    "body{font-family:'DejaVu Sans','Liberation Sans',sans-serif;margin:24px;color:#222;"
    "max-width:1100px}"
    "h1{font-size:20px}h2{font-size:17px;margin:18px 0 6px}h3{font-size:15px;margin:12px 0 4px}"
    ".line{margin:2px 0;white-space:pre-wrap;tab-size:4}"
    ".formula{overflow-x:auto}"
    ".formula code{font-family:'DejaVu Sans Mono','Liberation Mono',monospace;"
    "white-space:pre;font-size:13px}"
    ".title{font-weight:bold}"
    "table.inputs{border-collapse:collapse;margin:8px 0}"
    "table.inputs td,table.inputs th{border:1px solid #bbb;padding:2px 8px;text-align:left;"
    "vertical-align:top}"
    ".verdict{font-weight:bold;font-size:16px}.pass{color:#1e7b34}.fail{color:#b3261e}"
    "figure{margin:12px 0}";

const Variant* ValueOf(const MethodInfo& method, const NamedCall::Result& done,
                       std::string_view name) {
  const int index = FindParam(method, name);
  if (index < 0 || static_cast<size_t>(index) >= done.after.size()) return nullptr;
  return &done.after[static_cast<size_t>(index)];
}

std::string ValueText(const Variant& value) {
  try {
    return ToText(value);
  } catch (const RuntimeError&) {
    return std::string();
  }
}

std::string RangeText(const HostRange& range) {
  std::string text;
  const int32_t rows = std::min(range.RowsCount(), kMaxShownRows);
  const int32_t columns = std::min(range.ColumnsCount(), 16);
  for (int32_t row = 1; row <= rows; ++row) {
    if (row > 1) text += "\n";
    for (int32_t column = 1; column <= columns; ++column) {
      if (column > 1) text += " | ";
      text += ValueText(range.Cell(row, column));
    }
  }
  if (range.RowsCount() > rows) text += "\n…";
  return text;
}

// The value the call took: as passed, or the default of an omitted optional.
std::string InputText(const ParamInfo& param, const NamedCall::Result& done, size_t index) {
  const Variant& given = done.before[index] ? *done.before[index] : done.after[index];
  if (given.Type() == VarType::Range) {
    return given.Range() ? RangeText(*given.Range()) : std::string("Nothing");
  }
  if (!done.before[index] && given.IsEmpty()) {
    return ValueText(DefaultArgument(param)) + " (по умолчанию)";
  }
  return ValueText(given);
}

std::string InputsTable(const MethodInfo& method, const NamedCall::Result& done) {
  std::string html =
      "<table class=\"inputs\">\n<tr><th>параметр</th><th>значение</th><th>единица</th>"
      "<th>смысл</th></tr>\n";
  for (size_t i = 0; i < method.params.size(); ++i) {
    const ParamInfo& param = method.params[i];
    std::string value = HtmlEscape(InputText(param, done, i));
    for (size_t at = value.find('\n'); at != std::string::npos; at = value.find('\n', at)) {
      value.replace(at, 1, "<br>");
    }
    html += "<tr><td>" + HtmlEscape(param.name) + "</td><td>" + value + "</td><td>" +
            HtmlEscape(param.doc.unit) + "</td><td>" + HtmlEscape(param.doc.meaning) +
            "</td></tr>\n";
  }
  return html + "</table>\n";
}

std::string ResultBlock(const MethodInfo& method, const NamedCall::Result& done) {
  std::string html = "<h2>Результат</h2>\n<p class=\"result\">" +
                     HtmlEscape(ValueText(done.outcome.result)) + " — " +
                     HtmlEscape(method.result_meaning) + "</p>\n";
  if (const auto passes = MarginPasses(method, done)) {
    html += *passes ? "<p class=\"verdict pass\">Вывод: обеспечена</p>\n"
                    : "<p class=\"verdict fail\">Вывод: не обеспечена</p>\n";
  }
  return html;
}

bool IsNumberedHeading(std::string_view line) {
  size_t digits = 0;
  while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
  return digits > 0 && line.substr(digits).starts_with(". ");
}

// Where the formula of a line begins: the symbol before its first " = ", or npos.
size_t FormulaStart(std::string_view line) {
  const size_t equals = line.find(" = ");
  if (equals == std::string_view::npos) return std::string_view::npos;
  size_t start = equals;
  while (start > 0 && line[start - 1] != ' ' && line[start - 1] != '\t') --start;
  return start;
}

// An element: its opening tag, the escaped text and what closes it.
void AppendElement(std::string& html, std::string_view opening, std::string_view text,
                   std::string_view closing) {
  html += opening;
  AppendHtmlEscaped(html, text);
  html += closing;
}

// One report line as one element whose text is the line itself.
void AppendLineHtml(std::string& html, std::string_view line, bool& title_seen) {
  if (line.empty()) {
    html += "<p class=\"line empty\"></p>\n";
    return;
  }
  if (line.front() != '\t') {
    if (!title_seen) {
      title_seen = true;
      return AppendElement(html, "<p class=\"line title\">", line, "</p>\n");
    }
    if (IsNumberedHeading(line)) return AppendElement(html, "<h2 class=\"line\">", line, "</h2>\n");
    return AppendElement(html, "<h3 class=\"line\">", line, "</h3>\n");
  }
  const size_t start = FormulaStart(line);
  if (start == std::string_view::npos) {
    return AppendElement(html, "<p class=\"line text\">", line, "</p>\n");
  }
  AppendElement(html, "<p class=\"line formula\">", line.substr(0, start), "<code>");
  AppendElement(html, "", line.substr(start), "</code></p>\n");
}

std::string SketchFigure(const MethodInfo& method, const NamedCall::Result& done,
                         std::span<const std::string> lines, std::string_view separator) {
  auto sketch = SketchOfCall(method, done.after);
  if (!sketch) return std::string();
  if (sketch->outline == SectionSketch::Outline::Rectangle) {
    sketch->zone_height = ZoneHeightFromReport(lines, separator);
  }
  return "<h2>Сечение</h2>\n<figure class=\"sketch\">\n" + SketchSvg(*sketch, separator) +
         "</figure>\n";
}

// The page's lines, the text between its line breaks, for the report file writer.
class PageLines final : public ReportLines {
 public:
  explicit PageLines(std::string_view text) {
    size_t start = 0;
    for (size_t end = text.find('\n'); end != std::string_view::npos;
         end = text.find('\n', start)) {
      lines_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    if (start < text.size()) lines_.push_back(text.substr(start));
  }
  size_t Count() const override { return lines_.size(); }
  std::string_view At(size_t index) const override { return lines_[index]; }

 private:
  std::vector<std::string_view> lines_;
};

// The report's lines as its file holds them, in the call's report encoding, without the empty
// line after the final line break.
std::span<const std::string> ReportLinesOf(const vbСписок& report) {
  std::span<const std::string> lines = report.Строки();
  if (!lines.empty() && lines.back().empty()) lines = lines.first(lines.size() - 1);
  return lines;
}

// Written as a row list of the page's lines is written, each line ended by CR LF.
void WritePage(const std::string& path, const std::string& html) {
  const ScopedReportEncoding utf8(ReportEncoding::Utf8);
  const PageLines lines(html);
  WriteReportFile(path, *EncodedLines(lines, nullptr));
}

}  // namespace

std::optional<bool> MarginPasses(const MethodInfo& method, const NamedCall::Result& done) {
  const Variant& result = done.outcome.result;
  if (!done.outcome.Succeeded() || !result.IsNumeric() || result.Type() == VarType::Boolean) {
    return std::nullopt;
  }
  for (const std::string_view name : kMarginParams) {
    const Variant* code = ValueOf(method, done, name);
    if (!code) continue;
    const double method_code = ToDouble(*code);
    const double value = ToDouble(result);
    if (method_code == 0) return value >= 1;
    if (method_code >= 1 && method_code <= 3) return value >= 0;
    return std::nullopt;
  }
  return std::nullopt;
}

std::string ReportPageHtml(const MethodInfo& method, const NamedCall::Result& done,
                           std::span<const std::string> lines, std::string_view separator) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
      HtmlEscape(method.name) + " — " + HtmlEscape(method.summary) + "</title>\n<style>" +
      std::string(kStyle) + "</style>\n</head>\n<body>\n";
  html += "<h1>" + HtmlEscape(method.name) + " — " + HtmlEscape(method.summary) + "</h1>\n";
  html += ResultBlock(method, done);
  html += SketchFigure(method, done, lines, separator);
  html += "<h2>Исходные данные</h2>\n" + InputsTable(method, done);
  html += "<h2>Отчёт</h2>\n<div class=\"report\">\n";
  bool title_seen = false;
  for (const std::string& line : lines) AppendLineHtml(html, line, title_seen);
  html += "</div>\n</body>\n</html>\n";
  return html;
}

void WriteReportPages(const MethodInfo& method, const NamedCall::Result& done,
                      std::span<const std::string> reports) {
  if (!done.outcome.Succeeded()) return;
  const std::string separator = РазделительДробнойЧасти();
  for (const std::string& report : reports) {
    vbСписок read_back;
    read_back.Загрузить(report);
    WritePage(report + ".html", ReportPageHtml(method, done, ReportLinesOf(read_back), separator));
  }
}

}  // namespace armocalc::cli
