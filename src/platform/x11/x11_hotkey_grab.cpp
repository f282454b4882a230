#include "platform/x11/x11_hotkey_grab.h"

#include <X11/keysym.h>

#include <cctype>
#include <map>

#include "app/message.h"
#include "platform/x11/x11_display.h"

namespace rc {

namespace {

// Our key names where X spells them differently; the others (F1, Print,
// Home, …) are X's names already.
KeySym KeySymFor(const std::string& key) {
  static const std::map<std::string, std::string> kXNames = {
      {"PageUp", "Prior"}, {"PageDown", "Next"}, {"Space", "space"},
      {"Backspace", "BackSpace"}, {"ScrollLock", "Scroll_Lock"}};
  if (key.size() == 1) return XStringToKeysym(std::string(1, static_cast<char>(std::tolower(key[0]))).c_str());
  const auto x = kXNames.find(key);
  return XStringToKeysym(x == kXNames.end() ? key.c_str() : x->second.c_str());
}

// The modifier bit that holds `sym`, or 0.
unsigned int MaskOf(const XModifierKeymap* map, Display* dpy, KeySym sym) {
  const KeyCode code = XKeysymToKeycode(dpy, sym);
  if (code == 0) return 0;
  for (int mod = 0; mod < 8; ++mod)
    for (int k = 0; k < map->max_keypermod; ++k)
      if (map->modifiermap[mod * map->max_keypermod + k] == code) return 1u << mod;
  return 0;
}

}  // namespace

X11HotkeyGrab::Masks X11HotkeyGrab::FindMasks(Display* dpy) {
  Masks masks;
  XModifierKeymap* map = XGetModifierMapping(dpy);
  if (map == nullptr) return masks;
  if (const unsigned int m = MaskOf(map, dpy, XK_Alt_L)) masks.alt = m;
  if (const unsigned int m = MaskOf(map, dpy, XK_Super_L)) masks.super = m;
  if (const unsigned int m = MaskOf(map, dpy, XK_Num_Lock)) masks.numLock = m;
  masks.scrollLock = MaskOf(map, dpy, XK_Scroll_Lock);
  XFreeModifiermap(map);
  return masks;
}

// A passive grab matches the modifier state exactly, so the shortcut is
// grabbed once for each combination of the lock keys.
void X11HotkeyGrab::GrabEveryLockState() {
  const unsigned int locks[] = {LockMask, masks_.numLock, masks_.scrollLock};
  for (unsigned int combo = 0; combo < 8; ++combo) {
    unsigned int extra = 0;
    for (int i = 0; i < 3; ++i)
      if (combo & (1u << i)) extra |= locks[i];
    XGrabKey(dpy_, code_, mods_ | extra, root_, False, GrabModeAsync, GrabModeAsync);
  }
}

bool X11HotkeyGrab::Grab(const Hotkey& hotkey, std::string& error) {
  const KeySym sym = KeySymFor(hotkey.key);
  code_ = sym == NoSymbol ? 0 : XKeysymToKeycode(dpy_, sym);
  if (code_ == 0) {
    error = "X11: the keyboard has no " + hotkey.key + " key";
    return false;
  }
  masks_ = FindMasks(dpy_);
  mods_ = ((hotkey.mods & kModCtrl) ? ControlMask : 0) | ((hotkey.mods & kModShift) ? ShiftMask : 0) |
          ((hotkey.mods & kModAlt) ? masks_.alt : 0) | ((hotkey.mods & kModSuper) ? masks_.super : 0);
  X11ErrorTrap trap(dpy_);
  GrabEveryLockState();
  grabbed_ = true;
  if (!trap.Failed()) return true;
  Release();
  error = "X11: " + HotkeyText(hotkey) + " is taken by another program";
  return false;
}

void X11HotkeyGrab::Release() {
  if (!grabbed_) return;
  X11ErrorTrap trap(dpy_);
  XUngrabKey(dpy_, code_, AnyModifier, root_);
  grabbed_ = false;
}

bool X11HotkeyGrab::Matches(const XKeyEvent& press) const {
  const unsigned int relevant = ControlMask | ShiftMask | masks_.alt | masks_.super;
  return grabbed_ && press.keycode == code_ && (press.state & relevant) == mods_;
}

}  // namespace rc
