// Small conversions the whole program shares.
#pragma once

#include <cstdint>

namespace rc {

// Byte-wise comparison of two texts over unsigned bytes: negative, zero or
// positive. An absent text (nullptr) equals the empty text.
int CompareText(const char* a, const char* b);

// A COLORREF (red in bits 0-7, green 8-15, blue 16-23) and an alpha to ARGB.
constexpr uint32_t ToArgb(uint32_t colorref, uint32_t alpha = 255) {
  const uint32_t red = colorref & 0xFF;
  const uint32_t green = (colorref >> 8) & 0xFF;
  const uint32_t blue = (colorref >> 16) & 0xFF;
  return (alpha & 0xFF) << 24 | red << 16 | green << 8 | blue;
}

// Geometry computed in reals is stored as an integer by truncation toward
// zero (2.7 gives 2, -1.7 gives -1), never by rounding.
int32_t TruncToInt(double value);

}  // namespace rc
