// A small SVG chart of per-message latency, one line per compositor.
#pragma once

#include <string>
#include <vector>

namespace rc::bench {

struct Series {
  std::string name;
  std::string colour;
  std::vector<double> values;
};

// Writes an SVG line chart (message index across, milliseconds up).
bool WriteLatencyChart(const std::string& path, const std::string& title, const std::vector<Series>& series);

}  // namespace rc::bench
