#include "edit/mosaic.h"

#include <algorithm>

namespace rc {

MosaicBlocks::MosaicBlocks(const Canvas& snapshot, int32_t blockSize)
    : snapshot_(snapshot), block_(std::max(blockSize, 1)) {
  columns_ = std::max((snapshot.Width() + block_ - 1) / block_, 1);
  rows_ = std::max((snapshot.Height() + block_ - 1) / block_, 1);
  cache_.assign(static_cast<size_t>(columns_) * rows_, 0);
}

uint32_t MosaicBlocks::ColourAt(int32_t x, int32_t y) {
  const int32_t column = std::clamp(x < 0 ? 0 : x / block_, 0, columns_ - 1);
  const int32_t row = std::clamp(y < 0 ? 0 : y / block_, 0, rows_ - 1);
  uint32_t& cached = cache_[static_cast<size_t>(row) * columns_ + column];
  if (cached == 0) cached = Average(column, row);
  return cached;
}

// Rounded to nearest per channel; the snapshot is opaque, so its
// premultiplied channels are the colours themselves.
uint32_t MosaicBlocks::Average(int32_t column, int32_t row) const {
  const int32_t x0 = column * block_, y0 = row * block_;
  const int32_t x1 = std::min(x0 + block_, snapshot_.Width()), y1 = std::min(y0 + block_, snapshot_.Height());
  uint64_t r = 0, g = 0, b = 0, n = 0;
  for (int32_t y = y0; y < y1; ++y) {
    const Pixel* line = snapshot_.Row(y);
    for (int32_t x = x0; x < x1; ++x) {
      r += RedOf(line[x]), g += GreenOf(line[x]), b += BlueOf(line[x]);
      ++n;
    }
  }
  if (n == 0) return 0xFF000000u;
  const auto mean = [n](uint64_t sum) { return static_cast<uint32_t>((sum + n / 2) / n); };
  return MakePixel(255, mean(r), mean(g), mean(b));
}

}  // namespace rc
