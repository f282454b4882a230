// Double-click synthesis for the hosts whose systems report only presses
// (X11, Wayland): the program wants the second of two quick presses as one
// double-click. Pure, so tests need no display.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "gfx/geometry.h"

namespace rc {

class DoubleClickDetector {
 public:
  static constexpr uint32_t kDefaultIntervalMs = 500;
  static constexpr int32_t kSlop = 2;  // pixels either way, as a 4 x 4 box

  explicit DoubleClickDetector(uint32_t intervalMs = kDefaultIntervalMs) : intervalMs_(intervalMs) {}
  void SetInterval(uint32_t intervalMs) { intervalMs_ = intervalMs; }

  // Records a left press at server time `timeMs` (milliseconds, wrapping at
  // 2^32) and screen point `at`; returns whether it completes a double-click.
  // The press after a double-click starts a new pair.
  bool Press(uint32_t timeMs, Point at) {
    const bool isDouble = armed_ && static_cast<uint32_t>(timeMs - firstTime_) <= intervalMs_ &&
                          std::abs(at.x - first_.x) <= kSlop && std::abs(at.y - first_.y) <= kSlop;
    armed_ = !isDouble;
    firstTime_ = timeMs;
    first_ = at;
    return isDouble;
  }

 private:
  uint32_t intervalMs_;
  bool armed_ = false;
  uint32_t firstTime_ = 0;
  Point first_;
};

}  // namespace rc
