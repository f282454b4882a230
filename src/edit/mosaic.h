// The mosaic brush's picture: the snapshot in square blocks, each of the
// average colour of the snapshot's pixels in it. Blocks lie on a grid from
// the overlay's (0, 0), so strokes that meet show the same blocks.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

class MosaicBlocks {
 public:
  // `snapshot` must outlive this object.
  MosaicBlocks(const Canvas& snapshot, int32_t blockSize);

  int32_t BlockSize() const { return block_; }
  // The opaque colour (straight ARGB) of the block holding pixel (x, y);
  // points beyond the snapshot take the nearest block inside it.
  uint32_t ColourAt(int32_t x, int32_t y);

 private:
  uint32_t Average(int32_t column, int32_t row) const;

  const Canvas& snapshot_;
  int32_t block_;
  int32_t columns_;
  int32_t rows_;
  std::vector<uint32_t> cache_;  // 0: not yet computed (every average is opaque)
};

}  // namespace rc
