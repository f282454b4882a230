// Reducing a picture to the 256 colours a GIF frame can hold.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

struct IndexedPicture {
  std::vector<Pixel> palette;    // opaque colours, at most 256
  std::vector<uint8_t> indices;  // one per pixel, rows top to bottom
};

// Uses the picture's colour channels as they are (premultiplied, that is
// laid over black) and ignores alpha. A picture with at most 256 distinct
// colours keeps them exactly; a richer one gets a median-cut palette and
// each pixel the nearest colour of it.
IndexedPicture ReducePalette(const Canvas& picture);

}  // namespace rc
