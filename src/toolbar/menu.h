// The image-drawn context menu.
#pragma once

#include "selection/zones.h"

namespace rc {

// Open at the cursor (repaint), hover (highlight the row under the cursor)
// or press (highlight, then run the row's action).
void HandleMenuEvent(UiEvent event);

}  // namespace rc
