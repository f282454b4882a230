#include "platform/win32/win32_cursor.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace rc {

namespace {

uint16_t Word(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }

uint32_t Dword(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(Word(b, at)) | static_cast<uint32_t>(Word(b, at + 2)) << 16;
}

// A cursor resource is the file's image data preceded by its hot spot; the
// directory entry says where the image lies and where the hot spot is.
std::vector<uint8_t> CursorResource(std::span<const uint8_t> file) {
  constexpr size_t kDirectory = 6, kEntry = 16;
  if (file.size() < kDirectory + kEntry || Word(file, 0) != 0 || Word(file, 2) != 2 || Word(file, 4) == 0) return {};
  const uint32_t size = Dword(file, kDirectory + 8);
  const uint32_t offset = Dword(file, kDirectory + 12);
  if (size < sizeof(BITMAPINFOHEADER) || offset > file.size() || size > file.size() - offset) return {};
  std::vector<uint8_t> resource(4 + size);
  std::memcpy(resource.data(), file.data() + kDirectory + 4, 4);  // hot spot x, y
  std::memcpy(resource.data() + 4, file.data() + offset, size);
  return resource;
}

}  // namespace

void* StandardCursorHandle(StandardCursor shape) {
  const wchar_t* id = IDC_ARROW;
  switch (shape) {
    case StandardCursor::Arrow: id = IDC_ARROW; break;
    case StandardCursor::SizeAll: id = IDC_SIZEALL; break;
    case StandardCursor::SizeNESW: id = IDC_SIZENESW; break;
    case StandardCursor::SizeNS: id = IDC_SIZENS; break;
    case StandardCursor::SizeNWSE: id = IDC_SIZENWSE; break;
    case StandardCursor::SizeWE: id = IDC_SIZEWE; break;
    case StandardCursor::Cross: id = IDC_CROSS; break;
    case StandardCursor::IBeam: id = IDC_IBEAM; break;
  }
  return LoadCursorW(nullptr, id);
}

void* CursorFromFileBytes(std::span<const uint8_t> file) {
  std::vector<uint8_t> resource = CursorResource(file);
  if (resource.empty()) return nullptr;
  return CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), FALSE, 0x00030000, 0, 0,
                                  LR_DEFAULTCOLOR);
}

}  // namespace rc
