// The screenshot portal hands over one picture of the whole desktop in the
// compositor's logical layout, at some scale of its own (usually the
// largest output scale). This puts each output's part of it where the
// output's own pixels lie on the desktop. Pure, so tests need no portal.
#pragma once

#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

struct PortalOutput {
  Box logical;  // the compositor's logical layout (xdg-output)
  Box desktop;  // where its pixels lie on the desktop
};

// Fills `out` (already `desktop`'s size) from `image`, which spans the
// box holding every output's logical rectangle. Each output's part is
// copied as it is when the sizes agree and resampled (nearest pixel) when
// they do not; every pixel comes out opaque, and black where no output is.
void PlacePortalImage(const Canvas& image, const std::vector<PortalOutput>& outputs, const Box& desktop, Canvas& out);

}  // namespace rc
