#include "win/layered_surface.h"

#include <algorithm>

#include "gfx/blend.h"
#include "win/box_coalescing.h"

namespace rc {

namespace {

// Pixels a present may resend to save a box: about what one more request
// costs the window system.
constexpr int64_t kPresentSlack = 1024;

}  // namespace

int LayeredSurface::Attach(PresentTarget& target, uintptr_t window, bool showEmpty) {
  if (attached_) Detach();
  attached_ = true;
  target_ = &target;
  window_ = window;
  target_->SetLayered(true);
  const Box bounds = target_->WindowBounds();
  canvas_ = target_->CreateSurfaceCanvas(bounds.width, bounds.height);
  if (showEmpty) {
    changed_ = canvas_.Bounds();
    Present();
  }
  return 1;
}

int LayeredSurface::Detach() {
  if (!attached_) return 0;
  Settle();
  dimmedPending_ = false;
  scene_ = SceneCompositor();
  canvas_.Release();
  target_->SetLayered(false);
  target_ = nullptr;
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

bool LayeredSurface::BlendFrom(std::shared_ptr<const StillPixels> source, const Box& src, const Box& dst,
                               uint8_t alpha, bool perPixelAlpha) {
  if (!attached_ || source == nullptr) return false;
  if (!scene_.Active()) {
    const bool ok = AlphaBlendCanvas(canvas_, dst, source->Pixels(), src, alpha, perPixelAlpha);
    if (ok) MarkChanged(dst);
    return ok;
  }
  if (dst.Empty() || src.Empty() || source->Pixels().Empty()) return false;
  scene_.AddBlend(std::move(source), src, dst, alpha, perPixelAlpha);
  return true;
}

void LayeredSurface::UseScene(const Canvas& snapshot) {
  if (!attached_) return;
  Settle();
  scene_.Begin(snapshot, canvas_.Bounds());
  dimmedPending_ = true;
}

bool LayeredSurface::Present() {
  if (!attached_) return false;
  MarkChanged(target_->TakeExposed());
  std::vector<Box> boxes;
  bool ok = true;
  if (dimmedPending_) {
    dimmedPending_ = false;
    ok = PrepareDimmedScreen(boxes);
  }
  for (const Box& box : scene_.Compose(canvas_, [this](const Box& part) { fill_.Ensure(part); })) boxes.push_back(box);
  if (!changed_.Empty()) {
    Settle();
    boxes.push_back(changed_);
  }
  changed_ = {};
  // After the dimmed screen the whole window goes out, which holds the rest.
  if (!boxes.empty() && boxes.front() == canvas_.Bounds()) boxes.resize(1);
  if (boxes.empty()) return ok;
  CoalesceBoxes(boxes, kPresentSlack);
  // Merged boxes take in pixels no step wrote, which the fill may not have
  // reached yet.
  for (const Box& box : boxes) fill_.Ensure(box);
  return target_->Present(canvas_, boxes) && ok;
}

// The dimmed screen is the first fast frame. Where the window can show
// pixels that are not the back buffer's, it goes out in strips made from the
// snapshot while another thread fills the back buffer: the user does not
// wait for a screen's worth of fresh memory to be written. Elsewhere the
// back buffer is written first, as the window shows nothing else, and the
// whole of it goes out with the rest of the frame.
bool LayeredSurface::PrepareDimmedScreen(std::vector<Box>& boxes) {
  if (target_->PresentsPieces() && PresentDimmedInStrips()) {
    fill_.Start(canvas_, *scene_.Snapshot(), scene_.Frame());
    return true;
  }
  DimInto(canvas_, *scene_.Snapshot(), scene_.Frame());
  boxes.push_back(scene_.Frame());
  return true;
}

bool LayeredSurface::PresentDimmedInStrips() {
  const Canvas& snapshot = *scene_.Snapshot();
  return target_->PresentPainted(scene_.Frame(), [&snapshot](Canvas& band, const Box& rows) {
    DimInto(band, {0, 0}, snapshot, rows);
  });
}

void LayeredSurface::Settle() { fill_.Finish(); }

void LayeredSurface::MarkChanged(const Box& box) {
  changed_ = UnionBox(changed_, IntersectBox(box, canvas_.Bounds()));
}

}  // namespace rc
