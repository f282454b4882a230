#include "win/still_pixels.h"

#include "win/scene_layer.h"

namespace rc {

// Four independent running signatures, so that the multiplies overlap
// instead of waiting for each other; the magnifier's zoom is hashed on
// every pointer move.
uint64_t HashPixels(const Canvas& c) {
  const uint64_t seed = MixSignature(static_cast<uint64_t>(c.Width()), static_cast<uint64_t>(c.Height()));
  uint64_t lanes[4] = {seed, seed + 1, seed + 2, seed + 3};
  const size_t count = static_cast<size_t>(c.Width()) * c.Height();
  const Pixel* p = c.Data();
  const auto pair = [p](size_t i) { return p[i] | static_cast<uint64_t>(p[i + 1]) << 32; };
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (size_t lane = 0; lane < 4; ++lane) lanes[lane] = MixSignature(lanes[lane], pair(i + 2 * lane));
  }
  for (; i < count; ++i) lanes[0] = MixSignature(lanes[0], p[i]);
  return MixSignature(MixSignature(lanes[0], lanes[1]), MixSignature(lanes[2], lanes[3]));
}

}  // namespace rc
