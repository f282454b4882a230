#include "platform/x11/x11_display.h"

#include <X11/extensions/XShm.h>

#include <cstdio>
#include <cstdlib>

namespace rc {

namespace {

int g_trapDepth = 0;
int g_trappedError = 0;

int OnXError(Display* dpy, XErrorEvent* event) {
  if (g_trapDepth > 0) {
    g_trappedError = event->error_code;
    return 0;
  }
  char text[256] = {};
  XGetErrorText(dpy, event->error_code, text, sizeof(text));
  std::fprintf(stderr, "regioncap: X11: %s (request %d)\n", text, event->request_code);
  return 0;
}

int OnXIoError(Display*) {
  std::fprintf(stderr, "regioncap: X11: lost the connection to the display\n");
  std::_Exit(1);
}

bool IsLittleEndianHost() {
  const uint16_t probe = 1;
  return *reinterpret_cast<const uint8_t*>(&probe) == 1;
}

}  // namespace

void InstallX11ErrorHandlers() {
  XSetErrorHandler(OnXError);
  XSetIOErrorHandler(OnXIoError);
}

X11ErrorTrap::X11ErrorTrap(Display* dpy) : dpy_(dpy) {
  Settle();
  if (g_trapDepth++ == 0) g_trappedError = 0;
}

X11ErrorTrap::~X11ErrorTrap() {
  Settle();
  --g_trapDepth;
}

bool X11ErrorTrap::Failed() {
  Settle();
  return g_trappedError != 0;
}

// Errors come in the order of the requests, so once the server has answered
// the last request sent (a reply, or the error itself) every error of the
// ones before has arrived too, and a round trip would learn nothing more.
void X11ErrorTrap::Settle() {
  if (LastKnownRequestProcessed(dpy_) + 1 != XNextRequest(dpy_)) XSync(dpy_, False);
}

std::unique_ptr<X11Display> X11Display::Open(std::string& error) {
  const char* name = std::getenv("DISPLAY");
  if (name == nullptr || *name == '\0') {
    error = "X11: cannot open display (DISPLAY is not set)";
    return nullptr;
  }
  Display* dpy = XOpenDisplay(name);
  if (dpy == nullptr) {
    error = std::string("X11: cannot open display \"") + name + "\"";
    return nullptr;
  }
  InstallX11ErrorHandlers();
  return std::unique_ptr<X11Display>(new X11Display(dpy));
}

X11Display::X11Display(Display* dpy) : dpy_(dpy), screen_(DefaultScreen(dpy)) {
  DetectFormat();
  DetectShm();
}

X11Display::~X11Display() { Close(); }

void X11Display::Close() {
  if (dpy_ != nullptr) XCloseDisplay(dpy_);
  dpy_ = nullptr;
}

void X11Display::DetectFormat() {
  Visual* v = ScreenVisual();
  format_.redMask = v->red_mask;
  format_.greenMask = v->green_mask;
  format_.blueMask = v->blue_mask;
  int count = 0;
  int bpp = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(dpy_, &count);
  for (int i = 0; i < count; ++i)
    if (formats[i].depth == Depth()) bpp = formats[i].bits_per_pixel;
  if (formats != nullptr) XFree(formats);
  const bool byteOrderMatches = (ImageByteOrder(dpy_) == LSBFirst) == IsLittleEndianHost();
  format_.matchesCanvas = v->c_class == TrueColor && bpp == 32 && byteOrderMatches &&
                          v->red_mask == 0xFF0000 && v->green_mask == 0xFF00 && v->blue_mask == 0xFF;
}

void X11Display::DetectShm() {
  // Shared memory only helps, and only works, for a server on this machine;
  // whether it really works is found out at the first attach.
  hasShm_ = XShmQueryExtension(dpy_) == True && format_.matchesCanvas;
}

}  // namespace rc
