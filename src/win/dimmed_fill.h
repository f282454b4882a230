// Fills the back buffer with the dimmed screen on another thread, band by
// band, so that the first frame can be shown before the fill is done. A
// caller that needs part of the back buffer takes the bands of that part not
// yet started and waits for the ones under way, so the first messages cost
// what they touch, not the rest of the fill.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "gfx/canvas.h"

namespace rc {

class DimmedFill {
 public:
  DimmedFill() = default;
  DimmedFill(const DimmedFill&) = delete;
  DimmedFill& operator=(const DimmedFill&) = delete;
  ~DimmedFill() { Finish(); }

  // Starts dimming `frame` of `snapshot` into the same box of `target`.
  // Both must stay until Finish.
  void Start(Canvas& target, const Canvas& snapshot, const Box& frame);
  // Returns once the rows of `box` are filled.
  void Ensure(const Box& box);
  // Returns once the whole frame is filled; does nothing when no fill runs.
  void Finish();

 private:
  static constexpr int32_t kBandHeight = 32;
  enum BandState : uint8_t { kWaiting, kFilling, kFilled };

  void Work();
  // Fills `band` when nobody has started it; true when this call did.
  bool Claim(int32_t band);
  void AwaitBand(int32_t band);

  Canvas* target_ = nullptr;
  const Canvas* snapshot_ = nullptr;
  Box frame_;
  int32_t bands_ = 0;
  std::unique_ptr<std::atomic<uint8_t>[]> states_;
  std::thread thread_;
};

}  // namespace rc
