#include "cli/named_call.hpp"

#include <array>
#include <string>

#include "cli/report_page.hpp"
#include "interface/latin_names.hpp"
#include "kernel/row_list.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc::cli {
namespace {

std::optional<Variant> TryCoerce(const Variant& value, VarType type) {
  try {
    return CoerceTo(value, type);
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

// Punctuation outside ASCII that the 8-bit report code page can hold and that reads as neither
// a letter, a sign, a dash nor a blank in a printed number.
constexpr std::string_view kWideSeparators[] = {
    "\u201A", "\u201E", "\u2026", "\u2020", "\u2021", "\u2030", "\u2039", "\u203A",
    "\u2018", "\u2019", "\u201C", "\u201D", "\u2022", "\u00A6", "\u00A7", "\u00A9",
    "\u00AB", "\u00AE", "\u00B0", "\u00B6", "\u00B7", "\u00BB"};

bool IsAsciiSeparator(unsigned char c) {
  const bool printable = c > ' ' && c < 0x7F;
  const bool alphanumeric =
      (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  return printable && !alphanumeric && c != '+' && c != '-';
}

// A separator sits inside every number of a report: a digit, a sign, a letter (E), a blank or a
// control character there would make the printed numbers misread or unreadable.
bool IsUsableSeparator(std::string_view separator) {
  if (separator.size() == 1) return IsAsciiSeparator(static_cast<unsigned char>(separator[0]));
  for (const std::string_view wide : kWideSeparators) {
    if (separator == wide) return true;
  }
  return false;
}

}  // namespace

void RequestError(int number, std::string_view reason) {
  throw RuntimeError(number, ErrorDescription(number) + ": " + std::string(reason));
}

std::string CheckedSeparator(std::string_view separator) {
  if (!IsUsableSeparator(separator)) {
    RequestError(kInvalidProcedureCall,
                 "a decimal separator is one character other than a digit, a sign, a letter, a "
                 "blank or a control character");
  }
  return std::string(separator);
}

ReportEncoding ParseReportEncoding(std::string_view name) {
  if (EqualsIgnoreCase(name, "utf-8") || EqualsIgnoreCase(name, "utf8")) {
    return ReportEncoding::Utf8;
  }
  if (EqualsIgnoreCase(name, "cp1251") || EqualsIgnoreCase(name, "windows-1251")) {
    return ReportEncoding::Cp1251;
  }
  RequestError(kInvalidProcedureCall, "the report encoding is utf-8 or cp1251");
}

ReportFormat ParseReportFormat(std::string_view name) {
  if (EqualsIgnoreCase(name, "text")) return ReportFormat::Text;
  if (EqualsIgnoreCase(name, "html")) return ReportFormat::Html;
  RequestError(kInvalidProcedureCall, "the report format is text or html");
}

NamedCall::NamedCall(const MethodInfo& method) : method_(&method), values_(method.params.size()) {}

int NamedCall::ParamIndex(std::string_view name) const {
  const int index = LookUpParam(*method_, name);
  if (index < 0) {
    RequestError(kNamedArgumentNotFound,
                 "'" + std::string(name) + "' is no parameter of " + std::string(method_->name));
  }
  if (IsSet(index)) {
    RequestError(kInvalidProcedureCall,
                 "parameter '" + std::string(method_->params[index].name) + "' is given twice");
  }
  return index;
}

void NamedCall::Set(int index, Variant value) {
  values_[static_cast<size_t>(index)] = std::move(value);
}

// A page that cannot be written fails the call as a report file that cannot be written does.
void NamedCall::WritePages(std::span<const std::string> reports, Result& result) const {
  try {
    WriteReportPages(*method_, result, reports);
  } catch (const RuntimeError& e) {
    result.outcome.hresult = HresultOf(e.Number());
    result.outcome.error_number = e.Number();
    result.outcome.description = e.what();
    result.outcome.result = method_->result == VarType::Double ? Variant(0.0) : Variant();
  }
}

bool NamedCall::Result::Changed(size_t index) const {
  return !before[index] || !(*before[index] == after[index]);
}

NamedCall::Result NamedCall::Execute(const CallOptions& options) {
  // A text number reads with the call's separator; the pages read the reports in their encoding.
  std::optional<ScopedDecimalSeparator> separator;
  if (options.decimal_separator) separator.emplace(*options.decimal_separator);
  std::optional<ScopedReportEncoding> encoding;
  if (options.report_encoding) encoding.emplace(*options.report_encoding);
  Result result;
  result.before.resize(method_->params.size());
  for (size_t i = 0; i < method_->params.size(); ++i) {
    const ParamInfo& param = method_->params[i];
    if (values_[i]) {
      result.before[i] = TryCoerce(*values_[i], param.type);
    } else if (param.mode == PassingMode::ByRef && param.optional) {
      result.before[i] = DefaultArgument(param);
    }
  }
  if (options.report_format != ReportFormat::Html || FindParam(*method_, "Отчет") < 0) {
    result.outcome = RunOnce(options, result.after);
    return result;
  }
  // The reports this call wrote, as the row list notes them: a file's time stamp may not change
  // between two quick writes.
  std::vector<std::string> reports;
  {
    const WrittenFiles written;
    result.outcome = RunOnce(options, result.after);
    reports = written.Paths();
  }
  for (const std::string& report : reports) WrittenFiles::Note(report);  // the caller's record
  WritePages(reports, result);
  return result;
}

CallOutcome NamedCall::Run(const CallOptions& options, std::vector<Variant>& after) {
  if (options.report_format == ReportFormat::Html) {
    // The pages need the values before the call and its outcome.
    Result result = Execute(options);
    after = std::move(result.after);
    return result.outcome;
  }
  return RunOnce(options, after);
}

CallOutcome NamedCall::RunOnce(const CallOptions& options, std::vector<Variant>& after) {
  std::optional<ScopedDecimalSeparator> separator;
  if (options.decimal_separator) separator.emplace(*options.decimal_separator);
  std::optional<ScopedReportEncoding> encoding;
  if (options.report_encoding) encoding.emplace(*options.report_encoding);

  const auto& params = method_->params;
  after.resize(params.size());
  std::array<Argument, kMaxParams> args{};
  if (params.size() > args.size()) return Invoke(*method_, {});  // answers the frame's error
  for (size_t i = 0; i < params.size(); ++i) {
    const ParamInfo& param = params[i];
    if (values_[i]) {
      after[i] = std::move(*values_[i]);
    } else if (param.mode == PassingMode::ByRef && param.optional) {
      // The frame would load the same default into an omitted one; passing it lets the caller
      // see what the routine left there.
      after[i] = DefaultArgument(param);
    } else {
      after[i] = Variant();
      continue;
    }
    args[i].value = &after[i];
  }
  return Invoke(*method_, std::span<Argument>(args.data(), params.size()));
}

}  // namespace armocalc::cli
