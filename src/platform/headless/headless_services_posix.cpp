#include "platform/codecs/posix_codecs.h"
#include "platform/freetype/text_freetype.h"
#include "platform/headless/headless_services.h"
#include "platform/posix/posix_files.h"
#include "platform/posix/posix_memory.h"

namespace rc {

TextMask HeadlessRenderText(const std::string& utf8, const FontRequest& font) {
  return RenderTextFreeType(utf8, font);
}

std::vector<const ImageCodec*> HeadlessImageCodecs() { return PosixImageCodecs(); }

bool HeadlessFileExists(const std::string& path) { return PosixFileExists(path); }

bool HeadlessDirectoryExists(const std::string& path) { return PosixDirectoryExists(path); }

HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  return PosixWriteFileAtomic(path, bytes, "Headless");
}

std::optional<std::vector<uint8_t>> HeadlessReadFile(const std::string& path, size_t maxBytes) {
  return PosixReadSmallFile(path, maxBytes);
}

HostResult HeadlessMakeDirectories(const std::string& path) { return PosixMakeDirectories(path, "Headless"); }

void HeadlessPrefault(void* memory, size_t bytes) { PrefaultForWriting(memory, bytes); }

}  // namespace rc
