// The headless host on Windows: GDI text, the imaging component's codecs and
// Win32 files, so a scripted capture costs what it costs in the real program.
#include "platform/headless/headless_services.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_wic_codecs.h"

namespace rc {

TextMask HeadlessRenderText(const std::string& utf8, const FontRequest& font) {
  // Fonts are kept per family and size for the whole run, as the window's
  // host keeps them.
  static GdiTextRenderer renderer;
  return renderer.Render(utf8, font);
}

std::vector<const ImageCodec*> HeadlessImageCodecs() { return WicImageCodecs(); }

bool HeadlessFileExists(const std::string& path) { return FileExistsWin32(path); }

bool HeadlessDirectoryExists(const std::string& path) { return DirectoryExistsWin32(path); }

HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  return WriteFileAtomicWin32(path, bytes);
}

std::optional<std::vector<uint8_t>> HeadlessReadFile(const std::string& path, size_t maxBytes) {
  return ReadSmallFileWin32(path, maxBytes);
}

HostResult HeadlessMakeDirectories(const std::string& path) { return MakeDirectoriesWin32(path); }

void HeadlessPrefault(void*, size_t) {}

}  // namespace rc
