#include "edit/text_shape.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

// Black and white dashes, so the frame shows on any picture.
void DrawDashedFrame(Canvas& canvas, int32_t thickness) {
  const int32_t w = canvas.Width(), h = canvas.Height();
  const int32_t dash = 3 * thickness;
  const auto colour = [dash](int32_t along) { return (along / dash) % 2 == 0 ? 0xFF000000u : 0xFFFFFFFFu; };
  for (int32_t x = 0; x < w; x += dash) {
    canvas.Fill({x, 0, dash, thickness}, colour(x));
    canvas.Fill({x, h - thickness, dash, thickness}, colour(x));
  }
  for (int32_t y = 0; y < h; y += dash) {
    canvas.Fill({0, y, thickness, dash}, colour(y));
    canvas.Fill({w - thickness, y, thickness, dash}, colour(y));
  }
}

int32_t Thickness(const TextLook& look) { return std::max(1, static_cast<int32_t>(std::lround(look.scale))); }

int32_t FloorDiv(int32_t a, int32_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The character boundaries of a line: 0, each character's end.
std::vector<size_t> Boundaries(const std::string& line) {
  std::vector<size_t> ends{0};
  for (size_t i = 1; i <= line.size(); ++i) {
    if (i == line.size() || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) ends.push_back(i);
  }
  return ends;
}

// The boundary whose caret would stand closest to `x`, measured with the
// same advances the caret is drawn at. Advances grow along the line, so
// the first boundary at or past `x` and the one before it are the choice.
size_t ByteNear(const std::string& line, float fontSize, int32_t x) {
  const std::vector<size_t> ends = Boundaries(line);
  const auto advance = [&](size_t i) { return Advance(line.substr(0, ends[i]), fontSize); };
  size_t lo = 0, hi = ends.size() - 1;
  if (advance(hi) <= x) return ends[hi];
  while (lo < hi) {
    const size_t mid = (lo + hi) / 2;
    if (advance(mid) < x) lo = mid + 1;
    else hi = mid;
  }
  if (lo == 0) return 0;
  return x - advance(lo - 1) < advance(lo) - x ? ends[lo - 1] : ends[lo];
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

Canvas RenderOpenTextBox(const TextLook& look, const Box& area, const Box& caretBar) {
  Canvas canvas = RenderTextPixels(look, area);
  DrawDashedFrame(canvas, Thickness(look));
  const uint32_t a = look.argb >> 24;
  canvas.Fill(caretBar, CompositeCoverage(0, look.argb | (a == 0 ? 0xFF000000u : 0), 255));
  return canvas;
}

Box TextCaretBox(const TextLook& look, TextCaret caret) {
  const int32_t pad = Padding(look);
  const std::string before = caret.line < look.lines.size() ? look.lines[caret.line].substr(0, caret.byte) : "";
  const int32_t x = pad + Advance(before, look.fontSize);
  const int32_t y = pad + static_cast<int32_t>(caret.line) * TextLineHeight(look.fontSize);
  return {x, y, Thickness(look), TextLineHeight(look.fontSize)};
}

TextCaret TextCaretNear(const TextLook& look, Point at) {
  if (look.lines.empty()) return {};
  const int32_t row = FloorDiv(at.y - Padding(look), TextLineHeight(look.fontSize));
  const size_t line = static_cast<size_t>(std::clamp<int32_t>(row, 0, static_cast<int32_t>(look.lines.size()) - 1));
  return {line, ByteNear(look.lines[line], look.fontSize, at.x - Padding(look))};
}

}  // namespace rc
