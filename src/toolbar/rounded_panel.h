// A rounded rectangle filled and outlined: the toolbar's background and its
// highlight, and the menu's background.
#pragma once

#include <cstdint>

#include "gfx/gp_graphics.h"

namespace rc {

// The figure AddRoundedRect makes of (x, y, width, height, radius), filled
// with `fillArgb` and outlined 1 pixel wide in `outlineArgb`.
void DrawRoundedPanel(GpGraphics& canvas, float x, float y, float width, float height, int radius, uint32_t fillArgb,
                      uint32_t outlineArgb);

}  // namespace rc
