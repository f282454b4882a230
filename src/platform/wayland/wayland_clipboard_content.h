// What regioncap offers on the Wayland clipboard, through data-control or
// the data device alike: a picture as image/png and image/bmp, or a text
// under the names Wayland programs and X11 programs (through Xwayland)
// ask for. Each format is made when first asked for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

class WaylandClipboardContent {
 public:
  static WaylandClipboardContent Picture(Canvas picture);
  static WaylandClipboardContent Text(std::string utf8);

  // The MIME types to offer, the preferred first.
  const std::vector<std::string>& MimeTypes() const { return mimeTypes_; }
  // Writes the bytes of `mime` to a reader's pipe and closes it; an
  // unknown type gets nothing. A reader that takes nothing for a few
  // seconds is given up on, so it cannot hold the owner forever.
  void Send(const char* mime, int fd);
  // The bytes served as `mime`; nullptr for a type not offered.
  const std::vector<uint8_t>* Bytes(const std::string& mime);

 private:
  WaylandClipboardContent() = default;

  Canvas picture_;
  std::optional<std::string> text_;
  std::vector<std::string> mimeTypes_;
  std::optional<std::vector<uint8_t>> png_, bmp_, utf8_, latin1_;
};

}  // namespace rc
