// Screen pixels as compositors hand them over, turned into canvas pixels:
// byte order, rotation and row order. Pure, so tests need no compositor.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// How one output's buffer reads.
struct ScreenBufferLayout {
  const uint8_t* bytes = nullptr;
  int32_t width = 0;   // the buffer's, before the rotation
  int32_t height = 0;
  int32_t stride = 0;
  bool swapRedBlue = false;  // XBGR/ABGR rather than XRGB/ARGB
  bool yInverted = false;    // rows bottom to top
  int32_t transform = 0;     // wl_output_transform
};

// Whether wl_shm `format` is one we read; sets `swapRedBlue`.
bool ReadableShmFormat(uint32_t format, bool& swapRedBlue);

// Writes rows [firstRow, endRow) of the rotated output picture into `out`
// with its top-left corner at `at`; every pixel comes out opaque.
void ComposeScreenRows(const ScreenBufferLayout& in, Canvas& out, Point at, int32_t firstRow, int32_t endRow);

// The rotated picture's size.
int32_t RotatedWidth(const ScreenBufferLayout& in);
int32_t RotatedHeight(const ScreenBufferLayout& in);

}  // namespace rc
