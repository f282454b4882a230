// The three things the headless host borrows from a real platform: text,
// image codecs and files. The build links the Linux set or the Windows set,
// so the same scripted captures can be measured on either.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/host.h"
#include "gfx/image_codec.h"

namespace rc {

TextMask HeadlessRenderText(const std::string& utf8, const FontRequest& font);
std::vector<const ImageCodec*> HeadlessImageCodecs();
bool HeadlessFileExists(const std::string& path);
HostResult HeadlessWriteFile(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace rc
