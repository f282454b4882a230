// The scale the X11 desktop asks applications to draw their UI at.
#pragma once

#include <X11/Xlib.h>

namespace rc {

// The environment variable that overrides the desktop's scale ("1.5", "2").
inline constexpr const char* kScaleVariable = "REGIONCAP_SCALE";

// The scale from REGIONCAP_SCALE when it holds a number, else from the
// Xft.dpi resource (96 dpi is 1), else 1. X has one scale for every monitor.
float ReadX11UiScale(Display* dpy);

}  // namespace rc
