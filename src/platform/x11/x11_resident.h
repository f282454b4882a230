// regioncap --daemon and --quit on an X11 display.
//
// The resident process prepares what every capture needs (artwork, fonts,
// codecs) once and stays single-threaded, so forking it is safe. One forked
// child always waits for the next press: it has its own X connection and
// the snapshot's memory in place (fresh memory is slow to touch the first
// time). At the press it takes a new snapshot and runs one capture exactly
// as a fresh regioncap would, to its own exit, which leaves the clipboard
// owner behind as ever; the resident process reaps it and forks the next.
#pragma once

#include "app/command_line.h"
#include "app/hotkey.h"

namespace rc {

// Runs until `regioncap --quit`; returns the exit code: 1 when another
// resident regioncap runs, the display cannot be opened or the shortcut
// cannot be had. Every capture takes `options` and the settings file's.
int RunResidentX11(const Hotkey& hotkey, const CommandLineOptions& options);

// Ends the resident regioncap of this display; 1 when none runs.
int QuitResidentX11();

}  // namespace rc
