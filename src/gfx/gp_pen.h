// A pen: a straight ARGB colour and a width in pixels.
#pragma once

#include <cstdint>

namespace rc {

class GpPen {
 public:
  GpPen() = default;
  ~GpPen();
  GpPen(const GpPen&) = delete;
  GpPen& operator=(const GpPen&) = delete;

  // Releases any pen held, then makes a new one.
  bool Create(uint32_t argb, float width);
  bool SetWidth(float width);
  bool SetColor(uint32_t argb);
  bool Delete();

  bool Holds() const { return holds_; }
  uint32_t Argb() const { return argb_; }
  float Width() const { return width_; }

  // Pens alive in the whole process.
  static int LiveCount();

 private:
  bool holds_ = false;
  uint32_t argb_ = 0;
  float width_ = 1.0f;
};

}  // namespace rc
