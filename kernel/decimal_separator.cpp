#include "kernel/decimal_separator.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <mutex>
#include <optional>
#include <string_view>
#include <utility>

namespace armocalc {
namespace {

std::mutex source_mutex;
std::function<std::string()> source = SeparatorFromLocaleEnvironment;
// Bumped whenever the source changes, so that every thread reads its separator again.
std::atomic<uint64_t> source_generation{1};

struct ThreadSeparator {
  std::string cached;
  uint64_t generation = 0;
  std::optional<std::string> forced;
};
thread_local ThreadSeparator this_thread;

std::string ReadSeparatorFromSource() {
  std::function<std::string()> current;
  {
    std::lock_guard lock(source_mutex);
    current = source;
  }
  try {
    return current ? current() : std::string();
  } catch (...) {
    return std::string();  // an unreadable setting is an empty separator, not an error
  }
}

// Languages whose usual number format writes a decimal comma.
constexpr std::string_view kCommaLanguages[] = {
    "af",  "an",  "ast", "az", "ba", "be", "bg", "br", "bs", "ca", "crh", "cs", "cv", "da",
    "de",  "dsb", "el",  "eo", "es", "et", "eu", "fi", "fo", "fr", "fur", "fy", "gl", "hr",
    "hsb", "ht",  "hu",  "hy", "id", "is", "it", "ka", "kk", "kl", "ky",  "lb", "li", "lt",
    "lv",  "mk",  "mn",  "nb", "nl", "nn", "no", "oc", "os", "pl", "pt",  "ro", "ru", "sc",
    "se",  "sk",  "sl",  "sq", "sr", "sv", "tg", "tk", "tr", "tt", "uk",  "uz", "vi", "wa"};

// Countries where a comma language is written with a decimal point, and the other way round.
constexpr std::string_view kPointLocales[] = {"de_ch", "de_li", "it_ch", "es_mx", "es_us", "es_pr",
                                              "es_do", "es_gt", "es_hn", "es_ni", "es_pa", "es_sv"};
constexpr std::string_view kCommaLocales[] = {"en_dk", "en_za"};

template <size_t N>
bool Contains(const std::string_view (&list)[N], std::string_view item) {
  return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

std::string LowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

std::string РазделительДробнойЧасти() {
  ThreadSeparator& state = this_thread;
  if (state.forced) return *state.forced;
  const uint64_t generation = source_generation.load(std::memory_order_acquire);
  if (!state.cached.empty() && state.generation == generation) return state.cached;
  state.cached = ReadSeparatorFromSource();
  state.generation = generation;
  return state.cached;
}

void SetDecimalSeparatorSource(std::function<std::string()> new_source) {
  {
    std::lock_guard lock(source_mutex);
    source = new_source ? std::move(new_source) : SeparatorFromLocaleEnvironment;
  }
  source_generation.fetch_add(1, std::memory_order_acq_rel);
  ClearDecimalSeparatorCache();
}

std::string SeparatorFromLocaleEnvironment() {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return SeparatorForLocaleName(value);
  }
  return ".";
}

std::string SeparatorForLocaleName(const std::string& locale_name) {
  const std::string name = LowerAscii(locale_name);
  const size_t language_end = name.find_first_of("_-.@");
  const std::string language = name.substr(0, language_end);
  std::string language_country = language;
  if (language_end != std::string::npos &&
      (name[language_end] == '_' || name[language_end] == '-')) {
    const size_t country_end = name.find_first_of(".@", language_end + 1);
    language_country += '_';
    language_country += name.substr(language_end + 1, country_end - (language_end + 1));
  }
  if (Contains(kPointLocales, language_country)) return ".";
  if (Contains(kCommaLocales, language_country)) return ",";
  if (Contains(kCommaLanguages, language)) return ",";
  return ".";
}

ScopedDecimalSeparator::ScopedDecimalSeparator(std::string separator)
    : previous_(this_thread.forced.value_or(std::string())),
      had_previous_(this_thread.forced.has_value()) {
  this_thread.forced = std::move(separator);
}

ScopedDecimalSeparator::~ScopedDecimalSeparator() {
  if (had_previous_) {
    this_thread.forced = std::move(previous_);
  } else {
    this_thread.forced.reset();
  }
}

void ClearDecimalSeparatorCache() {
  this_thread.cached.clear();
  this_thread.generation = 0;
}

}  // namespace armocalc
