// Which desktop one regioncap binary runs on. Pure, so tests need neither.
#pragma once

#include <string>

namespace rc {

enum class DesktopBackend { X11, Wayland, Invalid };

// Wayland when WAYLAND_DISPLAY is set (and the Wayland host is built), X11
// otherwise; REGIONCAP_BACKEND ("x11" or "wayland") overrides both. Any
// other REGIONCAP_BACKEND is Invalid. Null pointers are unset variables.
DesktopBackend ChooseDesktopBackend(const char* backend, const char* waylandDisplay, bool waylandBuilt);

}  // namespace rc
