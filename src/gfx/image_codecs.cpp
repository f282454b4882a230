#include "gfx/image_codecs.h"

#include "gfx/bmp_codec.h"

namespace rc {

namespace {

std::vector<const ImageCodec*>& PlatformCodecs() {
  static std::vector<const ImageCodec*> codecs;
  return codecs;
}

}  // namespace

void SetPlatformCodecs(std::vector<const ImageCodec*> codecs) {
  std::erase(codecs, nullptr);
  PlatformCodecs() = std::move(codecs);
}

std::vector<const ImageCodec*> InstalledCodecs() {
  std::vector<const ImageCodec*> codecs{&BmpImageCodec()};
  codecs.insert(codecs.end(), PlatformCodecs().begin(), PlatformCodecs().end());
  return codecs;
}

std::vector<EncoderInfo> ImageEncoders() {
  std::vector<EncoderInfo> list;
  for (const ImageCodec* codec : InstalledCodecs()) list.push_back(codec->Info());
  return list;
}

std::string FindEncoder(std::string_view formatId) {
  for (const ImageCodec* codec : InstalledCodecs()) {
    if (codec->Info().formatId == formatId) return codec->Info().classId;
  }
  return {};
}

const ImageCodec* CodecByClassId(std::string_view classId) {
  if (classId.empty()) return nullptr;
  for (const ImageCodec* codec : InstalledCodecs()) {
    if (codec->Info().classId == classId) return codec;
  }
  return nullptr;
}

const ImageCodec* FindDecoderFor(std::span<const uint8_t> bytes) {
  for (const ImageCodec* codec : InstalledCodecs()) {
    if (codec->Recognises(bytes)) return codec;
  }
  return nullptr;
}

}  // namespace rc
