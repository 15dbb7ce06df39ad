#include "kernel/row_list.hpp"

#include <cstdint>
#include <utility>

#include "runtime/errors.hpp"

namespace armocalc {
namespace {

thread_local ReportEncoding report_encoding = ReportEncoding::Cp1251;

// VB's InStr test: an empty line contains nothing, an empty text is in every other line.
bool LineContains(const std::string& line, std::string_view text) {
  if (line.empty()) return false;
  return line.find(text) != std::string::npos;
}

// The sort compares characters by their 8-bit code; a missing character sorts before any other.
int CodeAt(const std::string& line, size_t position) {
  return position < line.size() ? static_cast<unsigned char>(line[position]) : -1;
}

bool SameBeginning(const std::string& a, const std::string& b, size_t length) {
  return std::string_view(a).substr(0, length) == std::string_view(b).substr(0, length);
}

bool BeginsWith(const std::string& line, const std::string& beginning) {
  return std::string_view(line).substr(0, beginning.size()) == beginning;
}

// One pass over column p + 1 (0-based column p). Returns false when no line reaches it.
bool SortColumn(std::vector<std::string>& keys, std::vector<std::string>& lines, size_t p) {
  const size_t upper = keys.size() - 1;
  bool any_long_enough = false;
  for (size_t j = 1; j < upper; ++j) {
    if (keys[j].size() < p + 1) continue;
    any_long_enough = true;
    for (size_t k = j + 1; k <= upper; ++k) {
      bool swap = false;
      if (keys[k].size() < p + 1) {
        swap = keys[k].size() < keys[j].size() && BeginsWith(keys[j], keys[k]);
      } else {
        swap = SameBeginning(keys[j], keys[k], p) && CodeAt(keys[k], p) < CodeAt(keys[j], p);
      }
      if (swap) {
        std::swap(keys[j], keys[k]);
        std::swap(lines[j], lines[k]);
      }
    }
  }
  return any_long_enough;
}

}  // namespace

ReportEncoding CurrentReportEncoding() {
  return report_encoding;
}

ScopedReportEncoding::ScopedReportEncoding(ReportEncoding encoding) : previous_(report_encoding) {
  report_encoding = encoding;
}

ScopedReportEncoding::~ScopedReportEncoding() {
  report_encoding = previous_;
}

vbСписок::vbСписок() {
  Инициализировать();
}

void vbСписок::Инициализировать() {
  Строки_.assign(1, std::string());
}

void vbСписок::Очистить() {
  Инициализировать();
}

void vbСписок::ВставитьСтроку(std::string Текст, int32_t Позиция) {
  if (Позиция < 0) {
    Строки_.push_back(std::move(Текст));
  } else if (static_cast<size_t>(Позиция) < Строки_.size()) {
    Строки_.insert(Строки_.begin() + Позиция, std::move(Текст));
  }
}

void vbСписок::УдалитьСтроку(int32_t Индекс) {
  if (Индекс < 0 || static_cast<size_t>(Индекс) >= Строки_.size()) return;
  // The array cannot shrink below one element.
  if (Строки_.size() == 1) Raise(kSubscriptOutOfRange);
  Строки_.erase(Строки_.begin() + Индекс);
}

std::string vbСписок::ПолучитьСтроку(int32_t Индекс) const {
  if (Индекс < 0 || static_cast<size_t>(Индекс) >= Строки_.size()) return std::string();
  return Строки_[static_cast<size_t>(Индекс)];
}

int32_t vbСписок::КоличествоСтрок() const {
  return static_cast<int32_t>(Строки_.size());
}

int32_t vbСписок::Найти(std::string_view Текст, int32_t Начало, int32_t Конец) const {
  const int32_t upper = КоличествоСтрок() - 1;
  if (Конец < 0) Конец = upper;
  if (Начало < 0 || Конец > upper) return 0;
  for (int32_t k = Начало; k <= Конец; ++k) {
    if (LineContains(Строки_[static_cast<size_t>(k)], Текст)) return k;
  }
  return 0;
}

void vbСписок::Сортировать() {
  СортироватьМассив(Строки_);
}

void vbСписок::СортироватьМассив(std::vector<std::string>& Строки) {
  if (Строки.size() < 3) return;  // lines 1 to the upper bound: fewer than two lines to order
  std::vector<std::string> keys;
  keys.reserve(Строки.size());
  for (const std::string& line : Строки) keys.push_back(Utf8ToCp1251(line));
  // The column counter is 16-bit: a column beyond 32767 overflows.
  for (size_t p = 0;; ++p) {
    if (!SortColumn(keys, Строки, p)) break;
    if (p >= INT16_MAX) Raise(kOverflow);
  }
}

}  // namespace armocalc
