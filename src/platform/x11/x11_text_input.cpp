#include "platform/x11/x11_text_input.h"

#include <X11/Xutil.h>

#include "platform/x11/x11_input_style.h"
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

// The server's own fixed font will do, and is quick to find (a pattern
// would list every font): an input method that draws the text being
// composed mostly uses its own fonts.
XFontSet AnyFontSet(Display* dpy) {
  char** missing = nullptr;
  int missingCount = 0;
  char* fallback = nullptr;
  XFontSet set = XCreateFontSet(dpy, "fixed", &missing, &missingCount, &fallback);
  if (missing != nullptr) XFreeStringList(missing);
  return set;
}

}  // namespace

void X11TextInput::Open() {
  if (opened_) return;
  opened_ = true;
  im_ = OpenInputMethod(dpy_);
}

X11TextInput::~X11TextInput() {
  if (ic_ != nullptr) XDestroyIC(ic_);
  if (fontSet_ != nullptr) XFreeFontSet(dpy_, fontSet_);
  if (im_ != nullptr) XCloseIM(im_);
}

XIMStyle X11TextInput::OfferedStyle() {
  XIMStyles* styles = nullptr;
  if (XGetIMValues(im_, XNQueryInputStyle, &styles, nullptr) != nullptr || styles == nullptr) return kRootWindowStyle;
  const XIMStyle style = PreferredInputStyle({styles->supported_styles, styles->count_styles});
  XFree(styles);
  return style;
}

// The spot and a font set must be given when the context is made.
XIC X11TextInput::CreateOverTheSpot(XIMStyle style, Window window) {
  if (fontSet_ == nullptr) fontSet_ = AnyFontSet(dpy_);
  if (fontSet_ == nullptr) return nullptr;
  XPoint spot{0, 0};
  XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, XNFontSet, fontSet_, nullptr);
  XIC ic = XCreateIC(im_, XNInputStyle, style, XNClientWindow, window, XNFocusWindow, window, XNPreeditAttributes,
                     preedit, nullptr);
  XFree(preedit);
  return ic;
}

long X11TextInput::Attach(Window window) {
  Open();
  if (im_ == nullptr) return 0;
  if (ic_ != nullptr) XDestroyIC(ic_);
  const XIMStyle style = OfferedStyle();
  ic_ = IsOverTheSpot(style) ? CreateOverTheSpot(style, window) : nullptr;
  if (ic_ == nullptr) {
    ic_ = XCreateIC(im_, XNInputStyle, kRootWindowStyle, XNClientWindow, window, XNFocusWindow, window, nullptr);
  }
  if (ic_ == nullptr) return 0;
  long events = 0;
  if (XGetICValues(ic_, XNFilterEvents, &events, nullptr) != nullptr) events = 0;
  XSetICFocus(ic_);
  return events;
}

// NOTE: only an over-the-spot context uses the spot; others refuse or
// ignore it, which costs nothing, and some input methods read it anyway.
void X11TextInput::SetSpot(XPoint spot) {
  if (ic_ == nullptr) return;
  XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
  XSetICValues(ic_, XNPreeditAttributes, preedit, nullptr);
  XFree(preedit);
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
