#include "edit/options_bar_layout.h"

#include <algorithm>
#include <cmath>

namespace rc {

namespace {

constexpr int32_t kChoiceLeft = 6;
constexpr int32_t kChoiceStep = 26;
constexpr int32_t kButtonSize = 22;
constexpr int32_t kButtonTop = 3;
constexpr int32_t kPaletteLeft = 94;
constexpr int32_t kSwatchStep = 20;
constexpr int32_t kSwatchSize = 16;
constexpr int32_t kSwatchTop = 6;
constexpr int32_t kMosaicLeft = kPaletteLeft + kSwatchStep * static_cast<int32_t>(kPalette.size()) + 10;

bool Within(const IntRect& r, int32_t x, int32_t y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

int32_t Scaled(int32_t v, float scale) { return static_cast<int32_t>(std::lround(v * scale)); }

}  // namespace

int32_t OptionsBarWidth(EditTool tool) {
  const int32_t paletteEnd = kPaletteLeft + kSwatchStep * static_cast<int32_t>(kPalette.size()) + 2;
  return tool == EditTool::Brush ? kMosaicLeft + kButtonSize + 6 : paletteEnd;
}

IntRect ChoiceBox(int32_t i) {
  const int32_t x = kChoiceLeft + kChoiceStep * i;
  return {x, kButtonTop, x + kButtonSize, kButtonTop + kButtonSize};
}

IntRect SwatchBox(int32_t i) {
  const int32_t x = kPaletteLeft + kSwatchStep * i;
  return {x, kSwatchTop, x + kSwatchSize, kSwatchTop + kSwatchSize};
}

IntRect MosaicBox() { return {kMosaicLeft, kButtonTop, kMosaicLeft + kButtonSize, kButtonTop + kButtonSize}; }

// Swatches answer over their gaps too, so a press never falls between two.
OptionHit OptionAt(EditTool tool, int32_t dx, int32_t dy, float scale) {
  const int32_t x = static_cast<int32_t>(std::floor(dx / scale));
  const int32_t y = static_cast<int32_t>(std::floor(dy / scale));
  for (int32_t i = 0; i < 3; ++i)
    if (Within(ChoiceBox(i), x, y)) return {OptionKind::Choice, i};
  for (int32_t i = 0; i < static_cast<int32_t>(kPalette.size()); ++i) {
    const IntRect s = SwatchBox(i);
    if (Within({s.left - 2, s.top - 2, s.right + 2, s.bottom + 2}, x, y)) return {OptionKind::Colour, i};
  }
  if (tool == EditTool::Brush && Within(MosaicBox(), x, y)) return {OptionKind::Mosaic, 0};
  return {};
}

IntRect PlaceOptionsBar(const IntRect& toolbar, const IntRect& selection, int32_t screenHeight, float scale,
                        EditTool tool) {
  const int32_t w = Scaled(OptionsBarWidth(tool), scale);
  const int32_t h = Scaled(kOptionsBarHeight, scale);
  const int32_t gap = Scaled(kOptionsBarGap, scale);
  const bool toolbarAbove = toolbar.bottom <= selection.top;
  const bool roomBelow = toolbar.bottom + gap + h <= screenHeight;
  const int32_t top = (toolbarAbove || !roomBelow) ? toolbar.top - gap - h : toolbar.bottom + gap;
  const int32_t left = std::max(toolbar.right - w, 5);
  return {left, top, left + w, top + h};
}

}  // namespace rc
