// The X connection, its default screen, and what the pixel paths may assume
// about the visual.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <string>

#include "gfx/geometry.h"

namespace rc {

// How a visual's pixels map to 8-bit channels.
struct X11PixelFormat {
  unsigned long redMask = 0, greenMask = 0, blueMask = 0;
  // Whether a 32-bit-per-pixel image of this visual has our canvas's bytes
  // (B, G, R, x in memory), so pixels can go out and come in as they are.
  bool matchesCanvas = false;
};

class X11Display {
 public:
  // Opens the display named by DISPLAY; on failure `error` says why.
  static std::unique_ptr<X11Display> Open(std::string& error);
  ~X11Display();
  X11Display(const X11Display&) = delete;
  X11Display& operator=(const X11Display&) = delete;

  Display* Dpy() const { return dpy_; }
  bool IsOpen() const { return dpy_ != nullptr; }
  void Close();
  int ScreenNumber() const { return screen_; }
  Window Root() const { return RootWindow(dpy_, screen_); }
  Visual* ScreenVisual() const { return DefaultVisual(dpy_, screen_); }
  int Depth() const { return DefaultDepth(dpy_, screen_); }
  Size ScreenSize() const { return {DisplayWidth(dpy_, screen_), DisplayHeight(dpy_, screen_)}; }
  const X11PixelFormat& Format() const { return format_; }
  // MIT-SHM is there and usable from this client (not on a remote display).
  bool HasShm() const { return hasShm_; }

 private:
  X11Display(Display* dpy);
  void DetectFormat();
  void DetectShm();

  Display* dpy_ = nullptr;
  int screen_ = 0;
  X11PixelFormat format_;
  bool hasShm_ = false;
};

// Catches X protocol errors for the requests made while it lives, instead of
// letting them end the program (an SHM attach refused by a remote server).
class X11ErrorTrap {
 public:
  explicit X11ErrorTrap(Display* dpy);
  ~X11ErrorTrap();
  // Waits for the server to answer everything sent so far.
  bool Failed();

 private:
  // Returns once every request sent so far is answered.
  void Settle();

  Display* dpy_;
};

// Reports unexpected protocol errors on stderr and carries on, rather than
// Xlib's default of ending the process mid-capture.
void InstallX11ErrorHandlers();

}  // namespace rc
