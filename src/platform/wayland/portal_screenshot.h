// org.freedesktop.portal.Screenshot over the session bus (libdbus): the
// route to the screen on desktops whose compositor lets no client copy it
// (GNOME, KDE).
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// Asks the portal for a non-interactive screenshot and waits for its
// answer; `uri` gets the picture's file:// URI. Fails with one line when
// there is no session bus or no portal on it, the portal refuses, or no
// answer comes in time.
HostResult AskPortalForScreenshot(std::string& uri);

}  // namespace rc
