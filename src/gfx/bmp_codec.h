// Windows bitmap files, read and written by our own code on every platform.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/image_codec.h"

namespace rc {

// Reads uncompressed BMP files (1, 4, 8, 16, 24 and 32 bits per pixel, with
// or without bit-field masks, bottom-up or top-down) and writes opaque
// 32-bit ones. Every size and offset in a file is checked before use.
class BmpCodec : public ImageCodec {
 public:
  const EncoderInfo& Info() const override;
  bool Recognises(std::span<const uint8_t> bytes) const override;
  bool Decode(std::span<const uint8_t> bytes, Canvas& out) const override;
  std::vector<uint8_t> Encode(const Canvas& picture) const override;
};

// The one instance the codec list hands out.
const ImageCodec& BmpImageCodec();

// A 32-bit BI_RGB bottom-up BMP file (54-byte header, no colour table, no
// row padding) of the top-left width x height of `source`; pixels beyond the
// source are 0. With `opaque` the fourth byte of every pixel is 255, else it
// is the canvas's alpha byte as it stands. Empty when the size is not
// positive or the file would not fit the format's 32-bit size fields.
std::vector<uint8_t> WriteBmp32(const Canvas& source, int32_t width, int32_t height, bool opaque);

}  // namespace rc
