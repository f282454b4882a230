// The probe's hands and eyes on the X server: XTest pointer and key input,
// and one root pixel read back.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>

namespace rc::probe {

struct Pt {
  int x = 0;
  int y = 0;
};

class XDriver {
 public:
  XDriver() = default;
  ~XDriver();
  XDriver(const XDriver&) = delete;
  XDriver& operator=(const XDriver&) = delete;

  // Opens $DISPLAY and checks for XTest; false with a message on stderr.
  bool Open();
  int Width() const { return width_; }
  int Height() const { return height_; }

  // Fills the root window's background with one grey, so that the dimmed
  // overlay is easy to tell from the desktop.
  void PaintRoot(unsigned long rgb);
  uint32_t RootPixel(Pt at);

  void MoveTo(Pt p);
  void Button(bool down);
  void TapEscape();

 private:
  Display* dpy_ = nullptr;
  Window root_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace rc::probe
