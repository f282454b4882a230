// The magnifier's panel as one canvas of premultiplied pixels: its shadow,
// its translucent body, the frame, the zoom with the cross-hair over it and
// its two lines of text, already laid over one another. The overlay lays it
// over the screen with one blend, where it used to lay four layers one by
// one on every pointer move; the result is the same to within the rounding
// of one blend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/gp_graphics.h"
#include "win/still_pixels.h"

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

  // The panel as drawn, its body's top-left corner at (0, 0) and its
  // shadow to the lower right, for the compositor to keep by reference.
  // The next frame draws on the same pixels again once the compositor has
  // let go of them, so only the zoom and changed texts cost a pointer move.
  std::shared_ptr<const StillPixels> Pixels();

 private:
  void DrawUnchangingLayers();
  void FindCrossHairBoxes();
  void LayCrossHair(Canvas& canvas) const;
  Canvas& Drawing();
  void CopyBaseRows(int32_t first, int32_t end);

  float scale_;
  Canvas base_;       // shadow, body, frame and cross-hair, flattened
  Canvas crossHair_;  // laid over the zoom again on every frame
  std::vector<Box> crossHairBoxes_;  // the parts of the zoom the cross-hair reaches
  Box zoom_;          // the pixels the zoom lays
  GpGraphics texts_;  // the texts on a transparent layer of the body's size
  Canvas drawing_;    // the panel being drawn; empty once handed out
  std::shared_ptr<StillPixels> shown_;  // the panel handed out last
  Box opaque_;        // the same on every frame: the zoom and its border
  int32_t zoomRows_ = 0;  // the rows the zoom and the cross-hair reach; the texts lie below
  std::string sizeText_;
  std::string readoutText_;
  uint64_t renderer_ = 0;  // the text renderer the texts were written with
};

// What DrawZoom returns, without a panel.
uint32_t ZoomedColourAt(const Canvas& snapshot, Point cursor, float scale);

}  // namespace rc
