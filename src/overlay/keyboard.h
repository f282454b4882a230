// Keys that aim and edit to the pixel: the arrows move the pointer before a
// selection exists and the selection (or one of its edges) after, and the
// colour under the pointer can be copied as text.
#pragma once

#include "app/message.h"

namespace rc {

bool IsArrow(Key key);

// Arrow: the pointer moves 1 pixel (Shift: 10), kept on the desktop, and
// the program's idea of it follows at once. False for any other key.
bool MovePointerByKey(const Message& m);

// Arrow with a selection: moves it 1 pixel (Shift: 10), kept on the screen
// as a drag keeps it; with Ctrl its right or bottom edge, with Ctrl+Shift
// its left or top edge, by 1 pixel, never below 2 pixels. False for any
// other key.
bool NudgeSelectionByKey(const Message& m);

// Tab: the magnifier's readout switches between RGB:(r,g,b) and HEX:#RRGGBB.
void ToggleColourReadout();

// The colour the magnifier reads out under the pointer, as text in the form
// it shows: "r,g,b" or "#RRGGBB". The capture ends once it is on the
// clipboard; if the clipboard refuses, a notice says so and the capture goes on.
void CopyColourUnderCursor();

}  // namespace rc
