#include "gfx/bmp_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <new>

#include "gfx/blend.h"
#include "gfx/image_format.h"
#include "gfx/image_limits.h"

namespace rc {

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr uint32_t kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;
constexpr size_t kInfoHeaderSize = 40;

uint16_t U16(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
         (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

void PutU16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutU32(uint8_t* p, uint32_t v) {
  PutU16(p, v);
  PutU16(p + 2, v >> 16);
}

// One colour channel described by a bit mask, widened to 8 bits on read.
struct MaskChannel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  uint32_t Read(uint32_t raw) const {
    if (max == 0) return 0;
    const uint64_t v = (raw & mask) >> shift;
    return static_cast<uint32_t>((v * 255 + max / 2) / max);
  }
};

// False for a mask whose bits are not one contiguous run.
bool MakeChannel(uint32_t mask, MaskChannel& out) {
  out = {};
  if (mask == 0) return true;
  out.mask = mask;
  out.shift = std::countr_zero(mask);
  out.max = mask >> out.shift;
  return (out.max & (out.max + 1)) == 0;
}

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;
  bool topDown = false;
  uint32_t bits = 0;
  uint32_t compression = kBiRgb;
  uint32_t colourCount = 0;
  size_t headerSize = 0;
  size_t pixelOffset = 0;
  size_t paletteOffset = 0;
  size_t paletteEntrySize = 4;
  std::array<MaskChannel, 4> channels;  // red, green, blue, alpha
};

bool ReadCoreHeader(std::span<const uint8_t> b, BmpLayout& l) {
  l.width = U16(b, 18);
  l.height = U16(b, 20);
  l.bits = U16(b, 24);
  l.paletteEntrySize = 3;
  return true;
}

bool ReadInfoHeader(std::span<const uint8_t> b, BmpLayout& l) {
  const int32_t width = static_cast<int32_t>(U32(b, 18));
  const int32_t height = static_cast<int32_t>(U32(b, 22));
  if (height == std::numeric_limits<int32_t>::min()) return false;
  l.width = width;
  l.topDown = height < 0;
  l.height = height < 0 ? -height : height;
  l.bits = U16(b, 28);
  l.compression = U32(b, 30);
  l.colourCount = U32(b, 46);
  return true;
}

bool BitsAllowed(const BmpLayout& l) {
  const bool masked = l.compression == kBiBitfields || l.compression == kBiAlphaBitfields;
  if (masked) return l.bits == 16 || l.bits == 32;
  if (l.compression != kBiRgb) return false;
  return l.bits == 1 || l.bits == 4 || l.bits == 8 || l.bits == 16 || l.bits == 24 || l.bits == 32;
}

bool ReadHeaders(std::span<const uint8_t> b, BmpLayout& l) {
  if (b.size() < kFileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M') return false;
  l.pixelOffset = U32(b, 10);
  l.headerSize = U32(b, 14);
  const bool core = l.headerSize == kCoreHeaderSize;
  if (!core && l.headerSize < kInfoHeaderSize) return false;
  if (l.headerSize > b.size() - kFileHeaderSize) return false;
  if (!(core ? ReadCoreHeader(b, l) : ReadInfoHeader(b, l))) return false;
  return ImageSizeAllowed(l.width, l.height) && BitsAllowed(l);
}

bool ReadMasks(std::span<const uint8_t> b, BmpLayout& l) {
  std::array<uint32_t, 4> masks = {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
  if (l.bits == 16) masks = {0x7C00u, 0x03E0u, 0x001Fu, 0};
  size_t after = kFileHeaderSize + l.headerSize;
  if (l.compression != kBiRgb) {
    const size_t count = l.compression == kBiAlphaBitfields || l.headerSize >= 56 ? 4 : 3;
    const size_t at = kFileHeaderSize + kInfoHeaderSize;
    if (at + count * 4 > b.size()) return false;
    for (size_t i = 0; i < count; ++i) masks[i] = U32(b, at + i * 4);
    if (l.headerSize == kInfoHeaderSize) after = at + count * 4;
  }
  l.paletteOffset = after;
  const uint64_t limit = l.bits == 16 ? 0xFFFFu : 0xFFFFFFFFu;
  for (size_t i = 0; i < 4; ++i) {
    if (masks[i] > limit || !MakeChannel(masks[i], l.channels[i])) return false;
  }
  return true;
}

// The palette of an indexed picture; entries the file leaves out read as
// opaque black, so no index can reach past the table.
bool ReadPalette(std::span<const uint8_t> b, const BmpLayout& l, std::vector<Pixel>& palette) {
  const size_t full = size_t{1} << l.bits;
  size_t count = l.colourCount == 0 ? full : std::min<size_t>(l.colourCount, full);
  if (l.pixelOffset > l.paletteOffset) {
    count = std::min(count, (l.pixelOffset - l.paletteOffset) / l.paletteEntrySize);
  }
  if (count == 0 || l.paletteOffset + count * l.paletteEntrySize > b.size()) return false;
  palette.assign(full, MakePixel(255, 0, 0, 0));
  for (size_t i = 0; i < count; ++i) {
    const size_t at = l.paletteOffset + i * l.paletteEntrySize;
    palette[i] = MakePixel(255, b[at + 2], b[at + 1], b[at]);
  }
  return true;
}

uint64_t Stride(const BmpLayout& l) {
  return (static_cast<uint64_t>(l.width) * l.bits + 31) / 32 * 4;
}

// The pixel rows must lie inside the file; only the last row may lack its
// padding, as some writers leave it off.
bool RowsFit(std::span<const uint8_t> b, const BmpLayout& l) {
  if (l.pixelOffset < kFileHeaderSize + l.headerSize) return false;
  const uint64_t lastRow = (static_cast<uint64_t>(l.width) * l.bits + 7) / 8;
  const uint64_t needed = l.pixelOffset + Stride(l) * (l.height - 1) + lastRow;
  return needed <= b.size();
}

void DecodeIndexedRow(const uint8_t* row, const BmpLayout& l, const std::vector<Pixel>& palette,
                      Pixel* out) {
  const uint32_t valueMask = (1u << l.bits) - 1;
  for (int32_t x = 0; x < l.width; ++x) {
    const uint64_t bit = static_cast<uint64_t>(x) * l.bits;
    const uint32_t shift = 8 - l.bits - static_cast<uint32_t>(bit % 8);
    out[x] = palette[(row[bit / 8] >> shift) & valueMask];
  }
}

void DecodeRgbRow(const uint8_t* row, const BmpLayout& l, Pixel* out) {
  for (int32_t x = 0; x < l.width; ++x, row += 3) out[x] = MakePixel(255, row[2], row[1], row[0]);
}

Pixel FromMasks(uint32_t raw, const BmpLayout& l) {
  const auto& c = l.channels;
  const uint32_t a = c[3].mask == 0 ? 255 : c[3].Read(raw);
  return MakePixel(a, c[0].Read(raw), c[1].Read(raw), c[2].Read(raw));
}

// The layout every screen capture uses: blue, green, red and an unused byte.
bool IsPlainXrgb(const BmpLayout& l) {
  const auto& c = l.channels;
  return l.bits == 32 && c[0].mask == 0x00FF0000u && c[1].mask == 0x0000FF00u && c[2].mask == 0x000000FFu &&
         c[3].mask == 0;
}

void DecodeXrgbRow(const uint8_t* row, const BmpLayout& l, Pixel* out) {
  std::memcpy(out, row, static_cast<size_t>(l.width) * 4);
  for (int32_t x = 0; x < l.width; ++x) out[x] |= 0xFF000000u;
}

void DecodeMaskedRow(const uint8_t* row, const BmpLayout& l, Pixel* out) {
  if (IsPlainXrgb(l)) return DecodeXrgbRow(row, l, out);
  for (int32_t x = 0; x < l.width; ++x) {
    uint32_t raw = row[0] | (row[1] << 8);
    if (l.bits == 32) raw |= (static_cast<uint32_t>(row[2]) << 16) | (static_cast<uint32_t>(row[3]) << 24);
    out[x] = FromMasks(raw, l);
    row += l.bits / 8;
  }
}

// An alpha mask over a picture whose alpha is zero everywhere is a writer
// that filled the mask but not the channel: show it opaque, as viewers do.
// Otherwise the channels are premultiplied like every canvas.
void SettleAlpha(Canvas& c) {
  const size_t count = static_cast<size_t>(c.Width()) * c.Height();
  Pixel* p = c.Data();
  const bool allZero = std::all_of(p, p + count, [](Pixel v) { return AlphaOf(v) == 0; });
  for (size_t i = 0; i < count; ++i) {
    const uint32_t a = allZero ? 255 : AlphaOf(p[i]);
    p[i] = MakePixel(a, Div255(RedOf(p[i]) * a), Div255(GreenOf(p[i]) * a), Div255(BlueOf(p[i]) * a));
  }
}

void DecodeRows(std::span<const uint8_t> b, const BmpLayout& l, const std::vector<Pixel>& palette,
                Canvas& out) {
  const uint64_t stride = Stride(l);
  for (int32_t y = 0; y < l.height; ++y) {
    const int32_t fileRow = l.topDown ? y : l.height - 1 - y;
    const uint8_t* row = b.data() + l.pixelOffset + stride * static_cast<uint64_t>(fileRow);
    if (l.bits <= 8) {
      DecodeIndexedRow(row, l, palette, out.Row(y));
    } else if (l.bits == 24) {
      DecodeRgbRow(row, l, out.Row(y));
    } else {
      DecodeMaskedRow(row, l, out.Row(y));
    }
  }
  if (l.bits >= 16 && l.channels[3].mask != 0) SettleAlpha(out);
}

bool DecodeChecked(std::span<const uint8_t> bytes, Canvas& out) {
  BmpLayout layout;
  if (!ReadHeaders(bytes, layout)) return false;
  std::vector<Pixel> palette;
  if (layout.bits <= 8) {
    layout.paletteOffset = kFileHeaderSize + layout.headerSize;
    if (!ReadPalette(bytes, layout, palette)) return false;
  } else if (layout.bits != 24 && !ReadMasks(bytes, layout)) {
    return false;
  }
  if (!RowsFit(bytes, layout) || !out.Create(layout.width, layout.height)) return false;
  DecodeRows(bytes, layout, palette, out);
  return true;
}

void WriteHeaders(uint8_t* p, int32_t width, int32_t height, uint32_t imageSize) {
  p[0] = 'B';
  p[1] = 'M';
  PutU32(p + 2, 54 + imageSize);
  PutU32(p + 10, 54);
  PutU32(p + 14, 40);
  PutU32(p + 18, static_cast<uint32_t>(width));
  PutU32(p + 22, static_cast<uint32_t>(height));
  PutU16(p + 26, 1);
  PutU16(p + 28, 32);
  PutU32(p + 34, imageSize);
}

// Stores one canvas row as the file row: bytes blue, green, red, alpha.
void WriteRow(const Canvas& source, int32_t y, int32_t width, bool opaque, uint8_t* out) {
  const int32_t known = (y < source.Height()) ? std::min(width, source.Width()) : 0;
  if (known > 0) std::memcpy(out, source.Row(y), static_cast<size_t>(known) * 4);
  if (opaque) {
    for (int32_t x = 0; x < width; ++x) out[x * 4 + 3] = 255;
  }
}

}  // namespace

const EncoderInfo& BmpCodec::Info() const {
  static const EncoderInfo info{"{5C2E7A10-9B3D-4E61-A7F2-0D4B8C1E6A01}",
                                std::string(kImageFormatBmp),
                                "regioncap BMP codec",
                                "",
                                "BMP",
                                "*.BMP;*.DIB",
                                "image/bmp"};
  return info;
}

bool BmpCodec::Recognises(std::span<const uint8_t> bytes) const {
  return bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M';
}

bool BmpCodec::Decode(std::span<const uint8_t> bytes, Canvas& out) const {
  out.Release();
  try {
    if (DecodeChecked(bytes, out)) return true;
  } catch (const std::bad_alloc&) {
  }
  out.Release();
  return false;
}

std::vector<uint8_t> BmpCodec::Encode(const Canvas& picture) const {
  return WriteBmp32(picture, picture.Width(), picture.Height(), true);
}

const ImageCodec& BmpImageCodec() {
  static const BmpCodec codec;
  return codec;
}

std::vector<uint8_t> WriteBmp32(const Canvas& source, int32_t width, int32_t height, bool opaque) {
  if (width <= 0 || height <= 0) return {};
  const uint64_t imageSize = static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4;
  if (imageSize + 54 > std::numeric_limits<uint32_t>::max()) return {};
  std::vector<uint8_t> file;
  try {
    file.assign(54 + static_cast<size_t>(imageSize), 0);
  } catch (const std::bad_alloc&) {
    return {};
  }
  WriteHeaders(file.data(), width, height, static_cast<uint32_t>(imageSize));
  const size_t stride = static_cast<size_t>(width) * 4;
  for (int32_t y = 0; y < height; ++y) {
    WriteRow(source, y, width, opaque, file.data() + 54 + stride * static_cast<size_t>(height - 1 - y));
  }
  return file;
}

}  // namespace rc
