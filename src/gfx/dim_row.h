// The dimmed screen's pixel: opaque black at alpha 128 laid over a snapshot
// pixel, one row at a time. Every frame starts from it and the first frame
// is nothing else, so it runs eight or four pixels at once where the
// processor allows, with exactly the rounding of the blend it stands for.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// to[i] = BlendPixel(from[i], opaque black, 128, false) for i < count:
// each colour channel c becomes c * 127 / 255 and alpha a becomes
// (128 * 255 + a * 127) / 255, rounded as Div255 rounds.
void DimRow(Pixel* to, const Pixel* from, int32_t count);

}  // namespace rc
