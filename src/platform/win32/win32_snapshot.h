// A picture of the whole primary screen.
#pragma once

#include "gfx/canvas.h"

namespace rc {

// The screen as it is now, layered windows included, opaque; empty when
// the screen cannot be read.
Canvas TakeScreenSnapshotWin32(int32_t width, int32_t height);

}  // namespace rc
