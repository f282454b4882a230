#include "platform/codecs/gif_codec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "gfx/image_format.h"
#include "gfx/image_limits.h"
#include "platform/codecs/gif_palette.h"

namespace rc {

namespace {

constexpr int kMaxGifSide = 0xFFFF;

// ---- Reading --------------------------------------------------------------

struct ByteSource {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int length) {
  auto* source = static_cast<ByteSource*>(gif->UserData);
  const size_t left = source->bytes.size() - source->position;
  const size_t n = std::min(left, static_cast<size_t>(std::max(length, 0)));
  std::memcpy(buffer, source->bytes.data() + source->position, n);
  source->position += n;
  return static_cast<int>(n);
}

// Reads an extension block; notes the transparent index of a graphic
// control block (-1 when none is set).
bool ReadExtension(GifFileType* gif, int& transparent) {
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr && block[0] >= 4) {
    transparent = (block[1] & 1) != 0 ? block[4] : -1;
  }
  while (block != nullptr) {
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

Pixel ColourOf(const ColorMapObject* map, int index, int transparent) {
  if (index == transparent) return 0;
  if (index >= map->ColorCount) return MakePixel(255, 0, 0, 0);
  const GifColorType& c = map->Colors[index];
  return MakePixel(255, c.Red, c.Green, c.Blue);
}

// The order rows arrive in: all rows for a plain frame, four passes for an
// interlaced one.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> order;
  if (!interlaced) {
    for (int y = 0; y < height; ++y) order.push_back(y);
    return order;
  }
  constexpr int start[] = {0, 4, 2, 1};
  constexpr int step[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
  }
  return order;
}

bool ReadFrame(GifFileType* gif, int transparent, Canvas& out) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& d = gif->Image;
  const ColorMapObject* map = d.ColorMap != nullptr ? d.ColorMap : gif->SColorMap;
  if (map == nullptr || d.Width <= 0 || d.Height <= 0) return false;
  const int64_t width = std::max<int64_t>(gif->SWidth, int64_t{d.Left} + d.Width);
  const int64_t height = std::max<int64_t>(gif->SHeight, int64_t{d.Top} + d.Height);
  if (!ImageSizeAllowed(width, height) || !out.Create(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
    return false;
  }
  std::vector<GifByteType> line(static_cast<size_t>(d.Width));
  for (int y : RowOrder(d.Height, d.Interlace)) {
    if (DGifGetLine(gif, line.data(), d.Width) == GIF_ERROR) return false;
    Pixel* row = out.Row(d.Top + y) + d.Left;
    for (int x = 0; x < d.Width; ++x) row[x] = ColourOf(map, line[static_cast<size_t>(x)], transparent);
  }
  return true;
}

bool ReadFirstFrame(GifFileType* gif, Canvas& out) {
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == IMAGE_DESC_RECORD_TYPE) return ReadFrame(gif, transparent, out);
    if (type == TERMINATE_RECORD_TYPE) return false;
    if (type == EXTENSION_RECORD_TYPE && !ReadExtension(gif, transparent)) return false;
  }
}

// ---- Writing --------------------------------------------------------------

int AppendBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  try {
    out->insert(out->end(), data, data + length);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  return length;
}

// GIF colour tables hold a power of two entries, at least two.
int TableBits(size_t colours) {
  int bits = 1;
  while ((size_t{1} << bits) < colours) ++bits;
  return bits;
}

ColorMapObject* MakeColourMap(const std::vector<Pixel>& palette) {
  const int bits = TableBits(palette.size());
  std::vector<GifColorType> colours(size_t{1} << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < palette.size(); ++i) {
    colours[i] = GifColorType{RedOf(palette[i]), GreenOf(palette[i]), BlueOf(palette[i])};
  }
  return GifMakeMapObject(1 << bits, colours.data());
}

bool WriteFrame(GifFileType* gif, const Canvas& picture, const IndexedPicture& indexed, ColorMapObject* map) {
  const int w = picture.Width();
  const int h = picture.Height();
  if (EGifPutScreenDesc(gif, w, h, map->BitsPerPixel, 0, map) == GIF_ERROR) return false;
  if (EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_ERROR) return false;
  for (int y = 0; y < h; ++y) {
    auto* row = const_cast<GifByteType*>(indexed.indices.data() + static_cast<size_t>(y) * w);
    if (EGifPutLine(gif, row, w) == GIF_ERROR) return false;
  }
  return true;
}

bool EncodeInto(const Canvas& picture, std::vector<uint8_t>& out) {
  const IndexedPicture indexed = ReducePalette(picture);
  ColorMapObject* map = MakeColourMap(indexed.palette);
  int error = 0;
  GifFileType* gif = map != nullptr ? EGifOpen(&out, AppendBytes, &error) : nullptr;
  bool ok = gif != nullptr && WriteFrame(gif, picture, indexed, map);
  if (gif != nullptr && EGifCloseFile(gif, &error) == GIF_ERROR) ok = false;
  GifFreeMapObject(map);
  return ok;
}

}  // namespace

const EncoderInfo& GifCodec::Info() const {
  static const EncoderInfo info{"{5C2E7A10-9B3D-4E61-A7F2-0D4B8C1E6A03}",
                                std::string(kImageFormatGif),
                                "regioncap GIF codec (giflib)",
                                "",
                                "GIF",
                                "*.GIF",
                                "image/gif"};
  return info;
}

bool GifCodec::Recognises(std::span<const uint8_t> bytes) const {
  return bytes.size() >= 6 && (std::memcmp(bytes.data(), "GIF87a", 6) == 0 || std::memcmp(bytes.data(), "GIF89a", 6) == 0);
}

bool GifCodec::Decode(std::span<const uint8_t> bytes, Canvas& out) const {
  out.Release();
  ByteSource source{bytes};
  int error = 0;
  GifFileType* gif = DGifOpen(&source, ReadBytes, &error);
  if (gif == nullptr) return false;
  bool ok = false;
  try {
    ok = ReadFirstFrame(gif, out);
  } catch (const std::bad_alloc&) {
  }
  DGifCloseFile(gif, &error);
  if (!ok) out.Release();
  return ok;
}

std::vector<uint8_t> GifCodec::Encode(const Canvas& picture) const {
  std::vector<uint8_t> out;
  if (picture.Empty() || picture.Width() > kMaxGifSide || picture.Height() > kMaxGifSide) return {};
  bool ok = false;
  try {
    ok = EncodeInto(picture, out);
  } catch (const std::bad_alloc&) {
  }
  if (!ok) return {};
  return out;
}

}  // namespace rc
