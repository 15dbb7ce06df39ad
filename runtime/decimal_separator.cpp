#include "runtime/decimal_separator.hpp"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>
#include <utility>

namespace armocalc {
namespace {

// The installed sources, newest first. A node is never freed, so a thread may still call the
// source it loaded while another thread installs a new one; sources are installed once at start
// (and by tests), so the chain stays short.
struct SourceNode {
  std::function<std::string()> read;
  const SourceNode* previous = nullptr;
};
std::atomic<const SourceNode*> installed_source{nullptr};  // none: the locale environment

struct ThreadSeparator {
  std::string cached;
  const SourceNode* cached_from = nullptr;
  bool has_cached = false;
  std::optional<std::string> forced;
};
thread_local ThreadSeparator this_thread;

std::string ReadSeparator(const SourceNode* source) {
  try {
    if (source == nullptr) return SeparatorFromLocaleEnvironment();
    return source->read ? source->read() : std::string();
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
  const SourceNode* source = installed_source.load(std::memory_order_acquire);
  const bool cache_valid = state.has_cached && state.cached_from == source;
  if (cache_valid && !state.cached.empty()) return state.cached;
  state.cached = ReadSeparator(source);
  state.cached_from = source;
  state.has_cached = true;
  return state.cached;
}

void SetDecimalSeparatorSource(std::function<std::string()> source) {
  auto* node = new SourceNode{source ? std::move(source) : SeparatorFromLocaleEnvironment};
  node->previous = installed_source.exchange(node, std::memory_order_acq_rel);
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
  this_thread.has_cached = false;
}

}  // namespace armocalc
