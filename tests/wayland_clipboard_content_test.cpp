// What the Wayland clipboard owners serve, for each type they offer, and
// how the bytes reach a reader's pipe.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "gfx/bmp_codec.h"
#include "platform/codecs/png_codec.h"
#include "platform/wayland/wayland_clipboard_content.h"

namespace rc {
namespace {

std::string AsText(const std::vector<uint8_t>* bytes) {
  return bytes == nullptr ? "<none>" : std::string(bytes->begin(), bytes->end());
}

TEST(WaylandClipboardContentTest, TextServesUtf8UnderEveryNameAndLatin1AsString) {
  WaylandClipboardContent text = WaylandClipboardContent::Text("caf\xC3\xA9 #8F7F86");
  EXPECT_EQ(text.MimeTypes(),
            (std::vector<std::string>{"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT", "STRING"}));
  for (const char* mime : {"text/plain;charset=utf-8", "text/plain", "UTF8_STRING", "TEXT"})
    EXPECT_EQ(AsText(text.Bytes(mime)), "caf\xC3\xA9 #8F7F86") << mime;
  EXPECT_EQ(AsText(text.Bytes("STRING")), "caf\xE9 #8F7F86");
  EXPECT_EQ(text.Bytes("image/png"), nullptr);
}

TEST(WaylandClipboardContentTest, PictureDecodesBackToItsPixelsAndReachesTheReaderWhole) {
  Canvas picture(301, 7);
  for (int32_t y = 0; y < 7; ++y)
    for (int32_t x = 0; x < 301; ++x) picture.Set(x, y, 0xFF000000u | static_cast<uint32_t>(x * 7919 + y * 104729));
  const Canvas expected = picture.Clone();
  WaylandClipboardContent content = WaylandClipboardContent::Picture(std::move(picture));
  EXPECT_EQ(content.MimeTypes(), (std::vector<std::string>{"image/png", "image/bmp"}));
  EXPECT_EQ(content.Bytes("text/plain"), nullptr);

  int pipeFds[2];
  ASSERT_EQ(pipe(pipeFds), 0);
  content.Send("image/bmp", pipeFds[1]);  // fits the pipe, and closes its end
  std::vector<uint8_t> received(1 << 16);
  size_t got = 0;
  for (ssize_t n; (n = read(pipeFds[0], received.data() + got, received.size() - got)) > 0;) got += static_cast<size_t>(n);
  close(pipeFds[0]);
  received.resize(got);
  EXPECT_EQ(received, *content.Bytes("image/bmp"));

  for (const char* mime : {"image/png", "image/bmp"}) {
    Canvas decoded;
    const std::vector<uint8_t>& bytes = *content.Bytes(mime);
    ASSERT_TRUE(std::string(mime) == "image/png" ? PngCodec().Decode(bytes, decoded) : BmpImageCodec().Decode(bytes, decoded));
    ASSERT_EQ(decoded.Width(), 301);
    ASSERT_EQ(decoded.Height(), 7);
    for (int32_t y = 0; y < 7; ++y)
      for (int32_t x = 0; x < 301; ++x) ASSERT_EQ(decoded.At(x, y), expected.At(x, y)) << mime << " " << x << "," << y;
  }
}

}  // namespace
}  // namespace rc
