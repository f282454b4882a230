#include "gfx/image_draw.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gfx/blend.h"

namespace rc {

namespace {

// Marks a destination pixel whose source point lies outside the source.
constexpr int32_t kBeyond = -1;

struct Axis {
  int32_t first = 0;         // first destination pixel drawn
  std::vector<int32_t> map;  // source index per destination pixel, or kBeyond
};

// Destination pixels run from round(start) to round(start + length).
struct Span {
  double first;
  double end;
};
Span LaidSpan(double start, double length) { return {std::round(start), std::round(start + length)}; }

// The laid span, clipped to [0, limit); each pixel samples the source at its centre. The table is made
// on every call, with the same double arithmetic each time: near a whole
// source pixel the rounding depends on where the source rectangle starts.
void MapAxis(double start, double length, double srcStart, double srcLength, int32_t limit, int32_t srcLimit,
             Axis& axis) {
  axis.map.clear();
  const Span laid = LaidSpan(start, length);
  const double lo = std::max(laid.first, 0.0);
  const double hi = std::min(laid.end, static_cast<double>(limit));
  axis.first = static_cast<int32_t>(lo);
  const double scale = srcLength / length;
  for (double i = lo; i < hi; i += 1) {
    const double u = std::floor(srcStart + (i + 0.5 - start) * scale);
    const bool inside = u >= 0 && u < static_cast<double>(srcLimit);
    axis.map.push_back(inside ? static_cast<int32_t>(u) : kBeyond);
  }
}

Pixel Over(Pixel d, Pixel s) {
  const uint32_t keep = 255 - AlphaOf(s);
  if (keep == 0) return s;
  Pixel out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t v = ((s >> shift) & 0xFFu) + Div255(((d >> shift) & 0xFFu) * keep);
    out |= std::min<uint32_t>(v, 255) << shift;
  }
  return out;
}

bool Usable(const RectF& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height) &&
         r.width > 0 && r.height > 0;
}

// Destination columns that read the same source column side by side: an
// enlarged picture repeats each source pixel over a run of pixels.
struct Run {
  int32_t source = kBeyond;
  int32_t length = 0;
};

void FindRuns(const std::vector<int32_t>& columns, std::vector<Run>& runs) {
  runs.clear();
  for (int32_t column : columns) {
    if (!runs.empty() && runs.back().source == column) {
      ++runs.back().length;
    } else {
      runs.push_back({column, 1});
    }
  }
}

// Lays one source row (null: beyond the source) over `out` through the
// column runs; returns whether every pixel laid was opaque, so that the
// row came out the same whatever lay beneath it.
bool LayRow(Pixel* out, const Pixel* src, const std::vector<Run>& runs, Pixel beyondEdge) {
  bool opaque = true;
  for (const Run& run : runs) {
    const Pixel s = src != nullptr && run.source != kBeyond ? src[run.source] : beyondEdge;
    if (AlphaOf(s) == 255) {
      std::fill_n(out, run.length, s);
    } else {
      for (int32_t i = 0; i < run.length; ++i) out[i] = Over(out[i], s);
      opaque = false;
    }
    out += run.length;
  }
  return opaque;
}

}  // namespace

Box PixelsLaidFor(const RectF& dstRect) {
  const Span x = LaidSpan(dstRect.x, dstRect.width);
  const Span y = LaidSpan(dstRect.y, dstRect.height);
  return {static_cast<int32_t>(x.first), static_cast<int32_t>(y.first), static_cast<int32_t>(x.end - x.first),
          static_cast<int32_t>(y.end - y.first)};
}

void DrawImageScaled(Canvas& dst, const RectF& dstRect, const Canvas& src, const RectF& srcRect,
                     Pixel beyondEdge) {
  if (dst.Empty() || !Usable(dstRect) || !Usable(srcRect)) return;
  // Kept between calls: the magnifier draws its zoom on every pointer move.
  static thread_local Axis xs, ys;
  static thread_local std::vector<Run> runs;
  MapAxis(dstRect.x, dstRect.width, srcRect.x, srcRect.width, dst.Width(), src.Width(), xs);
  MapAxis(dstRect.y, dstRect.height, srcRect.y, srcRect.height, dst.Height(), src.Height(), ys);
  if (xs.map.empty()) return;
  FindRuns(xs.map, runs);
  const size_t rowBytes = xs.map.size() * sizeof(Pixel);
  const Pixel* previous = nullptr;  // the last row laid, when it was opaque
  for (size_t j = 0; j < ys.map.size(); ++j) {
    Pixel* row = dst.Row(ys.first + static_cast<int32_t>(j)) + xs.first;
    const int32_t sy = ys.map[j];
    // An enlarged row repeats the one above it when both read the same
    // source row and nothing beneath showed through.
    if (previous != nullptr && sy == ys.map[j - 1]) {
      std::memcpy(row, previous, rowBytes);
      continue;
    }
    const Pixel* source = sy != kBeyond && !src.Empty() ? src.Row(sy) : nullptr;
    previous = LayRow(row, source, runs, beyondEdge) ? row : nullptr;
  }
}

}  // namespace rc
