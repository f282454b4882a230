// The fast compositor. A frame is the dimmed screen plus the drawing steps
// made since it was last reset; the compositor keeps those steps, splits
// the screen into tiles, pairs the steps with the last presented frame's,
// looks only at the tiles that steps without an identical twin reach, and
// inside each tile that changed recomposes and presents only the part that
// the changed steps reach. The frames are pixel for pixel the ones a full
// recomposition gives.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "gfx/canvas.h"
#include "win/scene_layer.h"
#include "win/still_pixels.h"

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
  // The same for pixels that never change: kept by reference, not copied.
  void AddBlend(std::shared_ptr<const StillPixels> source, const Box& srcBox, const Box& dstBox, uint8_t alpha,
                bool perPixelAlpha);
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
    Box src;  // Blend: inside `pixels`, or inside `still`'s pixels
    Canvas pixels;
    std::shared_ptr<const StillPixels> still;
    // Blend: names its pixels. A still source's hash; for a copy its hash
    // or a number of its own, which the next frame's blend takes over when
    // it finds the very same pixels in the copy.
    uint64_t pixelKey = 0;
    uint8_t alpha = 255;
    bool perPixelAlpha = false;
    uint64_t signature = 0;  // Blend: of everything it draws; Layer: the layer's own
    std::shared_ptr<const SceneLayer> layer;
    Box opaque;  // Blend: OpaqueBox of `pixels`
    // Where the step lays pixels of its own whatever lay there before: a
    // clear's box, a blend's opaque part at full strength.
    Box cover;
  };

  // What a frame was made of, enough to tell which of its steps the next
  // frame repeats.
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
  // The recomposed part of a tile in the given row of tiles.
  struct TilePart {
    int32_t row = 0;
    Box box;
  };
  static constexpr size_t kNoTwin = SIZE_MAX;

  Box Reach(const Step& step) const;
  void StepsInTile(const std::vector<ShownStep>& steps, const Box& tile, std::vector<TileStep>& met) const;
  Box ChangedPart(const Box& tile);
  void CollectCurrentSteps();
  static bool Twins(const ShownStep& a, const ShownStep& b);
  void MatchSteps();
  void PairMovedClears();
  size_t NextTwin(size_t from) const;
  void MarkTiles(const Box& box);
  void MarkStepTiles(const ShownStep& step);
  void MarkUnmatchedTiles();
  uint64_t SignTile(const Box& tile) const;
  uint64_t StepSignature(const Step& step, const Box& tile) const;
  void ApplyStep(const Step& step, Canvas& backBuffer, const Box& tile) const;
  void Recompose(Canvas& backBuffer, const Box& box, int32_t depth = 0) const;
  void ApplySteps(Canvas& backBuffer, const Box& box, size_t first) const;
  void RenderLayer(const SceneLayer& layer, Canvas& backBuffer, const Box& box) const;
  Box TileBox(int32_t column, int32_t row) const;
  Canvas SpareCanvas(int32_t width, int32_t height);
  void CopyInto(Step& step, const Canvas& source, const Box& kept);
  bool MayRepeatShownBlend(const Box& dst) const;
  bool ReuseIdentical(const Canvas& source, const Box& kept, Step& step);
  std::vector<Box> MergeParts();

  const Canvas* snapshot_ = nullptr;
  Box screen_;
  std::vector<Step> steps_;
  // Blend copies of earlier frames, reused by the next frame's blends of the
  // same size: the size label comes back every message, and fresh memory
  // for it each time would cost more than the copies. A blend of the same
  // pixels takes its copy and key as they are.
  struct Spare {
    Canvas pixels;
    uint64_t key = 0;
    Box opaque;
  };
  std::vector<Spare> spare_;
  uint64_t copies_ = 0;  // copies made, for their keys
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  std::vector<uint64_t> shown_;  // tile signatures of the back buffer as presented
  std::vector<ShownStep> shownSteps_;
  std::vector<ShownStep> current_;  // this frame's steps, one for each of `steps_`

  // Scratch of Compose, kept so that a message allocates nothing.
  std::vector<size_t> twin_;     // for each current step: its twin among the shown ones, or kNoTwin
  std::vector<uint8_t> taken_;   // for each shown step: whether it has a twin
  std::vector<uint32_t> marks_;  // for each tile: the pass that last marked it
  uint32_t pass_ = 0;
  std::vector<size_t> marked_;   // tiles to look at, in no particular order
  std::vector<TileStep> before_;
  std::vector<TileStep> now_;
  std::vector<uint8_t> paired_;
  std::vector<TilePart> parts_;
  std::vector<Box> runs_;
  std::vector<Box> open_;
  std::vector<Box> grown_;
};

// Writes `box` of the snapshot as the dimmed screen shows it (opaque black
// at alpha 128 over it) into `target` with its top-left corner at `at`.
void DimInto(Canvas& target, Point at, const Canvas& snapshot, const Box& box);
// The same into the same box of `target`.
inline void DimInto(Canvas& target, const Canvas& snapshot, const Box& box) {
  DimInto(target, {box.x, box.y}, snapshot, box);
}

}  // namespace rc
