// Reads what the system knows about a window message beyond its parameters:
// where the pointer and the window were, the modifiers held, the time, and
// an input method's result.
#pragma once

#include <windows.h>

#include "platform/win32/win32_message.h"

namespace rc {

NativeInputFacts ReadInputFacts(HWND window, UINT message, LPARAM lParam);

// Whether the message brings an input method's result, which the program
// takes whole (the system would otherwise type it again as characters).
bool BringsImeResult(UINT message, LPARAM lParam);

}  // namespace rc
