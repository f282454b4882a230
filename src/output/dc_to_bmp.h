// The pixels of a canvas as the bytes of a 32-bit bottom-up BMP file.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

// The bytes of colour table a BMP header allows for: 1 bit -> 8, 4 -> 64,
// 8 -> 1024, any other count -> 0.
uint32_t ColourTableSize(int bitCount);

// A BMP file of the canvas from (0, 0) to (width - 1, height - 1): the
// 54-byte header, then the rows bottom row first, four bytes a pixel (blue,
// green, red, the canvas's alpha byte), no padding. Pixels beyond the
// canvas are 0. Empty when the size is not positive or too large for the
// format's 32-bit size fields.
std::vector<uint8_t> DcToBmpBytes(const Canvas& source, int width, int height);

}  // namespace rc
