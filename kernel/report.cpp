#include "kernel/report.hpp"

#include "runtime/decimal_separator.hpp"

namespace armocalc {

namespace {
constexpr uint8_t kReportDigits = 4;
constexpr uint8_t kRoundHalfUp = 1;
}  // namespace

Отчёт::Отчёт(std::string_view path, bool force)
    : path_(path), enabled_(IsReportPath(path) || force) {}

void Отчёт::Finish() {
  if (!enabled_) return;
  list_.ОкруглитьЧисловыеЗначения(kReportDigits, kRoundHalfUp, РазделительДробнойЧасти());
  WriteWithoutRounding();
}

void Отчёт::WriteWithoutRounding() {
  if (enabled_ && IsReportPath(path_)) list_.Выгрузить(path_);
}

std::string& Отчёт::LineBuffer() {
  thread_local std::string buffer;
  return buffer;
}

bool IsReportPath(std::string_view path) {
  return CharacterCount(path) > 4;
}

std::string КлассАрматурыТекст(uint8_t code) {
  std::string text = "А";  // Cyrillic letter, then Latin I's
  text.append(code, 'I');
  return text;
}

}  // namespace armocalc
