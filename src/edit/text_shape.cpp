#include "edit/text_shape.h"

#include <algorithm>
#include <cmath>

#include "app/host.h"
#include "gfx/raster.h"
#include "gfx/text_draw.h"

namespace rc {

namespace {

int32_t Padding(const TextLook& look) { return static_cast<int32_t>(std::lround(4 * look.scale)); }

int32_t Advance(const std::string& text, float fontSize) {
  if (text.empty()) return 0;
  return Host().RenderText(text, FontRequest{kTextFont, fontSize}).advance;
}

void DrawLines(Canvas& canvas, const TextLook& look) {
  const int32_t pad = Padding(look);
  const int32_t step = TextLineHeight(look.fontSize);
  for (size_t i = 0; i < look.lines.size(); ++i) {
    if (look.lines[i].empty()) continue;
    const TextMask mask = Host().RenderText(look.lines[i], FontRequest{kTextFont, look.fontSize});
    const float top = static_cast<float>(pad + static_cast<int32_t>(i) * step);
    const RectF layout{static_cast<float>(pad), top, static_cast<float>(canvas.Width() - pad),
                       static_cast<float>(canvas.Height()) - top};
    DrawTextMask(canvas, mask, layout, 0, look.argb);
  }
}

void FillBox(Canvas& canvas, const Box& box, Pixel p) {
  const Box part = IntersectBox(box, canvas.Bounds());
  for (int32_t y = part.y; y < part.Bottom(); ++y)
    for (int32_t x = part.x; x < part.Right(); ++x) canvas.Set(x, y, p);
}

// Black and white dashes, so the frame shows on any picture.
void DrawDashedFrame(Canvas& canvas, int32_t thickness) {
  const int32_t w = canvas.Width(), h = canvas.Height();
  const int32_t dash = 3 * thickness;
  const auto colour = [dash](int32_t along) { return (along / dash) % 2 == 0 ? 0xFF000000u : 0xFFFFFFFFu; };
  for (int32_t x = 0; x < w; x += dash) {
    FillBox(canvas, {x, 0, dash, thickness}, colour(x));
    FillBox(canvas, {x, h - thickness, dash, thickness}, colour(x));
  }
  for (int32_t y = 0; y < h; y += dash) {
    FillBox(canvas, {0, y, thickness, dash}, colour(y));
    FillBox(canvas, {w - thickness, y, thickness, dash}, colour(y));
  }
}

}  // namespace

int32_t TextLineHeight(float fontSize) { return static_cast<int32_t>(std::ceil(fontSize * 1.4f)); }

Box TextBoxArea(Point origin, const TextLook& look) {
  int32_t widest = static_cast<int32_t>(std::lround(look.fontSize * 4));
  for (const std::string& line : look.lines) widest = std::max(widest, Advance(line, look.fontSize));
  const int32_t pad = Padding(look);
  const int32_t lines = static_cast<int32_t>(std::max<size_t>(look.lines.size(), 1));
  // Room after the widest line for the caret.
  return {origin.x, origin.y, widest + 2 * pad + static_cast<int32_t>(std::ceil(look.fontSize / 2)),
          lines * TextLineHeight(look.fontSize) + 2 * pad};
}

Canvas RenderTextPixels(const TextLook& look, const Box& area) {
  Canvas canvas(area.width, area.height);
  DrawLines(canvas, look);
  return canvas;
}

Canvas RenderOpenTextBox(const TextLook& look, const Box& area, size_t caretLine, size_t caretByte) {
  Canvas canvas = RenderTextPixels(look, area);
  const int32_t thickness = std::max(1, static_cast<int32_t>(std::lround(look.scale)));
  DrawDashedFrame(canvas, thickness);
  const int32_t pad = Padding(look);
  const std::string before = caretLine < look.lines.size() ? look.lines[caretLine].substr(0, caretByte) : "";
  const int32_t x = pad + Advance(before, look.fontSize);
  const int32_t y = pad + static_cast<int32_t>(caretLine) * TextLineHeight(look.fontSize);
  const uint32_t a = look.argb >> 24;
  FillBox(canvas, {x, y, thickness, TextLineHeight(look.fontSize)},
          CompositeCoverage(0, look.argb | (a == 0 ? 0xFF000000u : 0), 255));
  return canvas;
}

}  // namespace rc
