// Source-over blending and copying between canvases, with the semantics of
// the platform's AlphaBlend and StretchBlt.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// x / 255 rounded to nearest, for x in 0..255 * 255. Every blend rounds here.
constexpr uint32_t Div255(uint32_t x) { return (x + 128 + ((x + 128) >> 8)) >> 8; }

// Blends one source pixel over one destination pixel.
// Without per-pixel alpha every channel (alpha included) becomes
//   s * a / 255 + d * (255 - a) / 255;
// with it the source is first scaled by a / 255, then laid over d:
//   s' + d * (255 - alpha of s') / 255.
Pixel BlendPixel(Pixel dst, Pixel src, uint8_t constantAlpha, bool perPixelAlpha);

// Blends srcBox of `src` into dstBox of `dst`, stretching (nearest pixel)
// when the sizes differ. Pixels that fall outside either canvas are skipped.
// Returns false when a box is empty or a canvas has no pixels.
bool AlphaBlendCanvas(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                      uint8_t constantAlpha, bool perPixelAlpha);

// The same, touching only destination pixels inside `clip`: applying a
// blend piece by piece over boxes that tile the destination gives exactly
// the pixels of one whole blend.
bool AlphaBlendCanvasClipped(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                             uint8_t constantAlpha, bool perPixelAlpha, const Box& clip);

// A copy of `area` of `source` with alpha 255 on every pixel (the colour
// channels as they are, that is, laid over black); parts of the area
// outside the source come out black. Empty when the area is.
Canvas OpaqueCopy(const Canvas& source, const Box& area);

// Copies srcBox of `src` into dstBox of `dst` as StretchBlt with SRCCOPY:
// nearest-pixel stretching, and a negative width or height in either box
// mirrors that axis (the box then runs from x leftwards, or from y upwards).
bool StretchCopy(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox);

}  // namespace rc
