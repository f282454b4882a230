// A drawing context: either an owned off-screen canvas (the program's
// memory device context) or a picture's own pixels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/stroke.h"

namespace rc {

class GpImage;
class GpPen;
class GpSolidBrush;
class GpFont;
class GpPath;
class GpStringFormat;

// The only interpolation mode with its own behaviour; every mode samples
// the nearest source pixel.
constexpr int kInterpolationNearestNeighbor = 5;

// A COLORREF GetPixel gives for a point outside the canvas.
constexpr uint32_t kInvalidColor = 0xFFFFFFFF;

class GpGraphics {
 public:
  GpGraphics() = default;
  ~GpGraphics();
  GpGraphics(const GpGraphics&) = delete;
  GpGraphics& operator=(const GpGraphics&) = delete;

  // Releases what is held, then owns a new transparent canvas.
  bool CreateCanvas(int32_t width, int32_t height);
  // Releases what is held, then owns `pixels` as its canvas (no copy).
  bool AdoptCanvas(Canvas&& pixels);
  // Draws into the picture's pixels; the picture must outlive this context.
  // Such a context has no canvas: CanvasDC is empty and its size is 0.
  bool FromImage(GpImage& image);
  bool Delete();
  bool Holds() const { return holds_; }

  Canvas& CanvasDC() { return canvas_; }
  const Canvas& CanvasDC() const { return canvas_; }
  int32_t CanvasWidth() const { return canvas_.Width(); }
  int32_t CanvasHeight() const { return canvas_.Height(); }

  // AlphaBlend of a rectangle of `source` into the canvas; omitted sizes
  // are the canvas's.
  bool BlendFrom(const Canvas& source, int32_t srcX, int32_t srcY, std::optional<int32_t> srcW,
                 std::optional<int32_t> srcH, int32_t dstX, int32_t dstY, std::optional<int32_t> dstW,
                 std::optional<int32_t> dstH, uint8_t alpha = 255, bool perPixelAlpha = false);
  // The stored pixel as a COLORREF (0x00BBGGRR), kInvalidColor outside.
  uint32_t PixelAt(int32_t x, int32_t y) const;

  bool SetInterpolationMode(int mode);
  // Everything drawn from now on is magnified by `scale` about the canvas's
  // (0, 0), as a world transform would: coordinates, pen widths and font
  // sizes. Pictures land with their top-left corner on a whole pixel, so
  // artwork made for the scale is copied pixel for pixel. BlendFrom and
  // PixelAt work on the canvas's own pixels, as the device context does.
  bool SetScale(float scale);
  float Scale() const { return scale_; }
  bool DrawLine(const GpPen& pen, float x1, float y1, float x2, float y2);
  bool DrawRectangle(const GpPen& pen, float x, float y, float width, float height);
  bool DrawPath(const GpPen& pen, const GpPath& path);
  bool FillRectangle(const GpSolidBrush& brush, float x, float y, float width, float height);
  bool FillPath(const GpSolidBrush& brush, const GpPath& path);
  // UTF-8 text, rendered by the host, top-left aligned in `layout` and
  // clipped to it.
  bool DrawString(const std::string& text, const GpFont& font, const GpSolidBrush& brush, const RectF& layout,
                  const GpStringFormat& format);
  // The whole picture into (x, y, width, height).
  bool DrawImage(const GpImage& image, float x, float y, float width, float height);
  // The whole picture pixel for pixel, whatever the scale, with its top-left
  // corner at (x, y).
  bool DrawImageUnscaled(const GpImage& image, float x, float y);
  // A part of the picture, in pixels; parts of it beyond the picture's edge
  // are drawn as `beyondEdge` (premultiplied; transparent by default, opaque
  // black where a zoom must show the screen's edge).
  bool DrawImageRect(const GpImage& image, float dstX, float dstY, float dstW, float dstH, float srcX,
                     float srcY, float srcW, float srcH, Pixel beyondEdge = 0);

  // Contexts alive in the whole process.
  static int LiveCount();

 private:
  Canvas* Target() { return target_ != nullptr ? target_ : &canvas_; }
  // From drawing coordinates to the canvas's pixels.
  double Fill(double v) const { return v * scale_; }
  PointD Stroke(PointD p) const;
  std::vector<Polyline> Stroked(std::vector<Polyline> lines) const;
  RectF Scaled(const RectF& r) const;

  bool holds_ = false;
  Canvas canvas_;
  Canvas* target_ = nullptr;
  int interpolation_ = 0;
  float scale_ = 1;
};

}  // namespace rc
