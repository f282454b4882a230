// PNG through libpng.
#pragma once

#include "gfx/image_codec.h"

namespace rc {

// Reads every PNG libpng reads (alpha is premultiplied on the way in);
// writes 8-bit RGB at a fast compression level, since whole 4K screens
// are saved this way.
class PngCodec : public ImageCodec {
 public:
  const EncoderInfo& Info() const override;
  bool Recognises(std::span<const uint8_t> bytes) const override;
  bool Decode(std::span<const uint8_t> bytes, Canvas& out) const override;
  std::vector<uint8_t> Encode(const Canvas& picture) const override;
};

}  // namespace rc
