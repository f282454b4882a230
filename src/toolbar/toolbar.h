// The edit toolbar beside a finished selection.
#pragma once

#include "selection/zones.h"

namespace rc {

// Repaint (no highlight), hover (highlight the button under the cursor) or
// press (highlight, then run the button's action).
void HandleToolbarEvent(UiEvent event);

}  // namespace rc
