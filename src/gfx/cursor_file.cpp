#include "gfx/cursor_file.h"

#include <algorithm>

#include "gfx/blend.h"

namespace rc {

namespace {

constexpr int32_t kMaxSide = 256;
constexpr size_t kDirHeaderSize = 6;
constexpr size_t kDirEntrySize = 16;
constexpr size_t kInfoHeaderSize = 40;

// Little-endian reads that refuse to step outside a window of the file.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool Has(uint64_t offset, uint64_t length) const {
    return offset <= bytes_.size() && length <= bytes_.size() - offset;
  }
  uint8_t U8(size_t at) const { return bytes_[at]; }
  uint16_t U16(size_t at) const { return static_cast<uint16_t>(bytes_[at] | bytes_[at + 1] << 8); }
  uint32_t U32(size_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  Reader Sub(size_t offset, size_t length) const { return Reader(bytes_.subspan(offset, length)); }
  const uint8_t* Data(size_t at) const { return bytes_.data() + at; }

 private:
  std::span<const uint8_t> bytes_;
};

struct DirEntry {
  int32_t area = 0;
  Point hotSpot;
  uint32_t size = 0;
  uint32_t offset = 0;
};

// The bitmap's layout inside its directory entry.
struct BitmapLayout {
  int32_t width = 0;
  int32_t height = 0;  // of the picture, half the header's XOR + AND height
  uint16_t bpp = 0;
  uint32_t paletteAt = 0;
  uint32_t paletteCount = 0;
  uint32_t xorAt = 0;
  uint32_t xorStride = 0;
  uint32_t andAt = 0;
  uint32_t andStride = 0;
  bool hasMask = false;
};

bool Fail(std::string* why, const char* reason) {
  if (why != nullptr) *why = reason;
  return false;
}

int32_t Side(uint8_t stored) { return stored == 0 ? 256 : stored; }

DirEntry ReadEntry(const Reader& file, size_t at, bool isCursor) {
  DirEntry e;
  e.area = Side(file.U8(at)) * Side(file.U8(at + 1));
  // Cursors keep the hot spot where icons keep planes and bit count.
  if (isCursor) e.hotSpot = {file.U16(at + 4), file.U16(at + 6)};
  e.size = file.U32(at + 8);
  e.offset = file.U32(at + 12);
  return e;
}

// The largest picture wins; on a tie the first listed.
bool PickEntry(const Reader& file, DirEntry& out, std::string* why) {
  if (!file.Has(0, kDirHeaderSize)) return Fail(why, "shorter than a cursor file header");
  const uint16_t type = file.U16(2);
  const uint16_t count = file.U16(4);
  if (file.U16(0) != 0 || (type != 1 && type != 2)) return Fail(why, "not a cursor or icon file");
  if (count == 0) return Fail(why, "the file holds no image");
  if (!file.Has(kDirHeaderSize, kDirEntrySize * count)) return Fail(why, "the directory is truncated");
  for (uint16_t i = 0; i < count; ++i) {
    const DirEntry e = ReadEntry(file, kDirHeaderSize + kDirEntrySize * i, type == 2);
    if (i == 0 || e.area > out.area) out = e;
  }
  if (!file.Has(out.offset, out.size)) return Fail(why, "the image lies outside the file");
  return true;
}

bool ReadHeader(const Reader& image, uint32_t size, BitmapLayout& b, std::string* why) {
  if (size >= 4 && image.U32(0) == 0x474E5089u) return Fail(why, "PNG-compressed images are not supported");
  if (size < kInfoHeaderSize) return Fail(why, "the bitmap header is truncated");
  const uint32_t headerSize = image.U32(0);
  const int32_t stackedHeight = image.I32(8);
  b.width = image.I32(4);
  b.height = stackedHeight / 2;
  b.bpp = image.U16(14);
  if (headerSize < kInfoHeaderSize || headerSize > size) return Fail(why, "bad bitmap header size");
  if (b.width < 1 || b.width > kMaxSide || b.height < 1 || b.height > kMaxSide || stackedHeight % 2 != 0)
    return Fail(why, "bad image size");
  if (b.bpp != 1 && b.bpp != 4 && b.bpp != 8 && b.bpp != 24 && b.bpp != 32)
    return Fail(why, "unsupported bit depth");
  if (image.U32(16) != 0) return Fail(why, "compressed bitmaps are not supported");
  b.paletteAt = headerSize;
  return true;
}

bool PlanLayout(const Reader& image, BitmapLayout& b, std::string* why) {
  if (b.bpp <= 8) {
    const uint32_t used = image.U32(32);
    const uint32_t full = 1u << b.bpp;
    if (used > full) return Fail(why, "the palette is larger than the bit depth allows");
    b.paletteCount = used == 0 ? full : used;
  }
  b.xorStride = (static_cast<uint32_t>(b.width) * b.bpp + 31) / 32 * 4;
  b.andStride = (static_cast<uint32_t>(b.width) + 31) / 32 * 4;
  b.xorAt = b.paletteAt + b.paletteCount * 4;
  b.andAt = b.xorAt + b.xorStride * b.height;
  b.hasMask = image.Has(b.andAt, static_cast<uint64_t>(b.andStride) * b.height);
  if (!image.Has(b.xorAt, static_cast<uint64_t>(b.xorStride) * b.height))
    return Fail(why, "the pixel data is truncated");
  // Only 32-bit pictures carry their own transparency; the rest need the mask.
  if (!b.hasMask && b.bpp != 32) return Fail(why, "the AND mask is truncated");
  return true;
}

// Straight colour with alpha, as the file stores it (palette entries are BGRx).
uint32_t StraightAt(const Reader& image, const BitmapLayout& b, const uint8_t* row, int32_t x) {
  if (b.bpp == 32) return static_cast<uint32_t>(row[x * 4 + 3]) << 24 | row[x * 4 + 2] << 16 | row[x * 4 + 1] << 8 | row[x * 4];
  if (b.bpp == 24) return 0xFF000000u | row[x * 3 + 2] << 16 | row[x * 3 + 1] << 8 | row[x * 3];
  const uint32_t bit = static_cast<uint32_t>(x) * b.bpp;
  const uint32_t index = (row[bit / 8] >> (8 - b.bpp - bit % 8)) & ((1u << b.bpp) - 1);
  // An index past a short palette reads as black rather than past the data.
  if (index >= b.paletteCount) return 0xFF000000u;
  return 0xFF000000u | (image.U32(b.paletteAt + index * 4) & 0xFFFFFFu);
}

bool MaskBit(const Reader& image, const BitmapLayout& b, int32_t fileRow, int32_t x) {
  const uint8_t byte = image.U8(b.andAt + b.andStride * fileRow + x / 8);
  return (byte >> (7 - x % 8)) & 1;
}

Pixel Premultiply(uint32_t argb) {
  const uint32_t a = argb >> 24;
  return MakePixel(a, Div255(((argb >> 16) & 0xFF) * a), Div255(((argb >> 8) & 0xFF) * a),
                   Div255((argb & 0xFF) * a));
}

// 32-bit pictures with an all-zero alpha channel predate alpha cursors and
// mean their AND mask.
bool UsesAlphaChannel(const Reader& image, const BitmapLayout& b) {
  if (b.bpp != 32) return false;
  for (int32_t y = 0; y < b.height; ++y)
    for (int32_t x = 0; x < b.width; ++x)
      if (image.U8(b.xorAt + b.xorStride * y + x * 4 + 3) != 0) return true;
  return false;
}

void Decode(const Reader& image, const BitmapLayout& b, CursorImage& out) {
  const bool alpha = UsesAlphaChannel(image, b);
  out.width = b.width;
  out.height = b.height;
  out.pixels.assign(static_cast<size_t>(b.width) * b.height, 0);
  for (int32_t y = 0; y < b.height; ++y) {
    const int32_t fileRow = b.height - 1 - y;  // rows are stored bottom-up
    const uint8_t* row = image.Data(b.xorAt + b.xorStride * fileRow);
    for (int32_t x = 0; x < b.width; ++x) {
      uint32_t argb = StraightAt(image, b, row, x);
      // A set mask bit is transparent; screen inversion has no full-colour equivalent.
      if (!alpha) argb = (b.hasMask && MaskBit(image, b, fileRow, x)) ? 0 : (argb | 0xFF000000u);
      out.pixels[static_cast<size_t>(y) * b.width + x] = Premultiply(argb);
    }
  }
}

}  // namespace

std::optional<CursorImage> ParseCursorFile(std::span<const uint8_t> bytes, std::string* why) {
  const Reader file(bytes);
  DirEntry entry;
  if (!PickEntry(file, entry, why)) return std::nullopt;
  const Reader image = file.Sub(entry.offset, entry.size);
  BitmapLayout layout;
  if (!ReadHeader(image, entry.size, layout, why) || !PlanLayout(image, layout, why))
    return std::nullopt;
  CursorImage out;
  Decode(image, layout, out);
  out.hotSpot = {std::min(entry.hotSpot.x, layout.width - 1), std::min(entry.hotSpot.y, layout.height - 1)};
  return out;
}

}  // namespace rc
