#include "runtime/host.hpp"

#include <algorithm>
#include <numbers>

#include "runtime/errors.hpp"
#include "runtime/text_case.hpp"

namespace armocalc {

GridRange::GridRange(std::vector<std::vector<Variant>> rows) : rows_(std::move(rows)) {
  for (const auto& row : rows_) {
    columns_ = std::max(columns_, static_cast<int32_t>(row.size()));
  }
}

int32_t GridRange::RowsCount() const {
  return static_cast<int32_t>(rows_.size());
}

int32_t GridRange::ColumnsCount() const {
  return columns_;
}

Variant GridRange::Cell(int32_t row, int32_t column) const {
  if (row < 1 || column < 1 || row > RowsCount()) return {};
  const auto& cells = rows_[static_cast<size_t>(row - 1)];
  if (static_cast<size_t>(column) > cells.size()) return {};
  return cells[static_cast<size_t>(column - 1)];
}

Variant GridRange::Value() const {
  if (rows_.empty() || columns_ == 0) return {};
  if (RowsCount() == 1 && columns_ == 1) return Cell(1, 1);
  auto values = std::make_shared<VariantArray>();
  values->reserve(rows_.size());
  for (int32_t r = 1; r <= RowsCount(); ++r) {
    std::vector<Variant> row;
    row.reserve(static_cast<size_t>(columns_));
    for (int32_t c = 1; c <= columns_; ++c) row.push_back(Cell(r, c));
    values->push_back(std::move(row));
  }
  return std::shared_ptr<const VariantArray>(std::move(values));
}

double HostApplication::Pi() const {
  return std::numbers::pi;
}

std::string HostApplication::Proper(const std::string& text) const {
  // A letter is upper case when it follows anything but a letter (digits, blanks, apostrophes).
  std::string out;
  out.reserve(text.size());
  bool after_letter = false;
  for (size_t pos = 0; pos < text.size();) {
    const CodePoint cp = DecodeUtf8(text, pos);
    const bool letter = cp.valid && IsLetter(cp.value);
    if (letter) {
      AppendUtf8(out, after_letter ? ToLowerCase(cp.value) : ToUpperCase(cp.value));
    } else {
      out.append(text, pos, cp.length);
    }
    after_letter = letter;
    pos += cp.length;
  }
  return out;
}

std::string HostApplication::Replace(const std::string& text, int32_t start, int32_t count,
                                     const std::string& replacement) const {
  if (start < 1 || count < 0) {
    throw RuntimeError(1004, "Unable to get the Replace property of the WorksheetFunction class");
  }
  // Byte offsets of the characters start .. start + count - 1 (both clamped to the text's end).
  const auto offset_of = [&](int64_t characters) {
    size_t pos = 0;
    for (int64_t i = 0; i < characters && pos < text.size(); ++i) {
      pos += DecodeUtf8(text, pos).length;
    }
    return pos;
  };
  const size_t begin = offset_of(int64_t{start} - 1);
  const size_t end = offset_of(int64_t{start} - 1 + count);
  return text.substr(0, begin) + replacement + text.substr(end);
}

namespace {

const HostApplication& DefaultHost() {
  static const HostApplication host;
  return host;
}

thread_local const HostApplication* current_host = nullptr;

}  // namespace

const HostApplication& Host() {
  return current_host ? *current_host : DefaultHost();
}

ScopedHost::ScopedHost(const HostApplication& host) : previous_(current_host) {
  current_host = &host;
}

ScopedHost::~ScopedHost() {
  current_host = previous_;
}

}  // namespace armocalc
