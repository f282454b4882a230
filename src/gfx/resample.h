// Resizing a picture by averaging: each new pixel is the mean of the source
// area it covers, weighted by how much of each source pixel it covers.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc {

// `src` resized to width x height (premultiplied, so edges against
// transparency stay clean). An empty source or size gives an empty canvas.
Canvas ResampleByArea(const Canvas& src, int32_t width, int32_t height);

}  // namespace rc
