// The platform's image codecs beyond BMP.
#pragma once

#include <vector>

#include "gfx/image_codec.h"

namespace rc {

// PNG, JPEG and GIF, in the order the platform lists its encoders.
std::vector<const ImageCodec*> WicImageCodecs();

}  // namespace rc
