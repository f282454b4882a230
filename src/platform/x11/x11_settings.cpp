#include "platform/x11/x11_settings.h"

#include <X11/Xatom.h>

#include <string>

#include "platform/x11/x11_display.h"
#include "platform/x11/x11_xsettings.h"

namespace rc {

namespace {

constexpr int32_t kLongestSensibleMs = 5000;

}  // namespace

std::optional<uint32_t> ReadDoubleClickTime(Display* dpy, int screen) {
  const std::string selection = "_XSETTINGS_S" + std::to_string(screen);
  const Window owner = XGetSelectionOwner(dpy, XInternAtom(dpy, selection.c_str(), False));
  if (owner == None) return std::nullopt;
  const Atom property = XInternAtom(dpy, "_XSETTINGS_SETTINGS", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  // The owner may go away meanwhile; that is no reason to stop.
  X11ErrorTrap trap(dpy);
  const int status = XGetWindowProperty(dpy, owner, property, 0, 65536, False, AnyPropertyType, &type, &format,
                                        &count, &after, &data);
  std::optional<int32_t> ms;
  if (status == Success && data != nullptr && format == 8) ms = FindXSettingsInt({data, count}, "Net/DoubleClickTime");
  if (data != nullptr) XFree(data);
  if (!ms || *ms <= 0 || *ms > kLongestSensibleMs) return std::nullopt;
  return static_cast<uint32_t>(*ms);
}

}  // namespace rc
