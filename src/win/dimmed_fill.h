// Fills the back buffer with the dimmed screen on another thread, band by
// band, so that the first frame can be shown before the fill is done. A
// caller that needs the back buffer takes the bands not yet started and
// then waits for the rest, so the two share what is left.
#pragma once

#include <atomic>
#include <cstdint>
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
  // Returns once the whole frame is filled; does nothing when no fill runs.
  void Finish();

 private:
  static constexpr int32_t kBandHeight = 32;

  void Work();

  Canvas* target_ = nullptr;
  const Canvas* snapshot_ = nullptr;
  Box frame_;
  int32_t bands_ = 0;
  std::atomic<int32_t> next_{0};
  std::thread thread_;
};

}  // namespace rc
