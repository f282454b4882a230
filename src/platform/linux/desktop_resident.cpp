#include "platform/linux/desktop_resident.h"

#include <cstdio>
#include <cstdlib>

#include "app/resident.h"
#include "platform/linux/desktop_backend.h"
#include "platform/x11/x11_resident.h"

namespace rc {

namespace {

#ifdef REGIONCAP_HAVE_WAYLAND
constexpr bool kWaylandBuilt = true;
#else
constexpr bool kWaylandBuilt = false;
#endif

DesktopBackend Chosen() {
  return ChooseDesktopBackend(std::getenv("REGIONCAP_BACKEND"), std::getenv("WAYLAND_DISPLAY"), kWaylandBuilt);
}

int InvalidBackend() {
  std::fprintf(stderr, "regioncap: REGIONCAP_BACKEND must be x11 or wayland\n");
  return 1;
}

}  // namespace

// NOTE: a Wayland compositor gives no client a global key grab; the user
// binds `regioncap` itself in the desktop's keyboard settings.
int RunDesktopResident(const Hotkey& hotkey, const CommandLineOptions& options) {
  switch (Chosen()) {
    case DesktopBackend::X11: return RunResidentX11(hotkey, options);
    case DesktopBackend::Wayland: return ReportNoGlobalShortcuts("Wayland");
    default: return InvalidBackend();
  }
}

int QuitDesktopResident() {
  switch (Chosen()) {
    case DesktopBackend::X11: return QuitResidentX11();
    case DesktopBackend::Wayland:
      std::fprintf(stderr, "regioncap: %s\n", NoResidentText().c_str());
      return 1;
    default: return InvalidBackend();
  }
}

}  // namespace rc
