#include "app/monitors.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace rc {

namespace {

// Squared distance from `p` to the nearest pixel of `b`; 0 inside it.
int64_t DistanceSquared(const Box& b, Point p) {
  const int64_t dx = p.x < b.x ? int64_t{b.x} - p.x : (p.x >= b.Right() ? int64_t{p.x} - (b.Right() - 1) : 0);
  const int64_t dy = p.y < b.y ? int64_t{b.y} - p.y : (p.y >= b.Bottom() ? int64_t{p.y} - (b.Bottom() - 1) : 0);
  return dx * dx + dy * dy;
}

// The columns [first, end) of the monitors that cover the whole band of
// rows [top, bottom), in order.
std::vector<std::pair<int32_t, int32_t>> ColumnsCovering(const std::vector<Monitor>& monitors, int32_t top,
                                                         int32_t bottom) {
  std::vector<std::pair<int32_t, int32_t>> columns;
  for (const Monitor& m : monitors) {
    if (!m.rect.Empty() && m.rect.y <= top && m.rect.Bottom() >= bottom) columns.emplace_back(m.rect.x, m.rect.Right());
  }
  std::sort(columns.begin(), columns.end());
  return columns;
}

// The gaps the columns leave in [left, right) of one band.
void AddGaps(std::vector<Box>& gaps, const std::vector<std::pair<int32_t, int32_t>>& columns, int32_t left,
             int32_t right, int32_t top, int32_t bottom) {
  int32_t x = left;
  for (const auto& [first, end] : columns) {
    if (first > x) gaps.push_back({x, top, std::min(first, right) - x, bottom - top});
    x = std::max(x, end);
    if (x >= right) return;
  }
  if (x < right) gaps.push_back({x, top, right - x, bottom - top});
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

Point BottomRightPixel(const IntRect& rect) {
  return {std::max(rect.left, rect.right - 1), std::max(rect.top, rect.bottom - 1)};
}

const Monitor& MonitorOfCorner(const std::vector<Monitor>& monitors, const IntRect& rect) {
  return MonitorAt(monitors, BottomRightPixel(rect));
}

std::vector<Monitor> ShiftedMonitors(std::vector<Monitor> monitors, Point origin) {
  for (Monitor& m : monitors) {
    m.rect.x -= origin.x;
    m.rect.y -= origin.y;
  }
  return monitors;
}

std::vector<Monitor> MonitorsOnDesktop(std::vector<Monitor> monitors, const Box& desktop) {
  std::vector<Monitor> kept;
  for (Monitor& m : monitors) {
    m.rect = IntersectBox(m.rect, desktop);
    if (!m.rect.Empty()) kept.push_back(m);
  }
  if (kept.empty()) kept.push_back(Monitor{desktop, 1.0f, true});
  return kept;
}

std::vector<Box> UncoveredAreas(const Box& desktop, const std::vector<Monitor>& monitors) {
  // Bands of rows between the monitors' top and bottom edges: inside one
  // band every monitor covers either all rows or none.
  std::vector<int32_t> edges = {desktop.y, desktop.Bottom()};
  for (const Monitor& m : monitors) {
    edges.push_back(std::clamp(m.rect.y, desktop.y, desktop.Bottom()));
    edges.push_back(std::clamp(m.rect.Bottom(), desktop.y, desktop.Bottom()));
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::vector<Box> gaps;
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    AddGaps(gaps, ColumnsCovering(monitors, edges[i], edges[i + 1]), desktop.x, desktop.Right(), edges[i],
            edges[i + 1]);
  }
  return gaps;
}

}  // namespace rc
