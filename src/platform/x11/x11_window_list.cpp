#include "platform/x11/x11_window_list.h"

#include <X11/Xatom.h>

#include <algorithm>
#include <optional>

namespace rc {

namespace {

// A window property of 32-bit items (XA_WINDOW or XA_CARDINAL), as longs.
std::optional<std::vector<long>> LongsProperty(Display* dpy, Window w, const char* name, Atom type) {
  Atom actual = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  const Atom property = XInternAtom(dpy, name, True);
  if (property == None || XGetWindowProperty(dpy, w, property, 0, 1 << 16, False, type, &actual, &format, &count,
                                             &after, &data) != Success) {
    return std::nullopt;
  }
  std::optional<std::vector<long>> values;
  if (data != nullptr && actual == type && format == 32) {
    values.emplace(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
  }
  if (data != nullptr) XFree(data);
  return values;
}

// The window's outer rectangle in root coordinates, border included;
// nothing for a window that is not viewable (unmapped, minimised) or gone.
std::optional<Box> ViewableRect(Display* dpy, Window root, Window w) {
  XWindowAttributes a{};
  if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable || a.c_class != InputOutput) return std::nullopt;
  int x = 0, y = 0;
  Window child = None;
  if (!XTranslateCoordinates(dpy, w, root, -a.border_width, -a.border_width, &x, &y, &child)) return std::nullopt;
  return Box{x, y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
}

// A client widened by the frame its window manager draws round it.
Box WithFrameExtents(Display* dpy, Window client, Box rect) {
  const auto extents = LongsProperty(dpy, client, "_NET_FRAME_EXTENTS", XA_CARDINAL);
  if (!extents || extents->size() != 4) return rect;
  const long left = (*extents)[0], right = (*extents)[1], top = (*extents)[2], bottom = (*extents)[3];
  return {static_cast<int32_t>(rect.x - left), static_cast<int32_t>(rect.y - top),
          static_cast<int32_t>(rect.width + left + right), static_cast<int32_t>(rect.height + top + bottom)};
}

std::vector<Box> ClientFrames(Display* dpy, Window root, Window skip, const std::vector<long>& clients) {
  std::vector<Box> frames;
  for (auto it = clients.rbegin(); it != clients.rend(); ++it) {
    const Window w = static_cast<Window>(*it);
    if (w == skip) continue;
    if (const auto rect = ViewableRect(dpy, root, w)) frames.push_back(WithFrameExtents(dpy, w, *rect));
  }
  return frames;
}

std::vector<Box> RootChildFrames(Display* dpy, Window root, Window skip) {
  Window rootReturn = None, parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  std::vector<Box> frames;
  if (!XQueryTree(dpy, root, &rootReturn, &parent, &children, &count)) return frames;
  for (unsigned int i = count; i-- > 0;) {
    if (children[i] == skip) continue;
    if (const auto rect = ViewableRect(dpy, root, children[i])) frames.push_back(*rect);
  }
  if (children != nullptr) XFree(children);
  return frames;
}

// Windows that vanish while they are listed raise errors that mean nothing.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

std::vector<Box> ListX11WindowFrames(Display* dpy, Window root, Window skip) {
  XSync(dpy, False);
  const auto previous = XSetErrorHandler(IgnoreError);
  const auto clients = LongsProperty(dpy, root, "_NET_CLIENT_LIST_STACKING", XA_WINDOW);
  std::vector<Box> frames = clients && !clients->empty() ? ClientFrames(dpy, root, skip, *clients)
                                                         : RootChildFrames(dpy, root, skip);
  XSync(dpy, False);
  XSetErrorHandler(previous);
  return frames;
}

}  // namespace rc
