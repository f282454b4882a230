// The options bar beside the toolbar while a tool is active.
#pragma once

#include "gfx/geometry.h"

namespace rc {

// Places the bar beside the toolbar as last placed and blends it into the
// back buffer, or forgets it when no tool is active.
void PaintOptionsBar();
// A press at `p`: on the bar it picks a width, size, colour or the mosaic
// switch and returns true; elsewhere false.
bool PressOptionsBar(Point p);

}  // namespace rc
