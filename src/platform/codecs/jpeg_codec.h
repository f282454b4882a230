// JPEG through libjpeg-turbo.
#pragma once

#include "gfx/image_codec.h"

namespace rc {

// Reads baseline and progressive JPEG in colour or grey; writes quality 90
// with 4:2:0 chroma subsampling (libjpeg's default for colour).
class JpegCodec : public ImageCodec {
 public:
  const EncoderInfo& Info() const override;
  bool Recognises(std::span<const uint8_t> bytes) const override;
  bool Decode(std::span<const uint8_t> bytes, Canvas& out) const override;
  std::vector<uint8_t> Encode(const Canvas& picture) const override;
};

}  // namespace rc
