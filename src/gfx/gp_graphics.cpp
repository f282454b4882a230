#include "gfx/gp_graphics.h"

#include <cmath>
#include <new>

#include "gfx/blend.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_image.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "gfx/image_draw.h"
#include "gfx/raster.h"
#include "gfx/status.h"
#include "gfx/stroke.h"
#include "gfx/text_draw.h"
#include "gfx/text_mask_cache.h"

namespace rc {

namespace {

int g_liveGraphics = 0;

// Refuses canvases whose pixel buffer alone would pass 1 GiB.
constexpr int64_t kMaxCanvasPixels = int64_t{1} << 28;

bool AllFinite(std::initializer_list<float> values) {
  for (float v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// A pen of width 0 (or less) still draws one pixel wide.
double StrokeWidth(const GpPen& pen) { return pen.Width() > 0 ? pen.Width() : 1.0; }

std::vector<PointD> RectanglePoints(float x, float y, float w, float h) {
  return {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
}

}  // namespace

GpGraphics::~GpGraphics() { Delete(); }

bool GpGraphics::CreateCanvas(int32_t width, int32_t height) {
  Delete();
  if (width <= 0 || height <= 0) return Record(GpStatus::GenericError);
  if (static_cast<int64_t>(width) * height > kMaxCanvasPixels) return Record(GpStatus::OutOfMemory);
  try {
    canvas_.Create(width, height);
  } catch (const std::bad_alloc&) {
    return Record(GpStatus::OutOfMemory);
  }
  holds_ = true;
  ++g_liveGraphics;
  return Record(GpStatus::Ok);
}

bool GpGraphics::AdoptCanvas(Canvas&& pixels) {
  Delete();
  if (pixels.Empty()) return Record(GpStatus::GenericError);
  canvas_ = std::move(pixels);
  holds_ = true;
  ++g_liveGraphics;
  return Record(GpStatus::Ok);
}

bool GpGraphics::FromImage(GpImage& image) {
  Delete();
  if (!image.Holds() || image.Pixels().Empty()) return Record(GpStatus::InvalidParameter);
  target_ = &image.Pixels();
  holds_ = true;
  ++g_liveGraphics;
  return Record(GpStatus::Ok);
}

bool GpGraphics::Delete() {
  if (!holds_) return false;
  canvas_.Release();
  target_ = nullptr;
  holds_ = false;
  interpolation_ = 0;
  scale_ = 1;
  --g_liveGraphics;
  return Record(GpStatus::Ok);
}

bool GpGraphics::BlendFrom(const Canvas& source, int32_t srcX, int32_t srcY, std::optional<int32_t> srcW,
                           std::optional<int32_t> srcH, int32_t dstX, int32_t dstY,
                           std::optional<int32_t> dstW, std::optional<int32_t> dstH, uint8_t alpha,
                           bool perPixelAlpha) {
  const Box srcBox{srcX, srcY, srcW.value_or(CanvasWidth()), srcH.value_or(CanvasHeight())};
  const Box dstBox{dstX, dstY, dstW.value_or(CanvasWidth()), dstH.value_or(CanvasHeight())};
  if (AlphaBlendCanvas(canvas_, dstBox, source, srcBox, alpha, perPixelAlpha)) return true;
  SetLastStatus(GpStatus::GenericError);
  return false;
}

uint32_t GpGraphics::PixelAt(int32_t x, int32_t y) const {
  if (canvas_.Empty() || x < 0 || y < 0 || x >= canvas_.Width() || y >= canvas_.Height()) {
    SetLastStatus(GpStatus::GenericError);
    return kInvalidColor;
  }
  return ColourRefOf(canvas_.At(x, y));
}

bool GpGraphics::SetInterpolationMode(int mode) {
  if (!holds_ || mode < 0 || mode > 7) return Record(GpStatus::InvalidParameter);
  interpolation_ = mode;
  return Record(GpStatus::Ok);
}

bool GpGraphics::SetScale(float scale) {
  if (!holds_ || !std::isfinite(scale) || scale <= 0) return Record(GpStatus::InvalidParameter);
  scale_ = scale;
  return Record(GpStatus::Ok);
}

// A pen line at x covers the pixel centred on x + 0.5; magnifying the plane
// moves that centre to (x + 0.5) * scale.
PointD GpGraphics::Stroke(PointD p) const {
  if (scale_ == 1) return p;
  return {(p.x + 0.5) * scale_ - 0.5, (p.y + 0.5) * scale_ - 0.5};
}

std::vector<Polyline> GpGraphics::Stroked(std::vector<Polyline> lines) const {
  for (Polyline& line : lines)
    for (PointD& p : line.points) p = Stroke(p);
  return lines;
}

RectF GpGraphics::Scaled(const RectF& r) const {
  return {r.x * scale_, r.y * scale_, r.width * scale_, r.height * scale_};
}

bool GpGraphics::DrawLine(const GpPen& pen, float x1, float y1, float x2, float y2) {
  if (!holds_ || !pen.Holds() || !AllFinite({x1, y1, x2, y2})) return Record(GpStatus::InvalidParameter);
  StrokePolylines(*Target(), Stroked({Polyline{{{x1, y1}, {x2, y2}}, false}}), StrokeWidth(pen) * scale_,
                  pen.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::DrawRectangle(const GpPen& pen, float x, float y, float width, float height) {
  if (!holds_ || !pen.Holds() || !AllFinite({x, y, width, height})) {
    return Record(GpStatus::InvalidParameter);
  }
  StrokePolylines(*Target(), Stroked({Polyline{RectanglePoints(x, y, width, height), true}}),
                  StrokeWidth(pen) * scale_, pen.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::DrawPath(const GpPen& pen, const GpPath& path) {
  if (!holds_ || !pen.Holds() || !path.Holds()) return Record(GpStatus::InvalidParameter);
  StrokePolylines(*Target(), Stroked(path.Figures()), StrokeWidth(pen) * scale_, pen.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::FillRectangle(const GpSolidBrush& brush, float x, float y, float width, float height) {
  if (!holds_ || !brush.Holds() || !AllFinite({x, y, width, height})) {
    return Record(GpStatus::InvalidParameter);
  }
  FillPolygons(*Target(), {RectanglePoints(x * scale_, y * scale_, width * scale_, height * scale_)},
               FillRule::NonZero, brush.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::FillPath(const GpSolidBrush& brush, const GpPath& path) {
  if (!holds_ || !brush.Holds() || !path.Holds()) return Record(GpStatus::InvalidParameter);
  std::vector<Polygon> polygons;
  for (const Polyline& figure : path.Figures()) {
    polygons.push_back(figure.points);
    for (PointD& p : polygons.back()) p = {Fill(p.x), Fill(p.y)};
  }
  const FillRule rule = path.Mode() == FillMode::Winding ? FillRule::NonZero : FillRule::EvenOdd;
  FillPolygons(*Target(), polygons, rule, brush.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::DrawString(const std::string& text, const GpFont& font, const GpSolidBrush& brush,
                            const RectF& layout, const GpStringFormat& /*format*/) {
  if (!holds_ || !font.Holds() || !brush.Holds()) return Record(GpStatus::InvalidParameter);
  if (!AllFinite({layout.x, layout.y, layout.width, layout.height})) {
    return Record(GpStatus::InvalidParameter);
  }
  if (text.empty()) return Record(GpStatus::Ok);
  const float emSize = font.EmSize() * scale_;
  const TextMask& mask = CachedTextMask(text, FontRequest{font.Family(), emSize});
  DrawTextMask(*Target(), mask, Scaled(layout), TextLeftPadding(emSize), brush.Argb());
  return Record(GpStatus::Ok);
}

bool GpGraphics::DrawImage(const GpImage& image, float x, float y, float width, float height) {
  const Canvas& pixels = image.Pixels();
  return DrawImageRect(image, x, y, width, height, 0, 0, static_cast<float>(pixels.Width()),
                       static_cast<float>(pixels.Height()));
}

bool GpGraphics::DrawImageRect(const GpImage& image, float dstX, float dstY, float dstW, float dstH, float srcX,
                               float srcY, float srcW, float srcH, Pixel beyondEdge) {
  if (!holds_ || !image.Holds() || !AllFinite({dstX, dstY, dstW, dstH, srcX, srcY, srcW, srcH})) {
    return Record(GpStatus::InvalidParameter);
  }
  RectF dst{dstX, dstY, dstW, dstH};
  if (scale_ != 1) {
    dst = Scaled(dst);
    dst.x = std::round(dst.x);
    dst.y = std::round(dst.y);
  }
  DrawImageScaled(*Target(), dst, image.Pixels(), {srcX, srcY, srcW, srcH}, beyondEdge);
  return Record(GpStatus::Ok);
}

bool GpGraphics::DrawImageUnscaled(const GpImage& image, float x, float y) {
  if (!holds_ || !image.Holds() || !AllFinite({x, y})) return Record(GpStatus::InvalidParameter);
  const auto w = static_cast<float>(image.Pixels().Width());
  const auto h = static_cast<float>(image.Pixels().Height());
  const RectF dst{std::round(x * scale_), std::round(y * scale_), w, h};
  DrawImageScaled(*Target(), dst, image.Pixels(), {0, 0, w, h}, 0);
  return Record(GpStatus::Ok);
}

int GpGraphics::LiveCount() { return g_liveGraphics; }

}  // namespace rc
