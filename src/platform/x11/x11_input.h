// X events to the program's messages: one event (or one run of motion
// events) becomes one Message, except a key that types, which becomes its
// KeyDown followed by the Text it typed.
#pragma once

#include <X11/Xlib.h>

#include <optional>
#include <vector>

#include "app/message.h"
#include "app/double_click.h"
#include "platform/x11/x11_text_input.h"

namespace rc {

class X11InputTranslator {
 public:
  explicit X11InputTranslator(Display* dpy);
  void SetDoubleClickInterval(uint32_t ms) { clicks_.SetInterval(ms); }
  // Opens the input method ahead of AttachWindow.
  void OpenInputMethod() { text_.Open(); }
  // Keys are typed into `window` from now on. Returns the events the input
  // method needs the window to select.
  long AttachWindow(Window window) { return text_.Attach(window); }
  // Whether the input method took the event, which then makes no message.
  bool Filter(XEvent& event) { return text_.Filter(event); }
  // Where the input method's windows go (window coordinates).
  void SetTextSpot(XPoint spot) { text_.SetSpot(spot); }
  // Translates `event`; a motion event also swallows the motion events
  // queued right behind it, since only the latest position matters.
  std::vector<Message> Translate(XEvent& event);
  // Where the pointer was, on the root window, when the last translated
  // event happened: the latest of the motion events a move swallowed.
  // Empty for events that carry no position.
  std::optional<Point> EventPosition() const { return position_; }

 private:
  Message Classify(XEvent& event);
  void AddKeyPress(XKeyEvent& key, std::vector<Message>& out);
  Message FromKeyRelease(XKeyEvent& key);
  Message FromPress(const XButtonEvent& button);
  Message FromRelease(const XButtonEvent& button);
  Message Stamped(MessageKind kind, unsigned int state, Time time) const;
  void SkipQueuedMotion(XEvent& event);

  Display* dpy_;
  X11TextInput text_;
  DoubleClickDetector clicks_;
  std::optional<Point> position_;
  // The last position a real event reported: an input method's result
  // arrives as a made-up key event that has none.
  Point lastPosition_{0, 0};
};

}  // namespace rc
