#include "output/dc_to_bmp.h"

#include "gfx/bmp_codec.h"

namespace rc {

uint32_t ColourTableSize(int bitCount) {
  switch (bitCount) {
    case 1:
      return 8;
    case 4:
      return 64;
    case 8:
      return 1024;
    default:
      return 0;
  }
}

std::vector<uint8_t> DcToBmpBytes(const Canvas& source, int width, int height) {
  // The bit count is always 32, so ColourTableSize(32) adds no table.
  return WriteBmp32(source, width, height, false);
}

}  // namespace rc
