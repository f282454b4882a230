#include "magnifier/magnifier.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>

#include "app/monitors.h"
#include "app/state.h"
#include "app/ui_scale.h"
#include "magnifier/colour_readout.h"
#include "magnifier/magnifier_panel.h"
#include "overlay/frame.h"
#include "win/layered_surface.h"

namespace rc {

namespace {

// One panel per scale, drawn once and kept: a pointer move redraws only its
// zoom, and its texts when they change.
MagnifierPanel& PanelAt(float scale) {
  static std::map<float, std::unique_ptr<MagnifierPanel>> panels;
  std::unique_ptr<MagnifierPanel>& panel = panels[scale];
  if (!panel) panel = std::make_unique<MagnifierPanel>(scale);
  return *panel;
}

MagnifierPanel& DrawnPanel(Point cursor, float scale) {
  MagnifierPanel& panel = PanelAt(scale);
  const uint32_t colour = panel.DrawZoom(State().SnapshotCanvas.CanvasDC(), cursor);
  panel.DrawTexts(SizeLabelText(State().SelectionRect), ColourReadoutText(colour, State().HexReadout != 0));
  return panel;
}

}  // namespace

Point MagnifierOrigin(Point cursor, const Box& monitor, float scale) {
  const auto px = [scale](int32_t length) { return ScalePx(length, scale); };
  const int64_t mx = cursor.x;
  const int64_t my = cursor.y;
  const int32_t x = mx + px(135) > monitor.Right() ? cursor.x - px(127) : cursor.x + px(5);
  const int32_t y = my + px(170) > monitor.Bottom() ? cursor.y - px(145) : cursor.y + px(25);
  return {x, y};
}

Point MagnifierOrigin(Point cursor, Size screen, float scale) {
  return MagnifierOrigin(cursor, Box{0, 0, screen.width, screen.height}, scale);
}

void PlaceMagnifier() {
  // The magnifier belongs to the cursor's monitor.
  const Point cursor = State().Cursor;
  const Monitor& monitor = MonitorAt(State().Monitors, cursor);
  const Point origin = MagnifierOrigin(cursor, monitor.rect, monitor.scale);
  DrawMagnifier(State().OverlaySurface, origin.x, origin.y, monitor.scale);
}

void DrawMagnifier(LayeredSurface& surface, int32_t x, int32_t y, float scale) {
  std::shared_ptr<const StillPixels> panel = DrawnPanel(State().Cursor, scale).Pixels();
  const Box whole = panel->Pixels().Bounds();
  surface.BlendFrom(std::move(panel), whole, {x, y, whole.width, whole.height}, 255, true);
}

void PrepareMagnifier(float scale) { DrawnPanel(State().Cursor, scale); }

uint32_t CrossHairColour(Point cursor, float scale) {
  return ZoomedColourAt(State().SnapshotCanvas.CanvasDC(), cursor, scale);
}

std::string ColourReadoutText(uint32_t colour, bool hex) {
  return (hex ? "HEX:" : "RGB:(") + ColourCopyText(colour, hex) + (hex ? "" : ")");
}

std::string ColourCopyText(uint32_t colour, bool hex) {
  const ColourChannels c = SplitColourChannels(colour);
  if (hex) {
    char text[48];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", c.red, c.green, c.blue);
    return text;
  }
  // The readout shows this on every pointer move: plain digit conversion.
  char text[48];
  char* end = text;
  for (int32_t channel : {c.red, c.green, c.blue}) {
    if (end != text) *end++ = ',';
    end = std::to_chars(end, text + sizeof text, channel).ptr;
  }
  return std::string(text, end);
}

}  // namespace rc
