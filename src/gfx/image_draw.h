// Scaled drawing of one canvas onto another, nearest pixel, source-over.
#pragma once

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

// Draws `srcRect` of `src` into `dstRect` of `dst`. Each destination pixel
// whose centre lies in dstRect takes the source pixel under the matching
// point; source points outside `src` read as `beyondEdge` (premultiplied).
void DrawImageScaled(Canvas& dst, const RectF& dstRect, const Canvas& src, const RectF& srcRect,
                     Pixel beyondEdge);

// The pixels DrawImageScaled lays for `dstRect` before clipping to the
// canvas: on each axis from round(start) to round(start + length).
Box PixelsLaidFor(const RectF& dstRect);

}  // namespace rc
