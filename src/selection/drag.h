// Changing the selection while the left button is held: drawing a new one,
// moving it, and resizing it by an edge or a corner.
#pragma once

#include <cstdint>

namespace rc {

// Mouse-move step in mode draw: the rectangle between the press point and
// the cursor, normalised, at least 2 x 2.
void TrackRubberBand();
// Mouse-move step in mode drag (move, kept on the screen) or adjust (the
// edge or corner named by AdjustZone follows the cursor, crossing included).
void TrackMoveOrResize();
// Run on every left release: no button, no drag, anchors unset.
void ResetDragState();
// No selection is narrower or lower than 2 pixels; widening goes outwards,
// to the left and upwards first.
void WidenDegenerateSelection();

}  // namespace rc
