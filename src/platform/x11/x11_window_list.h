// The top-level windows of an X11 desktop, as window snapping wants them.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "gfx/geometry.h"

namespace rc {

// The frames of the viewable top-level windows, top-most first, in root
// coordinates, leaving out `skip`. Through the window manager's client
// list (_NET_CLIENT_LIST_STACKING) with the frame each client's decoration
// adds (_NET_FRAME_EXTENTS); without a window manager, the root's mapped
// children in stacking order.
std::vector<Box> ListX11WindowFrames(Display* dpy, Window root, Window skip);

}  // namespace rc
