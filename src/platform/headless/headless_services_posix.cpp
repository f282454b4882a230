#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#include "platform/codecs/posix_codecs.h"
#include "platform/freetype/text_freetype.h"
#include "platform/headless/headless_services.h"
#include "platform/posix/posix_files.h"

namespace rc {

TextMask HeadlessRenderText(const std::string& utf8, const FontRequest& font) {
  return RenderTextFreeType(utf8, font);
}

std::vector<const ImageCodec*> HeadlessImageCodecs() { return PosixImageCodecs(); }

bool HeadlessFileExists(const std::string& path) { return PosixFileExists(path); }

HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes) {
  return PosixWriteFileAtomic(path, bytes, "Headless");
}

void HeadlessPrefault(void* memory, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = (reinterpret_cast<uintptr_t>(memory) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(page - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)bytes;
#endif
}

}  // namespace rc
