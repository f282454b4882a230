// One resident regioncap per display: the resident one owns the selection
// _REGIONCAP_S<screen>. A selection dies with its owner's connection, so a
// resident killed without a chance to clean up leaves nothing behind.
#pragma once

#include <X11/Xlib.h>

namespace rc {

// The selection that marks the resident regioncap of `screen`.
Atom ResidentSelection(Display* dpy, int screen);

// The message a second regioncap sends the resident one to end it.
Atom ResidentQuitMessage(Display* dpy);

// Takes the selection for `window` unless another client owns it; the
// server is held while looking and taking, so two starting at once cannot
// both win.
bool TakeResidentSelection(Display* dpy, int screen, Window window);

// The window of the resident regioncap, or None when none runs.
Window ResidentOwner(Display* dpy, int screen);

// Asks the resident regioncap to end and waits up to `timeoutMs` for it to
// let go of the selection; false when it did not.
bool AskResidentToQuit(Display* dpy, int screen, int timeoutMs);

}  // namespace rc
