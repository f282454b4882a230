#include "gfx/stroke.h"

#include <algorithm>
#include <cmath>

namespace rc {

namespace {

PointD Add(PointD a, PointD b, double k) { return {a.x + b.x * k, a.y + b.y * k}; }

PointD UnitDirection(PointD from, PointD to) {
  const double dx = to.x - from.x;
  const double dy = to.y - from.y;
  const double len = std::hypot(dx, dy);
  return {dx / len, dy / len};
}

PointD Normal(PointD d) { return {-d.y, d.x}; }


// Drops repeated points (and, on a closed line, an end equal to its start)
// so every segment has a direction.
std::vector<PointD> Distinct(const Polyline& line) {
  std::vector<PointD> pts;
  for (const PointD& p : line.points) {
    if (pts.empty() || std::hypot(p.x - pts.back().x, p.y - pts.back().y) > 1e-9) pts.push_back(p);
  }
  while (line.closed && pts.size() > 1 &&
         std::hypot(pts.front().x - pts.back().x, pts.front().y - pts.back().y) <= 1e-9) {
    pts.pop_back();
  }
  return pts;
}

void AddSegment(std::vector<Polygon>& out, PointD a, PointD b, double half) {
  const PointD n = Normal(UnitDirection(a, b));
  PushOriented(out, {Add(a, n, half), Add(b, n, half), Add(b, n, -half), Add(a, n, -half)});
}

// Fills the gap on the outer side of the corner at p between the segment
// arriving along d0 and the one leaving along d1.
void AddJoin(std::vector<Polygon>& out, PointD p, PointD d0, PointD d1, double half) {
  const double cross = d0.x * d1.y - d0.y * d1.x;
  if (std::fabs(cross) < 1e-12) return;
  const double side = cross > 0 ? -1.0 : 1.0;
  const PointD n0 = Normal(d0);
  const PointD n1 = Normal(d1);
  const PointD a = Add(p, n0, side * half);
  const PointD b = Add(p, n1, side * half);
  const double denom = 1 + n0.x * n1.x + n0.y * n1.y;
  if (denom > 0 && std::sqrt(2 / denom) <= kMiterLimit) {
    const PointD miter{(n0.x + n1.x) / denom, (n0.y + n1.y) / denom};
    PushOriented(out, {p, a, Add(p, miter, side * half), b});
  } else {
    PushOriented(out, {p, a, b});
  }
}

}  // namespace

double SignedArea(const Polygon& poly) {
  double sum = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const PointD& a = poly[i];
    const PointD& b = poly[(i + 1) % poly.size()];
    sum += a.x * b.y - b.x * a.y;
  }
  return sum / 2;
}

void PushOriented(std::vector<Polygon>& out, Polygon poly) {
  if (SignedArea(poly) < 0) std::reverse(poly.begin(), poly.end());
  out.push_back(std::move(poly));
}

std::vector<Polygon> StrokePolyline(const Polyline& line, double width) {
  std::vector<Polygon> out;
  const std::vector<PointD> pts = Distinct(line);
  const size_t n = pts.size();
  if (n < 2 || !(width > 0)) return out;
  const double half = width / 2;
  const size_t segments = line.closed ? n : n - 1;
  for (size_t i = 0; i < segments; ++i) AddSegment(out, pts[i], pts[(i + 1) % n], half);
  for (size_t i = line.closed ? 0 : 1; i < (line.closed ? n : n - 1); ++i) {
    const PointD& prev = pts[(i + n - 1) % n];
    const PointD& next = pts[(i + 1) % n];
    AddJoin(out, pts[i], UnitDirection(prev, pts[i]), UnitDirection(pts[i], next), half);
  }
  return out;
}

void StrokePolylines(Canvas& canvas, const std::vector<Polyline>& lines, double width, uint32_t argb) {
  std::vector<Polygon> pieces;
  for (const Polyline& line : lines) {
    for (Polygon& piece : StrokePolyline(line, width)) pieces.push_back(std::move(piece));
  }
  for (Polygon& piece : pieces) {
    for (PointD& p : piece) {
      p.x += 0.5;
      p.y += 0.5;
    }
  }
  FillPolygons(canvas, pieces, FillRule::NonZero, argb);
}

}  // namespace rc
