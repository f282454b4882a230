#include "app/monitors.h"

#include <algorithm>
#include <cstdint>

namespace rc {

namespace {

// Squared distance from `p` to the nearest pixel of `b`; 0 inside it.
int64_t DistanceSquared(const Box& b, Point p) {
  const int64_t dx = p.x < b.x ? b.x - p.x : (p.x >= b.Right() ? p.x - (b.Right() - 1) : 0);
  const int64_t dy = p.y < b.y ? b.y - p.y : (p.y >= b.Bottom() ? p.y - (b.Bottom() - 1) : 0);
  return dx * dx + dy * dy;
}

}  // namespace

const Monitor& MonitorAt(const std::vector<Monitor>& monitors, Point p) {
  return *std::min_element(monitors.begin(), monitors.end(), [p](const Monitor& a, const Monitor& b) {
    return DistanceSquared(a.rect, p) < DistanceSquared(b.rect, p);
  });
}

float ScaleAt(const std::vector<Monitor>& monitors, Point p) {
  return monitors.empty() ? 1.0f : MonitorAt(monitors, p).scale;
}

std::vector<Monitor> ShiftedMonitors(std::vector<Monitor> monitors, Point origin) {
  for (Monitor& m : monitors) {
    m.rect.x -= origin.x;
    m.rect.y -= origin.y;
  }
  return monitors;
}

}  // namespace rc
