// The snapshot through the screenshot portal, for compositors without
// zwlr_screencopy_manager_v1: the portal's PNG laid out on the desktop.
#pragma once

#include "app/host.h"
#include "gfx/canvas.h"
#include "platform/wayland/wayland_display.h"

namespace rc {

// Fills `out` with the desktop (DesktopRect's size). The portal's file is
// read and left where it is: it may be in the user's own pictures folder.
HostResult CapturePortal(const WaylandDisplay& display, Canvas& out);

}  // namespace rc
