#include "platform/x11/x11_monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

namespace rc {

namespace {

// RandR's monitor list came with version 1.5.
bool HasRandrMonitors(Display* dpy) {
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (!XRRQueryExtension(dpy, &eventBase, &errorBase) || !XRRQueryVersion(dpy, &major, &minor)) return false;
  return major > 1 || (major == 1 && minor >= 5);
}

std::vector<Monitor> RandrMonitors(Display* dpy, Window root, float scale) {
  std::vector<Monitor> monitors;
  if (!HasRandrMonitors(dpy)) return monitors;
  int count = 0;
  XRRMonitorInfo* infos = XRRGetMonitors(dpy, root, True, &count);
  for (int i = 0; i < count; ++i) {
    const XRRMonitorInfo& m = infos[i];
    monitors.push_back(Monitor{Box{m.x, m.y, m.width, m.height}, scale, m.primary != 0});
  }
  if (infos != nullptr) XRRFreeMonitors(infos);
  return monitors;
}

// Xinerama knows no primary monitor; its first screen plays that part.
std::vector<Monitor> XineramaMonitors(Display* dpy, float scale) {
  std::vector<Monitor> monitors;
  int eventBase = 0, errorBase = 0;
  if (!XineramaQueryExtension(dpy, &eventBase, &errorBase) || !XineramaIsActive(dpy)) return monitors;
  int count = 0;
  XineramaScreenInfo* screens = XineramaQueryScreens(dpy, &count);
  for (int i = 0; i < count; ++i) {
    const XineramaScreenInfo& s = screens[i];
    monitors.push_back(Monitor{Box{s.x_org, s.y_org, s.width, s.height}, scale, i == 0});
  }
  if (screens != nullptr) XFree(screens);
  return monitors;
}

}  // namespace

std::vector<Monitor> QueryX11Monitors(Display* dpy, Window root, float scale) {
  std::vector<Monitor> monitors = RandrMonitors(dpy, root, scale);
  if (monitors.empty()) monitors = XineramaMonitors(dpy, scale);
  return monitors;
}

}  // namespace rc
