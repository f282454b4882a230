// A solid brush: one straight ARGB colour.
#pragma once

#include <cstdint>

namespace rc {

class GpSolidBrush {
 public:
  GpSolidBrush() = default;
  ~GpSolidBrush();
  GpSolidBrush(const GpSolidBrush&) = delete;
  GpSolidBrush& operator=(const GpSolidBrush&) = delete;

  // Releases any brush held, then makes a new one.
  bool Create(uint32_t argb);
  bool SetColor(uint32_t argb);
  bool Delete();

  bool Holds() const { return holds_; }
  uint32_t Argb() const { return argb_; }

  // Brushes alive in the whole process.
  static int LiveCount();

 private:
  bool holds_ = false;
  uint32_t argb_ = 0;
};

}  // namespace rc
