#include "interface/latin_names.hpp"

#include <array>
#include <utility>

#include "runtime/text_case.hpp"

namespace armocalc {
namespace {

// Latin groups of а … я (U+0430 … U+044F) in alphabet order.
constexpr std::array<std::string_view, 32> kLatinOfLetter = {
    "a", "b", "v", "g", "d", "e",  "zh", "z",  "i",  "y",    "k", "l", "m", "n", "o",  "p",
    "r", "s", "t", "u", "f", "kh", "ts", "ch", "sh", "shch", "",  "y", "",  "e", "yu", "ya"};

constexpr char32_t kSmallA = U'а';
constexpr char32_t kCapitalA = U'А';
constexpr char32_t kSmallYo = U'ё';
constexpr char32_t kCapitalYo = U'Ё';

void AppendLatin(std::string& out, char32_t letter) {
  const bool capital = (letter >= kCapitalA && letter < kSmallA) || letter == kCapitalYo;
  const char32_t small = letter == kCapitalYo || letter == kSmallYo ? U'е'
                         : capital                                  ? letter + 32
                                                                    : letter;
  std::string_view group = kLatinOfLetter[small - kSmallA];
  if (group.empty()) return;
  out += capital ? static_cast<char>(group[0] - 'a' + 'A') : group[0];
  out.append(group.substr(1));
}

bool IsCyrillicLetter(char32_t c) {
  return (c >= kCapitalA && c <= U'я') || c == kCapitalYo || c == kSmallYo;
}

constexpr std::pair<char32_t, char> kLookAlikes[] = {
    {U'А', 'A'}, {U'В', 'B'}, {U'Е', 'E'}, {U'К', 'K'}, {U'М', 'M'}, {U'Н', 'H'},
    {U'О', 'O'}, {U'Р', 'P'}, {U'С', 'C'}, {U'Т', 'T'}, {U'Х', 'X'}, {U'а', 'a'},
    {U'е', 'e'}, {U'о', 'o'}, {U'р', 'p'}, {U'с', 'c'}, {U'у', 'y'}, {U'х', 'x'}};

template <class Names, class Match>
auto FirstMatch(const Names& names, Match&& match) -> decltype(&*std::begin(names)) {
  for (const auto& candidate : names) {
    if (match(candidate.name)) return &candidate;
  }
  return nullptr;
}

// The declared spelling, any case; the transliteration; the look-alike skeleton, in this order.
template <class Names>
auto LookUp(const Names& names, std::string_view spelling) -> decltype(&*std::begin(names)) {
  if (auto* exact = FirstMatch(names, [&](std::string_view name) { return name == spelling; })) {
    return exact;
  }
  if (auto* any_case = FirstMatch(
          names, [&](std::string_view name) { return EqualsIgnoreCase(name, spelling); })) {
    return any_case;
  }
  if (auto* latin = FirstMatch(names, [&](std::string_view name) {
        return EqualsIgnoreCase(Transliterated(name), spelling);
      })) {
    return latin;
  }
  const std::string skeleton = LookAlikeSkeleton(spelling);
  return FirstMatch(names, [&](std::string_view name) {
    return EqualsIgnoreCase(LookAlikeSkeleton(name), skeleton);
  });
}

}  // namespace

std::string Transliterated(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t pos = 0; pos < name.size();) {
    const CodePoint c = DecodeUtf8(name, pos);
    if (c.valid && IsCyrillicLetter(c.value)) {
      AppendLatin(out, c.value);
    } else {
      out.append(name.substr(pos, c.length));
    }
    pos += c.length;
  }
  return out;
}

std::string LookAlikeSkeleton(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t pos = 0; pos < name.size();) {
    const CodePoint c = DecodeUtf8(name, pos);
    char latin = 0;
    for (const auto& [cyrillic, look_alike] : kLookAlikes) {
      if (c.valid && c.value == cyrillic) latin = look_alike;
    }
    if (latin) {
      out += latin;
    } else {
      out.append(name.substr(pos, c.length));
    }
    pos += c.length;
  }
  return out;
}

const MethodInfo* LookUpMethod(std::string_view name) {
  return LookUp(Methods(), name);
}

int LookUpParam(const MethodInfo& method, std::string_view name) {
  const ParamInfo* param = LookUp(method.params, name);
  return param ? static_cast<int>(param - method.params.data()) : -1;
}

}  // namespace armocalc
