// The image-drawn context menu.
#pragma once

#include "gfx/geometry.h"
#include "selection/zones.h"

namespace rc {

// Open at the cursor (repaint), hover (highlight the row under the cursor)
// or press (highlight, then run the row's action).
void HandleMenuEvent(UiEvent event);

// Blends the menu at MenuRect's top-left with `highlight` (menu
// coordinates; a zero field means none) and sets MenuRect's right and bottom.
void PaintMenu(const IntRect& highlight);

}  // namespace rc
