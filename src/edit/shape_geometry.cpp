#include "edit/shape_geometry.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "gfx/stroke.h"

namespace rc {

namespace {

// Odd widths centre the pen on pixel centres, even ones on pixel edges, so
// that both give crisp straight edges.
double PenOffset(double width) {
  const double rounded = std::round(width);
  return (rounded == width && static_cast<long long>(rounded) % 2 == 0) ? 0.0 : 0.5;
}

std::vector<Polygon> Stroked(const Polyline& line, double width) {
  std::vector<Polygon> pieces = StrokePolyline(line, width);
  const double shift = PenOffset(width);
  for (Polygon& piece : pieces) {
    for (PointD& p : piece) p = {p.x + shift, p.y + shift};
  }
  return pieces;
}

Polygon Circle(PointD centre, double radius) {
  const int sides = std::clamp(static_cast<int>(std::ceil(radius * 5)), 8, 64);
  Polygon circle;
  for (int i = 0; i < sides; ++i) {
    const double a = 2 * std::numbers::pi * i / sides;
    circle.push_back({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)});
  }
  return circle;
}

}  // namespace

PointD ConstrainSquare(PointD anchor, PointD p) {
  const double dx = p.x - anchor.x, dy = p.y - anchor.y;
  const double side = std::max(std::fabs(dx), std::fabs(dy));
  return {anchor.x + (dx < 0 ? -side : side), anchor.y + (dy < 0 ? -side : side)};
}

PointD SnapTo45(PointD anchor, PointD p) {
  const double dx = p.x - anchor.x, dy = p.y - anchor.y;
  const int octant = static_cast<int>(std::lround(std::atan2(dy, dx) / (std::numbers::pi / 4)));
  const double ux = std::round(std::cos(octant * std::numbers::pi / 4));
  const double uy = std::round(std::sin(octant * std::numbers::pi / 4));
  // Along an axis the pointer's span on it; along a diagonal the mean of both.
  const double length = (ux != 0 && uy != 0) ? std::round((std::fabs(dx) + std::fabs(dy)) / 2)
                                             : (ux != 0 ? std::fabs(dx) : std::fabs(dy));
  return {anchor.x + ux * length, anchor.y + uy * length};
}

std::vector<Polygon> RectanglePolygons(PointD a, PointD b, double width) {
  Polyline line{{{a.x, a.y}, {b.x, a.y}, {b.x, b.y}, {a.x, b.y}}, true};
  return Stroked(line, width);
}

// The outline is the ring between the ellipse grown and shrunk by half the
// pen (a pen wider than the ellipse fills it), cut into short pieces across
// the ring: each piece reaches only a cell or two, so a cell is made from
// the few pieces over it, and two rings of edges cost far less to fill
// than a quad and a join for every side.
std::vector<Polygon> EllipsePolygons(PointD a, PointD b, double width) {
  const double rx = std::fabs(b.x - a.x) / 2, ry = std::fabs(b.y - a.y) / 2;
  if (!(rx > 0 || ry > 0) || !(width > 0)) return {};
  const double shift = PenOffset(width), half = width / 2;
  const PointD c{(a.x + b.x) / 2 + shift, (a.y + b.y) / 2 + shift};
  const int sides = std::clamp(static_cast<int>(std::ceil((rx + ry) * 1.5)), 16, 720);
  std::vector<PointD> outer, inner;
  for (int i = 0; i <= sides; ++i) {
    const double t = 2 * std::numbers::pi * (i % sides) / sides, cos = std::cos(t), sin = std::sin(t);
    outer.push_back({c.x + (rx + half) * cos, c.y + (ry + half) * sin});
    inner.push_back({c.x + std::max(rx - half, 0.0) * cos, c.y + std::max(ry - half, 0.0) * sin});
  }
  constexpr int kSidesPerPiece = 8;
  std::vector<Polygon> out;
  for (int first = 0; first < sides; first += kSidesPerPiece) {
    const int last = std::min(first + kSidesPerPiece, sides);
    Polygon piece(outer.begin() + first, outer.begin() + last + 1);
    piece.insert(piece.end(), std::make_reverse_iterator(inner.begin() + last + 1), std::make_reverse_iterator(inner.begin() + first));
    PushOriented(out, std::move(piece));
  }
  return out;
}

double ArrowHeadLength(double width) { return 3 * width + 8; }

std::vector<Polygon> ArrowPolygons(PointD from, PointD to, double width) {
  std::vector<Polygon> out;
  const double dx = to.x - from.x, dy = to.y - from.y;
  const double length = std::hypot(dx, dy);
  if (!(length > 0)) return out;
  const PointD u{dx / length, dy / length};
  const PointD n{-u.y, u.x};
  const double head = std::min(ArrowHeadLength(width), length);
  const double halfHead = head * 0.5;
  const PointD tip{to.x + 0.5, to.y + 0.5};
  const PointD base{tip.x - u.x * head, tip.y - u.y * head};
  PushOriented(out, {tip, {base.x + n.x * halfHead, base.y + n.y * halfHead}, {base.x - n.x * halfHead, base.y - n.y * halfHead}});
  // The shaft runs into the head, so no seam shows where they meet.
  const double shaft = length - head * 0.7;
  if (shaft > 0) {
    const PointD start{from.x + 0.5, from.y + 0.5};
    const PointD end{start.x + u.x * shaft, start.y + u.y * shaft};
    const double h = width / 2;
    PushOriented(out, {{start.x + n.x * h, start.y + n.y * h}, {end.x + n.x * h, end.y + n.y * h},
                       {end.x - n.x * h, end.y - n.y * h}, {start.x - n.x * h, start.y - n.y * h}});
  }
  return out;
}

std::vector<Polygon> BrushPolygons(const std::vector<PointD>& points, double width, size_t first) {
  std::vector<Polygon> out;
  const double shift = PenOffset(width);
  for (size_t i = first; i < points.size(); ++i) {
    const PointD p{points[i].x + shift, points[i].y + shift};
    PushOriented(out, Circle(p, width / 2));
    if (i == 0) continue;
    const Polyline segment{{points[i - 1], points[i]}, false};
    for (Polygon& piece : Stroked(segment, width)) out.push_back(std::move(piece));
  }
  return out;
}

BoundsD PolygonBounds(const Polygon& polygon) {
  BoundsD b{1e300, 1e300, -1e300, -1e300};
  for (const PointD& p : polygon) {
    b.left = std::min(b.left, p.x), b.top = std::min(b.top, p.y);
    b.right = std::max(b.right, p.x), b.bottom = std::max(b.bottom, p.y);
  }
  return {b.left - 1, b.top - 1, b.right + 1, b.bottom + 1};
}

}  // namespace rc
