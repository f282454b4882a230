#include "edit/options_bar.h"

#include <cmath>
#include <string>

#include "app/host.h"
#include "app/state.h"
#include "edit/edit_scale.h"
#include "edit/edit_settings.h"
#include "edit/edit_tools.h"
#include "edit/options_bar_layout.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "toolbar/rounded_panel.h"

namespace rc {

namespace {

constexpr uint32_t kBackgroundFill = 0xFFDEEEFF;
constexpr uint32_t kBackgroundOutline = 0xFF00AEFF;
constexpr uint32_t kChosenFill = 0xFF8CCBF5;
constexpr uint32_t kChosenOutline = 0xFF0B5CAD;
constexpr uint32_t kInk = 0xFF203040;
constexpr uint32_t kSwatchOutline = 0xFF8A98A4;
constexpr uint32_t kCurrentMark = 0xFF101010;

struct Look {
  EditTool tool;
  EditOptions options;
  float scale;
  friend bool operator==(const Look&, const Look&) = default;
};

float F(int32_t v, float scale) { return static_cast<float>(v) * scale; }

void Panel(GpGraphics& g, const IntRect& r, float scale, uint32_t fill, uint32_t outline) {
  DrawRoundedPanel(g, F(r.left, scale), F(r.top, scale), F(r.Width() + 2, scale), F(r.Height() + 2, scale),
                   static_cast<int>(std::lround(3 * scale)), fill, outline);
}

void Dot(GpGraphics& g, const IntRect& box, float diameter, float scale) {
  const float d = diameter * scale;
  const float cx = F(box.left + box.right, scale) / 2, cy = F(box.top + box.bottom, scale) / 2;
  GpPath path;
  path.Create();
  path.AddArc(cx - d / 2, cy - d / 2, d, d, 0, 360);
  GpSolidBrush brush;
  brush.Create(kInk);
  g.FillPath(brush, path);
}

void Letter(GpGraphics& g, const IntRect& box, float em, float scale) {
  GpFont font;
  font.Create("微软雅黑", em * scale);
  GpSolidBrush brush;
  brush.Create(kInk);
  const float x = F(box.left, scale) + (F(box.Width(), scale) - em * scale * 0.6f) / 2 - em * scale / 6;
  const float y = F(box.top, scale) + (F(box.Height(), scale) - em * scale * 1.3f) / 2;
  g.DrawString("A", font, brush, RectF{x, y, F(box.Width(), scale), F(box.Height(), scale)}, GpStringFormat{});
}

void DrawChoices(GpGraphics& g, const Look& look) {
  const bool text = look.tool == EditTool::Text;
  const int32_t chosen = text ? look.options.sizeChoice : look.options.widthChoice;
  constexpr float kLetterSizes[3] = {10, 13, 16};
  for (int32_t i = 0; i < 3; ++i) {
    const IntRect box = ChoiceBox(i);
    if (i == chosen) Panel(g, box, look.scale, kChosenFill, kChosenOutline);
    if (text) Letter(g, box, kLetterSizes[i], look.scale);
    else Dot(g, box, kStrokeWidths[static_cast<size_t>(i)] + 1, look.scale);
  }
}

void DrawSwatches(GpGraphics& g, const Look& look) {
  GpSolidBrush brush;
  GpPen pen;
  for (int32_t i = 0; i < static_cast<int32_t>(kPalette.size()); ++i) {
    const IntRect b = SwatchBox(i);
    const float s = look.scale;
    brush.Create(kPalette[static_cast<size_t>(i)]);
    g.FillRectangle(brush, F(b.left, s), F(b.top, s), F(b.Width(), s), F(b.Height(), s));
    const bool current = i == look.options.colourChoice;
    pen.Create(current ? kCurrentMark : kSwatchOutline, current ? 2 * s : s);
    const float grow = current ? 2 * s : 0;
    g.DrawRectangle(pen, F(b.left, s) - grow, F(b.top, s) - grow, F(b.Width() - 1, s) + 2 * grow,
                    F(b.Height() - 1, s) + 2 * grow);
  }
}

// A small chequer of grey blocks.
void DrawMosaicSwitch(GpGraphics& g, const Look& look) {
  const IntRect box = MosaicBox();
  const float s = look.scale;
  if (look.options.mosaic) Panel(g, box, s, kChosenFill, kChosenOutline);
  GpSolidBrush brush;
  for (int32_t r = 0; r < 4; ++r)
    for (int32_t c = 0; c < 4; ++c) {
      brush.Create((r + c) % 2 == 0 ? 0xFF505A64 : 0xFFB0B8C0);
      g.FillRectangle(brush, F(box.left + 3 + 4 * c, s), F(box.top + 3 + 4 * r, s), 4 * s, 4 * s);
    }
}

const Canvas& BarLook(const Look& look, int32_t w, int32_t h) {
  static Look drawn{EditTool::None, {}, 0};
  static Canvas pixels;
  if (drawn == look && pixels.Width() == w && pixels.Height() == h) return pixels;
  GpGraphics g;
  g.CreateCanvas(w, h);
  DrawRoundedPanel(g, 0, 0, static_cast<float>(w + 2), static_cast<float>(h), static_cast<int>(std::lround(3 * look.scale)),
                   kBackgroundFill, kBackgroundOutline);
  DrawChoices(g, look);
  DrawSwatches(g, look);
  if (look.tool == EditTool::Brush) DrawMosaicSwitch(g, look);
  pixels = std::move(g.CanvasDC());
  drawn = look;
  return pixels;
}

// The bar is drawn at the toolbar's scale, beside it.
float BarScale() {
  const float scale = State().ToolbarScale;
  return scale > 0 ? scale : 1.0f;
}

void Apply(const OptionHit& hit, EditSession& e) {
  switch (hit.kind) {
    case OptionKind::Choice:
      (e.tool == EditTool::Text ? e.options.sizeChoice : e.options.widthChoice) = hit.index;
      break;
    case OptionKind::Colour: e.options.colourChoice = hit.index; break;
    case OptionKind::Mosaic: e.options.mosaic = !e.options.mosaic; break;
    case OptionKind::None: break;
  }
}

}  // namespace

void PaintOptionsBar() {
  CaptureState& s = State();
  EditSession& e = s.Edit;
  if (e.tool == EditTool::None || s.ToolbarRect.IsZero()) {
    e.OptionsRect.Clear();
    return;
  }
  const float scale = BarScale();
  e.OptionsRect = PlaceOptionsBar(s.ToolbarRect, s.SelectionRect, Host().ScreenSize().height, scale, e.tool);
  const int32_t w = e.OptionsRect.Width(), h = e.OptionsRect.Height();
  const Canvas& look = BarLook(Look{e.tool, e.options, scale}, w, h);
  s.OverlaySurface.BlendFrom(look, 0, 0, w, h, e.OptionsRect.left, e.OptionsRect.top, w, h, 255, true);
}

bool PressOptionsBar(Point p) {
  EditSession& e = State().Edit;
  const IntRect& bar = e.OptionsRect;
  if (bar.IsZero() || p.x <= bar.left || p.x >= bar.right || p.y <= bar.top || p.y >= bar.bottom) return false;
  Apply(OptionAt(e.tool, p.x - bar.left, p.y - bar.top, BarScale()), e);
  RefreshOpenTextBox();
  SaveEditOptions(e.options);
  return true;
}

}  // namespace rc
