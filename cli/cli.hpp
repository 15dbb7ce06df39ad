#pragma once
// The armocalc command: a method listing, single calls from the command line, and the JSON Lines
// protocol that other tools drive (one request per input line, one answer per output line).

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interface/method_table.hpp"
#include "kernel/row_list.hpp"

namespace armocalc::cli {

// The text report alone, or also an HTML page beside it (same path + ".html").
enum class ReportFormat : uint8_t { Text, Html };

// Settings that apply to a call on top of the user's environment.
struct CallOptions {
  std::optional<std::string> decimal_separator;              // overrides the locale's separator
  std::optional<ReportEncoding> report_encoding;             // CP1251 unless set
  std::optional<ReportFormat> report_format = std::nullopt;  // text unless set
};

// The answer line (JSON, no line end) to one request line of the protocol. Never throws.
std::string AnswerRequest(std::string_view line, const CallOptions& defaults);
// Appends that answer to `out`; returns its error number, 0 on success. Never throws.
int AppendRequestAnswer(std::string& out, std::string_view line, const CallOptions& defaults);

// Answers every non-blank line of `in` in order (see cli/batch.hpp for batches with jobs).
void ServeJsonLines(std::istream& in, std::ostream& out, const CallOptions& defaults);

std::string UsageText();
std::string MethodListText();
// The method table as one line of JSON: names, Latin spellings, types, modes, defaults,
// meanings, units and codes.
std::string MethodListJson();
std::string MethodHelpText(const MethodInfo& method);
// The reference docs/methods.md: every method with its parameters, codes and an example.
std::string MethodListMarkdown();
std::string VersionText();

// The command with its arguments (without the program name); returns the exit status:
// 0 success, 1 run-time error of the called method, 2 usage error.
int Run(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
        std::ostream& err);
int Main(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err);

}  // namespace armocalc::cli
