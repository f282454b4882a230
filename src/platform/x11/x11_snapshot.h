// The whole screen as it is now.
#pragma once

#include <memory>
#include <string>

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

class X11ShmImage;

// The root window of the default screen as an opaque canvas; empty, with
// `error` saying why, when the server will not give it, its visual is not
// TrueColor or DirectColor, or there is no memory for it. `grabImage`
// receives the shared-memory image the pixels came through, if any: it is
// warm by now and can serve as the back buffer.
Canvas TakeX11Snapshot(X11Display& display, std::shared_ptr<X11ShmImage>& grabImage, std::string& error);

}  // namespace rc
