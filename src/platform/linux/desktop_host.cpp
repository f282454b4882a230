#include "platform/linux/desktop_host.h"

#include <cstdlib>

#include "platform/linux/desktop_backend.h"
#include "platform/x11/x11_host.h"
#ifdef REGIONCAP_HAVE_WAYLAND
#include "platform/wayland/wayland_host.h"
#endif

namespace rc {

namespace {

#ifdef REGIONCAP_HAVE_WAYLAND
constexpr bool kWaylandBuilt = true;
#else
constexpr bool kWaylandBuilt = false;
#endif

template <typename H>
std::unique_ptr<HostRuntime> Connected(std::unique_ptr<H> host, std::string& error) {
  if (host->Connected()) return host;
  error = host->ConnectError();
  return nullptr;
}

}  // namespace

std::unique_ptr<HostRuntime> ConnectDesktopHost(std::string& error) {
  switch (ChooseDesktopBackend(std::getenv("REGIONCAP_BACKEND"), std::getenv("WAYLAND_DISPLAY"), kWaylandBuilt)) {
    case DesktopBackend::X11: return Connected(std::make_unique<X11Host>(), error);
    case DesktopBackend::Wayland:
#ifdef REGIONCAP_HAVE_WAYLAND
      return Connected(std::make_unique<WaylandHost>(), error);
#else
      error = "Wayland: this regioncap was built without Wayland support";
      return nullptr;
#endif
    default:
      error = "REGIONCAP_BACKEND must be x11 or wayland";
      return nullptr;
  }
}

}  // namespace rc
