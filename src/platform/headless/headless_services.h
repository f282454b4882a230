// What the headless host borrows from a real platform: text, image codecs,
// files, and a way to get memory ready before it is written. The build links
// the Linux set or the Windows set, so the same scripted captures can be
// measured on either.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/host.h"
#include "gfx/image_codec.h"

namespace rc {

TextMask HeadlessRenderText(const std::string& utf8, const FontRequest& font);
std::vector<const ImageCodec*> HeadlessImageCodecs();
bool HeadlessFileExists(const std::string& path);
bool HeadlessDirectoryExists(const std::string& path);
HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes);
std::optional<std::vector<uint8_t>> HeadlessReadFile(const std::string& path, size_t maxBytes);
HostResult HeadlessMakeDirectories(const std::string& path);
// Asks the system to back freshly allocated memory now, in one call, rather
// than a page at a time as it is first written. Only a hint.
void HeadlessPrefault(void* memory, size_t bytes);

}  // namespace rc
