#include "output/overlay_notice.h"

#include <algorithm>

#include "app/host.h"
#include "app/state.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_path.h"
#include "gfx/gp_string_format.h"
#include "gfx/rounded_rect.h"
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

Size NoticeSize(const std::string& text) {
  const TextMask mask = Host().RenderText(text, FontRequest{kNoticeFont, kNoticeEmSize});
  const int32_t textWidth = std::max(mask.left + mask.width, 1);
  const int32_t textHeight = std::max(mask.top + mask.height, static_cast<int32_t>(kNoticeEmSize) + 4);
  return {textWidth + 2 * kPaddingX, textHeight + 2 * kPaddingY};
}

void DrawBox(GpGraphics& box, Size size) {
  GpPath outline;
  outline.Create();
  AddRoundedRect(outline, 0, 0, static_cast<float>(size.width + 2), static_cast<float>(size.height + 2), 8);
  GpSolidBrush brush;
  brush.Create(kBoxArgb);
  box.FillPath(brush, outline);
}

void DrawText(GpGraphics& text, const std::string& line, Size size) {
  GpFont font;
  font.Create(kNoticeFont, kNoticeEmSize);
  GpSolidBrush brush;
  brush.Create(kTextArgb);
  const RectF layout{static_cast<float>(kPaddingX), static_cast<float>(kPaddingY),
                     static_cast<float>(size.width - kPaddingX), static_cast<float>(size.height - kPaddingY)};
  text.DrawString(line, font, brush, layout, GpStringFormat{});
}

}  // namespace

void ShowOverlayNotice(const std::string& text) {
  const Size screen = Host().ScreenSize();
  const Size size = NoticeSize(text);
  GpGraphics box, label;
  if (!box.CreateCanvas(size.width, size.height) || !label.CreateCanvas(size.width, size.height)) return;
  DrawBox(box, size);
  DrawText(label, text, size);
  const int32_t x = std::max((screen.width - size.width) / 2, 0);
  const int32_t y = std::min(kTopMargin, std::max(screen.height - size.height, 0));
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
