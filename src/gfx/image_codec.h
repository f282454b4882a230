// One image encoder/decoder, known by its ImageFormatId.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

// The description of an installed encoder, in the order the graphics library
// lists its codecs.
struct EncoderInfo {
  std::string classId;   // braced upper-case GUID text
  std::string formatId;  // an ImageFormatId
  std::string codecName;
  std::string dllName;
  std::string formatDescription;
  std::string filenameExtension;  // e.g. "*.PNG"
  std::string mimeType;
};

class ImageCodec {
 public:
  virtual ~ImageCodec() = default;
  virtual const EncoderInfo& Info() const = 0;
  // Whether the bytes start like a file of this format.
  virtual bool Recognises(std::span<const uint8_t> bytes) const = 0;
  // Decodes into a premultiplied canvas; false (and `out` empty) on failure.
  virtual bool Decode(std::span<const uint8_t> bytes, Canvas& out) const = 0;
  // Encodes the picture as an opaque image (alpha 255 on every pixel);
  // empty on failure.
  virtual std::vector<uint8_t> Encode(const Canvas& picture) const = 0;
};

}  // namespace rc
