#include "platform/wayland/wayland_layout.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstdint>
#include <map>

namespace rc {

namespace {

struct Span {
  int32_t start;   // logical
  int32_t length;  // logical
  int32_t pixels;  // physical extent of the output
};

// Pixels needed by `length` logical units of an output that shows
// `span.length` logical units in `span.pixels` pixels, rounded up.
int64_t Stretch(const Span& span, int64_t length) {
  if (span.length <= 0) return length;
  return (length * span.pixels + span.length - 1) / span.length;
}

// Logical coordinate -> physical coordinate along one axis.
std::map<int32_t, int32_t> MapAxis(const std::vector<Span>& spans) {
  std::vector<int32_t> edges;
  for (const Span& s : spans) edges.insert(edges.end(), {s.start, s.start + s.length});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::map<int32_t, int32_t> map;
  if (edges.empty()) return map;
  // The layout's first edge keeps its place scaled, so a layout of one
  // scale is exactly logical position times scale.
  int64_t at = INT32_MIN;
  for (const Span& s : spans)
    if (s.start == edges.front() && s.length > 0)
      at = std::max<int64_t>(at, static_cast<int64_t>(std::floor(static_cast<double>(s.start) * s.pixels / s.length)));
  map[edges.front()] = static_cast<int32_t>(at);
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int64_t length = edges[i + 1] - edges[i];
    int64_t physical = length;  // a span no output covers keeps scale 1
    for (const Span& s : spans)
      if (s.start <= edges[i] && s.start + s.length >= edges[i + 1]) physical = std::max(physical, Stretch(s, length));
    at += physical;
    map[edges[i + 1]] = static_cast<int32_t>(at);
  }
  return map;
}

}  // namespace

std::vector<Box> PhysicalLayout(const std::vector<OutputPlacement>& outputs) {
  std::vector<Span> xs, ys;
  for (const OutputPlacement& o : outputs) {
    xs.push_back({o.logical.x, o.logical.width, o.pixels.width});
    ys.push_back({o.logical.y, o.logical.height, o.pixels.height});
  }
  const std::map<int32_t, int32_t> mapX = MapAxis(xs), mapY = MapAxis(ys);
  std::vector<Box> boxes;
  for (const OutputPlacement& o : outputs)
    boxes.push_back({mapX.at(o.logical.x), mapY.at(o.logical.y), o.pixels.width, o.pixels.height});
  return boxes;
}

Point OutputPointToDesktop(const Box& logical, const Box& desktop, double sx, double sy) {
  const double kx = logical.width > 0 ? static_cast<double>(desktop.width) / logical.width : 1.0;
  const double ky = logical.height > 0 ? static_cast<double>(desktop.height) / logical.height : 1.0;
  const int32_t x = std::clamp(static_cast<int32_t>(std::floor(sx * kx)), 0, std::max(0, desktop.width - 1));
  const int32_t y = std::clamp(static_cast<int32_t>(std::floor(sy * ky)), 0, std::max(0, desktop.height - 1));
  return {desktop.x + x, desktop.y + y};
}

Box DesktopBoxToOutput(const Box& logical, const Box& desktop, const Box& box) {
  const double kx = desktop.width > 0 ? static_cast<double>(logical.width) / desktop.width : 1.0;
  const double ky = desktop.height > 0 ? static_cast<double>(logical.height) / desktop.height : 1.0;
  const auto x0 = static_cast<int32_t>(std::floor((box.x - desktop.x) * kx));
  const auto y0 = static_cast<int32_t>(std::floor((box.y - desktop.y) * ky));
  const auto x1 = static_cast<int32_t>(std::ceil((box.x + box.width - desktop.x) * kx));
  const auto y1 = static_cast<int32_t>(std::ceil((box.y + box.height - desktop.y) * ky));
  return {x0, y0, x1 - x0, y1 - y0};
}

}  // namespace rc
