// One fixed capture session replayed on the headless host, timed message by message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/compositor.h"

namespace rc::bench {

// A named stretch of the session's messages, [first, end).
struct Phase {
  std::string name;
  size_t first = 0;
  size_t end = 0;
};

struct SessionResult {
  double firstFrameMs = 0;
  double finishMs = 0;
  std::vector<double> messageMs;  // one entry per message, in order
  double pixelsPresentedPerMessage = 0;
  double peakRssMiB = 0;
  std::vector<Phase> phases;  // the edit tools' stretches
};

// Rubber band, magnifier, hover, move, resize, toolbar hover, then each
// edit tool (a brush stroke of `brushPoints` points), typing, the options
// bar, undo and redo, menu open and hover, then finish by double-click.
SessionResult RunScriptedSession(int32_t width, int32_t height, Compositor compositor, int brushPoints);

}  // namespace rc::bench
