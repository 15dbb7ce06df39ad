// SetupKelvorVBA: without arguments the dialog, with /install or /remove the silent mode.

#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "setup/silent.hpp"
#include "setup/windows/form.hpp"
#include "setup/windows/wide.hpp"
#include "setup/windows/win_platform.hpp"

namespace armocalc::setup::win {
namespace {

std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(Utf8(argv[i]));
  LocalFree(argv);
  return args;
}

// The log of the silent mode: a UTF-8 text file, written line by line as the steps happen.
class LogFile : public Journal {
 public:
  ~LogFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }
  bool Open(const std::string& path) {
    file_ = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
  }
  void Write(const std::string& line) override {
    if (file_ == INVALID_HANDLE_VALUE) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
};

std::string Joined(const std::vector<std::string>& args) {
  std::string text = "SetupKelvorVBA";
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

int RunSilentMode(const CommandLine& command, const std::vector<std::string>& args) {
  LogFile log;
  const std::optional<std::string> log_path = LogPathOf(args);
  if (log_path && !log.Open(*log_path)) return static_cast<int>(Status::kLogFailed);
  log.Write(VersionLine());
  log.Write(Joined(args));
  if (!command.error.empty()) {
    log.Write("error: " + command.error);
    log.Write("usage: SetupKelvorVBA /install|/remove [/xlstart FOLDER] [/log FILE]");
    log.Write(ResultLine(Status::kBadCommandLine));
    return static_cast<int>(Status::kBadCommandLine);
  }
  WinFileSystem files;
  WinRegistry registry;
  WinWindowTitles windows;
  WinSystemInfo system;
  JournalMessages messages(log);
  Platform platform{files, registry, windows, messages, log};
  return static_cast<int>(RunSilent(command, platform, system));
}

}  // namespace
}  // namespace armocalc::setup::win

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  using namespace armocalc::setup;
  const std::vector<std::string> args = win::Arguments();
  const CommandLine command = ParseCommandLine(args);
  if (!command.dialog) return win::RunSilentMode(command, args);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  return win::RunSetupDialog(instance, show);
}
