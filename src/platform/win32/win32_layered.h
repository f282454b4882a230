// The overlay as a layered window: its content is exactly the pixels given.
#pragma once

#include <windows.h>

#include "app/host.h"
#include "gfx/geometry.h"

namespace rc {

// Adds WS_EX_LAYERED and returns the extended style it replaced.
LONG_PTR MakeLayered(HWND window);
// Drops the layered content and puts `savedStyle` back.
void RestoreStyle(HWND window, LONG_PTR savedStyle);

// Shows `damaged` of the premultiplied picture selected into `source` at
// the same place in the window, which covers `windowBox` of the screen.
HostResult PresentLayered(HWND window, HDC source, const Box& windowBox, const Box& damaged);

}  // namespace rc
