// The program: start-up, then the host's message loop until the capture ends.
#pragma once

#include "app/capture_options.h"

namespace rc {

// Runs one capture on the installed host. Does not return on a real host:
// the capture ends through the host's EndProgram.
void RunCapture(const CaptureOptions& options = {});

}  // namespace rc
