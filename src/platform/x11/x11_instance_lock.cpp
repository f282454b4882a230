#include "platform/x11/x11_instance_lock.h"

#include <chrono>
#include <string>
#include <thread>

namespace rc {

Atom ResidentSelection(Display* dpy, int screen) {
  const std::string name = "_REGIONCAP_S" + std::to_string(screen);
  return XInternAtom(dpy, name.c_str(), False);
}

Atom ResidentQuitMessage(Display* dpy) { return XInternAtom(dpy, "_REGIONCAP_QUIT", False); }

bool TakeResidentSelection(Display* dpy, int screen, Window window) {
  const Atom selection = ResidentSelection(dpy, screen);
  XGrabServer(dpy);
  const bool free = XGetSelectionOwner(dpy, selection) == None;
  if (free) XSetSelectionOwner(dpy, selection, window, CurrentTime);
  const bool ours = free && XGetSelectionOwner(dpy, selection) == window;
  XUngrabServer(dpy);
  XFlush(dpy);
  return ours;
}

Window ResidentOwner(Display* dpy, int screen) { return XGetSelectionOwner(dpy, ResidentSelection(dpy, screen)); }

bool AskResidentToQuit(Display* dpy, int screen, int timeoutMs) {
  const Window owner = ResidentOwner(dpy, screen);
  if (owner == None) return true;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = owner;
  event.xclient.message_type = ResidentQuitMessage(dpy);
  event.xclient.format = 32;
  XSendEvent(dpy, owner, False, NoEventMask, &event);
  XFlush(dpy);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (ResidentOwner(dpy, screen) != owner) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

}  // namespace rc
