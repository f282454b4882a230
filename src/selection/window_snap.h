// Snapping to windows: before a selection exists, the window under the
// pointer (as the snapshot shows it) is offered as the selection, and a
// click without a drag takes it.
#pragma once

#include "gfx/geometry.h"

namespace rc {

// The top-most window frame holding `p` (overlay coordinates), else the
// monitor holding it, cut to the desktop; zero when snapping is off.
IntRect SnapRectAt(Point p);

// A press and release this close together (in both directions) are a
// click, not a drag.
bool IsClick(Point press, Point release);

}  // namespace rc
