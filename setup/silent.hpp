#pragma once
// The silent mode for administrators and scripts:
//   SetupKelvorVBA /install [/xlstart PATH] [/log FILE]
//   SetupKelvorVBA /remove  [/xlstart PATH] [/log FILE]
// The same actions as the dialog's buttons, without any window; the outcome is the exit code
// (see Status) and, with /log, a UTF-8 text file of the steps and the result.

#include <optional>
#include <string>
#include <vector>

#include "setup/installer.hpp"

namespace armocalc::setup {

enum class Action { kInstall, kRemove };

struct CommandLine {
  bool dialog = false;  // no arguments: show the dialog
  std::optional<Action> action;
  std::optional<std::string> xlstart;
  std::optional<std::string> log;
  std::string error;  // why the arguments are not understood; empty when they are
};

// `args` without the program name. Switches are case-insensitive and start with '/' or '-'.
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// The value of the last "/log" switch, even when the rest of the arguments is malformed (so that
// the log can tell why).
std::optional<std::string> LogPathOf(const std::vector<std::string>& args);

// The line that ends the log, for example "result: 0 (success)".
std::string ResultLine(Status status);

// The log's first line: the installer and the version of what it installs.
std::string VersionLine();

// Messages of the silent mode go to the log.
class JournalMessages : public Messages {
 public:
  explicit JournalMessages(Journal& journal) : journal_(journal) {}
  void Show(const std::string& text, MessageKind kind) override;

 private:
  Journal& journal_;
};

// Runs a well-formed command; the start-up folder is the given one or the user's default.
Status RunSilent(const CommandLine& command, Platform& platform, SystemInfo& system);

}  // namespace armocalc::setup
