// The command's texts for people, all read from the method table: the usage, the method list, one
// method's help and the Markdown reference docs/methods.md.

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>
#include <string>

#include "cli/cli.hpp"
#include "cli/json_values.hpp"
#include "interface/latin_names.hpp"
#include "runtime/text_case.hpp"
#include "runtime/version.hpp"

namespace armocalc::cli {
namespace {

constexpr std::string_view kReportParam = "Отчет";

std::string Padded(std::string_view text, size_t width) {
  std::string out(text);
  const size_t length = Utf8Length(text);
  if (length < width) out.append(width - length, ' ');
  return out;
}

std::string ResultTypeName(const MethodInfo& method) {
  return method.result == VarType::Double ? "Double" : "Variant";
}

std::string DispidText(int32_t dispid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(dispid));
  return text;
}

// A recorded default as the interface declares it: 3, -1, 0.0001, True.
std::string DefaultText(const Variant& value) {
  switch (value.Type()) {
    case VarType::Boolean:
      return value.Get<bool>() ? "True" : "False";
    case VarType::Single:
    case VarType::Double: {
      char text[32];
      std::snprintf(text, sizeof text, "%.15G", ToDouble(value));
      return text;
    }
    case VarType::String:
      return "\"" + value.Text() + "\"";
    default:
      return DumpLine(VariantToJson(value));
  }
}

std::string ModeText(const ParamInfo& param) {
  return param.mode == PassingMode::ByRef ? "ByRef" : "ByVal";
}

std::string PresenceText(const ParamInfo& param) {
  if (!param.optional) return "required";
  if (!param.default_value) return "optional";
  return "optional = " + DefaultText(*param.default_value);
}

std::string ParamLine(const ParamInfo& param, size_t name_width) {
  return "  " + Padded(param.name, name_width) + "  " + Padded(VarTypeName(param.type), 8) + " " +
         ModeText(param) + "  " + PresenceText(param);
}

size_t NameWidth(const MethodInfo& method) {
  size_t width = 0;
  for (const ParamInfo& param : method.params) width = std::max(width, Utf8Length(param.name));
  return width;
}

bool HasReport(const MethodInfo& method) {
  return FindParam(method, kReportParam) >= 0;
}

std::string OptionsSynopsis(bool report) {
  return std::string(report ? " [--report FILE]" : "") +
         " [--decimal-separator S] [--report-encoding utf-8|cp1251] [--report-format text|html]"
         " [--json]";
}

std::string ExampleCall(const MethodInfo& method) {
  return "armocalc " + std::string(method.name) + " " + std::string(method.example);
}

// "Fв (Fv)": the Latin spelling beside a name that has Cyrillic letters.
std::string NameWithLatin(std::string_view name) {
  const std::string latin = Transliterated(name);
  return latin == name ? std::string(name) : std::string(name) + " (" + latin + ")";
}

void HelpOfParam(std::ostringstream& text, const ParamInfo& param) {
  text << "  " << NameWithLatin(param.name) << "  " << VarTypeName(param.type) << ", "
       << ModeText(param) << ", " << PresenceText(param) << '\n';
  text << "      " << param.doc.meaning;
  if (!param.doc.unit.empty()) text << ", " << param.doc.unit;
  text << '\n';
  for (const CodeMeaning& code : param.doc.codes) {
    text << "      " << Padded(std::to_string(code.value), 3) << " " << code.meaning << '\n';
  }
}

// A table cell: a "|" would end the cell, a line break the row.
std::string Cell(std::string_view text) {
  std::string cell;
  for (const char c : text) {
    if (c == '|') {
      cell += "\\|";
    } else if (c == '\n') {
      cell += ' ';
    } else {
      cell += c;
    }
  }
  return cell;
}

// GitHub's heading anchor: lower case, blanks to "-", punctuation but "-" and "_" dropped.
std::string Anchor(std::string_view heading) {
  const std::string lower = ToLowerUtf8(heading);
  std::string anchor;
  for (const char c : lower) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || std::isalnum(byte) || c == '_' || c == '-') {
      anchor += c;
    } else if (c == ' ') {
      anchor += '-';
    }
  }
  return anchor;
}

void MarkdownParams(std::ostringstream& text, const MethodInfo& method) {
  text << "| # | parameter | Latin | type | mode | presence | meaning | unit |\n"
       << "|---|---|---|---|---|---|---|---|\n";
  size_t number = 0;
  for (const ParamInfo& param : method.params) {
    text << "| " << ++number << " | `" << param.name << "` | `" << Transliterated(param.name)
         << "` | " << VarTypeName(param.type) << " | " << ModeText(param) << " | "
         << Cell(PresenceText(param)) << " | " << Cell(param.doc.meaning) << " | "
         << Cell(param.doc.unit) << " |\n";
  }
  for (const ParamInfo& param : method.params) {
    if (param.doc.codes.empty()) continue;
    text << "\nCodes of `" << param.name << "`:\n\n";
    for (const CodeMeaning& code : param.doc.codes) {
      text << "- `" << code.value << "` — " << code.meaning << '\n';
    }
  }
}

void MarkdownMethod(std::ostringstream& text, const MethodInfo& method) {
  text << "\n## " << method.name << "\n\n"
       << method.summary << ".\n\n"
       << "- Latin spelling: `" << Transliterated(method.name) << "`\n"
       << "- dispatch id: `" << DispidText(method.dispid) << "`, result type "
       << ResultTypeName(method) << "\n"
       << "- result: " << method.result_meaning << "\n\n";
  MarkdownParams(text, method);
  text << "\nExample:\n\n    " << ExampleCall(method) << '\n';
}

}  // namespace

std::string VersionText() {
  return "armocalc " + std::string(kArmocalcVersion) + '\n';
}

std::string UsageText() {
  return "Usage:\n"
         "  armocalc methods [--json | --markdown]\n"
         "      List the methods with their parameters, types, passing modes and defaults\n"
         "      (--json: the whole method table as JSON, for tools; --markdown: the reference\n"
         "      docs/methods.md).\n"
         "  armocalc METHOD [NAME=VALUE ...] [--report FILE] [--decimal-separator S]\n"
         "                  [--report-encoding utf-8|cp1251] [--report-format text|html] [--json]\n"
         "      Call one method; print its result with its meaning, the verdict of a margin,\n"
         "      the by-reference parameters it changed and the report files written\n"
         "      (--json: the protocol's answer line instead).\n"
         "  armocalc METHOD --help\n"
         "      Describe the method: its parameters with meanings, units and codes, an example.\n"
         "  armocalc call [--jobs N] [--summary] [--decimal-separator S]\n"
         "                [--report-encoding utf-8|cp1251] [--report-format text|html]\n"
         "      Answer JSON Lines requests from standard input, one answer line per request:\n"
         "        {\"method\": \"...\", \"args\": {\"NAME\": VALUE, ...},"
         " \"decimal_separator\": \",\", \"report_encoding\": \"utf-8\"}\n"
         "      -> {\"result\": ..., \"hresult\": 0, \"error\": null, \"byref\": {...}}\n"
         "      An \"id\" (any JSON value) in a request comes back first in its answer.\n"
         "      --jobs N computes the answers on N threads (0: one per core), still in input\n"
         "      order. --summary (always on a terminal) prints the counts of answers and errors\n"
         "      and the time taken to standard error. Exit status 1 when a request failed.\n"
         "  armocalc csv METHOD [FILE|-] [--governing] [--group COLUMN] [--output FILE] ...\n"
         "      Call the method for every row of a CSV file (armocalc csv --help).\n"
         "  armocalc diagram METHOD NAME=VALUE ... --svg FILE [--json FILE|--json] [--forces CSV]\n"
         "      The N–M interaction diagram of мтПрочностьB, мтПрочностьТB or мтПрочностьКругаB.\n"
         "  armocalc --version\n"
         "\n"
         "A VALUE is read as JSON when it is JSON (a number with \".\", true, false, null for\n"
         "Empty, a Range as an array of rows of cells: [[1,0.05,16],[2,-0.05,16]]), otherwise\n"
         "as a text (a text number uses the decimal separator). Names ignore letter case and\n"
         "answer to their Latin spelling too (Fв: Fv, КлассБетона: KlassBetona).\n"
         "--report FILE sets the report path (Отчет; 4 characters or fewer: no report);\n"
         "reports are written in CP1251 unless --report-encoding utf-8 is given.\n"
         "--decimal-separator overrides the locale's.\n"
         "--report-format html also writes an HTML page beside each report (FILE.html).\n"
         "\n"
         "Exit status of a call: 0 success, 1 run-time error, 2 usage error.\n";
}

std::string MethodListText() {
  std::ostringstream text;
  bool first = true;
  for (const MethodInfo& method : Methods()) {
    if (!first) text << '\n';
    first = false;
    text << method.name << " (" << DispidText(method.dispid) << ") -> " << ResultTypeName(method)
         << "  " << method.summary << '\n';
    const size_t width = NameWidth(method);
    for (const ParamInfo& param : method.params) text << ParamLine(param, width) << '\n';
  }
  return text.str();
}

std::string MethodHelpText(const MethodInfo& method) {
  std::ostringstream text;
  text << NameWithLatin(method.name) << ": " << method.summary << '\n'
       << "Result: " << ResultTypeName(method) << ", " << method.result_meaning << '\n'
       << "Dispatch id " << DispidText(method.dispid)
       << (method.routine ? "" : " (not implemented yet)") << "\n\n"
       << "Usage: armocalc " << method.name << " [NAME=VALUE ...]"
       << OptionsSynopsis(HasReport(method)) << "\n\nParameters, in order:\n";
  for (const ParamInfo& param : method.params) HelpOfParam(text, param);
  text << "\nExample:\n  " << ExampleCall(method) << '\n'
       << "\nOmitted optional parameters take their default (else 0, False or an empty text).\n"
          "ByRef parameters that the call changes are printed after the result.\n";
  return text.str();
}

std::string MethodListMarkdown() {
  std::ostringstream text;
  text << "# The methods of ClassBrige\n\n"
       << "Generated from the method table (`interface/method_table.cpp`) by "
          "`armocalc methods --markdown`;\n"
          "do not edit. Regenerate with `build/default/armocalc methods --markdown > "
          "docs/methods.md`.\n\n"
          "Every name also answers to its Latin spelling on the command line and in the JSON\n"
          "protocol; letter case is ignored. Omitted optional parameters take their default\n"
          "(else 0, False or an empty text).\n\n";
  for (const MethodInfo& method : Methods()) {
    text << "- [" << method.name << "](#" << Anchor(method.name) << ") — " << method.summary
         << '\n';
  }
  for (const MethodInfo& method : Methods()) MarkdownMethod(text, method);
  return text.str();
}

}  // namespace armocalc::cli
