// The host for the desktop this session runs: X11 or Wayland.
#pragma once

#include <memory>
#include <string>

#include "app/host.h"

namespace rc {

// Connects to the chosen desktop; nullptr with `error` set ("Wayland: …").
std::unique_ptr<HostRuntime> ConnectDesktopHost(std::string& error);

}  // namespace rc
