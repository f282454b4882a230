// Windows cursor and icon files (.cur, .ico) read into plain pixels, so every
// host can show the program's own cursor in full colour.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

// One cursor picture: premultiplied 0xAARRGGBB pixels, rows top to bottom,
// exactly as a Canvas holds them (and as Xcursor wants them).
struct CursorImage {
  int32_t width = 0;
  int32_t height = 0;
  Point hotSpot;  // (0, 0) for icon files, which carry none
  std::vector<Pixel> pixels;

  Pixel At(int32_t x, int32_t y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads the largest, deepest image of a cursor or icon file holding 1-, 4-,
// 8-, 24- or 32-bit BI_RGB bitmaps with their AND masks. Anything else
// (truncated data, offsets outside the file, PNG-compressed entries, absurd
// sizes) gives nullopt and, when `why` is given, the reason.
std::optional<CursorImage> ParseCursorFile(std::span<const uint8_t> bytes, std::string* why = nullptr);

}  // namespace rc
