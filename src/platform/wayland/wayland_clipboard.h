// The clipboard outlives the program, as on X11: at finish a forked process
// of ours, on a Wayland connection of its own, offers the picture through
// zwlr_data_control as image/png and image/bmp until another client takes
// the clipboard. The program ends at once; the owner ends with its offer.
#pragma once

#include "app/host.h"
#include "gfx/canvas.h"

namespace rc {

// Starts the owner for `area` of `source` and returns once the compositor
// has given it the selection, or with the reason it could not.
HostResult StartWaylandClipboardOwner(const Canvas& source, const Box& area);

}  // namespace rc
