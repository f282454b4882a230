// The edit toolbar beside a finished selection.
#pragma once

#include "gfx/geometry.h"
#include "selection/zones.h"

namespace rc {

// Repaint (no highlight), hover (highlight the button under the cursor) or
// press (highlight, then run the button's action).
void HandleToolbarEvent(UiEvent event);

// Places the toolbar beside the selection, blends it into the back buffer
// with `highlight` (toolbar coordinates; a zero field means none) and
// records where it went in ToolbarRect.
void PaintToolbar(const IntRect& highlight);

}  // namespace rc
