// The scale the edit tools draw at: that of the monitor holding the point.
#pragma once

#include "gfx/geometry.h"

namespace rc {

float EditScaleAt(Point p);
// The current options in physical pixels at that scale.
float StrokeWidthAt(Point p);
float TextSizeAt(Point p);
uint32_t CurrentColour();

}  // namespace rc
