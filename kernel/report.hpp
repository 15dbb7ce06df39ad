#pragma once
// A calculation report under construction. It collects lines only when it will be written (a
// report path longer than 4 characters, or a caller that reads the lines back); otherwise every
// call is a no-op and the values are never turned into text, so a call that only wants the
// number pays nothing for the report.
//
//   Отчёт rep(Отчет);
//   rep.Add("Расчет ...");                       // title
//   rep.Add("1. Исходные данные:");
//   rep.Add("\tКласс бетона: B", КлассБетона);   // float: Single text
//   rep.Add("\tN = ", N, " МН");                 // double: Double text
//   ...
//   rep.Finish();  // rounds to 4 significant digits and writes the file, the last step

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "kernel/row_list.hpp"
#include "runtime/checked_number.hpp"
#include "runtime/number_text.hpp"

namespace armocalc {

class Отчёт {
 public:
  // `path` is the caller's Отчет; `force` collects the lines even without a path (for callers
  // that read them back).
  explicit Отчёт(std::string_view path, bool force = false);

  bool Enabled() const noexcept { return enabled_; }
  explicit operator bool() const noexcept { return enabled_; }

  // Appends one line made of the parts: texts as they are, numbers through the number-to-text
  // conversion of their type.
  template <class... Parts>
  void Add(const Parts&... parts) {
    if (!enabled_) return;
    // Written straight after the lines before it: a long report costs no allocation a line.
    AppendParts(lines_.Open(), parts...);
    lines_.Close();
  }

  // The text of the parts as Add writes them, for a piece that many lines repeat (an iteration's
  // constants); empty when the report is off.
  template <class... Parts>
  std::string Text(const Parts&... parts) const {
    std::string text;
    if (enabled_) AppendParts(text, parts...);
    return text;
  }

  // The rounding pass (4 significant digits, half up, the user's separator) and the file write.
  void Finish();
  // The file write alone, for reports whose numbers are already written with fixed patterns.
  void WriteWithoutRounding();

  // The lines as a row list (the lines added so far move into it).
  vbСписок& List();
  const std::string& Path() const noexcept { return path_; }

 private:
  // Lines in a few large pieces of text, in the order added, after those of the list.
  class Lines {
   public:
    // The piece to write the new line at the end of.
    std::string& Open();
    void Close();
    size_t Count() const { return spans_.size(); }
    std::string_view At(size_t index) const;
    void MoveInto(vbСписок& list);

   private:
    struct Span {
      size_t piece;
      size_t begin;
      size_t size;
    };
    std::vector<std::string> pieces_;
    std::vector<Span> spans_;
    size_t open_begin_ = 0;
  };
  class AllLines;

  template <class... Parts>
  static void AppendParts(std::string& line, const Parts&... parts) {
    if constexpr ((!IsText<Parts> || ...)) {
      const std::string separator = NumberSeparator();  // read once for all the line's numbers
      (Append(line, parts, separator), ...);
    } else {
      (Append(line, parts, std::string_view()), ...);
    }
  }

  template <class T>
  static constexpr bool IsText =
      std::is_convertible_v<const T&, std::string_view> || std::is_same_v<T, char>;

  static void Append(std::string& line, std::string_view text, std::string_view) { line += text; }
  static void Append(std::string& line, const std::string& text, std::string_view) { line += text; }
  static void Append(std::string& line, const char* text, std::string_view) { line += text; }
  static void Append(std::string& line, char c, std::string_view) { line += c; }
  static void Append(std::string& line, Число value, std::string_view separator) {
    AppendDoubleText(line, value.v, separator);
  }
  template <class T>
  requires std::is_arithmetic_v<T>
  static void Append(std::string& line, T value, std::string_view separator) {
    if constexpr (std::is_same_v<T, double>) {
      AppendDoubleText(line, value, separator);
    } else if constexpr (std::is_same_v<T, float>) {
      AppendSingleText(line, value, separator);
    } else if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>) {
      line += std::to_string(value);  // every integer type: plain digits
    } else {
      line += Текст(value);
    }
  }

  // The list, made on first use: a report that is off never needs one (it costs an allocation).
  vbСписок& EnsureList();

  std::string path_;
  bool enabled_;
  std::optional<vbСписок> list_;
  Lines lines_;
};

// True when `path` names a report file (longer than 4 characters).
bool IsReportPath(std::string_view path);

// The text of steel class code c: the Cyrillic "А" and c Latin "I" ("АIII" for 3).
std::string КлассАрматурыТекст(uint8_t code);

}  // namespace armocalc
