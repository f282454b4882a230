// Pixels that never change once made, shared by whoever drew them and the
// fast compositor: a blend of them is kept by reference and known by a hash
// taken once, instead of being compared with the last frame's and copied on
// every frame.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/canvas.h"

namespace rc {

// A signature of a canvas's size and every pixel of it.
uint64_t HashPixels(const Canvas& c);
// A large box of the canvas holding only pixels of alpha 255 (empty when
// the middle row has none): a blend at full strength lays exactly these
// pixels, whatever lay there before.
Box OpaqueBox(const Canvas& c);

// A key that tells pixels apart as their hash would, for pixels whose
// owner knows when they change: never the same twice in a run, and no
// likelier than any two hashes to equal a hash.
uint64_t NewPixelsKey();

class StillPixels {
 public:
  explicit StillPixels(Canvas pixels)
      : pixels_(std::move(pixels)), hash_(HashPixels(pixels_)), opaque_(OpaqueBox(pixels_)) {}
  // Pixels named by their owner instead of hashed: `key` from
  // NewPixelsKey(), `opaque` a box of them all of alpha 255 (or empty).
  // Drawn anew on every pointer move, the magnifier's panel would cost a
  // hash as large as itself each time.
  StillPixels(Canvas pixels, uint64_t key, const Box& opaque)
      : pixels_(std::move(pixels)), hash_(key), opaque_(opaque) {}
  const Canvas& Pixels() const { return pixels_; }
  uint64_t Hash() const { return hash_; }
  const Box& Opaque() const { return opaque_; }
  // The pixels back, to be drawn on and made still anew, for the owner that
  // made this object and is the only one left holding it.
  Canvas TakePixels() && { return std::move(pixels_); }

 private:
  Canvas pixels_;
  uint64_t hash_;
  Box opaque_;
};

// Takes `pixels` over; nobody may change them afterwards.
inline std::shared_ptr<const StillPixels> MakeStill(Canvas pixels) {
  return std::make_shared<const StillPixels>(std::move(pixels));
}

}  // namespace rc
