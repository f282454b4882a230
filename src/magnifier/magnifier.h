// The zoom box beside the cursor with the selection size and the RGB readout.
#pragma once

namespace rc {

// Places the panel beside the cursor (flipped near the right and bottom
// edges) and draws it into the back buffer.
void PlaceMagnifier();

}  // namespace rc
