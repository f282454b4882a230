// The options bar's layout at scale 1: stroke widths (or text sizes), the
// palette, and for the brush the mosaic switch, in a strip as high as the
// toolbar. Everything scales with the monitor it is shown on.
#pragma once

#include <cstdint>

#include "edit/edit_session.h"
#include "gfx/geometry.h"

namespace rc {

inline constexpr int32_t kOptionsBarHeight = 28;
inline constexpr int32_t kOptionsBarGap = 4;  // from the toolbar

enum class OptionKind { None, Choice, Colour, Mosaic };

struct OptionHit {
  OptionKind kind = OptionKind::None;
  int32_t index = 0;
};

// The bar's width at scale 1 for the tool.
int32_t OptionsBarWidth(EditTool tool);
// The box of choice `i` (0-2), swatch `i` and the mosaic switch, at scale 1.
IntRect ChoiceBox(int32_t i);
IntRect SwatchBox(int32_t i);
IntRect MosaicBox();
// What lies at (dx, dy) of the bar drawn at `scale`.
OptionHit OptionAt(EditTool tool, int32_t dx, int32_t dy, float scale);

// Beside the toolbar: below it, or above it where it went above the
// selection or would leave the screen below; right-aligned with it, never
// left of x = 5.
IntRect PlaceOptionsBar(const IntRect& toolbar, const IntRect& selection, int32_t screenHeight, float scale,
                        EditTool tool);

}  // namespace rc
