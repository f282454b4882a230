// The whole screen as it is now.
#pragma once

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

// The root window of the default screen as an opaque canvas; empty when the
// server will not give it or its visual is not TrueColor.
Canvas TakeX11Snapshot(X11Display& display);

}  // namespace rc
