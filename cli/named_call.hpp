#pragma once
// A method call assembled from named arguments, run with the caller's options, with the values
// of the by-reference parameters before and after the call.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.hpp"
#include "interface/call_frame.hpp"

namespace armocalc::cli {

class NamedCall {
 public:
  explicit NamedCall(const MethodInfo& method);

  const MethodInfo& Method() const noexcept { return *method_; }
  // Index of the parameter `name` (case-insensitive); error 448 when the method has none such,
  // error 5 when it was given already.
  int ParamIndex(std::string_view name) const;
  void Set(int index, Variant value);
  bool IsSet(int index) const { return values_[static_cast<size_t>(index)].has_value(); }

  // Runs the call. Omitted optionals are omitted; by-reference ones still report the value the
  // routine left in them (their default unless the routine changed it).
  struct Result {
    CallOutcome outcome;
    std::vector<Variant> after;                  // the caller's variables after the call
    std::vector<std::optional<Variant>> before;  // as passed, in the declared type if it converts
    bool Changed(size_t index) const;
  };
  Result Execute(const CallOptions& options);
  // Runs the call once, without the values before it: the values given move into `after`, the
  // caller's variables.
  CallOutcome Run(const CallOptions& options, std::vector<Variant>& after);

 private:
  CallOutcome RunOnce(const CallOptions& options, std::vector<Variant>& after);
  void WritePages(std::span<const std::string> reports, Result& result) const;

  const MethodInfo* method_;
  std::vector<std::optional<Variant>> values_;
};

// An error of the request itself (the call never starts): the runtime's number and a
// description of the standard text followed by the reason.
[[noreturn]] void RequestError(int number, std::string_view reason);

// Checks a decimal separator given by the user (error 5 when unusable), a report encoding
// name ("utf-8", "cp1251"; error 5 otherwise) and a report format name.
std::string CheckedSeparator(std::string_view separator);
ReportEncoding ParseReportEncoding(std::string_view name);
// "text" or "html"; error 5 otherwise.
ReportFormat ParseReportFormat(std::string_view name);

}  // namespace armocalc::cli
