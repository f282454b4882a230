#include "gfx/gp_image.h"

#include <new>

#include "gfx/image_codecs.h"
#include "gfx/image_limits.h"
#include "gfx/status.h"

namespace rc {

namespace {

// The format a picture made in memory reports; no encoder writes it.
constexpr std::string_view kImageFormatMemoryBmp = "{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}";

GpStatus DecodeInto(std::span<const uint8_t> bytes, Canvas& pixels, std::string& format) {
  const ImageCodec* codec = FindDecoderFor(bytes);
  if (codec == nullptr) return GpStatus::UnknownImageFormat;
  if (!codec->Decode(bytes, pixels)) return GpStatus::InvalidParameter;
  format = codec->Info().formatId;
  return GpStatus::Ok;
}

}  // namespace

GpImage::~GpImage() { Dispose(); }

bool GpImage::LoadFromBytes(std::span<const uint8_t> bytes, bool /*useIcm*/) {
  Dispose();
  GpStatus status = GpStatus::OutOfMemory;
  try {
    stream_.OpenOnBytes(bytes);
    status = DecodeInto(stream_.Bytes(), pixels_, rawFormat_);
  } catch (const std::bad_alloc&) {
  }
  holds_ = status == GpStatus::Ok;
  // A picture that failed to decode holds nothing, so Dispose would never
  // come to release its copy of the bytes: let go of them now.
  if (!holds_) {
    pixels_.Release();
    stream_.Release();
  }
  return Record(status);
}

bool GpImage::Dispose() {
  if (!holds_) return false;
  pixels_.Release();
  stream_.Release();
  rawFormat_.clear();
  holds_ = false;
  return Record(GpStatus::Ok);
}

uint32_t GpImage::Width() const {
  Record(holds_ ? GpStatus::Ok : GpStatus::InvalidParameter);
  return holds_ ? static_cast<uint32_t>(pixels_.Width()) : 0;
}

uint32_t GpImage::Height() const {
  Record(holds_ ? GpStatus::Ok : GpStatus::InvalidParameter);
  return holds_ ? static_cast<uint32_t>(pixels_.Height()) : 0;
}

std::string GpImage::RawFormat() const {
  Record(holds_ ? GpStatus::Ok : GpStatus::InvalidParameter);
  return holds_ ? rawFormat_ : std::string();
}

std::vector<uint8_t> GpImage::SaveToBytes(const std::string& formatId) const {
  if (!holds_) {
    Record(GpStatus::InvalidParameter);
    return {};
  }
  const ImageCodec* codec = CodecByClassId(FindEncoder(formatId.empty() ? rawFormat_ : formatId));
  if (codec == nullptr) {
    Record(GpStatus::UnknownImageFormat);
    return {};
  }
  // Codecs report failure as empty bytes and never throw.
  std::vector<uint8_t> bytes = codec->Encode(pixels_);
  Record(bytes.empty() ? GpStatus::GenericError : GpStatus::Ok);
  return bytes;
}

bool GpBitmap::Create(int32_t width, int32_t height) {
  Dispose();
  if (width <= 0 || height <= 0) return Record(GpStatus::InvalidParameter);
  if (!ImageSizeAllowed(width, height)) return Record(GpStatus::OutOfMemory);
  try {
    pixels_.Create(width, height);
  } catch (const std::bad_alloc&) {
    return Record(GpStatus::OutOfMemory);
  }
  rawFormat_ = std::string(kImageFormatMemoryBmp);
  holds_ = true;
  return Record(GpStatus::Ok);
}

}  // namespace rc
