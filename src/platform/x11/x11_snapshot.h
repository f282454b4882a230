// The whole screen as it is now.
#pragma once

#include <memory>
#include <string>

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

class MemoryBacker;
class X11ShmRing;

// Canvases for a snapshot and for the back buffer, made ready before the
// capture starts: fresh memory is slow to touch the first time, and a
// resident regioncap's waiting capture touches it while nobody waits.
struct X11SnapshotBuffers {
  Canvas snapshot;
  Canvas surface;  // transparent
};

// Canvases the size of the screen now, backed; `ring` (if any) is warmed.
// `snapshot` is kept, and backed, where it fits.
X11SnapshotBuffers PrepareX11SnapshotBuffers(X11Display& display, X11ShmRing* ring, Canvas snapshot = Canvas());

// The root window of the default screen as an opaque canvas; empty, with
// `error` saying why, when the server will not give it, its visual is not
// TrueColor or DirectColor, or there is no memory for it. With `ring` the
// pixels come through it band by band; without, in one read over the
// connection. `ready` is used where it still fits the screen; `backing`,
// if any, is backing its memory and is done when this returns.
Canvas TakeX11Snapshot(X11Display& display, X11ShmRing* ring, std::string& error, Canvas ready = Canvas(),
                       MemoryBacker* backing = nullptr);

}  // namespace rc
