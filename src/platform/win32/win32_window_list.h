// The top-level windows of the Windows desktop, as window snapping wants them.
#pragma once

#include <windows.h>

#include <vector>

#include "gfx/geometry.h"

namespace rc {

// The visible frames of the top-level windows, top-most first, in screen
// coordinates: DWM's extended frame bounds where it has them (without the
// invisible resize borders), else the window rectangle. Left out: `skip`,
// invisible, minimised, cloaked and tool windows.
std::vector<Box> ListWin32WindowFrames(HWND skip);

}  // namespace rc
