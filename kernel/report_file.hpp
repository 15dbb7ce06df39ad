#pragma once
// Writing a report file in blocks: the lines are encoded (and rounded on the way, for a finished
// report) a few hundred KB at a time straight into the file, so that a long report never stands
// in memory a second time.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace armocalc {

// The lines a file is made of, by index (0 to Count() - 1).
class ReportLines {
 public:
  virtual ~ReportLines() = default;
  virtual size_t Count() const = 0;
  virtual std::string_view At(size_t index) const = 0;
};

// How the lines from index 1 on are rounded on their way into the file, as
// vbСписок::ОкруглитьЧисловыеЗначения rounds them.
struct RoundingRule {
  uint8_t digits = 0;
  uint8_t method = 0;
  std::string_view separator;
};

// The bytes of a file, block after block; an empty block ends them. A block stays valid until the
// next call.
class ReportBytes {
 public:
  virtual ~ReportBytes() = default;
  // After an error of its own the source gives no more bytes.
  std::string_view NextBlock();
  // Produces the rest of the bytes and drops them: a rounding error still to come is raised.
  void Drain();

 protected:
  virtual std::string_view Produce() = 0;

 private:
  bool failed_ = false;
};

// The bytes of `lines` in this thread's report encoding, each line ended by CR LF; with a rule,
// the lines from 1 on rounded by it. `lines` must outlive the result.
std::unique_ptr<ReportBytes> EncodedLines(const ReportLines& lines, const RoundingRule* rule);

// Writes `bytes` to the report file `name` as vbСписок::Выгрузить does (nothing for a name of 4
// characters or fewer). An error of the bytes themselves (an overflow in the rounding) comes
// before any error of the file, as if the bytes had all been made first.
void WriteReportFile(const std::string& name, ReportBytes& bytes);

}  // namespace armocalc
