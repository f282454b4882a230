// Puts the input method's composition and candidate windows at the text
// caret, in the window's client coordinates.
#pragma once

#include <windows.h>

#include <optional>

#include "gfx/geometry.h"

namespace rc {

// The composition starts at the caret's top and the candidate list keeps
// off the caret; nullopt hands placement back to the input method.
void PlaceImeWindows(HWND window, std::optional<Box> caret);

}  // namespace rc
