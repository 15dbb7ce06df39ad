#pragma once
// CSV files as spreadsheets write them: the delimiter (";" in Russian-locale Excel, "," or a tab
// elsewhere), the decimal separator of numbers, the encoding (UTF-8, UTF-8 with a byte order
// mark, or CP1251) and the line end. Cells follow RFC 4180: a quoted cell may hold delimiters,
// doubled quotes and line breaks. A table is read whole and written back in the dialect it was
// read in.

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace armocalc::cli::csv {

enum class TextEncoding { Utf8, Utf8WithBom, Cp1251 };

struct Dialect {
  char delimiter = ',';
  char decimal_separator = '.';
  TextEncoding encoding = TextEncoding::Utf8;
  std::string line_end = "\r\n";
};

// What the user fixed on the command line; the rest is detected.
struct DialectChoice {
  std::optional<char> delimiter;
  std::optional<char> decimal_separator;
  std::optional<TextEncoding> encoding;
};

// The input cannot be read as a table (not a usage error of the command line, but reported the
// same way: the batch does not start).
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr size_t kMaxCellBytes = size_t{4} << 20;
inline constexpr size_t kMaxColumns = 16384;  // the widest worksheet Excel has

using Row = std::vector<std::string>;  // cells as UTF-8 texts, quotes removed

struct Table {
  Row header;
  std::vector<Row> rows;
  std::vector<size_t> row_numbers;  // each row's worksheet row number (the header is row 1)
  Dialect dialect;                  // decimal_separator is settled by SettleDecimalSeparator
};

// Reads the bytes of a CSV file: encoding (byte order mark honoured; valid UTF-8 is UTF-8,
// anything else CP1251), delimiter (from the header, else from the rows), line end. Blank lines
// are skipped. Throws InputError for a file that is empty, UTF-16, holds a NUL byte, leaves a
// quote open, has a cell over kMaxCellBytes or more than kMaxColumns cells, or whose delimiter
// is ambiguous.
Table ReadTable(std::string_view bytes, const DialectChoice& choice);

// Settles the decimal separator from the cells of the numeric columns: "," when one of them
// holds a decimal comma, "." when one holds a decimal point; both under one dialect are
// ambiguous (InputError). With no fraction anywhere: "," under ";" (Russian-locale Excel), "."
// otherwise. Under the "," delimiter numbers use ".".
void SettleDecimalSeparator(Table& table, const DialectChoice& choice,
                            const std::function<bool(size_t column)>& numeric_column);

// A cell's number under the decimal separator: blanks around it, an optional sign, digits with
// at most one separator, an optional exponent. nullopt for anything else (texts are texts) and
// for a number beyond the double range.
struct CellNumber {
  double value;
  bool integral;  // written without separator and exponent
};
std::optional<CellNumber> ReadNumber(std::string_view cell, char decimal_separator);

// The shortest text that reads back as the same double, with the decimal separator and "E".
std::string NumberText(double value, char decimal_separator);

// Appends one record with its line end (cells quoted where they must be).
void AppendRecord(std::string& out, const Row& cells, const Dialect& dialect);
// The UTF-8 text of a whole output in the dialect's encoding (with the byte order mark if the
// input had one; characters outside CP1251 become "?").
std::string Encoded(std::string_view utf8, TextEncoding encoding);

// "utf-8", "utf-8-bom", "cp1251" (also "windows-1251"); nullopt otherwise.
std::optional<TextEncoding> ParseTextEncoding(std::string_view name);

}  // namespace armocalc::cli::csv
