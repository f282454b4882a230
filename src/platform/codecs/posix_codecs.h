// PNG, JPEG and GIF through libpng, libjpeg-turbo and giflib.
#pragma once

#include <vector>

#include "gfx/image_codec.h"

namespace rc {

// The codecs in the order they are listed to FindEncoder.
std::vector<const ImageCodec*> PosixImageCodecs();

}  // namespace rc
