// Decoded pictures: GpImage (read from encoded bytes) and GpBitmap (also
// made blank at a size). Both keep the stream they were decoded from.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/memory_stream.h"

namespace rc {

class GpImage {
 public:
  GpImage() = default;
  virtual ~GpImage();
  GpImage(const GpImage&) = delete;
  GpImage& operator=(const GpImage&) = delete;

  // Decodes `bytes` (any format a codec recognises); the bytes are copied
  // into the image's own stream, which lives until Dispose.
  bool LoadFromBytes(std::span<const uint8_t> bytes, bool useIcm = false);
  bool Dispose();
  bool Holds() const { return holds_; }

  uint32_t Width() const;
  uint32_t Height() const;
  // The ImageFormatId of the format the picture was decoded from; a picture
  // made blank reports the in-memory bitmap format.
  std::string RawFormat() const;
  // Encodes with the encoder of `formatId` (empty: RawFormat). Empty bytes
  // when no encoder handles the format.
  std::vector<uint8_t> SaveToBytes(const std::string& formatId = {}) const;

  // The decoded pixels (premultiplied), for drawing.
  const Canvas& Pixels() const { return pixels_; }
  Canvas& Pixels() { return pixels_; }

 protected:
  Canvas pixels_;
  std::string rawFormat_;
  MemoryStream stream_;
  bool holds_ = false;
};

class GpBitmap : public GpImage {
 public:
  // A blank bitmap: every pixel 0 (transparent black).
  bool Create(int32_t width, int32_t height);
};

}  // namespace rc
