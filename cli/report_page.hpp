#pragma once
// The HTML page written beside a text report (same path + ".html", UTF-8, self-contained): the
// report's lines with its numbered sections as headings and its formulas in monospace, the
// inputs with their units, the result with its verdict and the sketch of the section.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/named_call.hpp"

namespace armocalc::cli {

// "обеспечена" / "не обеспечена" for a margin result: method 0 passes at a ratio ≥ 1, methods
// 1–3 at a margin ≥ 0; nullopt when the result is no margin (another method code, a text).
std::optional<bool> MarginPasses(const MethodInfo& method, const NamedCall::Result& done);

// The whole page for one report: `lines` as read back from the text report.
std::string ReportPageHtml(const MethodInfo& method, const NamedCall::Result& done,
                           std::span<const std::string> lines, std::string_view separator);

// Writes "<report>.html" beside each of the `reports` the call wrote (as the row list noted
// them while the call ran); the runtime's file errors.
void WriteReportPages(const MethodInfo& method, const NamedCall::Result& done,
                      std::span<const std::string> reports);

}  // namespace armocalc::cli
