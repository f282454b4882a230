// The resident shortcut as a passive grab on the root window, whatever the
// state of Caps Lock, Num Lock and Scroll Lock.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "app/hotkey.h"

namespace rc {

class X11HotkeyGrab {
 public:
  X11HotkeyGrab(Display* dpy, Window root) : dpy_(dpy), root_(root) {}
  ~X11HotkeyGrab() { Release(); }
  X11HotkeyGrab(const X11HotkeyGrab&) = delete;
  X11HotkeyGrab& operator=(const X11HotkeyGrab&) = delete;

  // Grabs `hotkey`; false with `error` set when the keyboard has no such
  // key or another program holds the shortcut.
  bool Grab(const Hotkey& hotkey, std::string& error);
  void Release();
  // Whether a key press on the root is the shortcut.
  bool Matches(const XKeyEvent& press) const;

 private:
  struct Masks {
    unsigned int alt = Mod1Mask, super = Mod4Mask, numLock = Mod2Mask, scrollLock = 0;
  };
  static Masks FindMasks(Display* dpy);
  void GrabEveryLockState();

  Display* dpy_;
  Window root_;
  Masks masks_;
  KeyCode code_ = 0;
  unsigned int mods_ = 0;
  bool grabbed_ = false;
};

}  // namespace rc
