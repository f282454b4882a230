#include "magnifier/magnifier.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>

#include "app/monitors.h"
#include "app/state.h"
#include "app/ui_scale.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "gfx/image_draw.h"
#include "gfx/text_renderer.h"
#include "gfx/rounded_rect.h"
#include "magnifier/colour_readout.h"
#include "overlay/frame.h"
#include "win/layered_surface.h"

namespace rc {

namespace {

constexpr int32_t kLayerWidth = 124;
constexpr int32_t kLayerHeight = 121;
constexpr int32_t kCrossHairHeight = 84;
// The patch of 30 x 21 snapshot pixels round the cursor, enlarged into
// 118 x 84: 118/30 across and 4 down.
constexpr RectF kZoomDestination{3, 3, 118, 84};
constexpr float kZoomSourceWidth = 30;
constexpr float kZoomSourceHeight = 21;
// Where the cross-hair lines cross; sampled before any text is drawn.
constexpr Point kColourSample{60, 44};
// Past the screen's edge the zoom shows black.
constexpr Pixel kBeyondScreen = MakePixel(255, 0, 0, 0);

struct Layers {
  GpGraphics content;
  // Blended as they are on every frame.
  std::shared_ptr<const StillPixels> body;
  std::shared_ptr<const StillPixels> crossHair;
};

void DrawPanel(GpGraphics& content, GpGraphics& body, GpPen& pen, GpSolidBrush& brush) {
  GpPath path;
  path.Create(FillMode::Alternate);
  AddRoundedRect(path, 0, 0, 126, 123, 3);
  content.DrawPath(pen, path);
  pen.SetColor(0xFFFFFFFF);
  pen.SetWidth(2);
  body.FillPath(brush, path);
  content.DrawRectangle(pen, 2, 2, 120, 84);
}

void DrawCrossHair(GpGraphics& layer, GpPen& pen);

// A layer of the 1x size `w` x `h` at `scale`, drawn in the 1x layout.
void CreateLayer(GpGraphics& layer, int32_t w, int32_t h, float scale) {
  layer.CreateCanvas(ScalePx(w, scale), ScalePx(h, scale));
  layer.SetScale(scale);
}

// The panel's body, its cross-hair and the frame on its content layer look
// the same on every frame, so they are drawn once per run and scale; only
// the zoom and the texts are drawn anew.
void DrawUnchangingLayers(Layers& layers, float scale) {
  GpPen pen;
  pen.Create(0xFF333333, 1);
  GpSolidBrush brush;
  brush.Create(0xFF000000);
  GpGraphics body, crossHair;
  CreateLayer(layers.content, kLayerWidth, kLayerHeight, scale);
  CreateLayer(body, kLayerWidth, kLayerHeight, scale);
  CreateLayer(crossHair, kLayerWidth, kCrossHairHeight, scale);
  DrawPanel(layers.content, body, pen, brush);
  DrawCrossHair(crossHair, pen);
  layers.body = MakeStill(std::move(body.CanvasDC()));
  layers.crossHair = MakeStill(std::move(crossHair.CanvasDC()));
}

const Layers& UnchangingLayers(float scale) {
  static std::map<float, std::unique_ptr<Layers>> drawn;
  auto found = drawn.find(scale);
  if (found == drawn.end()) {
    found = drawn.emplace(scale, std::make_unique<Layers>()).first;
    DrawUnchangingLayers(*found->second, scale);
  }
  return *found->second;
}

void CopyPixels(const Canvas& from, Canvas& to) {
  std::copy_n(from.Data(), static_cast<size_t>(from.Width()) * static_cast<size_t>(from.Height()), to.Data());
}

// One of the panel's two lines of text, white, its layout box's top at `top`.
void DrawPanelText(GpGraphics& content, const std::string& text, float top) {
  GpFont font;
  font.Create("微软雅黑", 11);
  GpSolidBrush brush;
  brush.Create(0xFFFFFFFF);
  content.DrawString(text, font, brush, RectF{4, top, 122, 16}, GpStringFormat{});
}

// The content layer with the selection's size written on it, kept per
// scale and written again only when the size changes, and the canvas each
// frame's zoom and readout are drawn on, copied from it: a pointer move
// allocates nothing and, while it only hovers, writes one text. The size
// lies below the zoom, so writing it first changes no pixel.
struct Content {
  GpGraphics sized;
  GpGraphics work;
  std::string sizeText;
  uint64_t renderer = 0;  // the text renderer sizeText was written with
};

GpGraphics& FreshContent(float scale) {
  static std::map<float, Content> kept;
  Content& c = kept[scale];
  const Canvas& unchanging = UnchangingLayers(scale).content.CanvasDC();
  if (!c.work.Holds()) {
    c.sized.AdoptCanvas(unchanging.Clone());
    c.sized.SetScale(scale);
    c.work.AdoptCanvas(unchanging.Clone());
    c.work.SetScale(scale);
  }
  const std::string sizeText = SizeLabelText(State().SelectionRect);
  if (c.sizeText != sizeText || c.renderer != TextRendererGeneration()) {
    CopyPixels(unchanging, c.sized.CanvasDC());
    DrawPanelText(c.sized, sizeText, 90);
    c.sizeText = sizeText;
    c.renderer = TextRendererGeneration();
  }
  CopyPixels(c.sized.CanvasDC(), c.work.CanvasDC());
  return c.work;
}

// Where the cross-hair lines cross on a content layer drawn at `scale`.
Point ColourSample(float scale) {
  return {static_cast<int32_t>(static_cast<float>(kColourSample.x) * scale),
          static_cast<int32_t>(static_cast<float>(kColourSample.y) * scale)};
}

// Reads the clean snapshot directly: the dimming, the selection frame, the
// toolbar and the menu never reach the zoom. At any scale the zoom shows
// the same 30 x 21 screen pixels, enlarged further.
void DrawZoom(GpGraphics& content, Point cursor, float scale) {
  content.SetInterpolationMode(kInterpolationNearestNeighbor);
  const RectF source{static_cast<float>(cursor.x - 14), static_cast<float>(cursor.y - 11), kZoomSourceWidth,
                     kZoomSourceHeight};
  const RectF destination{kZoomDestination.x * scale, kZoomDestination.y * scale, kZoomDestination.width * scale,
                          kZoomDestination.height * scale};
  DrawImageScaled(content.CanvasDC(), destination, State().SnapshotCanvas.CanvasDC(), source, kBeyondScreen);
}

void DrawCrossHair(GpGraphics& layer, GpPen& pen) {
  pen.SetColor(0xFF007AB3);
  pen.SetWidth(4);
  layer.DrawLine(pen, 3, 43.5f, 121, 43.5f);
  layer.DrawLine(pen, 58.5f, 3, 59, 87);
}

void DrawReadout(GpGraphics& content) {
  // The enlarged pixel under the crossing, which is snapshot pixel
  // (cursor x, cursor y - 1): the zoom's rows are 4 high from row 3.
  const Point sample = ColourSample(content.Scale());
  const uint32_t colour = content.PixelAt(sample.x, sample.y);
  DrawPanelText(content, ColourReadoutText(colour, State().HexReadout != 0), 104);
}

// The body and the cross-hair go to the surface as pixels nobody changes,
// so they are not compared and copied again on every move.
void BlendLayers(LayeredSurface& surface, const GpGraphics& content, int32_t x, int32_t y, float scale) {
  auto blend = [&surface](const std::shared_ptr<const StillPixels>& layer, int32_t at, int32_t top, uint8_t opacity) {
    const Box size = layer->Pixels().Bounds();
    surface.BlendFrom(layer, size, {at, top, size.width, size.height}, opacity, true);
  };
  const Layers& unchanging = UnchangingLayers(scale);
  const int32_t shadow = ScalePx(3, scale);
  blend(unchanging.body, x + shadow, y + shadow, 40);
  blend(unchanging.body, x, y, 200);
  const int32_t w = content.CanvasWidth();
  const int32_t h = content.CanvasHeight();
  surface.BlendFrom(content.CanvasDC(), 0, 0, w, h, x, y, w, h, 255, true);
  blend(unchanging.crossHair, x, y, 200);
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
  GpGraphics& content = FreshContent(scale);
  DrawZoom(content, State().Cursor, scale);
  DrawReadout(content);
  BlendLayers(surface, content, x, y, scale);
}

void PrepareMagnifier(float scale) { DrawReadout(FreshContent(scale)); }

uint32_t CrossHairColour(Point cursor, float scale) {
  GpGraphics content;
  content.CreateCanvas(ScalePx(kLayerWidth, scale), ScalePx(kLayerHeight, scale));
  DrawZoom(content, cursor, scale);
  const Point sample = ColourSample(scale);
  return content.PixelAt(sample.x, sample.y);
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
