// Putting the finished picture on the clipboard.
#pragma once

#include <cstdint>
#include <span>

#include "app/host.h"
#include "gfx/canvas.h"

namespace rc {

// Puts the picture on the clipboard. NOTE: another program may hold the
// clipboard for a moment, so a refusal is retried a few times, briefly,
// before it is reported.
HostResult PutOnClipboard(const Canvas& source, const Box& area);

// Decodes the BMP bytes and puts the picture on the clipboard for the
// overlay window. A picture that does not decode leaves the clipboard as
// it was and reports the failure.
HostResult CopyBitmapToClipboard(uintptr_t ownerWindow, std::span<const uint8_t> bmpBytes);

}  // namespace rc
