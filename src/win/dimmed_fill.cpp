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
  states_ = std::make_unique<std::atomic<uint8_t>[]>(static_cast<size_t>(bands_));
  for (int32_t band = 0; band < bands_; ++band) states_[band].store(kWaiting, std::memory_order_relaxed);
  thread_ = StartThreadOrRunHere([this] { Work(); });
}

void DimmedFill::Ensure(const Box& box) {
  if (!thread_.joinable() || box.Empty()) return;
  const int32_t first = std::max(0, (box.y - frame_.y) / kBandHeight);
  const int32_t last = std::min(bands_ - 1, (box.Bottom() - 1 - frame_.y) / kBandHeight);
  for (int32_t band = first; band <= last; ++band) {
    if (!Claim(band)) AwaitBand(band);
  }
}

void DimmedFill::Finish() {
  if (!thread_.joinable()) return;
  Ensure(frame_);
  thread_.join();
}

void DimmedFill::Work() {
  for (int32_t band = 0; band < bands_; ++band) Claim(band);
}

bool DimmedFill::Claim(int32_t band) {
  uint8_t waiting = kWaiting;
  if (!states_[band].compare_exchange_strong(waiting, kFilling, std::memory_order_acquire)) return false;
  const int32_t top = frame_.y + band * kBandHeight;
  DimInto(*target_, *snapshot_, {frame_.x, top, frame_.width, std::min(kBandHeight, frame_.Bottom() - top)});
  states_[band].store(kFilled, std::memory_order_release);
  return true;
}

// A band under way on the other thread takes a fraction of a millisecond.
void DimmedFill::AwaitBand(int32_t band) {
  while (states_[band].load(std::memory_order_acquire) != kFilled) std::this_thread::yield();
}

}  // namespace rc
