// Where each Wayland output lies on the desktop, in physical pixels.
// Compositors place outputs in logical coordinates (pixels divided by the
// output's scale); the program wants every output at its own pixels, 1:1.
// Pure, so tests need no compositor.
#pragma once

#include <vector>

#include "gfx/geometry.h"

namespace rc {

struct OutputPlacement {
  Box logical;  // position and size in the compositor's logical layout
  Size pixels;  // the output's size in physical pixels, rotation applied
};

// Each output's rectangle in desktop coordinates, in the order given.
// Every span of the logical layout (between two output edges, on each axis)
// is stretched by the largest scale of the outputs that cover it, so an
// output's pixels always fit inside the stretch of its logical rectangle:
// outputs never overlap, outputs of one scale sit exactly at logical
// position times scale, and side-by-side outputs of different scales stay
// adjacent. Where a neighbour of larger scale stretches a span, a smaller
// output leaves a dead (black) strip beside it.
std::vector<Box> PhysicalLayout(const std::vector<OutputPlacement>& outputs);

// The point of an output at surface-local logical position (sx, sy), in
// desktop coordinates.
Point OutputPointToDesktop(const Box& logical, const Box& desktop, double sx, double sy);

// A desktop box in the surface-local logical coordinates of an output,
// grown to whole logical units so it still covers every pixel it held.
// It may lie partly or wholly outside the output.
Box DesktopBoxToOutput(const Box& logical, const Box& desktop, const Box& box);

}  // namespace rc
