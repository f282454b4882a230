#include "magnifier/magnifier_panel.h"

#include <algorithm>
#include <cstring>

#include "app/ui_scale.h"
#include "gfx/blend.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "gfx/image_draw.h"
#include "gfx/rounded_rect.h"
#include "gfx/text_renderer.h"

namespace rc {

namespace {

// The 1x layout.
constexpr int32_t kBodyWidth = 124;
constexpr int32_t kBodyHeight = 121;
constexpr int32_t kCrossHairHeight = 84;
constexpr int32_t kShadowOffset = 3;
constexpr uint8_t kShadowOpacity = 40;
constexpr uint8_t kBodyOpacity = 200;
constexpr uint8_t kCrossHairOpacity = 200;
// The patch of 30 x 21 snapshot pixels round the cursor, enlarged into
// 118 x 84: 118/30 across and 4 down.
constexpr RectF kZoomDestination{3, 3, 118, 84};
constexpr float kZoomSourceWidth = 30;
constexpr float kZoomSourceHeight = 21;
// Where the cross-hair lines cross; sampled before the cross-hair is laid.
constexpr Point kColourSample{60, 44};
// Past the screen's edge the zoom shows black.
constexpr Pixel kBeyondScreen = MakePixel(255, 0, 0, 0);
constexpr float kSizeTextTop = 90;
constexpr float kReadoutTextTop = 104;

// A layer of the 1x size `w` x `h` at `scale`, drawn in the 1x layout.
void CreateLayer(GpGraphics& layer, int32_t w, int32_t h, float scale) {
  layer.CreateCanvas(ScalePx(w, scale), ScalePx(h, scale));
  layer.SetScale(scale);
}

// The rounded body, and on the frame layer its outline and the white
// border round the zoom.
void DrawBodyAndFrame(GpGraphics& body, GpGraphics& frame, GpPen& pen) {
  GpSolidBrush brush;
  brush.Create(0xFF000000);
  GpPath path;
  path.Create(FillMode::Alternate);
  AddRoundedRect(path, 0, 0, 126, 123, 3);
  frame.DrawPath(pen, path);
  pen.SetColor(0xFFFFFFFF);
  pen.SetWidth(2);
  body.FillPath(brush, path);
  frame.DrawRectangle(pen, 2, 2, 120, 84);
}

void DrawCrossHair(GpGraphics& layer, GpPen& pen) {
  pen.SetColor(0xFF007AB3);
  pen.SetWidth(4);
  layer.DrawLine(pen, 3, 43.5f, 121, 43.5f);
  layer.DrawLine(pen, 58.5f, 3, 59, 87);
}

// One line of text, white, its layout box's top at `top`.
void DrawPanelText(GpGraphics& layer, const std::string& text, float top) {
  GpFont font;
  font.Create("微软雅黑", 11);
  GpSolidBrush brush;
  brush.Create(0xFFFFFFFF);
  layer.DrawString(text, font, brush, RectF{4, top, 122, 16}, GpStringFormat{});
}

// Lays all of `layer` over `onto` with its top-left corner at `at`.
void Lay(Canvas& onto, const Canvas& layer, Point at, uint8_t opacity) {
  const Box whole = layer.Bounds();
  AlphaBlendCanvas(onto, {at.x, at.y, whole.width, whole.height}, layer, whole, opacity, true);
}

RectF ZoomDestination(float scale) {
  return {kZoomDestination.x * scale, kZoomDestination.y * scale, kZoomDestination.width * scale,
          kZoomDestination.height * scale};
}

// Rows `first` to `end` of `layer` over the same rows of `onto`.
void LayRows(Canvas& onto, const Canvas& layer, int32_t first, int32_t end) {
  const Box rows{0, first, layer.Width(), end - first};
  AlphaBlendCanvas(onto, rows, layer, rows, 255, true);
}

// Where the cross-hair lines cross on a panel drawn at `scale`.
Point ColourSample(float scale) {
  return {static_cast<int32_t>(static_cast<float>(kColourSample.x) * scale),
          static_cast<int32_t>(static_cast<float>(kColourSample.y) * scale)};
}

// Reads the clean snapshot directly: the dimming, the selection frame, the
// toolbar and the menu never reach the zoom. At any scale the zoom shows
// the same 30 x 21 screen pixels, enlarged further.
void DrawZoomInto(Canvas& canvas, const Canvas& snapshot, Point cursor, float scale) {
  const RectF source{static_cast<float>(cursor.x - 14), static_cast<float>(cursor.y - 11), kZoomSourceWidth,
                     kZoomSourceHeight};
  DrawImageScaled(canvas, ZoomDestination(scale), snapshot, source, kBeyondScreen);
}

}  // namespace

uint32_t ZoomedColourAt(const Canvas& snapshot, Point cursor, float scale) {
  Canvas zoom(ScalePx(kBodyWidth, scale), ScalePx(kBodyHeight, scale));
  DrawZoomInto(zoom, snapshot, cursor, scale);
  const Point sample = ColourSample(scale);
  return ColourRefOf(zoom.At(sample.x, sample.y));
}

MagnifierPanel::MagnifierPanel(float scale) : scale_(scale) { DrawUnchangingLayers(); }

// The shadow is the body again, fainter and shifted; the frame lies on the
// body and the cross-hair on both. Laid over one another once here, they
// cost nothing per frame but the zoom beneath the cross-hair.
void MagnifierPanel::DrawUnchangingLayers() {
  GpPen pen;
  pen.Create(0xFF333333, 1);
  GpGraphics body, frame, crossHair;
  CreateLayer(body, kBodyWidth, kBodyHeight, scale_);
  CreateLayer(frame, kBodyWidth, kBodyHeight, scale_);
  CreateLayer(crossHair, kBodyWidth, kCrossHairHeight, scale_);
  DrawBodyAndFrame(body, frame, pen);
  DrawCrossHair(crossHair, pen);
  const int32_t shadow = ScalePx(kShadowOffset, scale_);
  base_ = Canvas(body.CanvasWidth() + shadow, body.CanvasHeight() + shadow);
  Lay(base_, body.CanvasDC(), {shadow, shadow}, kShadowOpacity);
  Lay(base_, body.CanvasDC(), {0, 0}, kBodyOpacity);
  Lay(base_, frame.CanvasDC(), {0, 0}, 255);
  Lay(base_, crossHair.CanvasDC(), {0, 0}, kCrossHairOpacity);
  crossHair_ = std::move(crossHair.CanvasDC());
  zoom_ = IntersectBox(PixelsLaidFor(ZoomDestination(scale_)), base_.Bounds());
  zoomRows_ = std::min(std::max(zoom_.Bottom(), crossHair_.Height()), base_.Height());
  FindCrossHairBoxes();
  CreateLayer(texts_, kBodyWidth, kBodyHeight, scale_);
  // Every frame's zoom is opaque, so every frame has this opaque box.
  drawing_ = base_.Clone();
  drawing_.Fill(zoom_, kBeyondScreen);
  LayCrossHair(drawing_);
  opaque_ = OpaqueBox(drawing_);
}

// Row by row, the span of the zoom the cross-hair reaches, runs of rows
// with the same span merged: its two lines come to three boxes.
void MagnifierPanel::FindCrossHairBoxes() {
  const int32_t bottom = std::min(zoom_.Bottom(), crossHair_.Height());
  for (int32_t y = zoom_.y; y < bottom; ++y) {
    const Pixel* row = crossHair_.Row(y);
    int32_t left = zoom_.x, right = zoom_.Right();
    while (left < right && row[left] == 0) ++left;
    while (right > left && row[right - 1] == 0) --right;
    if (left == right) continue;
    Box* last = crossHairBoxes_.empty() ? nullptr : &crossHairBoxes_.back();
    if (last != nullptr && last->Bottom() == y && last->x == left && last->Right() == right) {
      ++last->height;
    } else {
      crossHairBoxes_.push_back({left, y, right - left, 1});
    }
  }
}

void MagnifierPanel::LayCrossHair(Canvas& canvas) const {
  const Box whole = crossHair_.Bounds();
  for (const Box& part : crossHairBoxes_) {
    AlphaBlendCanvasClipped(canvas, whole, crossHair_, whole, kCrossHairOpacity, true, part);
  }
}

// The panel handed out last is drawn on again when the compositor has let
// go of it, as it has by the next frame; otherwise a copy is.
Canvas& MagnifierPanel::Drawing() {
  if (drawing_.Empty()) {
    drawing_ = shown_.use_count() == 1 ? std::move(*shown_).TakePixels() : shown_->Pixels().Clone();
    shown_.reset();
  }
  return drawing_;
}

std::shared_ptr<const StillPixels> MagnifierPanel::Pixels() {
  if (!drawing_.Empty()) {
    shown_ = std::make_shared<StillPixels>(std::move(drawing_), NewPixelsKey(), opaque_);
    drawing_ = Canvas();
  }
  return shown_;
}

void MagnifierPanel::CopyBaseRows(int32_t first, int32_t end) {
  Canvas& canvas = Drawing();
  const size_t rowPixels = static_cast<size_t>(base_.Width());
  std::memcpy(canvas.Row(first), base_.Row(first), rowPixels * static_cast<size_t>(end - first) * sizeof(Pixel));
}

// Only the zoom changes from frame to frame above the texts. It lies on
// black, so that a pixel of the snapshot that is not opaque still leaves
// the zoom opaque, and under the cross-hair.
uint32_t MagnifierPanel::DrawZoom(const Canvas& snapshot, Point cursor) {
  Canvas& canvas = Drawing();
  canvas.Fill(zoom_, kBeyondScreen);
  DrawZoomInto(canvas, snapshot, cursor, scale_);
  const Point sample = ColourSample(scale_);
  const uint32_t colour = ColourRefOf(canvas.At(sample.x, sample.y));
  LayCrossHair(canvas);
  return colour;
}

// The texts lie below the zoom, on their own transparent layer, laid over
// the base's rows there.
void MagnifierPanel::DrawTexts(const std::string& sizeText, const std::string& readoutText) {
  if (sizeText == sizeText_ && readoutText == readoutText_ && renderer_ == TextRendererGeneration()) return;
  Canvas& layer = texts_.CanvasDC();
  std::fill(layer.Row(std::min(zoomRows_, layer.Height())), layer.Data() + layer.Pixels().size(), Pixel{0});
  DrawPanelText(texts_, sizeText, kSizeTextTop);
  DrawPanelText(texts_, readoutText, kReadoutTextTop);
  CopyBaseRows(zoomRows_, base_.Height());
  LayRows(Drawing(), layer, zoomRows_, layer.Height());
  sizeText_ = sizeText;
  readoutText_ = readoutText;
  renderer_ = TextRendererGeneration();
}

}  // namespace rc
