#include "win/dimmed_fill.h"

#include <algorithm>

#include "gfx/thread_start.h"
#include "win/scene_compositor.h"

namespace rc {

void DimmedFill::Start(Canvas& target, const Canvas& snapshot, const Box& frame) {
  Finish();
  target_ = &target;
  snapshot_ = &snapshot;
  frame_ = frame;
  bands_ = (frame.height + kBandHeight - 1) / kBandHeight;
  next_ = 0;
  thread_ = StartThreadOrRunHere([this] { Work(); });
}

void DimmedFill::Finish() {
  if (!thread_.joinable()) return;
  Work();
  thread_.join();
}

void DimmedFill::Work() {
  for (int32_t band = next_++; band < bands_; band = next_++) {
    const int32_t top = frame_.y + band * kBandHeight;
    DimInto(*target_, *snapshot_, {frame_.x, top, frame_.width, std::min(kBandHeight, frame_.Bottom() - top)});
  }
}

}  // namespace rc
