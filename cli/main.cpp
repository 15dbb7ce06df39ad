#include <iostream>

#include "cli/cli.hpp"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <string>
#include <vector>

#include "runtime/decimal_separator.hpp"

namespace {

std::string Utf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string text(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
  text.resize(static_cast<size_t>(size - 1));
  return text;
}

// The arguments as the user typed them: the wide command line holds every Cyrillic letter, the
// ANSI argv only those of the system code page.
std::vector<std::string> Utf8Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; wide && i < count; ++i) args.push_back(Utf8(wide[i]));
  if (wide) LocalFree(wide);
  return args;
}

// The decimal separator of the user's regional settings, as the automation server reads it.
std::string UserDecimalSeparator() {
  wchar_t separator[8] = {};
  if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0) return {};
  return Utf8(separator);
}

// UTF-8 out, and "\n" line ends as on Linux, so that scripts read both alike.
void PrepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
  SetConsoleCP(CP_UTF8);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
}

}  // namespace

int main() {
  PrepareConsole();
  armocalc::SetDecimalSeparatorSource(UserDecimalSeparator);
  return armocalc::cli::Run(Utf8Arguments(), std::cin, std::cout, std::cerr);
}

#else

int main(int argc, char** argv) {
  return armocalc::cli::Main(argc, argv, std::cin, std::cout, std::cerr);
}

#endif
