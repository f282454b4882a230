// GIF through giflib.
#pragma once

#include "gfx/image_codec.h"

namespace rc {

// Reads the first frame of a GIF (its transparent colour becomes
// transparent pixels); writes one frame with a palette of at most 256
// colours, exact when the picture has no more than that.
class GifCodec : public ImageCodec {
 public:
  const EncoderInfo& Info() const override;
  bool Recognises(std::span<const uint8_t> bytes) const override;
  bool Decode(std::span<const uint8_t> bytes, Canvas& out) const override;
  std::vector<uint8_t> Encode(const Canvas& picture) const override;
};

}  // namespace rc
