#include "selection/zones.h"

namespace rc {

const char* Text(CaptureMode mode) {
  switch (mode) {
    case CaptureMode::Draw: return "绘制";
    case CaptureMode::Adjust: return "调整";
    case CaptureMode::Drag: return "拖动";
    case CaptureMode::None: break;
  }
  return "";
}

const char* Text(HitZone zone) {
  switch (zone) {
    case HitZone::Inside: return "内部";
    case HitZone::Outside: return "外部";
    case HitZone::TopLeft: return "左上角";
    case HitZone::Top: return "上边";
    case HitZone::TopRight: return "右上角";
    case HitZone::Left: return "左边";
    case HitZone::Right: return "右边";
    case HitZone::BottomLeft: return "左下角";
    case HitZone::Bottom: return "下边";
    case HitZone::BottomRight: return "右下角";
    case HitZone::Toolbar: return "工具栏";
    case HitZone::Menu: return "菜单";
    case HitZone::None: break;
  }
  return "";
}

const char* Text(UiEvent event) {
  switch (event) {
    case UiEvent::Hover: return "划过";
    case UiEvent::Press: return "按下";
    case UiEvent::Repaint: break;
  }
  return "";
}

const char* Text(RedrawOption option) { return option == RedrawOption::KeepRects ? "不清除" : ""; }

bool IsAdjustZone(HitZone zone) {
  switch (zone) {
    case HitZone::TopLeft:
    case HitZone::Top:
    case HitZone::TopRight:
    case HitZone::Left:
    case HitZone::Right:
    case HitZone::BottomLeft:
    case HitZone::Bottom:
    case HitZone::BottomRight:
      return true;
    default:
      return false;
  }
}

}  // namespace rc
