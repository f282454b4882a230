// One row of a same-size blend at a time: the hot loop of every frame, done
// eight or four pixels at once where the processor allows, with exactly the
// rounding of BlendPixel.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// to[i] = BlendPixel(to[i], from[i], constantAlpha, perPixelAlpha) for i < count.
void BlendRow(Pixel* to, const Pixel* from, int32_t count, uint8_t constantAlpha, bool perPixelAlpha);

}  // namespace rc
