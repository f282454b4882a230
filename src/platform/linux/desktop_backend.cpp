#include "platform/linux/desktop_backend.h"

#include <cstring>

namespace rc {

DesktopBackend ChooseDesktopBackend(const char* backend, const char* waylandDisplay, bool waylandBuilt) {
  if (backend != nullptr && *backend != '\0') {
    if (std::strcmp(backend, "x11") == 0) return DesktopBackend::X11;
    if (std::strcmp(backend, "wayland") == 0) return DesktopBackend::Wayland;
    return DesktopBackend::Invalid;
  }
  const bool onWayland = waylandDisplay != nullptr && *waylandDisplay != '\0';
  return onWayland && waylandBuilt ? DesktopBackend::Wayland : DesktopBackend::X11;
}

}  // namespace rc
