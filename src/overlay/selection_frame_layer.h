// The selection's outline and eight handles, as drawn on the frame canvas
// (w + 5) x (h + 5) laid 2 pixels up and left of the selection; at a UI
// scale the outline and the handles grow in whole pixels and the canvas
// with them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx/gp_graphics.h"
#include "win/scene_layer.h"

namespace rc {

// The outline's thickness and the handles' side in whole pixels, so that
// both stay crisp at any scale: 1 and 5 at 1x.
struct FrameMetrics {
  int32_t line = 1;
  int32_t handle = 5;
  // How far the frame canvas reaches out beyond the outline's outer edge on
  // the left and top: half of what a corner handle is wider than the line.
  int32_t Reach() const { return (handle - line) / 2; }
  // The frame canvas's size for a selection of w x h.
  int32_t Span(int32_t length) const { return length + 2 * Reach() + line; }
  friend bool operator==(const FrameMetrics&, const FrameMetrics&) = default;
};

FrameMetrics FrameMetricsAt(float scale);

// The outline's four sides, each a line wide, on the frame canvas of a
// selection of w x h.
std::array<Box, 4> FrameBands(int32_t w, int32_t h, const FrameMetrics& m);

// Draws the outline and the handles onto `frame` (left at scale 1: the
// metrics are in pixels already), shifted by (dx, dy) from the frame
// canvas's own coordinates. Colours are ARGB.
void DrawFrameDecorations(GpGraphics& frame, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb,
                          float dx = 0, float dy = 0, FrameMetrics metrics = {});

// The same decorations as a layer the fast compositor draws tile by tile.
class SelectionFrameLayer : public SceneLayer {
 public:
  SelectionFrameLayer(int32_t left, int32_t top, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb,
                      FrameMetrics metrics = {});
  Box Bounds() const override;
  uint64_t TileSignature(const Box& tile) const override;
  Box TileReach(const Box& tile) const override;
  std::vector<Box> Footprint() const override;
  uint64_t Signature() const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  bool TouchesHandle(const Box& area) const;
  void RenderBands(Canvas& target, const Box& area) const;
  void RenderNearHandles(Canvas& target, const Box& area) const;
  Box HandlePixels(const PointF& corner) const;

  int32_t left_;
  int32_t top_;
  int32_t w_;
  int32_t h_;
  uint32_t border_;
  uint32_t handle_;
  FrameMetrics metrics_;
  Box bounds_;
  // Tiles wholly inside this show neither the outline nor a handle.
  Box interior_;
  std::array<PointF, 8> corners_;     // the handles' corners on the frame canvas
  std::array<Box, 8> handleReach_;    // the pixels each handle may touch
  std::array<Box, 4> bands_;          // the outline's sides on the screen
  std::array<Box, 4> bandReach_;      // each side grown by a pixel
  uint64_t look_ = 0;                 // the colours and metrics, mixed
};

}  // namespace rc
