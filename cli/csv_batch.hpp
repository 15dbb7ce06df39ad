#pragma once
// `armocalc csv METHOD`: one call a row of a CSV file whose header names the method's
// parameters, answered in the same dialect with the result, the error and the values the method
// wrote back; optionally the governing (smallest-result) row of each group.

#include <iosfwd>
#include <string>
#include <vector>

namespace armocalc::cli {

// Output columns appended to the rows read.
inline constexpr std::string_view kResultColumn = "Результат";
inline constexpr std::string_view kErrorNumberColumn = "Номер ошибки";
inline constexpr std::string_view kErrorTextColumn = "Текст ошибки";
inline constexpr std::string_view kReportFileColumn = "Файл отчета";
inline constexpr std::string_view kAfterSuffix = " (после)";  // "Fв (после)"
// Columns of the governing rows' table.
inline constexpr std::string_view kRowNumberColumn = "Строка";
inline constexpr std::string_view kGroupRowsColumn = "Строк в группе";
inline constexpr std::string_view kGroupFailuresColumn = "Ошибок в группе";

// `args` are the command's arguments after "csv". Exit status: 0 every row answered without
// error, 1 some row failed, 2 usage error or an input that cannot be read as a table.
int RunCsv(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

std::string CsvUsageText();

}  // namespace armocalc::cli
