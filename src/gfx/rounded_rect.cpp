#include "gfx/rounded_rect.h"

#include <algorithm>

namespace rc {

bool AddRoundedRect(GpPath& path, float x, float y, float w, float h, int radius) {
  const int r = std::clamp(radius, 1, 100);
  const float d = static_cast<float>(r);
  const float right = x + w - static_cast<float>(r + 3);
  const float bottom = y + h - static_cast<float>(r + 3);
  bool ok = path.AddArc(x, y, d, d, 180, 90);
  ok = path.AddArc(right, y, d, d, 270, 90) && ok;
  ok = path.AddArc(right, bottom, d, d, 0, 90) && ok;
  ok = path.AddArc(x, bottom, d, d, 90, 90) && ok;
  return path.CloseAllFigures() && ok;
}

}  // namespace rc
