#include "platform/codecs/png_codec.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <new>

#include "gfx/blend.h"
#include "gfx/image_format.h"
#include "gfx/image_limits.h"

namespace rc {

namespace {

// zlib level 3 with the Sub filter: most of the size of the default
// settings for screen pictures at a fraction of the time.
constexpr int kCompressionLevel = 3;

void Premultiply(Canvas& c) {
  Pixel* p = c.Data();
  for (size_t i = 0, n = static_cast<size_t>(c.Width()) * c.Height(); i < n; ++i) {
    const uint32_t a = AlphaOf(p[i]);
    if (a == 255) continue;
    p[i] = MakePixel(a, Div255(RedOf(p[i]) * a), Div255(GreenOf(p[i]) * a), Div255(BlueOf(p[i]) * a));
  }
}

bool DecodeChecked(std::span<const uint8_t> bytes, png_image& image, Canvas& out) {
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return false;
  image.format = PNG_FORMAT_BGRA;
  if (!ImageSizeAllowed(image.width, image.height) ||
      !out.Create(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height))) {
    png_image_free(&image);
    return false;
  }
  // Canvas pixels are blue, green, red, alpha in memory: the BGRA layout.
  return png_image_finish_read(&image, nullptr, out.Data(), 0, nullptr) != 0;
}

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
  bool grown = true;
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) png_error(png, "out of memory");
}

void NoFlush(png_structp) {}

void NoWarning(png_structp, png_const_charp) {}

// Like libpng's own handler, without the line on stderr.
[[noreturn]] void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Every libpng error lands on the setjmp here; nothing with a destructor
// lives in this frame.
bool WriteRows(png_structp png, png_infop info, const Canvas& picture) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(picture.Width()), static_cast<png_uint_32>(picture.Height()), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, kCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_write_info(png, info);
  // Canvas rows go in as they are: blue, green, red and an alpha byte that
  // is dropped, which keeps the output opaque.
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  for (int32_t y = 0; y < picture.Height(); ++y) {
    png_write_row(png, reinterpret_cast<png_const_bytep>(picture.Row(y)));
  }
  png_write_end(png, nullptr);
  return true;
}

bool EncodeInto(const Canvas& picture, std::vector<uint8_t>& out) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, NoWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  if (info != nullptr) {
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    ok = WriteRows(png, info, picture);
  }
  png_destroy_write_struct(&png, &info);
  return ok;
}

}  // namespace

const EncoderInfo& PngCodec::Info() const {
  static const EncoderInfo info{"{5C2E7A10-9B3D-4E61-A7F2-0D4B8C1E6A04}",
                                std::string(kImageFormatPng),
                                "regioncap PNG codec (libpng)",
                                "",
                                "PNG",
                                "*.PNG",
                                "image/png"};
  return info;
}

bool PngCodec::Recognises(std::span<const uint8_t> bytes) const {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

bool PngCodec::Decode(std::span<const uint8_t> bytes, Canvas& out) const {
  out.Release();
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  bool ok = false;
  try {
    ok = DecodeChecked(bytes, image, out);
  } catch (const std::bad_alloc&) {
    png_image_free(&image);
  }
  if (ok) Premultiply(out);
  if (!ok) out.Release();
  return ok;
}

std::vector<uint8_t> PngCodec::Encode(const Canvas& picture) const {
  std::vector<uint8_t> out;
  if (picture.Empty() || !EncodeInto(picture, out)) return {};
  return out;
}

}  // namespace rc
