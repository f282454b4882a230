// X events to the program's messages: one event (or one run of motion
// events) becomes one Message.
#pragma once

#include <X11/Xlib.h>

#include <optional>

#include "app/host.h"
#include "platform/x11/x11_double_click.h"

namespace rc {

// Our key code for a key the program might know, Key::Unknown for the rest.
Key KeyFor(KeySym sym);

class X11InputTranslator {
 public:
  explicit X11InputTranslator(Display* dpy) : dpy_(dpy) {}
  void SetDoubleClickInterval(uint32_t ms) { clicks_.SetInterval(ms); }
  // Translates `event`; a motion event also swallows the motion events
  // queued right behind it, since only the latest position matters.
  Message Translate(const XEvent& event);
  // Where the pointer was, on the root window, when the last translated
  // event happened: the latest of the motion events a move swallowed.
  // Empty for events that carry no position.
  std::optional<Point> EventPosition() const { return position_; }

 private:
  Message Classify(const XEvent& event);
  Message FromKey(const XKeyEvent& key);
  Message FromPress(const XButtonEvent& button);
  void SkipQueuedMotion();

  Display* dpy_;
  DoubleClickDetector clicks_;
  std::optional<Point> position_;
};

}  // namespace rc
