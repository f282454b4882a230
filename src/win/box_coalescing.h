// Fewer, larger boxes for a present: every box a window system is sent
// costs a request of its own, which outweighs a few thousand pixels that
// did not change but go out again with their neighbours.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/geometry.h"

namespace rc {

// Replaces any two boxes by the box round both while that adds at most
// `slack` pixels they did not cover, until no two qualify. Every pixel of
// the boxes given stays covered.
void CoalesceBoxes(std::vector<Box>& boxes, int64_t slack);

}  // namespace rc
