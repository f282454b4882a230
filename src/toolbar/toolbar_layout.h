// Where the toolbar goes and which of its buttons lies under a point.
#pragma once

#include <cstdint>

#include "gfx/geometry.h"

namespace rc {

// The toolbar's size at 1x; at scale s it is these times s, rounded.
inline constexpr int32_t kToolbarCanvasWidth = 329;
inline constexpr int32_t kToolbarCanvasHeight = 28;

enum ToolbarButton : int32_t {
  kToolbarNoButton = 0,
  kToolbarRectangle = 1,
  kToolbarText = 5,
  kToolbarUndo = 6,
  kToolbarSave = 7,
  kToolbarDropArrow = 9,
  kToolbarCancel = 10,
  kToolbarFinish = 11,
};

// The button at (dx, dy) in toolbar coordinates of the 1x layout. On a button it writes the
// button's highlight and index and returns true. The drop arrow writes
// index 9 and a highlight but returns false, so it is never highlighted and
// its press does nothing. Elsewhere nothing is written.
bool ToolbarButtonAt(int32_t dx, int32_t dy, IntRect& highlight, int32_t& index);

// A point in the middle of button `index` (1-11), in toolbar coordinates at 1x.
Point ToolbarButtonCentre(int32_t index);

// The same for the cursor over the toolbar as last placed, at the scale it
// was drawn at.
bool HitTestToolbar(IntRect& highlight, int32_t& index);

// The toolbar's size in pixels at `scale`.
Size ToolbarSize(float scale);

// Right-aligned with the selection: 6 px below it when that fits on
// `monitor`, else 4 px above it, else 5 px inside its top edge; never less
// than 5 px from the monitor's left edge. `monitor` is the one holding the
// selection's bottom-right corner; where the corner lies on no monitor
// (an area no monitor shows), the toolbar is also kept on the nearest one.
// Sizes and gaps are those of the 1x layout times `scale`.
IntRect PlaceToolbar(const IntRect& selection, const Box& monitor, float scale = 1);

// The same on one screen at (0, 0) that is `screenHeight` rows high: the
// width plays no part, as the toolbar never reaches right of the selection.
IntRect PlaceToolbar(const IntRect& selection, int32_t screenHeight, float scale = 1);

}  // namespace rc
