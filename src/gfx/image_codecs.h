// The installed image codecs: our BMP codec first, then the platform's.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/image_codec.h"

namespace rc {

// Installs the platform's codecs beyond BMP, in the order they are listed
// after it; the host hands them over at start-up.
void SetPlatformCodecs(std::vector<const ImageCodec*> codecs);

// Every codec in the order encoders are listed.
std::vector<const ImageCodec*> InstalledCodecs();

// The description of every installed encoder, in list order.
std::vector<EncoderInfo> ImageEncoders();

// The class-id text of the first encoder whose format id equals `formatId`
// byte for byte; empty when none does.
std::string FindEncoder(std::string_view formatId);

// The codec whose class id is `classId`, or null.
const ImageCodec* CodecByClassId(std::string_view classId);

// The first codec that recognises the bytes as its format, or null.
const ImageCodec* FindDecoderFor(std::span<const uint8_t> bytes);

}  // namespace rc
