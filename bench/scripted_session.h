// One fixed capture session replayed on the headless host, timed message by message.
#pragma once

#include <cstdint>
#include <vector>

#include "app/compositor.h"

namespace rc::bench {

struct SessionResult {
  double firstFrameMs = 0;
  double finishMs = 0;
  std::vector<double> messageMs;  // one entry per message, in order
  double pixelsPresentedPerMessage = 0;
  double peakRssMiB = 0;
};

// Rubber band, magnifier, hover, move, resize, toolbar hover, menu open and
// hover, then finish by double-click.
SessionResult RunScriptedSession(int32_t width, int32_t height, Compositor compositor);

}  // namespace rc::bench
