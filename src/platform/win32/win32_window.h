// The overlay's one native window.
#pragma once

#include <windows.h>

namespace rc {

// A borderless, top-most tool window over the whole virtual screen, not yet
// shown. Double-clicks are delivered (CS_DBLCLKS); the class has no cursor
// and no background, since the window answers both itself.
HWND CreateOverlayWindow(WNDPROC procedure);

// Raises the window above every other, shows it and makes it the
// foreground window, so that keys (Escape) reach it.
void RaiseTopmost(HWND window);

}  // namespace rc
