// regioncap --daemon and --quit on Windows.
//
// The resident process prepares what every capture needs (artwork, fonts,
// codecs) once, holds the session's named mutex, and registers the
// shortcut for a hidden message-only window. At each WM_HOTKEY it runs one
// capture on its own thread, with a new snapshot; the host returns from the
// capture's end instead of ending the process. The clipboard keeps what a
// capture put there, since the system holds the data once it is set.
#pragma once

#include "app/command_line.h"
#include "app/hotkey.h"

namespace rc {

// Runs until `regioncap --quit`; returns the exit code: 1 when another
// resident regioncap runs in this session or the shortcut cannot be had.
// Every capture takes `options` (--no-window-snap, --output, …). Call with
// the process already DPI-aware and COM started.
int RunResidentWin32(const Hotkey& hotkey, const CommandLineOptions& options);

// Ends the resident regioncap of this session (a capture it shows is
// closed first); 1 when none runs or it did not end.
int QuitResidentWin32();

}  // namespace rc
