// The overlay's window procedure: every message refreshes the hover state,
// is dispatched to the selection, toolbar, menu, magnifier and output, and
// ends with a present of the back buffer.
#pragma once

#include <cstdint>

#include "app/host.h"

namespace rc {

intptr_t OverlayWindowProc(const Message& message);

}  // namespace rc
