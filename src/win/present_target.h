// What the overlay window's surface shows itself through: the window it is
// bound to, as the platform presents it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

class PresentTarget {
 public:
  virtual ~PresentTarget() = default;
  // Layered: the window shows only what is presented to it.
  virtual void SetLayered(bool layered) = 0;
  virtual Box WindowBounds() = 0;
  // A canvas the size of the window that Present shows cheaply.
  virtual Canvas CreateSurfaceCanvas(int32_t width, int32_t height) = 0;
  // Shows the boxes of the back buffer, all of them as one update.
  virtual bool Present(const Canvas& backBuffer, std::span<const Box> boxes) = 0;
  // Whether PresentPainted works (see HostRuntime::PresentsPieces).
  virtual bool PresentsPieces() = 0;
  // The part of the window the system lost since the last call (another
  // window lay over it), which the next present must show again; empty
  // where the system keeps the window's pixels itself.
  virtual Box TakeExposed() = 0;
  // Fills `rows` (a band of the window's rows, at (0, 0) of the canvas).
  using PaintRows = std::function<void(Canvas& band, const Box& rows)>;
  // Shows `area` of the window band by band as `paint` fills each band;
  // the back buffer is not touched.
  virtual bool PresentPainted(const Box& area, const PaintRows& paint) = 0;
};

}  // namespace rc
