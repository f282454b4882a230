// The largest picture any decoder or blank bitmap will allocate. Encoded
// inputs may be hostile, so sizes are checked against this before memory is
// taken: 2^28 pixels (1 GiB of canvas) is far beyond any screen.
#pragma once

#include <cstdint>

namespace rc {

inline constexpr int64_t kMaxImagePixels = int64_t{1} << 28;

// Whether a picture of width x height may be allocated.
constexpr bool ImageSizeAllowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= kMaxImagePixels && height <= kMaxImagePixels &&
         width * height <= kMaxImagePixels;
}

}  // namespace rc
