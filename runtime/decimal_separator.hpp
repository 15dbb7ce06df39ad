#pragma once
// The user's decimal separator, read once per thread and cached (an empty answer is read again
// at the next use). On Windows the source is the registry value sDecimal of the user's regional
// settings; elsewhere the user's locale (LC_ALL, LC_NUMERIC, LANG). Callers such as the CLI can
// override it for a stretch of calls on their thread.

#include <functional>
#include <string>

namespace armocalc {

std::string РазделительДробнойЧасти();

// Replaces the platform source of the separator (the Windows layer installs the registry reader).
// Clears the calling thread's cache.
void SetDecimalSeparatorSource(std::function<std::string()> source);

// The separator that the user's locale environment implies: "," for ru_RU.UTF-8, de_DE, ...,
// "." for C, POSIX, en_US and unknown locales.
std::string SeparatorFromLocaleEnvironment();
std::string SeparatorForLocaleName(const std::string& locale_name);

// Forces the separator on this thread while the guard lives (nested guards restore in order).
class ScopedDecimalSeparator {
 public:
  explicit ScopedDecimalSeparator(std::string separator);
  ~ScopedDecimalSeparator();
  ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
  ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

 private:
  std::string previous_;
  bool had_previous_;
};

// Drops this thread's cached separator (tests, and after the source changes).
void ClearDecimalSeparatorCache();

}  // namespace armocalc
