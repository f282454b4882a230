// Where the context menu opens and which of its rows lies under a point.
#pragma once

#include <cstdint>

#include "gfx/geometry.h"

namespace rc {

// The menu's size at 1x; at scale s it is these times s, rounded.
inline constexpr int32_t kMenuCanvasWidth = 155;
inline constexpr int32_t kMenuCanvasHeight = 256;

enum MenuItem : int32_t {
  kMenuNoItem = 0,
  kMenuRectangle = 1,
  kMenuUndo = 6,
  kMenuReselect = 7,
  kMenuFinish = 8,
  kMenuSave = 9,
  kMenuExit = 11,
};

// The row at (dx, dy) in menu coordinates of the 1x layout: writes its highlight and index
// and returns true; elsewhere writes nothing and returns false.
bool MenuItemAt(int32_t dx, int32_t dy, IntRect& highlight, int32_t& index);

// The same for the cursor over the menu as last placed, at the scale it
// was drawn at.
bool HitTestMenu(IntRect& highlight, int32_t& index);

// The menu's size in pixels at `scale`.
Size MenuSize(float scale);

// The menu's top-left corner for a right-click at `cursor`: right of and
// below it, or left of and above it where `monitor` (the cursor's) runs
// out. Distances are those of the 1x layout times `scale`.
Point MenuOrigin(Point cursor, const Box& monitor, float scale = 1);

// The same on one screen of that size at (0, 0).
Point MenuOrigin(Point cursor, Size screen, float scale = 1);

}  // namespace rc
