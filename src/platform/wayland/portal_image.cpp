#include "platform/wayland/portal_image.h"

#include <algorithm>
#include <cmath>

namespace rc {

namespace {

Box LogicalBounds(const std::vector<PortalOutput>& outputs) {
  Box box;
  for (const PortalOutput& o : outputs) box = UnionBox(box, o.logical);
  return box;
}

// The part of the picture that shows `logical`, the picture spanning
// `bounds` at `kx` x `ky` pixels per logical unit.
Box SourceBox(const Box& logical, const Box& bounds, double kx, double ky) {
  const auto at = [](double v) { return static_cast<int32_t>(std::lround(v)); };
  const int32_t x = at((logical.x - bounds.x) * kx), y = at((logical.y - bounds.y) * ky);
  return {x, y, at((logical.Right() - bounds.x) * kx) - x, at((logical.Bottom() - bounds.y) * ky) - y};
}

// Picture pixel index for target pixel `i` of `to` pixels taken from
// `length` picture pixels starting at `start`: the one under its centre.
int32_t Sample(int32_t start, int32_t length, int32_t to, int32_t i) {
  if (length == to) return start + i;
  return start + static_cast<int32_t>((2 * static_cast<int64_t>(i) + 1) * length / (2 * static_cast<int64_t>(to)));
}

void CopyOutput(const Canvas& image, const Box& from, const Box& to, Canvas& out) {
  for (int32_t y = 0; y < to.height; ++y) {
    const int32_t sy = Sample(from.y, from.height, to.height, y);
    if (sy < 0 || sy >= image.Height() || to.y + y < 0 || to.y + y >= out.Height()) continue;
    const Pixel* src = image.Row(sy);
    Pixel* dst = out.Row(to.y + y);
    for (int32_t x = std::max(0, -to.x); x < to.width && to.x + x < out.Width(); ++x) {
      const int32_t sx = Sample(from.x, from.width, to.width, x);
      dst[to.x + x] = sx >= 0 && sx < image.Width() ? src[sx] | 0xFF000000u : MakePixel(255, 0, 0, 0);
    }
  }
}

}  // namespace

void PlacePortalImage(const Canvas& image, const std::vector<PortalOutput>& outputs, const Box& desktop, Canvas& out) {
  out.Fill(MakePixel(255, 0, 0, 0));
  const Box bounds = LogicalBounds(outputs);
  if (image.Empty() || bounds.Empty()) return;
  const double kx = static_cast<double>(image.Width()) / bounds.width;
  const double ky = static_cast<double>(image.Height()) / bounds.height;
  for (const PortalOutput& o : outputs) {
    const Box from = SourceBox(o.logical, bounds, kx, ky);
    const Box to{o.desktop.x - desktop.x, o.desktop.y - desktop.y, o.desktop.width, o.desktop.height};
    if (!from.Empty() && !to.Empty()) CopyOutput(image, from, to, out);
  }
}

}  // namespace rc
