#include "platform/codecs/posix_codecs.h"

#include "platform/codecs/gif_codec.h"
#include "platform/codecs/jpeg_codec.h"
#include "platform/codecs/png_codec.h"

namespace rc {

std::vector<const ImageCodec*> PosixImageCodecs() {
  // Stateless, so one instance of each serves the whole process; listed
  // in the order the platform graphics library lists its encoders.
  static const PngCodec png;
  static const JpegCodec jpeg;
  static const GifCodec gif;
  return {&jpeg, &gif, &png};
}

}  // namespace rc
