#include "platform/win32/win32_surfaces.h"

#include "platform/win32/win32_dib.h"

namespace rc {

Win32Surfaces::~Win32Surfaces() {
  for (const auto& entry : surfaces_) Free(entry.second);
}

Canvas Win32Surfaces::Create(int32_t width, int32_t height) {
  Canvas canvas;
  DibSection dib = CreateTopDownDib(width, height);
  if (!dib) return canvas;
  Surface surface{CreateCompatibleDC(nullptr), dib.bitmap, nullptr};
  if (surface.dc == nullptr) {
    DeleteObject(dib.bitmap);
    return canvas;
  }
  surface.previous = SelectObject(surface.dc, dib.bitmap);
  surfaces_[dib.bits] = surface;
  canvas.Adopt(dib.bits, width, height, [this](Pixel* bits) { Release(bits); });
  return canvas;
}

HDC Win32Surfaces::DeviceContextOf(const Canvas& canvas) const {
  auto it = surfaces_.find(canvas.Data());
  return it == surfaces_.end() ? nullptr : it->second.dc;
}

void Win32Surfaces::Release(Pixel* bits) {
  auto it = surfaces_.find(bits);
  if (it == surfaces_.end()) return;
  Free(it->second);
  surfaces_.erase(it);
}

void Win32Surfaces::Free(const Surface& surface) {
  SelectObject(surface.dc, surface.previous);
  DeleteDC(surface.dc);
  DeleteObject(surface.bitmap);
}

}  // namespace rc
