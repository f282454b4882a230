// The monitors of the X screen, as RandR or Xinerama report them.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "app/monitors.h"

namespace rc {

// RandR 1.5 monitors (the active ones, including those made with
// `xrandr --setmonitor`), else Xinerama's screens, else none. Each gets
// `scale`, since X gives one scale to the whole desktop.
std::vector<Monitor> QueryX11Monitors(Display* dpy, Window root, float scale);

}  // namespace rc
