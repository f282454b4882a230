// The fast compositor. A frame is the dimmed screen plus the drawing steps
// made since it was last reset; the compositor keeps those steps, splits
// the screen into tiles, and recomposes and presents only the tiles whose
// steps changed since the last present. The frames are pixel for pixel the
// ones a full recomposition gives.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "gfx/canvas.h"
#include "win/scene_layer.h"

namespace rc {

class SceneCompositor {
 public:
  static constexpr int32_t kTileSize = 64;

  // Binds to the clean snapshot (not owned; it must outlive the compositor)
  // and writes the dimmed screen into the back buffer. The dimmed pixels are
  // made from the snapshot wherever they are needed, so no second
  // screen-sized copy is kept.
  void Begin(const Canvas& snapshot, Canvas& backBuffer);
  bool Active() const { return snapshot_ != nullptr; }
  const Canvas* Snapshot() const { return snapshot_; }

  // The frame becomes the dimmed screen again.
  void Reset() { steps_.clear(); }
  // Snapshot pixels, undimmed, over `box`.
  void AddClear(const Box& box);
  // A blend of a rectangle of `source` (copied now; the source may go away).
  void AddBlend(const Canvas& source, const Box& srcBox, const Box& dstBox, uint8_t alpha, bool perPixelAlpha);
  void AddLayer(std::shared_ptr<const SceneLayer> layer);

  // Recomposes the tiles that changed since the last call into the back
  // buffer and returns them as boxes to present.
  std::vector<Box> Compose(Canvas& backBuffer);

 private:
  enum class Kind { Clear, Blend, Layer };
  struct Step {
    Kind kind = Kind::Clear;
    Box dst;
    Box src;  // Blend: inside `pixels`
    Canvas pixels;
    uint8_t alpha = 255;
    bool perPixelAlpha = false;
    uint64_t signature = 0;
    std::shared_ptr<const SceneLayer> layer;
  };

  Box Reach(const Step& step) const;
  uint64_t StepSignature(const Step& step, const Box& tile) const;
  void ApplyStep(const Step& step, Canvas& backBuffer, const Box& tile) const;
  void RecomposeTile(Canvas& backBuffer, const Box& tile) const;
  std::vector<uint64_t> TileSignatures() const;
  Box TileBox(int32_t column, int32_t row) const;

  const Canvas* snapshot_ = nullptr;
  Box screen_;
  std::vector<Step> steps_;
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  std::vector<uint64_t> shown_;  // tile signatures of the back buffer as presented
};

// Writes `box` of the snapshot as the dimmed screen shows it (opaque black
// at alpha 128 over it) into the same box of `target`.
void DimInto(Canvas& target, const Canvas& snapshot, const Box& box);

}  // namespace rc
