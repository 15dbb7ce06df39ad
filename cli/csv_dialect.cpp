#include "cli/csv_dialect.hpp"

#include <array>
#include <charconv>
#include <system_error>

#include "runtime/cp1251.hpp"
#include "runtime/text_case.hpp"

namespace armocalc::cli::csv {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::array<char, 3> kDelimiters = {';', ',', '\t'};
constexpr size_t kLinesForDetection = 20;

bool IsValidUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const CodePoint point = DecodeUtf8(text, pos);
    if (!point.valid) return false;
    pos += point.length;
  }
  return true;
}

// The text as UTF-8, with the encoding it came in.
std::string DecodedText(std::string_view bytes, const DialectChoice& choice, Dialect& dialect) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
    throw InputError(
        "the file is UTF-16 (Excel's \"Unicode text\"); save it as CSV (UTF-8 or "
        "the Windows code page)");
  }
  if (bytes.find('\0') != std::string_view::npos) {
    throw InputError("the file holds a NUL byte: it is no CSV text");
  }
  const bool bom = bytes.starts_with(kByteOrderMark);
  if (bom) bytes.remove_prefix(kByteOrderMark.size());
  if (choice.encoding) {
    dialect.encoding = *choice.encoding;
  } else if (bom) {
    dialect.encoding = TextEncoding::Utf8WithBom;
  } else {
    dialect.encoding = IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp1251;
  }
  if (dialect.encoding == TextEncoding::Cp1251) return Cp1251ToUtf8(bytes);
  return std::string(bytes);
}

std::string DetectLineEnd(std::string_view text) {
  const size_t newline = text.find('\n');
  if (newline == std::string_view::npos) return "\r\n";
  return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

// The first lines of the text, split at line breaks outside quotes; for detection only.
std::vector<std::string_view> FirstLines(std::string_view text, size_t count) {
  std::vector<std::string_view> lines;
  bool quoted = false;
  size_t start = 0;
  for (size_t i = 0; i < text.size() && lines.size() < count; ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (!quoted && (text[i] == '\n' || text[i] == '\r')) {
      if (i > start) lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (lines.size() < count && start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

size_t CountOutsideQuotes(std::string_view line, char c) {
  size_t count = 0;
  bool quoted = false;
  for (const char ch : line) {
    if (ch == '"') quoted = !quoted;
    if (!quoted && ch == c) ++count;
  }
  return count;
}

// A delimiter that splits the header and each following line into the same number of cells.
bool SplitsEveryLineAlike(char delimiter, const std::vector<std::string_view>& lines) {
  const size_t header_count = CountOutsideQuotes(lines.front(), delimiter);
  for (size_t i = 1; i < lines.size(); ++i) {
    if (CountOutsideQuotes(lines[i], delimiter) != header_count) return false;
  }
  return true;
}

// A header of one column shows no delimiter: the rows may (trailing empty cells), else a decimal
// comma in them means ';'.
char DelimiterOfOneColumn(const std::vector<std::string_view>& lines) {
  for (const char c : {';', '\t'}) {
    for (const std::string_view line : lines) {
      if (CountOutsideQuotes(line, c) > 0) return c;
    }
  }
  for (const std::string_view line : lines) {
    if (line.find(',') != std::string_view::npos) return ';';
  }
  return ',';
}

char DetectDelimiter(std::string_view text) {
  const std::vector<std::string_view> lines = FirstLines(text, kLinesForDetection + 1);
  if (lines.empty()) throw InputError("the file is empty: a header line names the columns");
  std::vector<char> in_header;
  for (const char c : kDelimiters) {
    if (CountOutsideQuotes(lines.front(), c) > 0) in_header.push_back(c);
  }
  if (in_header.empty()) return DelimiterOfOneColumn(lines);
  if (in_header.size() == 1) return in_header.front();
  std::vector<char> consistent;
  for (const char c : in_header) {
    if (SplitsEveryLineAlike(c, lines)) consistent.push_back(c);
  }
  if (consistent.size() == 1) return consistent.front();
  throw InputError(
      "the delimiter is ambiguous (the header holds more than one of ';' ',' tab): "
      "give --delimiter");
}

// Splits the text into records of cells (RFC 4180 quoting).
class RecordReader {
 public:
  RecordReader(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

  // The next record and its worksheet row number; false at the end of the text.
  bool Next(Row& record, size_t& row_number) {
    record.clear();
    if (pos_ >= text_.size()) return false;
    ++row_;
    row_number = row_;
    const size_t first_line = line_;
    for (;;) {
      record.push_back(NextCell(first_line));
      if (record.size() > kMaxColumns) {
        throw InputError("row " + std::to_string(row_) + " has more than " +
                         std::to_string(kMaxColumns) + " cells");
      }
      if (pos_ >= text_.size()) return true;
      const char end = text_[pos_++];
      if (end == delimiter_) continue;
      if (end == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
      ++line_;
      return true;
    }
  }

 private:
  bool AtCellEnd() const {
    const char c = text_[pos_];
    return c == delimiter_ || c == '\n' || c == '\r';
  }

  void Append(std::string& cell, std::string_view part) const {
    if (cell.size() + part.size() > kMaxCellBytes) {
      throw InputError("a cell of row " + std::to_string(row_) + " is longer than " +
                       std::to_string(kMaxCellBytes >> 20) + " MB");
    }
    cell += part;
  }

  std::string NextCell(size_t first_line) {
    std::string cell;
    if (pos_ < text_.size() && text_[pos_] == '"') ReadQuoted(cell, first_line);
    // Unquoted text, or what follows a closing quote (kept as it stands).
    const size_t start = pos_;
    while (pos_ < text_.size() && !AtCellEnd()) ++pos_;
    Append(cell, text_.substr(start, pos_ - start));
    return cell;
  }

  void ReadQuoted(std::string& cell, size_t first_line) {
    ++pos_;
    for (;;) {
      const size_t quote = text_.find('"', pos_);
      if (quote == std::string_view::npos) {
        throw InputError("a quote opened on line " + std::to_string(first_line) +
                         " is never closed");
      }
      const std::string_view part = text_.substr(pos_, quote - pos_);
      for (const char c : part) line_ += c == '\n' ? 1 : 0;
      Append(cell, part);
      pos_ = quote + 1;
      if (pos_ < text_.size() && text_[pos_] == '"') {
        Append(cell, "\"");
        ++pos_;
        continue;
      }
      return;
    }
  }

  std::string_view text_;
  char delimiter_;
  size_t pos_ = 0;
  size_t row_ = 0;
  size_t line_ = 1;
};

bool IsBlankRecord(const Row& record) {
  return record.size() == 1 && record.front().empty();
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view text, size_t pos) {
  while (pos < text.size() && IsDigit(text[pos])) ++pos;
  return pos;
}

// Where the number's separator stands (npos: none), or nullopt when the text is no number.
struct NumberShape {
  size_t separator = std::string_view::npos;
  bool exponent = false;
};
std::optional<NumberShape> ShapeOf(std::string_view text, char separator) {
  NumberShape shape;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
  const size_t integer_end = SkipDigits(text, pos);
  size_t digits = integer_end - pos;
  pos = integer_end;
  if (pos < text.size() && text[pos] == separator) {
    shape.separator = pos;
    const size_t fraction_end = SkipDigits(text, pos + 1);
    digits += fraction_end - pos - 1;
    pos = fraction_end;
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    shape.exponent = true;
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    const size_t exponent_end = SkipDigits(text, pos);
    if (exponent_end == pos) return std::nullopt;
    pos = exponent_end;
  }
  if (pos != text.size()) return std::nullopt;
  return shape;
}

// A fraction written with this separator ("1,5", "-0,25", ",5E-3"); integers say nothing.
bool HasFraction(std::string_view cell, char separator) {
  const auto shape = ShapeOf(Trimmed(cell), separator);
  return shape && shape->separator != std::string_view::npos;
}

struct FractionsSeen {
  bool comma = false;
  bool point = false;
};

FractionsSeen ScanFractions(const Table& table,
                            const std::function<bool(size_t column)>& numeric_column) {
  FractionsSeen seen;
  for (const Row& row : table.rows) {
    for (size_t column = 0; column < row.size() && column < table.header.size(); ++column) {
      if (!numeric_column(column)) continue;
      seen.comma = seen.comma || HasFraction(row[column], ',');
      seen.point = seen.point || HasFraction(row[column], '.');
    }
    if (seen.comma && seen.point) break;
  }
  return seen;
}

bool NeedsQuotes(std::string_view cell, char delimiter) {
  for (const char c : cell) {
    if (c == delimiter || c == '"' || c == '\n' || c == '\r') return true;
  }
  return false;
}

void AppendCell(std::string& out, std::string_view cell, char delimiter) {
  if (!NeedsQuotes(cell, delimiter)) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

Table ReadTable(std::string_view bytes, const DialectChoice& choice) {
  Table table;
  const std::string text = DecodedText(bytes, choice, table.dialect);
  table.dialect.line_end = DetectLineEnd(text);
  table.dialect.delimiter = choice.delimiter ? *choice.delimiter : DetectDelimiter(text);
  RecordReader reader(text, table.dialect.delimiter);
  Row record;
  size_t row_number = 0;
  bool header_read = false;
  while (reader.Next(record, row_number)) {
    if (IsBlankRecord(record)) continue;
    if (!header_read) {
      table.header = std::move(record);
      header_read = true;
      continue;
    }
    table.rows.push_back(std::move(record));
    table.row_numbers.push_back(row_number);
  }
  if (!header_read) throw InputError("the file is empty: a header line names the columns");
  return table;
}

void SettleDecimalSeparator(Table& table, const DialectChoice& choice,
                            const std::function<bool(size_t column)>& numeric_column) {
  Dialect& dialect = table.dialect;
  if (choice.decimal_separator) {
    dialect.decimal_separator = *choice.decimal_separator;
    return;
  }
  if (dialect.delimiter == ',') {
    dialect.decimal_separator = '.';
    return;
  }
  const FractionsSeen seen = ScanFractions(table, numeric_column);
  if (seen.comma && seen.point) {
    throw InputError("numbers are written both with ',' and with '.': give --decimal-separator");
  }
  if (seen.comma) {
    dialect.decimal_separator = ',';
  } else if (seen.point) {
    dialect.decimal_separator = '.';
  } else {
    dialect.decimal_separator = dialect.delimiter == ';' ? ',' : '.';
  }
}

std::optional<CellNumber> ReadNumber(std::string_view cell, char decimal_separator) {
  const std::string_view text = Trimmed(cell);
  const auto shape = ShapeOf(text, decimal_separator);
  if (!shape) return std::nullopt;
  std::string plain(text.starts_with('+') ? text.substr(1) : text);
  size_t separator = shape->separator;
  if (separator != std::string_view::npos) {
    if (text.starts_with('+')) --separator;
    plain[separator] = '.';
  }
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return CellNumber{value, separator == std::string_view::npos && !shape->exponent};
}

std::string NumberText(double value, char decimal_separator) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  std::string text(buffer.data(), result.ptr);
  for (char& c : text) {
    if (c == '.') c = decimal_separator;
    if (c == 'e') c = 'E';
  }
  return text;
}

void AppendRecord(std::string& out, const Row& cells, const Dialect& dialect) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out += dialect.delimiter;
    AppendCell(out, cells[i], dialect.delimiter);
  }
  out += dialect.line_end;
}

std::string Encoded(std::string_view utf8, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8WithBom:
      return std::string(kByteOrderMark) + std::string(utf8);
    case TextEncoding::Cp1251:
      return Utf8ToCp1251(utf8);
    case TextEncoding::Utf8:
      break;
  }
  return std::string(utf8);
}

std::optional<TextEncoding> ParseTextEncoding(std::string_view name) {
  if (EqualsIgnoreCase(name, "utf-8") || EqualsIgnoreCase(name, "utf8")) {
    return TextEncoding::Utf8;
  }
  if (EqualsIgnoreCase(name, "utf-8-bom") || EqualsIgnoreCase(name, "utf8-bom")) {
    return TextEncoding::Utf8WithBom;
  }
  if (EqualsIgnoreCase(name, "cp1251") || EqualsIgnoreCase(name, "windows-1251")) {
    return TextEncoding::Cp1251;
  }
  return std::nullopt;
}

}  // namespace armocalc::cli::csv
