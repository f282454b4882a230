// The clipboard outlives the program, as on X11: at finish a forked process
// of ours, on a Wayland connection of its own, offers the picture through
// zwlr_data_control a picture or a text until another client takes the
// clipboard. The program ends at once; the owner ends with its offer.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "app/host.h"
#include "platform/wayland/wayland_clipboard_content.h"

namespace rc {

// Starts the owner, which serves what `content` makes (called in the owner,
// so the program's exit waits for no copying), and returns once the
// compositor has given it the selection, or with the reason it could not.
// The owner then lets go of its copy of the program's big buffers
// (`programMemory`) and of the overlay's shared buffers.
HostResult StartWaylandClipboardOwner(const std::function<WaylandClipboardContent()>& content,
                                      const std::vector<std::span<const Pixel>>& programMemory);

}  // namespace rc
