// The rounded-rectangle outline shared by the toolbar, the menu and the
// magnifier panel.
#pragma once

#include "gfx/gp_path.h"

namespace rc {

// Adds one closed figure of four 90-degree corner arcs. The radius is
// clamped to 1..100 and used as the corner box's size; the right and bottom
// corners sit 3 pixels in, so the figure spans x..x+w-3 and y..y+h-3.
bool AddRoundedRect(GpPath& path, float x, float y, float w, float h, int radius);

}  // namespace rc
