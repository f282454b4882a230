// A layer the fast compositor draws on demand, piece by piece, instead of
// as one large canvas: the selection's outline and handles.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

class SceneLayer {
 public:
  virtual ~SceneLayer() = default;
  // Where the layer may change pixels.
  virtual Box Bounds() const = 0;
  // A value that changes whenever the layer's pixels inside `tile` change;
  // 0 when the layer leaves every pixel of the tile as it is.
  virtual uint64_t TileSignature(const Box& tile) const = 0;
  // The smallest box inside `tile` holding every pixel the layer changes
  // there; by default all of its bounds inside the tile.
  virtual Box TileReach(const Box& tile) const { return IntersectBox(Bounds(), tile); }
  // Boxes together holding every pixel the layer changes; tiles that meet
  // none of them have signature 0 and are not asked for one, so a thin
  // outline round a large area costs only the tiles along it. By default
  // its bounds.
  virtual std::vector<Box> Footprint() const { return {Bounds()}; }
  // A value for the whole layer: two layers with the same nonzero value
  // change the same pixels in the same way, so a layer that comes back
  // unchanged is not looked at again. 0, the default, promises nothing,
  // and the layer is then compared tile by tile over its footprint.
  virtual uint64_t Signature() const { return 0; }
  // Lays the layer over `target`, touching only pixels inside `clip`.
  virtual void Render(Canvas& target, const Box& clip) const = 0;
};

// Folds one value into a running 64-bit signature.
constexpr uint64_t MixSignature(uint64_t h, uint64_t v) {
  h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 31);
}

inline uint64_t MixBox(uint64_t h, const Box& b) {
  h = MixSignature(h, static_cast<uint32_t>(b.x) | static_cast<uint64_t>(static_cast<uint32_t>(b.y)) << 32);
  return MixSignature(h, static_cast<uint32_t>(b.width) | static_cast<uint64_t>(static_cast<uint32_t>(b.height)) << 32);
}

}  // namespace rc
