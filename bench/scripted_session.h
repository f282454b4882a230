// One fixed capture session replayed on the headless host, timed message by message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/compositor.h"
#include "app/monitors.h"

namespace rc::bench {

// A named stretch of the session's messages, [first, end).
struct Phase {
  std::string name;
  size_t first = 0;
  size_t end = 0;
};

// A desktop and the monitors that show it, as the headless host takes them.
struct Layout {
  std::string name;  // how the command line and the JSON call it
  Box desktop;
  std::vector<Monitor> monitors;
};

// One 1080p monitor, one 4K monitor, and a 4K monitor at scale 2 beside a
// 1080p one at scale 1, their tops aligned (what no monitor shows below
// the smaller one stays black).
std::vector<Layout> BenchLayouts();
// Null when no layout has that name.
const Layout* FindLayout(const std::string& name);

struct SessionResult {
  double firstFrameMs = 0;
  double finishMs = 0;
  std::vector<double> messageMs;     // one entry per message, in order
  std::vector<double> messageCpuMs;  // the same in CPU time; empty where not measured
  double pixelsPresentedPerMessage = 0;
  double peakRssMiB = 0;
  std::vector<Phase> phases;  // the edit tools' stretches
};

// Rubber band, magnifier, hover, move, resize, toolbar hover, then each
// edit tool (a brush stroke of `brushPoints` points), typing, the options
// bar, undo and redo, menu open and hover, then finish by double-click.
// Points are placed as fractions of the whole desktop.
SessionResult RunScriptedSession(const Layout& layout, Compositor compositor, int brushPoints);

}  // namespace rc::bench
