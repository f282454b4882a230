// The selection's outline and eight handles, as drawn on the frame canvas
// (w + 5) x (h + 5) laid 2 pixels up and left of the selection.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/gp_graphics.h"
#include "win/scene_layer.h"

namespace rc {

// Draws the outline and the handles onto `frame`, shifted by (dx, dy) from
// the frame canvas's own coordinates. Colours are ARGB.
void DrawFrameDecorations(GpGraphics& frame, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb,
                          float dx = 0, float dy = 0);

// The same decorations as a layer the fast compositor draws tile by tile.
class SelectionFrameLayer : public SceneLayer {
 public:
  SelectionFrameLayer(int32_t left, int32_t top, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb);
  Box Bounds() const override;
  uint64_t TileSignature(const Box& tile) const override;
  Box TileReach(const Box& tile) const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  // The outline's four sides as one-pixel-wide boxes on the screen.
  std::array<Box, 4> Bands() const;
  bool TouchesHandle(const Box& area) const;
  void RenderBands(Canvas& target, const Box& area) const;

  int32_t left_;
  int32_t top_;
  int32_t w_;
  int32_t h_;
  uint32_t border_;
  uint32_t handle_;
};

}  // namespace rc
