// The embedded pictures of the toolbar and the context menu, decoded on
// first use and kept for the rest of the run. Each is made at 1x, 1.5x and
// 2x; any other scale takes the next larger one (2x above 2) resized to its
// own size, so a picture for scale s is its 1x size times s, rounded.
#pragma once

#include <cstdint>

#include "gfx/geometry.h"
#include "gfx/gp_image.h"

namespace rc {

// The sizes of the 1x pictures.
inline constexpr Size kToolbarStripSize{325, 24};
inline constexpr Size kMenuPictureSize{151, 250};

// The artwork scale a UI scale draws from: the smallest made scale not
// below it, or the largest made one.
float ArtworkScaleFor(float scale);

// Transparent background.
const GpImage& ToolbarStripImage(float scale = 1);
// Opaque: every row in its normal look.
const GpImage& MenuImage(float scale = 1);
// Opaque: every row highlighted.
const GpImage& MenuHoverImage(float scale = 1);

}  // namespace rc
