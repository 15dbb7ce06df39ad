#pragma once
// The installer's dialog fSetup: a frame with the start-up folder, and the buttons that install
// (or update) and remove.

#include <windows.h>

namespace armocalc::setup::win {

// Shows the dialog and runs it until it closes; returns the program's exit code.
int RunSetupDialog(HINSTANCE instance, int show);

}  // namespace armocalc::setup::win
