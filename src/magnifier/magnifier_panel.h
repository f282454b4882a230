// The magnifier's panel as one canvas of premultiplied pixels: its shadow,
// its translucent body, the frame, the zoom with the cross-hair over it and
// its two lines of text, already laid over one another. The overlay lays it
// over the screen with one blend, where it used to lay four layers one by
// one on every pointer move; the result is the same to within the rounding
// of one blend.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/gp_graphics.h"

namespace rc {

class MagnifierPanel {
 public:
  // Draws the parts that never change at `scale`.
  explicit MagnifierPanel(float scale);

  // Draws the zoom of the 30 x 21 snapshot pixels round `cursor` and the
  // cross-hair over it; returns the colour (COLORREF) of the zoomed pixel
  // where the cross-hair's lines cross.
  uint32_t DrawZoom(const Canvas& snapshot, Point cursor);
  // Writes the selection's size and the colour readout below the zoom; does
  // nothing while both read as they did, with the same text renderer.
  void DrawTexts(const std::string& sizeText, const std::string& readoutText);

  // The panel, its body's top-left corner at (0, 0) and its shadow to the
  // lower right.
  const Canvas& Pixels() const { return pixels_; }

 private:
  void DrawUnchangingLayers();
  void CopyBaseRows(int32_t first, int32_t end);

  float scale_;
  Canvas base_;       // shadow, body and frame, flattened
  Canvas crossHair_;  // laid over the zoom on every frame
  GpGraphics texts_;  // the texts on a transparent layer of the body's size
  Canvas pixels_;
  int32_t zoomRows_ = 0;  // the rows the zoom and the cross-hair reach; the texts lie below
  std::string sizeText_;
  std::string readoutText_;
  uint64_t renderer_ = 0;  // the text renderer the texts were written with
};

// What DrawZoom returns, without a panel.
uint32_t ZoomedColourAt(const Canvas& snapshot, Point cursor, float scale);

}  // namespace rc
