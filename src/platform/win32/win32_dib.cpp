#include "platform/win32/win32_dib.h"

#include "gfx/image_limits.h"

namespace rc {

BITMAPINFO TopDownDibInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: the first row is the top one
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

DibSection CreateTopDownDib(int32_t width, int32_t height) {
  DibSection dib;
  if (!ImageSizeAllowed(width, height)) return dib;
  const BITMAPINFO info = TopDownDibInfo(width, height);
  void* bits = nullptr;
  dib.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib.bitmap == nullptr || bits == nullptr) return {};
  dib.bits = static_cast<uint32_t*>(bits);
  return dib;
}

}  // namespace rc
