#include "kernel/report.hpp"

#include "kernel/report_file.hpp"
#include "runtime/decimal_separator.hpp"

namespace armocalc {

namespace {
constexpr uint8_t kReportDigits = 4;
constexpr uint8_t kRoundHalfUp = 1;
// A new piece of the line text starts when the open one has less room than this.
constexpr size_t kPieceBytes = size_t{1} << 20;
constexpr size_t kPieceReserve = size_t{64} << 10;
}  // namespace

std::string& Отчёт::Lines::Open() {
  if (pieces_.empty() || pieces_.back().capacity() - pieces_.back().size() < kPieceReserve) {
    pieces_.emplace_back().reserve(kPieceBytes);
  }
  open_begin_ = pieces_.back().size();
  return pieces_.back();
}

void Отчёт::Lines::Close() {
  spans_.push_back({pieces_.size() - 1, open_begin_, pieces_.back().size() - open_begin_});
}

std::string_view Отчёт::Lines::At(size_t index) const {
  const Span& span = spans_[index];
  return std::string_view(pieces_[span.piece]).substr(span.begin, span.size);
}

void Отчёт::Lines::MoveInto(vbСписок& list) {
  for (size_t i = 0; i < spans_.size(); ++i) list.ВставитьСтроку(std::string(At(i)), -1);
  pieces_.clear();
  spans_.clear();
}

// The list's lines, then those not yet moved into it.
class Отчёт::AllLines final : public ReportLines {
 public:
  AllLines(const vbСписок& list, const Lines& added) : list_(list.Строки()), added_(added) {}
  size_t Count() const override { return list_.size() + added_.Count(); }
  std::string_view At(size_t index) const override {
    return index < list_.size() ? std::string_view(list_[index]) : added_.At(index - list_.size());
  }

 private:
  const std::vector<std::string>& list_;
  const Lines& added_;
};

vbСписок& Отчёт::EnsureList() {
  if (!list_) list_.emplace();
  return *list_;
}

vbСписок& Отчёт::List() {
  lines_.MoveInto(EnsureList());
  return *list_;
}

Отчёт::Отчёт(std::string_view path, bool force)
    : path_(path), enabled_(IsReportPath(path) || force) {}

// A report with a file is rounded on its way into the file; one without keeps its rounded lines
// for the caller.
void Отчёт::Finish() {
  if (!enabled_) return;
  const std::string separator = РазделительДробнойЧасти();
  if (!IsReportPath(path_)) {
    List().ОкруглитьЧисловыеЗначения(kReportDigits, kRoundHalfUp, separator);
    return;
  }
  const RoundingRule rule{kReportDigits, kRoundHalfUp, separator};
  const AllLines lines(EnsureList(), lines_);
  WriteReportFile(path_, *EncodedLines(lines, &rule));
}

void Отчёт::WriteWithoutRounding() {
  if (!enabled_ || !IsReportPath(path_)) return;
  const AllLines lines(EnsureList(), lines_);
  WriteReportFile(path_, *EncodedLines(lines, nullptr));
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
