// The operations the window procedure shares with the toolbar, the menu
// and the output: ending the capture, forgetting the selection, and the
// dimmed background.
#pragma once

namespace rc {

// Releases the screen-sized canvases, detaches the surface and ends the
// program with exit code 0. Does not return.
[[noreturn]] void EndCapture();
// Back to the state with no selection, the dimmed screen shown.
void ResetSelection();
// The whole back buffer becomes the dimmed screen: no selection, toolbar or menu.
void RepaintDimmedScreen();
// Once a selection is complete: the hover highlight of the toolbar, or of
// the menu while it is open.
void RefreshHover();

}  // namespace rc
