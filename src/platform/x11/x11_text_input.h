// Key presses to keysyms and text through the X input method, so that an
// input method (fcitx, ibus) can compose Chinese; the built-in one, or a
// plain keysym lookup, when no input method runs.
#pragma once

#include <X11/Xlib.h>

#include <string>

namespace rc {

// What a key press means: the keysym the layout and modifiers give
// (NoSymbol for an input method's result) and the text it produced.
struct KeyLookup {
  KeySym sym = NoSymbol;
  std::string text;
};

class X11TextInput {
 public:
  // The input method opens later (Open, Attach): reading the locale's
  // compose tables takes longer than showing the first frame.
  explicit X11TextInput(Display* dpy) : dpy_(dpy) {}
  ~X11TextInput();
  X11TextInput(const X11TextInput&) = delete;
  X11TextInput& operator=(const X11TextInput&) = delete;

  // Opens the locale's input method, once; the program has set LC_CTYPE.
  void Open();
  // Creates the input context for `window` and gives it the focus. Returns
  // the events the input method needs the window to select.
  long Attach(Window window);
  // Whether the input method took the event; a taken event is not handled.
  bool Filter(XEvent& event);
  KeyLookup LookUpPress(XKeyEvent& key);
  bool HasInputContext() const { return ic_ != nullptr; }
  // Where the text being composed starts (its baseline, window
  // coordinates); an over-the-spot input method puts its windows there.
  void SetSpot(XPoint spot);

 private:
  KeyLookup LookUpWithContext(XKeyEvent& key);
  XIMStyle OfferedStyle();
  XIC CreateOverTheSpot(XIMStyle style, Window window);

  Display* dpy_;
  bool opened_ = false;
  XIM im_ = nullptr;
  XIC ic_ = nullptr;
  // The font set an over-the-spot context was created with; the input
  // method may draw with it until the context goes.
  XFontSet fontSet_ = nullptr;
};

// The keysym of a key event the layout and the modifiers give, and its text
// from the keysym, without any input method.
KeyLookup LookUpPlain(XKeyEvent& key);

}  // namespace rc
