// The clipboard outlives the program: at finish a small process of its own
// (this executable, started afresh) owns the CLIPBOARD selection and serves
// the picture until another client takes the selection.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/host.h"
#include "gfx/canvas.h"

namespace rc {

// The program's large buffers besides the snapshot (the back buffer), which
// a forked owner gives back to the system.
using ProgramMemory = std::vector<std::span<const Pixel>>;

// Starts the owner process for `area` of `source` and returns once it owns
// the selection, or with the reason it could not.
HostResult StartClipboardOwner(const Canvas& source, const Box& area, const ProgramMemory& programMemory = {});
// The same for a text (UTF-8).
HostResult StartClipboardTextOwner(const std::string& utf8);

// Whether this process was started as the clipboard owner.
bool IsClipboardOwnerLaunch();
// The owner process's whole life; returns its exit code.
int RunClipboardOwner();

}  // namespace rc
