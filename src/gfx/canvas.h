// A 32-bit premultiplied pixel buffer: the program's device context.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "gfx/geometry.h"

namespace rc {

// One pixel: 0xAARRGGBB with the colour channels premultiplied by alpha.
// In memory (little-endian) the bytes are blue, green, red, alpha.
using Pixel = uint32_t;

constexpr uint8_t AlphaOf(Pixel p) { return static_cast<uint8_t>(p >> 24); }
constexpr uint8_t RedOf(Pixel p) { return static_cast<uint8_t>(p >> 16); }
constexpr uint8_t GreenOf(Pixel p) { return static_cast<uint8_t>(p >> 8); }
constexpr uint8_t BlueOf(Pixel p) { return static_cast<uint8_t>(p); }
constexpr Pixel MakePixel(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
// The pixel's colour as a COLORREF: 0x00BBGGRR.
constexpr uint32_t ColourRefOf(Pixel p) {
  return RedOf(p) | (static_cast<uint32_t>(GreenOf(p)) << 8) | (static_cast<uint32_t>(BlueOf(p)) << 16);
}

// Rows run top to bottom with no padding; a new canvas is transparent black.
// Canvases move but do not copy: every screen-sized buffer is counted.
class Canvas {
 public:
  using Releaser = std::function<void(Pixel*)>;

  Canvas() = default;
  Canvas(int32_t width, int32_t height);
  Canvas(Canvas&&) noexcept = default;
  Canvas& operator=(Canvas&&) noexcept = default;
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() = default;

  // Replaces the pixels with a transparent canvas of the given size; a
  // non-positive size leaves the canvas empty. Returns whether pixels exist.
  bool Create(int32_t width, int32_t height);
  // Takes over memory that someone else allocated (a shared-memory image,
  // say); `release` frees it when the canvas lets go. The memory is cleared.
  void Adopt(Pixel* memory, int32_t width, int32_t height, Releaser release);
  // The same, keeping what the memory holds: the pixels of a snapshot, or
  // fresh shared memory, which the system hands out zeroed already.
  void AdoptContents(Pixel* memory, int32_t width, int32_t height, Releaser release);
  void Release();
  // An explicit deep copy, for the few places that need two.
  Canvas Clone() const;

  bool Empty() const { return pixels_ == nullptr; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  Box Bounds() const { return {0, 0, width_, height_}; }

  Pixel* Row(int32_t y) { return pixels_.get() + static_cast<size_t>(y) * width_; }
  const Pixel* Row(int32_t y) const { return pixels_.get() + static_cast<size_t>(y) * width_; }
  Pixel* Data() { return pixels_.get(); }
  const Pixel* Data() const { return pixels_.get(); }
  // Every pixel, row after row.
  std::span<const Pixel> Pixels() const { return {pixels_.get(), static_cast<size_t>(width_) * height_}; }

  // The pixel at (x, y), or 0 outside the canvas.
  Pixel At(int32_t x, int32_t y) const;
  void Set(int32_t x, int32_t y, Pixel p);
  void Fill(Pixel p);
  // The part of `box` inside the canvas.
  void Fill(const Box& box, Pixel p);

 private:
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::unique_ptr<Pixel[], Releaser> pixels_;
};

}  // namespace rc
