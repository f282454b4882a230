// One pixel of a blend, inline, for the loops that blend runs of pixels:
// the arithmetic every blend of the program rounds with.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"

namespace rc::blend_pixel {

// Two 8-bit channels sit in the low bytes of two 16-bit lanes (red and
// blue, or alpha and green), so one multiply handles both. Each lane's
// product stays below 2^16, and the lanes are divided by 255 with exactly
// Div255's rounding.
constexpr uint32_t kLaneMask = 0x00FF00FFu;
constexpr uint32_t kLaneRounding = 0x00800080u;

inline uint32_t LaneDiv255(uint32_t t) {
  t += kLaneRounding;
  return ((t + ((t >> 8) & kLaneMask)) >> 8) & kLaneMask;
}

// Lane sums of at most 510 clamped to 255.
inline uint32_t LaneClamp(uint32_t v) {
  const uint32_t over = (v >> 8) & 0x00010001u;
  return (v | over * 0xFFu) & kLaneMask;
}

inline Pixel Lanes(uint32_t redBlue, uint32_t alphaGreen) { return redBlue | alphaGreen << 8; }

// Every channel (alpha included) becomes s * a / 255 + d * (255 - a) / 255,
// rounded once.
inline Pixel BlendConstant(Pixel d, Pixel s, uint32_t a) {
  const uint32_t keep = 255 - a;
  const uint32_t rb = LaneDiv255((s & kLaneMask) * a + (d & kLaneMask) * keep);
  const uint32_t ag = LaneDiv255(((s >> 8) & kLaneMask) * a + ((d >> 8) & kLaneMask) * keep);
  return Lanes(rb, ag);
}

// The source scaled by a / 255, then laid over d: s' + d * (255 - alpha of s') / 255.
inline Pixel BlendOver(Pixel d, Pixel s, uint32_t a) {
  const uint32_t srb = LaneDiv255((s & kLaneMask) * a);
  const uint32_t sag = LaneDiv255(((s >> 8) & kLaneMask) * a);
  const uint32_t keep = 255 - (sag >> 16);
  const uint32_t rb = LaneClamp(srb + LaneDiv255((d & kLaneMask) * keep));
  const uint32_t ag = LaneClamp(sag + LaneDiv255(((d >> 8) & kLaneMask) * keep));
  return Lanes(rb, ag);
}

inline Pixel Blend(Pixel dst, Pixel src, uint8_t constantAlpha, bool perPixelAlpha) {
  if (perPixelAlpha) {
    // Shortcuts that give exactly what the general formula gives.
    if (src == 0) return dst;
    if (constantAlpha == 255 && AlphaOf(src) == 255) return src;
    return BlendOver(dst, src, constantAlpha);
  }
  if (constantAlpha == 255) return src;
  return BlendConstant(dst, src, constantAlpha);
}

}  // namespace rc::blend_pixel
