// 32-bit top-down DIB sections: the one pixel layout GDI, layered windows
// and the program's canvases share (blue, green, red, alpha in memory).
#pragma once

#include <windows.h>

#include <cstdint>

namespace rc {

struct DibSection {
  HBITMAP bitmap = nullptr;
  uint32_t* bits = nullptr;
  explicit operator bool() const { return bitmap != nullptr; }
};

// A zero-filled width x height DIB section, or an empty one on failure.
DibSection CreateTopDownDib(int32_t width, int32_t height);

// The header describing such a picture.
BITMAPINFO TopDownDibInfo(int32_t width, int32_t height);

}  // namespace rc
