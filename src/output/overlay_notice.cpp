#include "output/overlay_notice.h"

#include <algorithm>

#include "app/host.h"
#include "app/monitors.h"
#include "app/state.h"
#include "app/ui_scale.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_path.h"
#include "gfx/gp_string_format.h"
#include "gfx/rounded_rect.h"
#include "output/middle_ellipsis.h"
#include "overlay/frame.h"
#include "toolbar/toolbar.h"

namespace rc {

namespace {

constexpr const char* kNoticeFont = "微软雅黑";
constexpr float kNoticeEmSize = 14.0f;
constexpr int32_t kPaddingX = 16;
constexpr int32_t kPaddingY = 9;
constexpr int32_t kTopMargin = 48;
constexpr uint8_t kBoxAlpha = 200;
constexpr uint32_t kBoxArgb = 0xFF202020;
constexpr uint32_t kTextArgb = 0xFFFFFFFF;

// The notice's size at `scale`: its text's size plus the 1x padding times
// the scale.
Size NoticeSize(const std::string& text, float scale) {
  const TextMask mask = Host().RenderText(text, FontRequest{kNoticeFont, kNoticeEmSize * scale});
  const int32_t textWidth = std::max(mask.left + mask.width, 1);
  const int32_t textHeight =
      std::max(mask.top + mask.height, ScalePx(static_cast<int32_t>(kNoticeEmSize) + 4, scale));
  return {textWidth + 2 * ScalePx(kPaddingX, scale), textHeight + 2 * ScalePx(kPaddingY, scale)};
}

// Both layers are drawn in the 1x layout at their scale; `size` is in pixels.
void DrawBox(GpGraphics& box, Size size) {
  const float scale = box.Scale();
  GpPath outline;
  outline.Create();
  AddRoundedRect(outline, 0, 0, static_cast<float>(size.width) / scale + 2,
                 static_cast<float>(size.height) / scale + 2, 8);
  GpSolidBrush brush;
  brush.Create(kBoxArgb);
  box.FillPath(brush, outline);
}

void DrawText(GpGraphics& text, const std::string& line, Size size) {
  const float scale = text.Scale();
  GpFont font;
  font.Create(kNoticeFont, kNoticeEmSize);
  GpSolidBrush brush;
  brush.Create(kTextArgb);
  const float padX = static_cast<float>(ScalePx(kPaddingX, scale)) / scale;
  const float padY = static_cast<float>(ScalePx(kPaddingY, scale)) / scale;
  const RectF layout{padX, padY, static_cast<float>(size.width) / scale - padX,
                     static_cast<float>(size.height) / scale - padY};
  text.DrawString(line, font, brush, layout, GpStringFormat{});
}

// The notice belongs to the monitor of the selection's bottom-right corner,
// as the toolbar does.
const Monitor& NoticeMonitor() {
  const CaptureState& s = State();
  return MonitorOfCorner(s.Monitors, s.SelectionRect);
}

// The notice keeps a margin of its own padding from its monitor's sides.
bool FitsTheScreen(const std::string& text) {
  const Monitor& monitor = NoticeMonitor();
  return NoticeSize(text, monitor.scale).width <= monitor.rect.width - 2 * ScalePx(kPaddingX, monitor.scale);
}

}  // namespace

std::string FittedNotice(const std::string& before, const std::string& name, const std::string& after) {
  if (FitsTheScreen(before + name + after)) return before + name + after;
  // The most characters of the name that still fit, found by halving.
  size_t fits = 0, fails = CharacterCount(name);
  while (fails - fits > 1) {
    const size_t mid = (fits + fails) / 2;
    (FitsTheScreen(before + ShortenInMiddle(name, mid) + after) ? fits : fails) = mid;
  }
  return before + ShortenInMiddle(name, fits) + after;
}

void ShowOverlayNotice(const std::string& text) {
  const Monitor& monitor = NoticeMonitor();
  const float scale = monitor.scale;
  const Size size = NoticeSize(text, scale);
  GpGraphics box, label;
  if (!box.CreateCanvas(size.width, size.height) || !label.CreateCanvas(size.width, size.height)) return;
  box.SetScale(scale);
  label.SetScale(scale);
  DrawBox(box, size);
  DrawText(label, text, size);
  const Box& area = monitor.rect;
  const int32_t x = area.x + std::max((area.width - size.width) / 2, 0);
  const int32_t y = area.y + std::min(ScalePx(kTopMargin, scale), std::max(area.height - size.height, 0));
  LayeredSurface& surface = State().OverlaySurface;
  surface.BlendFrom(box.CanvasDC(), 0, 0, size.width, size.height, x, y, size.width, size.height, kBoxAlpha, true);
  surface.BlendFrom(label.CanvasDC(), 0, 0, size.width, size.height, x, y, size.width, size.height, 255, true);
}

void BackToSelection(const std::string& notice) {
  CaptureState& s = State();
  s.MenuOpen = 0;
  s.MenuRect.Clear();
  RedrawFrame(RedrawOption::Clear);
  HandleToolbarEvent(UiEvent::Repaint);
  ShowOverlayNotice(notice);
}

}  // namespace rc
