#include "gfx/canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace rc {

Canvas::Canvas(int32_t width, int32_t height) { Create(width, height); }

bool Canvas::Create(int32_t width, int32_t height) {
  Release();
  if (width <= 0 || height <= 0) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  // Zeroed memory is transparent black. calloc leaves fresh pages to the
  // system, which hands them out zeroed, so a screen-sized canvas costs
  // nothing until its pixels are written.
  auto* memory = static_cast<Pixel*>(std::calloc(count, sizeof(Pixel)));
  if (memory == nullptr) return false;
  pixels_ = std::unique_ptr<Pixel[], Releaser>(memory, [](Pixel* p) { std::free(p); });
  width_ = width;
  height_ = height;
  return true;
}

void Canvas::Adopt(Pixel* memory, int32_t width, int32_t height, Releaser release) {
  AdoptContents(memory, width, height, std::move(release));
  if (!Empty()) std::memset(memory, 0, static_cast<size_t>(width) * height * sizeof(Pixel));
}

void Canvas::AdoptContents(Pixel* memory, int32_t width, int32_t height, Releaser release) {
  Release();
  if (memory == nullptr || width <= 0 || height <= 0) return;
  pixels_ = std::unique_ptr<Pixel[], Releaser>(memory, std::move(release));
  width_ = width;
  height_ = height;
}

void Canvas::Release() {
  pixels_.reset();
  width_ = 0;
  height_ = 0;
}

Canvas Canvas::Clone() const {
  Canvas copy;
  if (Empty()) return copy;
  if (!copy.Create(width_, height_)) return copy;
  std::memcpy(copy.Data(), Data(), static_cast<size_t>(width_) * height_ * sizeof(Pixel));
  return copy;
}

Pixel Canvas::At(int32_t x, int32_t y) const {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Row(y)[x];
}

void Canvas::Set(int32_t x, int32_t y, Pixel p) {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = p;
}

void Canvas::Fill(Pixel p) {
  if (Empty()) return;
  std::fill(Data(), Data() + static_cast<size_t>(width_) * height_, p);
}

void Canvas::Fill(const Box& box, Pixel p) {
  const Box inside = IntersectBox(box, Bounds());
  if (Empty() || inside.Empty()) return;
  for (int32_t y = inside.y; y < inside.Bottom(); ++y) std::fill_n(Row(y) + inside.x, inside.width, p);
}

}  // namespace rc
