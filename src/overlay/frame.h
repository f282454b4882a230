// Composing a frame: the dimmed screen, the clear selection with its
// outline, eight handles and the size label.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gfx/geometry.h"
#include "selection/zones.h"

namespace rc {

class LayeredSurface;

// The default colour of the outline and the handles: red 0, green 174, blue 255.
constexpr uint32_t kSelectionBlue = 0x00FFAE00;

// Recomposes the whole back buffer from SelectionRect. With Clear the
// toolbar and menu rectangles are forgotten too.
void RedrawFrame(RedrawOption option);

// Draws the clear selection, outline, handles and size label of the
// normalised rectangle onto the surface. Colours are COLORREFs.
void DrawSelection(LayeredSurface& surface, const IntRect& rect,
                   std::optional<uint32_t> borderColour = std::nullopt,
                   std::optional<uint32_t> handleColour = std::nullopt);
void DrawSelection(const IntRect& rect);

// "W × H" of a rectangle: the absolute width and height.
std::string SizeLabelText(const IntRect& rect);

}  // namespace rc
