#include "gfx/raster.h"

#include <algorithm>
#include <cmath>

#include "gfx/blend.h"

namespace rc {

namespace {

using Cell = EdgeCell;

class CellSink {
 public:
  CellSink(int32_t width, int32_t height, std::vector<Cell>& cells) : width_(width), height_(height), cells_(cells) {}

  void AddEdge(PointD a, PointD b);

 private:
  void AddRowPiece(int32_t row, double xa, double xb, double dy);
  void Add(int32_t row, int32_t col, double dy, double area) { cells_.push_back({row, col, dy, area}); }

  int32_t width_;
  int32_t height_;
  std::vector<Cell>& cells_;
};

bool Finite(PointD p) { return std::isfinite(p.x) && std::isfinite(p.y); }

void CellSink::AddEdge(PointD a, PointD b) {
  if (!Finite(a) || !Finite(b) || a.y == b.y) return;
  const double top = std::max(std::min(a.y, b.y), 0.0);
  const double bottom = std::min(std::max(a.y, b.y), static_cast<double>(height_));
  if (top >= bottom) return;
  const double slope = (b.x - a.x) / (b.y - a.y);
  const double sign = b.y > a.y ? 1.0 : -1.0;
  for (int32_t row = static_cast<int32_t>(std::floor(top)); row < bottom; ++row) {
    const double y0 = std::max(top, static_cast<double>(row));
    const double y1 = std::min(bottom, static_cast<double>(row) + 1);
    if (y1 <= y0) continue;
    AddRowPiece(row, a.x + (y0 - a.y) * slope, a.x + (y1 - a.y) * slope, sign * (y1 - y0));
  }
}

// Splits one row's piece of an edge over the columns it crosses. Whatever
// lies left of the canvas only carries its height into column 0; whatever
// lies right of it touches no visible pixel.
void CellSink::AddRowPiece(int32_t row, double xa, double xb, double dy) {
  const double lo = std::min(xa, xb);
  const double hi = std::max(xa, xb);
  const double span = hi - lo;
  if (!std::isfinite(span)) return;
  if (span <= 0) {
    if (lo < 0) Add(row, -1, dy, 0);
    else if (lo < width_) Add(row, static_cast<int32_t>(lo), dy, dy * (1 - (lo - std::floor(lo))));
    return;
  }
  if (lo < 0) Add(row, -1, dy * (std::min(hi, 0.0) - lo) / span, 0);
  const double first = std::max(std::floor(lo), 0.0);
  const double last = std::min(std::floor(hi), static_cast<double>(width_) - 1);
  for (double c = first; c <= last; c += 1) {
    const double x0 = std::max(lo, c);
    const double x1 = std::min(hi, c + 1);
    if (x1 <= x0) continue;
    const double part = dy * (x1 - x0) / span;
    Add(row, static_cast<int32_t>(c), part, part * (1 - ((x0 + x1) / 2 - c)));
  }
}

uint8_t ToCoverage(double value, FillRule rule) {
  double v = std::fabs(value);
  if (rule == FillRule::NonZero) {
    v = std::min(v, 1.0);
  } else {
    v = std::fmod(v, 2.0);
    if (v > 1) v = 2 - v;
  }
  return static_cast<uint8_t>(std::lround(v * 255));
}

void BlendRun(Pixel* row, int32_t from, int32_t to, uint32_t argb, uint8_t coverage) {
  if (coverage == 0 || from >= to) return;
  if (coverage == 255 && (argb >> 24) == 255) {
    std::fill(row + from, row + to, static_cast<Pixel>(argb));
    return;
  }
  for (int32_t x = from; x < to; ++x) row[x] = CompositeCoverage(row[x], argb, coverage);
}

// Walks one row's sorted cells left to right, keeping the running winding.
void SweepRow(Pixel* row, int32_t width, const Cell* begin, const Cell* end, FillRule rule,
              uint32_t argb) {
  double winding = 0;
  int32_t next = 0;
  for (const Cell* c = begin; c != end;) {
    const int32_t x = c->x;
    double area = 0;
    double cover = 0;
    for (; c != end && c->x == x; ++c) {
      area += c->area;
      cover += c->cover;
    }
    if (x >= 0) {
      BlendRun(row, next, x, argb, ToCoverage(winding, rule));
      BlendRun(row, x, x + 1, argb, ToCoverage(winding + area, rule));
      next = x + 1;
    }
    winding += cover;
  }
  BlendRun(row, next, width, argb, ToCoverage(winding, rule));
}

}  // namespace

void FillPolygons(Canvas& canvas, const std::vector<Polygon>& polygons, FillRule rule, uint32_t argb) {
  if (canvas.Empty()) return;
  std::vector<Cell> cells;
  CellSink sink(canvas.Width(), canvas.Height(), cells);
  for (const Polygon& poly : polygons) {
    for (size_t i = 0; i < poly.size(); ++i) sink.AddEdge(poly[i], poly[(i + 1) % poly.size()]);
  }
  std::sort(cells.begin(), cells.end(),
            [](const Cell& a, const Cell& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  for (size_t i = 0; i < cells.size();) {
    size_t j = i;
    while (j < cells.size() && cells[j].y == cells[i].y) ++j;
    SweepRow(canvas.Row(cells[i].y), canvas.Width(), cells.data() + i, cells.data() + j, rule, argb);
    i = j;
  }
}

void SplitEdges(const std::vector<const Polygon*>& polygons, PointD offset, Size size, std::vector<EdgeCell>& cells) {
  if (size.width <= 0 || size.height <= 0) return;
  CellSink sink(size.width, size.height, cells);
  const auto moved = [offset](const PointD& p) { return PointD{p.x - offset.x, p.y - offset.y}; };
  for (const Polygon* poly : polygons) {
    const size_t n = poly->size();
    for (size_t i = 0; i < n; ++i) sink.AddEdge(moved((*poly)[i]), moved((*poly)[(i + 1) % n]));
  }
}

namespace {

// Per-pixel sums of the split edges, one row after another, with the
// columns each row touched, so a row is swept and cleared only there.
class DenseCells {
 public:
  DenseCells(int32_t width, int32_t height);
  void Add(const EdgeCell& c);
  void SweepRow(Pixel* row, int32_t y, FillRule rule, uint32_t argb);

 private:
  int32_t width_;
  std::vector<double> area_, cover_, carry_;
  std::vector<int32_t> first_, last_;
};

DenseCells::DenseCells(int32_t width, int32_t height)
    : width_(width), area_(static_cast<size_t>(width) * height), cover_(area_.size()), carry_(static_cast<size_t>(height)),
      first_(static_cast<size_t>(height), width), last_(static_cast<size_t>(height), -1) {}

void DenseCells::Add(const EdgeCell& c) {
  if (c.x < 0) {
    carry_[static_cast<size_t>(c.y)] += c.cover;
    return;
  }
  const size_t at = static_cast<size_t>(c.y) * width_ + c.x;
  area_[at] += c.area;
  cover_[at] += c.cover;
  first_[static_cast<size_t>(c.y)] = std::min(first_[static_cast<size_t>(c.y)], c.x);
  last_[static_cast<size_t>(c.y)] = std::max(last_[static_cast<size_t>(c.y)], c.x);
}

// Left of the first touched column the row holds what came in from the
// left; right of the last it holds the row's whole winding.
void DenseCells::SweepRow(Pixel* row, int32_t y, FillRule rule, uint32_t argb) {
  const size_t r = static_cast<size_t>(y);
  double winding = carry_[r];
  const int32_t first = first_[r], last = last_[r];
  BlendRun(row, 0, std::min(first, width_), argb, ToCoverage(winding, rule));
  const double* area = area_.data() + r * width_;
  const double* cover = cover_.data() + r * width_;
  for (int32_t x = first; x <= last; ++x) {
    BlendRun(row, x, x + 1, argb, ToCoverage(winding + area[x], rule));
    winding += cover[x];
  }
  BlendRun(row, last + 1 > first ? last + 1 : width_, width_, argb, ToCoverage(winding, rule));
}

}  // namespace

void FillEdgeCells(Canvas& canvas, const std::vector<EdgeCell>& cells, FillRule rule, uint32_t argb) {
  if (canvas.Empty() || cells.empty()) return;
  DenseCells sums(canvas.Width(), canvas.Height());
  std::vector<bool> touched(static_cast<size_t>(canvas.Height()), false);
  for (const EdgeCell& c : cells) {
    sums.Add(c);
    touched[static_cast<size_t>(c.y)] = true;
  }
  for (int32_t y = 0; y < canvas.Height(); ++y) {
    if (touched[static_cast<size_t>(y)]) sums.SweepRow(canvas.Row(y), y, rule, argb);
  }
}

}  // namespace rc
