// The amount is written with two decimals, cut at the decimal separator, and the roubles are
// spelled group by group (billions, millions, thousands, units) with the scale word that agrees
// with the group's last digits; thousands take the feminine "одна", "две".

#include "words/number_in_words.hpp"

#include <optional>
#include <string>
#include <string_view>

#include "runtime/errors.hpp"
#include "runtime/host.hpp"
#include "runtime/text_case.hpp"
#include "runtime/decimal_separator.hpp"
#include "runtime/number_text.hpp"

namespace armocalc {
namespace {

// Units 0–9, masculine.
constexpr std::string_view kЕдиницы[] = {"",      "один ",  "два ",  "три ",    "четыре ",
                                         "пять ", "шесть ", "семь ", "восемь ", "девять "};
// Units 0–2, feminine (thousands).
constexpr std::string_view kЕдиницыЖенские[] = {"", "одна ", "две "};
// Tens 0–9.
constexpr std::string_view kДесятки[] = {
    "",           "десять ",     "двадцать ",  "тридцать ",    "сорок ",
    "пятьдесят ", "шестьдесят ", "семьдесят ", "восемьдесят ", "девяносто "};
// Hundreds 0–9.
constexpr std::string_view kСотни[] = {"",           "сто ",      "двести ",   "триста ",
                                       "четыреста ", "пятьсот ",  "шестьсот ", "семьсот ",
                                       "восемьсот ", "девятьсот "};
// 11–19.
constexpr std::string_view kНадцать[] = {"одиннадцать ",  "двенадцать ",   "тринадцать ",
                                         "четырнадцать ", "пятнадцать ",   "шестнадцать ",
                                         "семнадцать ",   "восемнадцать ", "девятнадцать "};
// Scale words of groups 1–4 (billions, millions, thousands, units): one, two to four, other.
constexpr std::string_view kРазряды[4][3] = {
    {"миллиард ", "миллиарда ", "миллиардов "},
    {"миллион ", "миллиона ", "миллионов "},
    {"тысяча ", "тысячи ", "тысяч "},
    {"", "", ""},
};
constexpr std::string_view kНоль = "Ноль ";
constexpr std::string_view kРублей = "руб. ";
constexpr std::string_view kКопейка = " копейка.";
constexpr std::string_view kКопейки = " копейки.";
constexpr std::string_view kКопеек = " копеек.";
constexpr std::string_view kНеЧисло = "Ссылка не содержит числового значения !";

constexpr int kТысячи = 3;
constexpr int kЕдиницыГруппы = 4;
constexpr size_t kШиринаРублей = 12;  // four groups of three places

// The separator of the user's regional settings, read afresh on every call so that a change of
// the settings shows at once (the number conversions then write the same one).
std::string РазделительНастроек() {
  ClearDecimalSeparatorCache();
  std::string separator = РазделительДробнойЧасти();
  // An empty setting: the conversions write a point, so the point splits the amount.
  if (separator.empty()) separator = ".";
  return separator;
}

// The runtime's numeric test on a cell value: numbers, an empty cell (as 0) and texts that read
// as numbers in the user's locale; nothing for other texts and for arrays.
std::optional<double> ЧисловоеЗначение(const Variant& value) {
  if (value.IsEmpty()) return 0.0;
  if (value.IsNumeric()) return ToDouble(value);
  if (value.Type() == VarType::String && ЭтоЧисло(value.Text())) return ТекстВЧисло(value.Text());
  return std::nullopt;
}

// The runtime's Str: a blank before a non-negative number, always a decimal point.
std::string ТекстСПробелом(double x) {
  return (x >= 0 ? " " : "") + DoubleText(x, ".");
}

// A character of a group as a digit: a blank (or any non-digit) reads as 0.
size_t Цифра(char c) {
  return c >= '0' && c <= '9' ? static_cast<size_t>(c - '0') : 0;
}

std::string_view СловоРазряда(int группа, double число) {
  const auto& формы = kРазряды[группа - 1];
  if (число == 1) return формы[0];
  if (число > 1 && число < 5) return формы[1];
  return формы[2];
}

std::string_view СловоЕдиниц(size_t цифра, int группа) {
  if (группа == kТысячи && цифра < 3) return kЕдиницыЖенские[цифра];
  return kЕдиницы[цифра];
}

// The last digit with its scale word.
void ДобавитьЕдиницы(std::string& слова, char знак, int группа) {
  const size_t цифра = Цифра(знак);
  слова += СловоЕдиниц(цифра, группа);
  слова += СловоРазряда(группа, static_cast<double>(цифра));
}

// The last two places of a group: a teen as one word, otherwise tens and units.
void ДобавитьДесяткиИЕдиницы(std::string& слова, std::string_view два, int группа) {
  const double z = Val(два);
  if (z >= 11 && z <= 19) {
    слова += kНадцать[static_cast<size_t>(z) - 11];
    слова += СловоРазряда(группа, z);
    return;
  }
  слова += kДесятки[Цифра(два[0])];
  ДобавитьЕдиницы(слова, два[1], группа);
}

// The words of one group of up to three places with its scale word; a blank or all-zero group
// gives nothing, not even its scale word.
std::string СловаГруппы(std::string_view группа_текст, int группа) {
  if (!(Val(группа_текст) > 0)) return {};
  std::string слова;
  switch (группа_текст.size()) {
    case 3:
      слова += kСотни[Цифра(группа_текст[0])];
      ДобавитьДесяткиИЕдиницы(слова, группа_текст.substr(1), группа);
      break;
    case 2:
      ДобавитьДесяткиИЕдиницы(слова, группа_текст, группа);
      break;
    case 1:
      ДобавитьЕдиницы(слова, группа_текст[0], группа);
      break;
    default:
      break;
  }
  return слова;
}

std::string СловаРублей(double рубли) {
  if (!(рубли > 0)) return std::string(kНоль);
  const std::string s = ТекстСПробелом(рубли);
  if (s.size() <= 3) return СловаГруппы(s, kЕдиницыГруппы);
  // Twelve places, blank-filled on the left: an amount of 10^11 roubles or more does not fit.
  if (s.size() > kШиринаРублей) Raise(kInvalidProcedureCall);
  const std::string места = std::string(kШиринаРублей - s.size(), ' ') + s;
  std::string слова;
  for (int группа = 1; группа <= kЕдиницыГруппы; ++группа) {
    слова +=
        СловаГруппы(std::string_view(места).substr(static_cast<size_t>(группа - 1) * 3, 3), группа);
  }
  return слова;
}

std::string_view СловоКопеек(double копейки, const std::string& текст) {
  if (копейки > 10 && копейки < 20) return kКопеек;
  const char последняя = текст.back();
  if (последняя == '1') return kКопейка;
  if (последняя > '1' && последняя < '5') return kКопейки;
  return kКопеек;
}

// The first character in upper case, through the host's worksheet functions.
std::string СПрописнойБуквы(const std::string& текст) {
  const size_t первая = DecodeUtf8(текст, 0).length;
  const HostApplication& host = Host();
  return host.Replace(текст, 1, 1, host.Proper(текст.substr(0, первая)));
}

}  // namespace

Variant ЧислоПрописью(HostRange& rCells) {
  const std::string разделитель = РазделительНастроек();
  const std::optional<double> сумма = ЧисловоеЗначение(rCells.Value());
  if (!сумма) return std::string(kНеЧисло);
  const std::string t = FixedText(*сумма, 2);
  const size_t p = t.find(разделитель);
  if (p == std::string::npos) Raise(kInvalidProcedureCall);
  const double рубли = Val(std::string_view(t).substr(0, p));
  const double копейки = Val(std::string_view(t).substr(p + разделитель.size(), 2));

  std::string текст = СловаРублей(рубли);
  текст += kРублей;
  const std::string копейки_текст = ТекстСПробелом(копейки);
  текст += копейки_текст;
  текст += СловоКопеек(копейки, копейки_текст);
  return СПрописнойБуквы(текст);
}

}  // namespace armocalc
