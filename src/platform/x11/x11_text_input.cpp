#include "platform/x11/x11_text_input.h"

#include <X11/Xutil.h>

#include "platform/x11/x11_keys.h"

namespace rc {

namespace {

// The input method XMODIFIERS names, else the built-in one, which still
// composes dead keys and looks up UTF-8.
XIM OpenInputMethod(Display* dpy) {
  if (!XSupportsLocale()) return nullptr;
  XSetLocaleModifiers("");
  if (XIM im = XOpenIM(dpy, nullptr, nullptr, nullptr)) return im;
  XSetLocaleModifiers("@im=none");
  return XOpenIM(dpy, nullptr, nullptr, nullptr);
}

}  // namespace

X11TextInput::X11TextInput(Display* dpy) : dpy_(dpy), im_(OpenInputMethod(dpy)) {}

X11TextInput::~X11TextInput() {
  if (ic_ != nullptr) XDestroyIC(ic_);
  if (im_ != nullptr) XCloseIM(im_);
}

long X11TextInput::Attach(Window window) {
  if (im_ == nullptr) return 0;
  if (ic_ != nullptr) XDestroyIC(ic_);
  ic_ = XCreateIC(im_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                  XNFocusWindow, window, nullptr);
  if (ic_ == nullptr) return 0;
  long events = 0;
  if (XGetICValues(ic_, XNFilterEvents, &events, nullptr) != nullptr) events = 0;
  XSetICFocus(ic_);
  return events;
}

bool X11TextInput::Filter(XEvent& event) { return ic_ != nullptr && XFilterEvent(&event, None); }

KeyLookup X11TextInput::LookUpPress(XKeyEvent& key) {
  return ic_ != nullptr ? LookUpWithContext(key) : LookUpPlain(key);
}

// NOTE: an input method's result may be longer than any buffer guessed in
// advance; the lookup then says how long it is, and is asked again.
KeyLookup X11TextInput::LookUpWithContext(XKeyEvent& key) {
  KeyLookup result;
  std::string buffer(64, '\0');
  Status status = 0;
  int n = Xutf8LookupString(ic_, &key, buffer.data(), static_cast<int>(buffer.size()), &result.sym, &status);
  if (status == XBufferOverflow) {
    buffer.resize(static_cast<size_t>(n));
    n = Xutf8LookupString(ic_, &key, buffer.data(), n, &result.sym, &status);
  }
  if (status != XLookupKeySym && status != XLookupBoth) result.sym = NoSymbol;
  if (status == XLookupChars || status == XLookupBoth) result.text.assign(buffer.data(), static_cast<size_t>(n));
  return result;
}

KeyLookup LookUpPlain(XKeyEvent& key) {
  KeyLookup result;
  char latin1[8];
  XLookupString(&key, latin1, sizeof latin1, &result.sym, nullptr);
  result.text = KeysymText(result.sym);
  return result;
}

}  // namespace rc
