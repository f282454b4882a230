// The whole screen as it is now.
#pragma once

#include <memory>
#include <string>

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

class X11ShmImage;

// Shared images for a snapshot and for the back buffer, made ready before
// the capture starts: fresh memory is slow to touch the first time, and a
// resident regioncap's waiting capture touches it while nobody waits.
struct X11SnapshotBuffers {
  std::shared_ptr<X11ShmImage> image;
  std::shared_ptr<X11ShmImage> surface;
};

// Images the size of the screen now, touched by the server and by us.
X11SnapshotBuffers PrepareX11SnapshotBuffers(X11Display& display);

// The root window of the default screen as an opaque canvas; empty, with
// `error` saying why, when the server will not give it, its visual is not
// TrueColor or DirectColor, or there is no memory for it. Through shared
// memory the canvas is the shared image the server wrote, kept alive by the
// canvas: no second screen-sized copy is made. `ready` is used where it
// still fits the screen.
Canvas TakeX11Snapshot(X11Display& display, std::string& error, std::shared_ptr<X11ShmImage> ready = nullptr);

}  // namespace rc
