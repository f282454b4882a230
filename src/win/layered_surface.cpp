#include "win/layered_surface.h"

#include "app/host.h"
#include "gfx/blend.h"

namespace rc {

int LayeredSurface::Attach(uintptr_t window) {
  if (attached_) Detach();
  attached_ = true;
  window_ = window;
  Host().SetLayered(true);
  const Box bounds = Host().WindowBounds();
  canvas_ = Host().CreateSurfaceCanvas(bounds.width, bounds.height);
  changed_ = canvas_.Bounds();
  Present();
  return 1;
}

int LayeredSurface::Detach() {
  if (!attached_) return 0;
  scene_ = SceneCompositor();
  canvas_.Release();
  Host().SetLayered(false);
  attached_ = false;
  window_ = 0;
  changed_ = {};
  return 1;
}

bool LayeredSurface::BlendFrom(const Canvas& source, int32_t srcX, int32_t srcY,
                               std::optional<int32_t> srcW, std::optional<int32_t> srcH, int32_t dstX,
                               int32_t dstY, std::optional<int32_t> dstW, std::optional<int32_t> dstH,
                               uint8_t alpha, bool perPixelAlpha) {
  if (!attached_) return false;
  const Box src{srcX, srcY, srcW.value_or(canvas_.Width()), srcH.value_or(canvas_.Height())};
  const Box dst{dstX, dstY, dstW.value_or(canvas_.Width()), dstH.value_or(canvas_.Height())};
  if (scene_.Active()) {
    if (dst.Empty() || src.Empty() || source.Empty()) return false;
    if (&source == scene_.Snapshot() && src == dst && alpha == 255 && !perPixelAlpha) {
      scene_.AddClear(dst);
    } else {
      scene_.AddBlend(source, src, dst, alpha, perPixelAlpha);
    }
    return true;
  }
  const bool ok = AlphaBlendCanvas(canvas_, dst, source, src, alpha, perPixelAlpha);
  if (ok) MarkChanged(dst);
  return ok;
}

void LayeredSurface::UseScene(const Canvas& snapshot) {
  if (!attached_) return;
  scene_.Begin(snapshot, canvas_);
  MarkChanged(canvas_.Bounds());
}

bool LayeredSurface::Present() {
  if (!attached_) return false;
  std::vector<Box> boxes = scene_.Compose(canvas_);
  if (!changed_.Empty()) boxes.push_back(changed_);
  changed_ = {};
  bool ok = true;
  for (const Box& box : boxes) ok = Host().Present(canvas_, box).ok && ok;
  return ok;
}

void LayeredSurface::MarkChanged(const Box& box) {
  changed_ = UnionBox(changed_, IntersectBox(box, canvas_.Bounds()));
}

}  // namespace rc
