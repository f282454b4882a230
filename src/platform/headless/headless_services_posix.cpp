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

HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  return PosixWriteFileAtomic(path, bytes, "Headless");
}

void HeadlessPrefault(void* memory, size_t bytes) { PrefaultForWriting(memory, bytes); }

}  // namespace rc
