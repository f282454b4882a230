// The resident mode (regioncap --daemon, --quit) on the desktop this
// session runs.
#pragma once

#include "app/command_line.h"
#include "app/hotkey.h"

namespace rc {

// Runs the resident mode until --quit; returns the exit code. Where the
// desktop lets no program grab a shortcut, says how to bind one instead
// and returns 1. Every capture takes `options` and the settings file's.
int RunDesktopResident(const Hotkey& hotkey, const CommandLineOptions& options);

// Ends the resident regioncap of this session; 1 when none runs.
int QuitDesktopResident();

}  // namespace rc
