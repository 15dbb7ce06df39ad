#include "cli/csv_batch.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <limits>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/csv_dialect.hpp"
#include "cli/hints.hpp"
#include "cli/json_values.hpp"
#include "cli/named_call.hpp"
#include "cli/single_call.hpp"
#include "interface/latin_names.hpp"
#include "kernel/row_list.hpp"
#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc::cli {
namespace {

using csv::Dialect;
using csv::Row;
using csv::Table;

constexpr int kExitSuccess = 0;
constexpr int kExitRowFailed = 1;
constexpr int kExitUsage = 2;
constexpr const char* kCsvHelp = "armocalc csv --help";
constexpr std::string_view kReportParam = "Отчет";
constexpr size_t kFailedRowsListed = 10;

struct CsvOptions {
  const MethodInfo* method = nullptr;
  std::string input = "-";
  csv::DialectChoice dialect;
  bool governing = false;
  std::optional<std::string> group;
  std::optional<std::string> output;
  std::optional<std::string> report_template;
  std::optional<ReportEncoding> report_encoding;
};

// ---------------------------------------------------------------- command line

char DelimiterOption(const std::string& value) {
  if (value == "tab" || value == "\\t" || value == "\t") return '\t';
  const bool usable = value.size() == 1 && value[0] > ' ' && value[0] < 0x7F &&
                      !std::isalnum(static_cast<unsigned char>(value[0])) && value[0] != '"' &&
                      value[0] != '.';
  if (!usable) throw UsageError{"--delimiter is one character such as ';' ',' '|' or tab"};
  return value[0];
}

char DecimalOption(const std::string& value) {
  if (value != "," && value != ".") throw UsageError{"--decimal-separator is ',' or '.'"};
  return value[0];
}

bool TakeDialectOption(const std::vector<std::string>& args, size_t& i, CsvOptions& options) {
  std::string value;
  if (TakeOption(args, i, "--delimiter", value)) {
    options.dialect.delimiter = DelimiterOption(value);
  } else if (TakeOption(args, i, "--decimal-separator", value)) {
    options.dialect.decimal_separator = DecimalOption(value);
  } else if (TakeOption(args, i, "--encoding", value)) {
    options.dialect.encoding = csv::ParseTextEncoding(value);
    if (!options.dialect.encoding) {
      throw UsageError{"--encoding is utf-8, utf-8-bom or cp1251"};
    }
  } else {
    return false;
  }
  return true;
}

bool TakeBatchOption(const std::vector<std::string>& args, size_t& i, CsvOptions& options) {
  std::string value;
  if (args[i] == "--governing") {
    options.governing = true;
  } else if (TakeOption(args, i, "--group", value)) {
    options.group = value;
    options.governing = true;
  } else if (TakeOption(args, i, "--output", value) || TakeOption(args, i, "-o", value)) {
    options.output = value;
  } else if (TakeOption(args, i, "--report-template", value)) {
    options.report_template = value;
  } else if (TakeOption(args, i, "--report-encoding", value)) {
    try {
      options.report_encoding = ParseReportEncoding(value);
    } catch (const RuntimeError& e) {
      throw UsageError{e.what()};
    }
  } else {
    return false;
  }
  return true;
}

CsvOptions ParseOptions(const std::vector<std::string>& args) {
  if (args.empty()) throw UsageError{"csv needs a METHOD"};
  CsvOptions options;
  options.method = LookUpMethod(args[0]);
  if (!options.method) {
    throw UsageError{"unknown method '" + args[0] + "'", MethodNameHint(args[0]), kCsvHelp};
  }
  bool input_given = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (TakeDialectOption(args, i, options) || TakeBatchOption(args, i, options)) continue;
    const bool file = args[i] == "-" || !args[i].starts_with("-");
    if (!file || input_given) throw UsageError{"unexpected argument '" + args[i] + "'"};
    options.input = args[i];
    input_given = true;
  }
  const auto& dialect = options.dialect;
  if (dialect.delimiter && dialect.decimal_separator &&
      *dialect.delimiter == *dialect.decimal_separator) {
    throw UsageError{"the delimiter and the decimal separator must differ"};
  }
  if (options.report_template && FindParam(*options.method, kReportParam) < 0) {
    throw UsageError{std::string(options.method->name) + " writes no report"};
  }
  return options;
}

// ---------------------------------------------------------------- columns

std::string_view TrimmedCell(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// The column of that header name: exact first, then ignoring letter case.
std::optional<size_t> FindColumn(const Row& header, std::string_view name) {
  for (size_t i = 0; i < header.size(); ++i) {
    if (TrimmedCell(header[i]) == name) return i;
  }
  for (size_t i = 0; i < header.size(); ++i) {
    if (EqualsIgnoreCase(TrimmedCell(header[i]), name)) return i;
  }
  return std::nullopt;
}

// A report path template: literal texts and the columns whose cells fill the placeholders.
struct TemplatePart {
  std::string literal;
  std::optional<size_t> column;
};
using PathTemplate = std::vector<TemplatePart>;

// "reports/{label}-{combo}.txt"; "{{" and "}}" stand for the braces themselves. Throws the
// reason as a text when a brace is unmatched or a placeholder names no column.
PathTemplate ParseTemplate(std::string_view text, const Row& header) {
  PathTemplate parts(1);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool doubled = i + 1 < text.size() && text[i + 1] == c;
    if ((c == '{' || c == '}') && doubled) {
      parts.back().literal += c;
      ++i;
    } else if (c == '{') {
      const size_t close = text.find('}', i);
      if (close == std::string_view::npos) throw std::string("a '{' is never closed");
      const std::string_view name = text.substr(i + 1, close - i - 1);
      const auto column = FindColumn(header, name);
      if (!column) throw "no column '" + std::string(name) + "' for the placeholder";
      parts.push_back({"", column});
      parts.emplace_back();
      i = close;
    } else if (c == '}') {
      throw std::string("a '}' has no '{'");
    } else {
      parts.back().literal += c;
    }
  }
  return parts;
}

// A cell's text as a piece of a file name: no folder steps, no drive, no control characters.
std::string PathPiece(std::string_view cell) {
  std::string piece;
  for (const char c : TrimmedCell(cell)) {
    const bool unsafe = c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < ' ';
    piece += unsafe ? '_' : c;
  }
  for (size_t dots = piece.find(".."); dots != std::string::npos; dots = piece.find("..")) {
    piece.replace(dots, 2, "_");
  }
  return piece.empty() ? "_" : piece;
}

std::string FilledTemplate(const PathTemplate& parts, const Row& row) {
  std::string path;
  for (const TemplatePart& part : parts) {
    path += part.literal;
    if (part.column) path += PathPiece(*part.column < row.size() ? row[*part.column] : "");
  }
  return path;
}

struct ColumnPlan {
  std::vector<int> param_of_column;  // -1: passed through untouched
  std::optional<size_t> group_column;
  int report_param = -1;
  std::optional<size_t> report_column;
  std::optional<PathTemplate> report_template;  // from --report-template
  bool reports_templated = false;
};

std::vector<int> MapColumns(const MethodInfo& method, const Row& header) {
  std::vector<int> params(header.size(), -1);
  std::vector<std::optional<size_t>> column_of(method.params.size());
  for (size_t column = 0; column < header.size(); ++column) {
    const std::string_view name = TrimmedCell(header[column]);
    if (name.empty()) continue;
    const int param = LookUpParam(method, name);
    if (param < 0) continue;
    if (auto& seen = column_of[static_cast<size_t>(param)]) {
      throw csv::InputError("columns '" + header[*seen] + "' and '" + header[column] +
                            "' both name the parameter " + std::string(method.params[param].name));
    }
    column_of[static_cast<size_t>(param)] = column;
    params[column] = param;
  }
  for (size_t i = 0; i < method.params.size(); ++i) {
    if (!method.params[i].optional && !column_of[i]) {
      throw csv::InputError("the header has no column for the required parameter " +
                            std::string(method.params[i].name) + " of " + std::string(method.name));
    }
  }
  return params;
}

ColumnPlan PlanColumns(const CsvOptions& options, const Row& header) {
  ColumnPlan plan;
  plan.param_of_column = MapColumns(*options.method, header);
  plan.report_param = FindParam(*options.method, kReportParam);
  for (size_t column = 0; column < header.size(); ++column) {
    if (plan.report_param >= 0 && plan.param_of_column[column] == plan.report_param) {
      plan.report_column = column;
    }
  }
  if (options.report_template) {
    if (plan.report_column) {
      throw csv::InputError("the report paths come from the column '" +
                            header[*plan.report_column] + "': --report-template is not needed");
    }
    try {
      plan.report_template = ParseTemplate(*options.report_template, header);
    } catch (const std::string& reason) {
      throw csv::InputError("--report-template: " + reason);
    }
  }
  plan.reports_templated = plan.report_template || plan.report_column;
  if (options.group) {
    plan.group_column = FindColumn(header, *options.group);
    if (!plan.group_column) throw csv::InputError("no column '" + *options.group + "' for --group");
  }
  return plan;
}

bool IsNumericType(VarType type) {
  return type == VarType::Byte || type == VarType::Integer || type == VarType::Long ||
         type == VarType::Single || type == VarType::Double;
}

// ---------------------------------------------------------------- cells to arguments

[[noreturn]] void CellError(const ParamInfo& param, std::string_view cell, std::string_view what) {
  RequestError(kTypeMismatch, "the cell of " + std::string(param.name) + " holds \"" +
                                  std::string(cell) + "\", " + std::string(what));
}

Variant NumberArgument(const ParamInfo& param, std::string_view cell, char separator) {
  const auto number = csv::ReadNumber(cell, separator);
  if (!number) {
    CellError(param, cell,
              std::string("not a number with the decimal separator '") + separator + "'");
  }
  const bool fits_long = number->value >= std::numeric_limits<int32_t>::min() &&
                         number->value <= std::numeric_limits<int32_t>::max();
  if (number->integral && fits_long) return static_cast<int32_t>(number->value);
  return number->value;
}

std::optional<bool> BooleanWord(std::string_view cell) {
  for (const std::string_view word : {"TRUE", "ИСТИНА"}) {
    if (EqualsIgnoreCase(cell, word)) return true;
  }
  for (const std::string_view word : {"FALSE", "ЛОЖЬ"}) {
    if (EqualsIgnoreCase(cell, word)) return false;
  }
  return std::nullopt;
}

Variant BooleanArgument(const ParamInfo& param, std::string_view cell, char separator) {
  if (const auto word = BooleanWord(cell)) return *word;
  if (csv::ReadNumber(cell, separator)) return NumberArgument(param, cell, separator);
  CellError(param, cell, "not TRUE, FALSE, ИСТИНА, ЛОЖЬ or a number");
}

Variant RangeArgument(const ParamInfo& param, std::string_view cell) {
  const Json json = Json::parse(cell, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded() || !json.is_array()) {
    CellError(param, cell, "not a Range written as JSON rows of cells ([[1,0.05,16]])");
  }
  return ArgumentFromJson(param, json);
}

// The argument a non-empty cell gives the parameter (error 13 when it cannot).
Variant CellArgument(const ParamInfo& param, const std::string& cell, char separator) {
  const std::string_view trimmed = TrimmedCell(cell);
  switch (param.type) {
    case VarType::String:
      return cell;
    case VarType::Boolean:
      return BooleanArgument(param, trimmed, separator);
    case VarType::Range:
      return RangeArgument(param, trimmed);
    default:
      return NumberArgument(param, trimmed, separator);
  }
}

// ---------------------------------------------------------------- the batch

struct RowAnswer {
  bool called = false;
  bool failed = false;
  Variant result;
  int error_number = 0;
  std::string description;
  std::string report_path;
  std::vector<Variant> byref_after;  // every parameter's value after the call (by-ref ones)
};

struct Batch {
  const CsvOptions& options;
  const Table& table;
  const ColumnPlan& plan;
  std::vector<RowAnswer> answers;
  std::vector<bool> byref_written;  // per parameter: some row's call changed it
};

bool IsEmptyRow(const Row& row) {
  return std::all_of(row.begin(), row.end(),
                     [](const std::string& cell) { return TrimmedCell(cell).empty(); });
}

// Cells beyond the header's width: empty ones (trailing delimiters) are dropped silently, others
// fail the row, which is written in the header's width either way.
void FitToHeader(Row& row, size_t width) {
  const size_t cells = row.size();
  const bool overfull =
      std::any_of(row.begin() + static_cast<std::ptrdiff_t>(std::min(cells, width)), row.end(),
                  [](const std::string& cell) { return !TrimmedCell(cell).empty(); });
  row.resize(width);
  if (overfull) {
    RequestError(kInvalidProcedureCall, "the row has " + std::to_string(cells) +
                                            " cells, the header " + std::to_string(width));
  }
}

// The row's report path: the template filled from its cells, or the report column's cell (which
// may hold placeholders too); empty for no report.
std::string ReportPathOf(const Batch& batch, const Row& row) {
  const ColumnPlan& plan = batch.plan;
  if (plan.report_template) return FilledTemplate(*plan.report_template, row);
  if (!plan.report_column) return {};
  const std::string& cell = row[*plan.report_column];
  if (TrimmedCell(cell).empty()) return {};
  try {
    return FilledTemplate(ParseTemplate(cell, batch.table.header), row);
  } catch (const std::string& reason) {
    RequestError(kBadFileName, "the report path \"" + cell + "\": " + reason);
  }
}

void CreateReportFolder(const std::string& path) {
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code ignored;  // a folder that cannot be made fails the call's own write
  if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
}

NamedCall RowCall(const Batch& batch, const Row& row, RowAnswer& answer) {
  const MethodInfo& method = *batch.options.method;
  const char separator = batch.table.dialect.decimal_separator;
  NamedCall call(method);
  for (size_t column = 0; column < batch.table.header.size(); ++column) {
    const int param = batch.plan.param_of_column[column];
    if (param < 0 || TrimmedCell(row[column]).empty()) continue;
    call.Set(param,
             CellArgument(method.params[static_cast<size_t>(param)], row[column], separator));
  }
  answer.report_path = ReportPathOf(batch, row);
  if (!answer.report_path.empty()) {
    CreateReportFolder(answer.report_path);
    call.Set(batch.plan.report_param, answer.report_path);
  }
  return call;
}

CallOptions RowCallOptions(const Batch& batch) {
  CallOptions options;
  options.decimal_separator = std::string(1, batch.table.dialect.decimal_separator);
  options.report_encoding = batch.options.report_encoding;
  return options;
}

void MarkWrittenBack(Batch& batch, const NamedCall::Result& done) {
  const auto& params = batch.options.method->params;
  for (size_t i = 0; i < params.size(); ++i) {
    if (params[i].mode == PassingMode::ByRef && done.Changed(i)) batch.byref_written[i] = true;
  }
}

RowAnswer AnswerRow(Batch& batch, Row& row, const CallOptions& call_options) {
  RowAnswer answer;
  const size_t width = batch.table.header.size();
  try {
    FitToHeader(row, width);
    if (IsEmptyRow(row)) return answer;
    answer.called = true;
    NamedCall call = RowCall(batch, row, answer);
    NamedCall::Result done = call.Execute(call_options);
    const CallOutcome& outcome = done.outcome;
    if (!outcome.Succeeded()) {
      answer.failed = true;
      answer.error_number = outcome.error_number != 0 ? outcome.error_number : outcome.hresult;
      answer.description = outcome.description;
    } else {
      answer.result = outcome.result;
      MarkWrittenBack(batch, done);
      answer.byref_after = std::move(done.after);
    }
  } catch (const RuntimeError& e) {
    answer.called = true;
    answer.failed = true;
    answer.error_number = e.Number();
    answer.description = e.what();
  }
  if (answer.failed) answer.report_path.clear();
  return answer;
}

// ---------------------------------------------------------------- writing

template <class Number>
std::string ShortestText(Number value, char separator) {
  if constexpr (std::is_same_v<Number, double>) {
    return csv::NumberText(value, separator);
  } else {
    std::array<char, 32> buffer{};
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
    std::string text(buffer.data(), end);
    std::replace(text.begin(), text.end(), '.', separator);
    std::replace(text.begin(), text.end(), 'e', 'E');
    return text;
  }
}

// Booleans as the spreadsheet of the dialect writes them.
std::string BooleanText(bool value, const Dialect& dialect) {
  if (dialect.decimal_separator == ',') return value ? "ИСТИНА" : "ЛОЖЬ";
  return value ? "TRUE" : "FALSE";
}

std::string ValueText(const Variant& value, const Dialect& dialect) {
  switch (value.Type()) {
    case VarType::Empty:
      return {};
    case VarType::Byte:
      return std::to_string(value.Get<uint8_t>());
    case VarType::Integer:
      return std::to_string(value.Get<int16_t>());
    case VarType::Long:
      return std::to_string(value.Get<int32_t>());
    case VarType::Single:
      return ShortestText(value.Get<float>(), dialect.decimal_separator);
    case VarType::Double:
      return ShortestText(value.Get<double>(), dialect.decimal_separator);
    case VarType::Boolean:
      return BooleanText(value.Get<bool>(), dialect);
    case VarType::String:
      return value.Text();
    default:
      return DumpLine(VariantToJson(value));
  }
}

Row OutputHeader(const Batch& batch) {
  Row header = batch.table.header;
  header.emplace_back(kResultColumn);
  header.emplace_back(kErrorNumberColumn);
  header.emplace_back(kErrorTextColumn);
  if (batch.plan.reports_templated) header.emplace_back(kReportFileColumn);
  const auto& params = batch.options.method->params;
  for (size_t i = 0; i < params.size(); ++i) {
    if (batch.byref_written[i])
      header.push_back(std::string(params[i].name) + std::string(kAfterSuffix));
  }
  return header;
}

Row OutputRow(const Batch& batch, size_t index) {
  const Dialect& dialect = batch.table.dialect;
  const RowAnswer& answer = batch.answers[index];
  Row row = batch.table.rows[index];
  row.push_back(ValueText(answer.result, dialect));
  row.push_back(answer.failed ? std::to_string(answer.error_number) : "");
  row.push_back(answer.description);
  if (batch.plan.reports_templated) row.push_back(answer.report_path);
  for (size_t i = 0; i < batch.byref_written.size(); ++i) {
    if (!batch.byref_written[i]) continue;
    const bool known = !answer.failed && i < answer.byref_after.size();
    row.push_back(known ? ValueText(answer.byref_after[i], dialect) : "");
  }
  return row;
}

// ---------------------------------------------------------------- governing rows

std::optional<double> MarginOf(const RowAnswer& answer) {
  if (!answer.called || answer.failed) return std::nullopt;
  const VarType type = answer.result.Type();
  if (!IsNumericType(type)) return std::nullopt;
  const double margin = ToDouble(answer.result);
  if (std::isnan(margin)) return std::nullopt;
  return margin;
}

struct Group {
  std::optional<size_t> governing;  // the row with the smallest margin
  std::optional<size_t> first_failed;
  std::optional<size_t> first_row;
  size_t rows = 0;
  size_t failed = 0;
  std::optional<double> margin;
};

void AddToGroup(Group& group, const Batch& batch, size_t index) {
  const RowAnswer& answer = batch.answers[index];
  ++group.rows;
  if (!group.first_row) group.first_row = index;
  if (answer.failed) {
    ++group.failed;
    if (!group.first_failed) group.first_failed = index;
  }
  const auto margin = MarginOf(answer);
  if (margin && (!group.margin || *margin < *group.margin)) {
    group.margin = margin;
    group.governing = index;
  }
}

// Groups in the order their first row comes.
std::vector<Group> Groups(const Batch& batch) {
  std::vector<Group> groups;
  std::map<std::string, size_t> index_of;
  for (size_t i = 0; i < batch.answers.size(); ++i) {
    if (!batch.answers[i].called) continue;
    const std::string key =
        batch.plan.group_column
            ? std::string(TrimmedCell(batch.table.rows[i][*batch.plan.group_column]))
            : "";
    const auto [it, added] = index_of.emplace(key, groups.size());
    if (added) groups.emplace_back();
    AddToGroup(groups[it->second], batch, i);
  }
  return groups;
}

void AppendGoverning(std::string& text, const Batch& batch) {
  const Dialect& dialect = batch.table.dialect;
  Row header = OutputHeader(batch);
  header.insert(header.begin(), std::string(kRowNumberColumn));
  header.emplace_back(kGroupRowsColumn);
  header.emplace_back(kGroupFailuresColumn);
  text += dialect.line_end;
  csv::AppendRecord(text, header, dialect);
  for (const Group& group : Groups(batch)) {
    // A group without a margin shows its first failure (else its first row) instead.
    const size_t index = group.governing      ? *group.governing
                         : group.first_failed ? *group.first_failed
                                              : *group.first_row;
    Row row = OutputRow(batch, index);
    row.insert(row.begin(), std::to_string(batch.table.row_numbers[index]));
    row.push_back(std::to_string(group.rows));
    row.push_back(std::to_string(group.failed));
    csv::AppendRecord(text, row, dialect);
  }
}

std::string OutputText(const Batch& batch) {
  std::string text;
  csv::AppendRecord(text, OutputHeader(batch), batch.table.dialect);
  for (size_t i = 0; i < batch.answers.size(); ++i) {
    csv::AppendRecord(text, OutputRow(batch, i), batch.table.dialect);
  }
  if (batch.options.governing) AppendGoverning(text, batch);
  return csv::Encoded(text, batch.table.dialect.encoding);
}

// ---------------------------------------------------------------- files

std::string ReadInput(const std::string& input, std::istream& in) {
  if (input == "-") return std::string(std::istreambuf_iterator<char>(in), {});
  std::ifstream file(std::filesystem::path(input), std::ios::binary);
  if (!file) throw csv::InputError("cannot open '" + input + "'");
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) throw csv::InputError("cannot read '" + input + "'");
  return bytes;
}

void WriteOutput(const std::optional<std::string>& output, const std::string& bytes,
                 std::ostream& out) {
  if (!output || *output == "-") {
    out << bytes << std::flush;
    return;
  }
  std::ofstream file(std::filesystem::path(*output), std::ios::binary | std::ios::trunc);
  file << bytes;
  file.close();
  if (!file) throw csv::InputError("cannot write '" + *output + "'");
}

void ReportFailures(const Batch& batch, std::ostream& err) {
  std::vector<size_t> failed;
  size_t called = 0;
  for (size_t i = 0; i < batch.answers.size(); ++i) {
    called += batch.answers[i].called ? 1 : 0;
    if (batch.answers[i].failed) failed.push_back(batch.table.row_numbers[i]);
  }
  if (failed.empty()) return;
  err << "armocalc csv: " << failed.size() << " of " << called << " rows failed (row";
  if (failed.size() > 1) err << 's';
  for (size_t i = 0; i < failed.size() && i < kFailedRowsListed; ++i) {
    err << (i == 0 ? " " : ", ") << failed[i];
  }
  err << (failed.size() > kFailedRowsListed ? ", ...)\n" : ")\n");
}

int RunBatch(const CsvOptions& options, std::istream& in, std::ostream& out, std::ostream& err) {
  Table table = csv::ReadTable(ReadInput(options.input, in), options.dialect);
  const ColumnPlan plan = PlanColumns(options, table.header);
  const auto& params = options.method->params;
  csv::SettleDecimalSeparator(table, options.dialect, [&](size_t column) {
    const int param = plan.param_of_column[column];
    return param >= 0 && IsNumericType(params[static_cast<size_t>(param)].type);
  });
  Batch batch{options, table, plan, {}, std::vector<bool>(params.size(), false)};
  const bool to_standard_output = !options.output || *options.output == "-";
  std::optional<StandardOutputReservation> reservation;
  if (to_standard_output) reservation.emplace();
  const CallOptions call_options = RowCallOptions(batch);
  batch.answers.reserve(table.rows.size());
  for (Row& row : table.rows) batch.answers.push_back(AnswerRow(batch, row, call_options));
  WriteOutput(options.output, OutputText(batch), out);
  ReportFailures(batch, err);
  const bool any_failed = std::any_of(batch.answers.begin(), batch.answers.end(),
                                      [](const RowAnswer& answer) { return answer.failed; });
  return any_failed ? kExitRowFailed : kExitSuccess;
}

}  // namespace

std::string CsvUsageText() {
  return "Usage:\n"
         "  armocalc csv METHOD [FILE|-] [--delimiter D] [--decimal-separator ,|.]\n"
         "               [--encoding utf-8|utf-8-bom|cp1251] [--governing] [--group COLUMN]\n"
         "               [--output FILE] [--report-template 'reports/{label}.txt']\n"
         "               [--report-encoding utf-8|cp1251]\n"
         "\n"
         "Calls METHOD once for every row of a CSV file (standard input without FILE or with -).\n"
         "The header names the parameters (declared names or Latin spellings, any letter case);\n"
         "other columns, such as a section label, pass through untouched. An empty cell omits\n"
         "the parameter. The answer is the same table in the same dialect (delimiter, decimal\n"
         "separator, encoding, byte order mark, line ends) with the columns \"Результат\",\n"
         "\"Номер ошибки\" and \"Текст ошибки\" added, then \"NAME (после)\" for every\n"
         "by-reference parameter that a call wrote back. A failing row does not stop the batch.\n"
         "\n"
         "Without options the dialect is detected: ';' ',' or tab from the header, the decimal\n"
         "separator from the numbers (',' under ';' unless they use '.'), UTF-8 when the bytes\n"
         "are valid UTF-8 or start with a byte order mark, otherwise CP1251.\n"
         "\n"
         "--governing adds, after an empty line, a table of the governing row of each group:\n"
         "the row with the smallest result (margin, or ratio for margin method 0), its row\n"
         "number (\"Строка\", the header is row 1) and the group's row and failure counts.\n"
         "Failing rows never govern; a group in which no row has a result shows its first\n"
         "failing row. --group COLUMN groups by the column's value (implies --governing);\n"
         "without it the whole file is one group.\n"
         "\n"
         "--report-template writes each row's report to a path filled from the row's cells\n"
         "({COLUMN}; {{ and }} for braces); a column naming the report parameter (Отчет) may\n"
         "hold such templates too. A filled-in value has '/', '\\', ':', control characters and\n"
         "'..' replaced by '_'. Missing folders are created; the path is in \"Файл отчета\".\n"
         "\n"
         "Exit status: 0 every row answered without error, 1 some row failed (listed on\n"
         "standard error), 2 usage error or a file that cannot be read as a table.\n";
}

int RunCsv(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (std::any_of(args.begin(), args.end(),
                  [](const std::string& arg) { return arg == "--help" || arg == "-h"; })) {
    out << CsvUsageText();
    return kExitSuccess;
  }
  try {
    return RunBatch(ParseOptions(args), in, out, err);
  } catch (const UsageError& e) {
    err << "armocalc csv: " << e.message << '\n';
    if (!e.hint.empty()) err << e.hint << '\n';
    err << "see " << kCsvHelp << '\n';
  } catch (const csv::InputError& e) {
    err << "armocalc csv: " << e.what() << '\n';
  }
  return kExitUsage;
}

}  // namespace armocalc::cli
