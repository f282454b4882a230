// A picture of the desktop: every monitor.
#pragma once

#include "gfx/canvas.h"

namespace rc {

// `area` of the screen (screen coordinates) as it is now, layered windows
// included, opaque; empty when the screen cannot be read.
Canvas TakeScreenSnapshotWin32(const Box& area);

}  // namespace rc
