#pragma once
// Where the installer takes its files from and where they go.

#include <string>
#include <vector>

#include "setup/platform.hpp"

namespace armocalc::setup {

// One bitness of the library: its file in the installer folder, the path this process copies it
// to, the path clients load it from (written into the registration) and the registry view that
// clients of that bitness read.
struct LibraryTarget {
  std::string source;
  std::string destination;
  std::string registered_path;
  RegistryView view = RegistryView::kOwn;
};

struct Layout {
  std::string installer_folder;
  std::string xlstart;  // empty when no start-up folder is given
  // The 32-bit library first; on 64-bit Windows also the 64-bit one.
  std::vector<LibraryTarget> libraries;
};

// The user name without leading and trailing blanks.
std::string TrimBlanks(const std::string& text);

// A folder typed by the user or given on the command line, without surrounding blanks and
// trailing backslashes (so that a file name can be appended with one backslash).
std::string NormalizeFolder(const std::string& folder);

// Excel's start-up folder of the user: the drive of the Windows folder, then
// ":\Documents and Settings\<user>\Application Data\Microsoft\Excel\XLSTART".
std::string DefaultXlstart(const std::string& windows_folder, const std::string& user_name);

// The start-up folder the dialog proposes for the current user.
std::string DefaultXlstart(SystemInfo& system);

Layout MakeLayout(SystemInfo& system, const std::string& xlstart);

}  // namespace armocalc::setup
