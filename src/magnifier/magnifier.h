// The zoom box beside the cursor with the selection size and the RGB readout.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/geometry.h"

namespace rc {

class LayeredSurface;

// Places the panel beside the cursor (flipped near the right and bottom
// edges) and draws it into the back buffer at the scale of the cursor's
// monitor.
void PlaceMagnifier();

// The panel's top-left corner for the cursor at `cursor`: below and to the
// right of it, flipped to the other side where `monitor` (the cursor's)
// runs out, so the panel stays on the monitor the user is looking at.
// Distances are those of the 1x layout times `scale`.
Point MagnifierOrigin(Point cursor, const Box& monitor, float scale = 1);

// The same on one screen of that size at (0, 0).
Point MagnifierOrigin(Point cursor, Size screen, float scale = 1);

// Draws the panel's unchanging layers at `scale` and loads its font,
// showing nothing: done at start-up, so the first pointer move costs no
// more than any other.
void PrepareMagnifier(float scale);

// Draws the whole panel with its top-left corner at (x, y): the snapshot
// round the cursor enlarged, the cross-hair, the selection's size and the
// colour under the cross-hair, all at `scale`.
void DrawMagnifier(LayeredSurface& surface, int32_t x, int32_t y, float scale = 1);

// The COLORREF the readout reports for the cursor at `cursor`: the zoomed
// pixel where the cross-hair's lines cross.
uint32_t CrossHairColour(Point cursor, float scale = 1);

// "RGB:(r,g,b)" for a COLORREF, or "HEX:#RRGGBB".
std::string ColourReadoutText(uint32_t colour, bool hex = false);
// The same colour as text to paste elsewhere: "r,g,b" or "#RRGGBB".
std::string ColourCopyText(uint32_t colour, bool hex);

}  // namespace rc
