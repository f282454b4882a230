// Lays a host-rendered text mask into a layout rectangle.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/text_renderer.h"

namespace rc {

// The gap the platform's text layout leaves before the first glyph.
float TextLeftPadding(float emSize);

// Places the mask's line box at the layout origin moved right by
// `padLeft`, left- and top-aligned, and lays `argb` (straight) over the
// canvas at the mask's coverage, clipped to the layout rectangle.
void DrawTextMask(Canvas& canvas, const TextMask& mask, const RectF& layout, float padLeft, uint32_t argb);

}  // namespace rc
