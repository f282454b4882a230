#include "edit/edit_scale.h"

#include <algorithm>

#include "app/state.h"

namespace rc {

float EditScaleAt(Point p) {
  const std::vector<Monitor>& monitors = State().Monitors;
  if (monitors.empty()) return 1.0f;
  return std::max(MonitorAt(monitors, p).scale, 0.5f);
}

float StrokeWidthAt(Point p) {
  const EditOptions& o = State().Edit.options;
  return kStrokeWidths[static_cast<size_t>(std::clamp(o.widthChoice, 0, 2))] * EditScaleAt(p);
}

float TextSizeAt(Point p) {
  const EditOptions& o = State().Edit.options;
  return kTextSizes[static_cast<size_t>(std::clamp(o.sizeChoice, 0, 2))] * EditScaleAt(p);
}

uint32_t CurrentColour() {
  const int32_t i = std::clamp(State().Edit.options.colourChoice, 0, static_cast<int32_t>(kPalette.size()) - 1);
  return kPalette[static_cast<size_t>(i)];
}

}  // namespace rc
