// The screen through zwlr_screencopy_manager_v1: every output at its own
// pixels, the cursor left out, the output's rotation applied, composed into
// one desktop-sized canvas.
#pragma once

#include "app/host.h"
#include "gfx/canvas.h"
#include "platform/wayland/wayland_display.h"

namespace rc {

// Fills `out` with the desktop (DesktopRect's size; black where no output
// is); fails when the compositor refuses a frame or offers no pixel format
// we read.
HostResult CaptureScreencopy(WaylandDisplay& display, Canvas& out);

}  // namespace rc
