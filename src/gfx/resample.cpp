#include "gfx/resample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace rc {

namespace {

struct Share {
  int32_t index;
  double weight;
};

// For each of `to` pixels, the source pixels of `from` it covers and how
// much of each; the weights of one pixel add up to 1.
std::vector<std::vector<Share>> Shares(int32_t from, int32_t to) {
  const double step = static_cast<double>(from) / to;
  std::vector<std::vector<Share>> out(static_cast<size_t>(to));
  for (int32_t i = 0; i < to; ++i) {
    const double lo = i * step;
    const double hi = std::min((i + 1) * step, static_cast<double>(from));
    for (auto k = static_cast<int32_t>(std::floor(lo)); k < hi; ++k) {
      const double part = std::min(hi, k + 1.0) - std::max(lo, static_cast<double>(k));
      if (part > 0) out[static_cast<size_t>(i)].push_back({k, part / step});
    }
  }
  return out;
}

Pixel Average(const Canvas& src, const std::vector<Share>& xs, const std::vector<Share>& ys) {
  std::array<double, 4> sum{};
  for (const Share& y : ys) {
    const Pixel* row = src.Row(y.index);
    for (const Share& x : xs) {
      const Pixel p = row[x.index];
      const double w = x.weight * y.weight;
      for (int c = 0; c < 4; ++c) sum[static_cast<size_t>(c)] += w * ((p >> (8 * c)) & 0xFF);
    }
  }
  Pixel out = 0;
  for (int c = 0; c < 4; ++c) {
    const auto v = static_cast<uint32_t>(std::clamp(std::lround(sum[static_cast<size_t>(c)]), 0L, 255L));
    out |= v << (8 * c);
  }
  return out;
}

}  // namespace

Canvas ResampleByArea(const Canvas& src, int32_t width, int32_t height) {
  Canvas out;
  if (src.Empty() || !out.Create(width, height)) return out;
  const auto xs = Shares(src.Width(), width);
  const auto ys = Shares(src.Height(), height);
  for (int32_t y = 0; y < height; ++y) {
    Pixel* row = out.Row(y);
    for (int32_t x = 0; x < width; ++x) row[x] = Average(src, xs[static_cast<size_t>(x)], ys[static_cast<size_t>(y)]);
  }
  return out;
}

}  // namespace rc
