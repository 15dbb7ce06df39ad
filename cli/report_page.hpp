#pragma once
// The HTML page written beside a text report (same path + ".html", UTF-8, self-contained): the
// report's lines with its numbered sections as headings and its formulas in monospace, the
// inputs with their units, the result with its verdict and the sketch of the section.

#include <filesystem>
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

// The report files a call may write (its Отчет and the "Stress-" file beside it), noted before
// the call so that only the files the call wrote get a page.
class ReportPages {
 public:
  ReportPages(const MethodInfo& method, const std::optional<Variant>& report_argument);
  // Writes "<report>.html" beside each report the call wrote; the runtime's file errors.
  void Write(const MethodInfo& method, const NamedCall::Result& done) const;

 private:
  struct Watched {
    std::string path;
    std::optional<std::filesystem::file_time_type> before;
  };
  std::vector<Watched> watched_;
};

}  // namespace armocalc::cli
