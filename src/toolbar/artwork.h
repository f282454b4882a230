// The embedded pictures of the toolbar and the context menu, decoded on
// first use and kept for the rest of the run.
#pragma once

#include "gfx/gp_image.h"

namespace rc {

// 325 x 24, transparent background.
const GpImage& ToolbarStripImage();
// 151 x 250, opaque: every row in its normal look.
const GpImage& MenuImage();
// 151 x 250, opaque: every row highlighted.
const GpImage& MenuHoverImage();

}  // namespace rc
