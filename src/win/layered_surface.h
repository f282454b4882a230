// Makes the overlay window show one program-owned canvas, the back buffer,
// and remembers which part of it changed since the last present so that
// present pushes only that.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/canvas.h"
#include "win/dimmed_fill.h"
#include "win/present_target.h"
#include "win/scene_compositor.h"
#include "win/still_pixels.h"

namespace rc {

class LayeredSurface {
 public:
  // Binds to the window, shown through `target`: makes it layered, creates the window-sized canvas
  // (transparent) and presents it once, unless `showEmpty` is false because
  // a frame follows at once (a layered window shows nothing before its
  // first present). Returns 1.
  int Attach(PresentTarget& target, uintptr_t window, bool showEmpty = true);
  // Releases the canvas and restores the window's style; 0 when not attached.
  int Detach();
  uintptr_t Window() const { return window_; }

  // Blends a rectangle of `source` into the back buffer (AlphaBlend
  // semantics); omitted sizes are the back buffer's. 0 when not attached.
  bool BlendFrom(const Canvas& source, int32_t srcX, int32_t srcY, std::optional<int32_t> srcW,
                 std::optional<int32_t> srcH, int32_t dstX, int32_t dstY, std::optional<int32_t> dstW,
                 std::optional<int32_t> dstH, uint8_t alpha = 255, bool perPixelAlpha = false);
  // The same for pixels that never change, `src` inside them to `dst`:
  // with fast frames they are kept by reference instead of being copied and
  // compared on every frame.
  bool BlendFrom(std::shared_ptr<const StillPixels> source, const Box& src, const Box& dst, uint8_t alpha = 255,
                 bool perPixelAlpha = false);
  // Shows what changed since the last present. 0 when not attached.
  bool Present();

  Canvas& CanvasDC() {
    Settle();
    return canvas_;
  }
  int32_t CanvasWidth() const { return attached_ ? canvas_.Width() : 0; }
  int32_t CanvasHeight() const { return attached_ ? canvas_.Height() : 0; }

  // Fast frames: from here on the surface keeps the drawing steps made
  // since the last reset and, at each present, recomposes and shows only
  // the pixels that changed. `snapshot` is the clean screen; it must
  // outlive the surface's use of it (see Settle). The next present shows
  // the dimmed screen.
  void UseScene(const Canvas& snapshot);
  bool UsesScene() const { return scene_.Active(); }
  // With fast frames: the frame becomes the dimmed screen again.
  void ResetToDimmed() { scene_.Reset(); }
  // With fast frames: a layer drawn on demand.
  void AddLayer(std::shared_ptr<const SceneLayer> layer) { scene_.AddLayer(std::move(layer)); }

  // For code that writes the back buffer directly: the box must be shown.
  void MarkChanged(const Box& box);

  // Waits for the back buffer to be filled, if that is still going on in
  // the background; after it the snapshot is no longer read behind the
  // caller's back.
  void Settle();

 private:
  bool PrepareDimmedScreen(std::vector<Box>& boxes);
  bool PresentDimmedInStrips();

  bool attached_ = false;
  PresentTarget* target_ = nullptr;
  uintptr_t window_ = 0;
  Canvas canvas_;
  Box changed_;
  SceneCompositor scene_;
  bool dimmedPending_ = false;
  // Declared last, so that it ends before the canvas goes.
  DimmedFill fill_;
};

}  // namespace rc
