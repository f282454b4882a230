// The fast compositor. A frame is the dimmed screen plus the drawing steps
// made since it was last reset; the compositor keeps those steps, splits
// the screen into tiles, finds the tiles whose steps changed since the last
// present, and inside each recomposes and presents only the part that the
// changed steps reach. The frames are pixel for pixel the ones a full
// recomposition gives.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/canvas.h"
#include "win/scene_layer.h"

namespace rc {

class SceneCompositor {
 public:
  static constexpr int32_t kTileSize = 64;

  // Binds to the clean snapshot (not owned; it must outlive the compositor)
  // over `frame`, the part of the back buffer the snapshot covers. The
  // caller puts the dimmed screen in the back buffer. The dimmed pixels are
  // made from the snapshot wherever they are needed, so no second
  // screen-sized copy is kept.
  void Begin(const Canvas& snapshot, const Box& frame);
  bool Active() const { return snapshot_ != nullptr; }
  const Canvas* Snapshot() const { return snapshot_; }
  const Box& Frame() const { return screen_; }

  // The frame becomes the dimmed screen again.
  void Reset();
  // Snapshot pixels, undimmed, over `box`.
  void AddClear(const Box& box);
  // A blend of a rectangle of `source` (copied now; the source may go away).
  void AddBlend(const Canvas& source, const Box& srcBox, const Box& dstBox, uint8_t alpha, bool perPixelAlpha);
  void AddLayer(std::shared_ptr<const SceneLayer> layer);

  // Recomposes what changed since the last call into the back buffer and
  // returns it as boxes to present. `beforeWriting` runs with each box
  // before any pixel of it is written, and not at all when nothing changed.
  std::vector<Box> Compose(Canvas& backBuffer, const std::function<void(const Box&)>& beforeWriting = {});

 private:
  enum class Kind { Clear, Blend, Layer };
  struct Step {
    Kind kind = Kind::Clear;
    Box dst;
    Box src;  // Blend: inside `pixels`
    Canvas pixels;
    uint64_t pixelHash = 0;  // Blend: of `pixels`
    uint8_t alpha = 255;
    bool perPixelAlpha = false;
    uint64_t signature = 0;
    std::shared_ptr<const SceneLayer> layer;
  };

  // What the last presented frame was made of, enough to tell which of
  // its steps the next frame repeats.
  struct ShownStep {
    Kind kind = Kind::Clear;
    Box reach;
    uint64_t signature = 0;
    std::shared_ptr<const SceneLayer> layer;
  };
  // One step as it meets one tile.
  struct TileStep {
    Kind kind = Kind::Clear;
    uint64_t key = 0;
    Box area;
  };

  Box Reach(const Step& step) const;
  std::vector<TileStep> StepsInTile(const std::vector<ShownStep>& steps, const Box& tile) const;
  Box ChangedPart(const Box& tile, const std::vector<ShownStep>& current) const;
  std::vector<ShownStep> CurrentSteps() const;
  uint64_t StepSignature(const Step& step, const Box& tile) const;
  void ApplyStep(const Step& step, Canvas& backBuffer, const Box& tile) const;
  void RecomposeTile(Canvas& backBuffer, const Box& tile) const;
  std::vector<size_t> TilesOf(const Step& step, std::vector<uint32_t>& marks, uint32_t mark) const;
  std::vector<uint64_t> TileSignatures() const;
  Box TileBox(int32_t column, int32_t row) const;
  Canvas SpareCanvas(int32_t width, int32_t height);
  bool ReuseIdentical(const Canvas& source, const Box& kept, Step& step);

  const Canvas* snapshot_ = nullptr;
  Box screen_;
  std::vector<Step> steps_;
  // Blend copies of earlier frames, reused by the next frame's blends of the
  // same size: the magnifier and the label come back every message, and
  // fresh memory for them each time would cost more than the copies. A
  // blend of the same pixels takes its copy and hash as they are.
  struct Spare {
    Canvas pixels;
    uint64_t hash = 0;
  };
  std::vector<Spare> spare_;
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  std::vector<uint64_t> shown_;  // tile signatures of the back buffer as presented
  std::vector<ShownStep> shownSteps_;
};

// Writes `box` of the snapshot as the dimmed screen shows it (opaque black
// at alpha 128 over it) into `target` with its top-left corner at `at`.
void DimInto(Canvas& target, Point at, const Canvas& snapshot, const Box& box);
// The same into the same box of `target`.
inline void DimInto(Canvas& target, const Canvas& snapshot, const Box& box) {
  DimInto(target, {box.x, box.y}, snapshot, box);
}

}  // namespace rc
