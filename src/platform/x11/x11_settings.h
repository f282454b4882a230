// Desktop settings the host follows.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>

namespace rc {

// The desktop's double-click time in milliseconds (XSETTINGS
// Net/DoubleClickTime), or nullopt when no settings daemon publishes one.
std::optional<uint32_t> ReadDoubleClickTime(Display* dpy, int screen);

}  // namespace rc
