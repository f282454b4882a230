// PNG, JPEG and GIF through the platform's imaging component (WIC).
#pragma once

#include <windows.h>

#include <vector>

#include "gfx/image_codec.h"

namespace rc {

class WicCodec : public ImageCodec {
 public:
  // `container` is the WIC container format; `magic` the bytes every file
  // of the format starts with.
  WicCodec(EncoderInfo info, GUID container, std::vector<uint8_t> magic)
      : info_(std::move(info)), container_(container), magic_(std::move(magic)) {}

  const EncoderInfo& Info() const override { return info_; }
  bool Recognises(std::span<const uint8_t> bytes) const override;
  // Decodes the first frame, premultiplied.
  bool Decode(std::span<const uint8_t> bytes, Canvas& out) const override;
  // Encodes with the encoder's defaults; GIF gets a palette made from the
  // picture itself.
  std::vector<uint8_t> Encode(const Canvas& picture) const override;

 private:
  EncoderInfo info_;
  GUID container_;
  std::vector<uint8_t> magic_;
};

}  // namespace rc
