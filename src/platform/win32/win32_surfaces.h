// Canvases whose pixels are DIB sections selected into memory device
// contexts, so a layered window can be updated straight from them.
#pragma once

#include <windows.h>

#include <map>

#include "gfx/canvas.h"

namespace rc {

class Win32Surfaces {
 public:
  Win32Surfaces() = default;
  ~Win32Surfaces();
  Win32Surfaces(const Win32Surfaces&) = delete;
  Win32Surfaces& operator=(const Win32Surfaces&) = delete;

  // A transparent canvas backed by a new DIB section; empty on failure.
  // The section is freed when the canvas lets go of its pixels, which must
  // happen before this object is destroyed.
  Canvas Create(int32_t width, int32_t height);
  // The memory device context holding `canvas`'s pixels, or null when the
  // canvas did not come from Create.
  HDC DeviceContextOf(const Canvas& canvas) const;

 private:
  struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
  };
  void Release(Pixel* bits);
  static void Free(const Surface& surface);

  std::map<const Pixel*, Surface> surfaces_;
};

}  // namespace rc
