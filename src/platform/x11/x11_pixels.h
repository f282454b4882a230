// Conversion between our 0xAARRGGBB pixels and the pixel values of a
// TrueColor visual whose channel masks are not the usual 8-8-8 layout.
#pragma once

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

// An opaque pixel from a visual's pixel value.
Pixel PixelFromVisual(unsigned long value, const X11PixelFormat& format);
// The visual's pixel value for the colour of `p` (alpha is dropped).
unsigned long PixelToVisual(Pixel p, const X11PixelFormat& format);

}  // namespace rc
