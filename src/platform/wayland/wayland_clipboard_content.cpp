#include "platform/wayland/wayland_clipboard_content.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "gfx/bmp_codec.h"
#include "platform/codecs/png_codec.h"
#include "platform/linux/clipboard_text.h"

namespace rc {

namespace {

constexpr int kStallTimeoutMs = 5000;
constexpr const char* kPng = "image/png";
constexpr const char* kBmp = "image/bmp";
constexpr const char* kString = "STRING";

}  // namespace

WaylandClipboardContent WaylandClipboardContent::Picture(Canvas picture) {
  WaylandClipboardContent content;
  content.picture_ = std::move(picture);
  content.mimeTypes_ = {kPng, kBmp};
  return content;
}

// TEXT leaves the encoding to the owner, and UTF-8 is Wayland's; STRING is
// X11's Latin-1.
WaylandClipboardContent WaylandClipboardContent::Text(std::string utf8) {
  WaylandClipboardContent content;
  content.mimeTypes_ = {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT", kString};
  content.text_ = std::move(utf8);
  return content;
}

const std::vector<uint8_t>* WaylandClipboardContent::Bytes(const std::string& mime) {
  if (text_) {
    if (mime == kString) {
      if (!latin1_) latin1_ = Latin1FromUtf8(*text_);
      return &*latin1_;
    }
    bool offered = false;
    for (const std::string& m : mimeTypes_) offered = offered || m == mime;
    if (!offered) return nullptr;
    if (!utf8_) utf8_.emplace(text_->begin(), text_->end());
    return &*utf8_;
  }
  if (mime == kPng) {
    if (!png_) png_ = PngCodec().Encode(picture_);
    return &*png_;
  }
  if (mime != kBmp) return nullptr;
  if (!bmp_) bmp_ = BmpImageCodec().Encode(picture_);
  return &*bmp_;
}

void WaylandClipboardContent::Send(const char* mime, int fd) {
  const std::vector<uint8_t>* bytes = Bytes(mime);
  if (bytes != nullptr) {
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
    size_t sent = 0;
    while (sent < bytes->size()) {
      pollfd p{fd, POLLOUT, 0};
      if (poll(&p, 1, kStallTimeoutMs) <= 0) break;
      const ssize_t n = write(fd, bytes->data() + sent, bytes->size() - sent);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n <= 0) break;
      sent += static_cast<size_t>(n);
    }
  }
  close(fd);
}

}  // namespace rc
