#pragma once
// Installing, updating and removing the library, the workbook and the class registration.

#include <string>
#include <vector>

#include "setup/layout.hpp"
#include "setup/platform.hpp"

namespace armocalc::setup {

// The result of an action; the numbers are the exit codes of the silent mode.
enum class Status : int {
  kOk = 0,
  kExcelRunning = 1,      // installation refused, nothing changed
  kCopyFailed = 2,        // a file could not be copied; earlier steps stay done
  kRegistryFailed = 3,    // a registry entry could not be written; earlier steps stay done
  kBadCommandLine = 4,    // nothing done
  kLogFailed = 5,         // the log file could not be created; nothing done
  kRemoveIncomplete = 6,  // removal left a file or the class key behind
  kNoStartupFolder = 7,   // installation refused without a start-up folder, nothing changed
  kNoDialog = 8,          // the dialog could not be created
};

struct Outcome {
  Status status = Status::kOk;
  std::string reason;  // empty on success
};

struct Platform {
  FileSystem& files;
  Registry& registry;
  WindowTitles& windows;
  Messages& messages;
  Journal& journal;
};

// Deletes the installed files, the description folder (when empty) and, when the user's
// registry remembers the class identifier, the class key in every registry view of `layout`.
// Failures do not stop the removal; what stayed behind is listed.
std::vector<std::string> Remove(Platform& platform, const Layout& layout);

// Refuses while Excel runs; otherwise removes the previous installation, copies the files,
// writes the registration and reports success. Every outcome is also shown as a message.
Outcome Install(Platform& platform, const Layout& layout);

// The text of the automation runtime's error for a failed file copy, for example
// "Run-time error '53': File not found".
std::string RuntimeErrorText(Fault fault);

}  // namespace armocalc::setup
