// Runs of a same-size blend: the hot loop of every frame, done eight or
// four pixels at once where the processor allows, with exactly the
// rounding of BlendPixel.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// to[i] = BlendPixel(to[i], from[i], constantAlpha, perPixelAlpha) for i < count.
void BlendRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha, bool perPixelAlpha);

// The same over `rows` rows, each `toStride` and `fromStride` pixels after
// the last: one call for a whole box, as thin boxes have many short rows
// and what a call sets up would cost more than their pixels. At full
// strength without per-pixel alpha each row is copied as memmove copies;
// a blend reads a row's pixels before writing them, so a source row may be
// its destination row but must not overlap it otherwise.
void BlendRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows,
               uint8_t constantAlpha, bool perPixelAlpha);

}  // namespace rc
