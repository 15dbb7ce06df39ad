#include "setup/silent.hpp"

#include "runtime/version.hpp"
#include "setup/layout.hpp"

namespace armocalc::setup {

namespace {

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// "/install" and "-install" give "install"; anything else is not a switch.
std::optional<std::string> SwitchName(const std::string& arg) {
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return std::nullopt;
  return Lower(arg.substr(1));
}

bool SetOnce(std::optional<std::string>& slot, const std::string& value) {
  if (slot) return false;
  slot = value;
  return true;
}

CommandLine Invalid(const std::string& error) {
  CommandLine command;
  command.error = error;
  return command;
}

std::string StatusText(Status status) {
  switch (status) {
    case Status::kOk:
      return "success";
    case Status::kExcelRunning:
      return "Microsoft Excel is running";
    case Status::kCopyFailed:
      return "a file could not be copied";
    case Status::kRegistryFailed:
      return "a registry entry could not be written";
    case Status::kBadCommandLine:
      return "the command line is not understood";
    case Status::kLogFailed:
      return "the log file could not be created";
    case Status::kRemoveIncomplete:
      return "the removal left something behind";
    case Status::kNoStartupFolder:
      return "no Excel start-up folder";
    case Status::kNoDialog:
      return "the dialog could not be created";
  }
  return "unknown";
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine command;
  if (args.empty()) {
    command.dialog = true;
    return command;
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::optional<std::string> name = SwitchName(args[i]);
    if (!name) return Invalid("unexpected argument \"" + args[i] + "\"");
    if (*name == "install" || *name == "remove") {
      if (command.action) return Invalid("more than one action");
      command.action = *name == "install" ? Action::kInstall : Action::kRemove;
      continue;
    }
    if (*name != "xlstart" && *name != "log") return Invalid("unknown switch \"" + args[i] + "\"");
    if (i + 1 >= args.size()) return Invalid("\"" + args[i] + "\" needs a value");
    const std::string& value = args[++i];
    if (value.empty()) return Invalid("\"" + args[i - 1] + "\" needs a value");
    if (!SetOnce(*name == "log" ? command.log : command.xlstart, value)) {
      return Invalid("\"" + args[i - 1] + "\" given twice");
    }
  }
  if (!command.action) return Invalid("neither /install nor /remove given");
  return command;
}

std::optional<std::string> LogPathOf(const std::vector<std::string>& args) {
  std::optional<std::string> log;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    const std::optional<std::string> name = SwitchName(args[i]);
    if (name != "log" && name != "xlstart") continue;
    ++i;  // the switch's value
    if (name == "log" && !args[i].empty()) log = args[i];
  }
  return log;
}

std::string ResultLine(Status status) {
  return "result: " + std::to_string(static_cast<int>(status)) + " (" + StatusText(status) + ")";
}

void JournalMessages::Show(const std::string& text, MessageKind kind) {
  journal_.Write((kind == MessageKind::kError ? "error: " : "message: ") + text);
}

Status RunSilent(const CommandLine& command, Platform& platform, SystemInfo& system) {
  const std::string xlstart = command.xlstart ? *command.xlstart : DefaultXlstart(system);
  const Layout layout = MakeLayout(system, xlstart);
  const bool install = command.action == Action::kInstall;
  platform.journal.Write(std::string(install ? "install" : "remove") + ", start-up folder \"" +
                         layout.xlstart + "\", installer folder \"" + layout.installer_folder +
                         "\"");
  Status status = Status::kOk;
  if (install) {
    status = Install(platform, layout).status;
  } else if (!Remove(platform, layout).empty()) {
    status = Status::kRemoveIncomplete;
  }
  platform.journal.Write(ResultLine(status));
  return status;
}

std::string VersionLine() {
  return "SetupKelvorVBA " + std::string(kArmocalcVersion);
}

}  // namespace armocalc::setup
