// One native window message to one program message.
#pragma once

#include <cstdint>

#include "app/host.h"

namespace rc {

// The six input messages the overlay acts on; every other message is Other.
// Only a key-down carries data (its virtual-key code): positions are always
// read from the cursor, never from the message.
Message TranslateNativeMessage(uint32_t message, uintptr_t wParam);

}  // namespace rc
