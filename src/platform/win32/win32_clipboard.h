// The clipboard of the Windows host.
#pragma once

#include <windows.h>

#include <string>

#include "app/host.h"
#include "gfx/canvas.h"

namespace rc {

// Puts the picture on the clipboard as a screen-compatible bitmap
// (CF_BITMAP), rendered at once so it outlives the program. When the
// clipboard stays busy or the bitmap cannot be made, the clipboard keeps
// what it held.
HostResult SetClipboardBitmap(HWND owner, const Canvas& picture);

// Puts the text on the clipboard as CF_UNICODETEXT.
HostResult SetClipboardUnicodeText(HWND owner, const std::string& utf8);

}  // namespace rc
