// Before every message: what lies under the cursor, the cursor shape that
// goes with it, and what a left drag starting there would do.
#pragma once

#include <cstdint>

namespace rc {

// Classifies (x, y) against the selection, the toolbar and the menu, sets
// HitZone and the overlay's cursor, and records LastHitPoint. Does nothing
// while a drag is in progress, before a selection is complete, or when the
// point is the one classified last.
void HitTestZones(int32_t x, int32_t y);

// Hit-tests the cursor position and, unless a drag is in progress,
// re-derives CaptureMode (and AdjustZone) from the zone.
void UpdateModeFromCursor();

}  // namespace rc
