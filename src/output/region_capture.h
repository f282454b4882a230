// --region: one rectangle of the desktop captured at once, without the
// overlay, for scripts.
#pragma once

#include "app/capture_options.h"
#include "gfx/geometry.h"

namespace rc {

// Photographs the screen and outputs `region` (desktop coordinates, cut to
// the desktop): to --output when given, else to the clipboard. Returns the
// process's exit code; failures are told on stderr.
int CaptureRegion(const Box& region, const CaptureOptions& options);

}  // namespace rc
