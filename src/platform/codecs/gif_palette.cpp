#include "platform/codecs/gif_palette.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace rc {

namespace {

constexpr size_t kMaxColours = 256;
constexpr int kBinBits = 5;
constexpr size_t kBinCount = size_t{1} << (3 * kBinBits);

uint32_t Rgb(Pixel p) { return p & 0x00FFFFFFu; }

size_t PixelCount(const Canvas& c) { return static_cast<size_t>(c.Width()) * c.Height(); }

// The exact palette, built in first-seen order; false as soon as a 257th
// colour turns up.
bool ExactPalette(const Canvas& picture, IndexedPicture& out) {
  std::unordered_map<uint32_t, uint8_t> seen;
  const Pixel* p = picture.Data();
  const size_t count = PixelCount(picture);
  out.indices.resize(count);
  uint32_t lastRgb = ~0u;
  uint8_t lastIndex = 0;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t rgb = Rgb(p[i]);
    if (rgb != lastRgb) {
      auto [it, added] = seen.try_emplace(rgb, static_cast<uint8_t>(seen.size()));
      if (added && seen.size() > kMaxColours) return false;
      if (added) out.palette.push_back(0xFF000000u | rgb);
      lastRgb = rgb;
      lastIndex = it->second;
    }
    out.indices[i] = lastIndex;
  }
  return true;
}

// Colours counted in bins of 5 bits a channel, with the channel sums so a
// box's colour is the true mean of the pixels in it.
struct Histogram {
  std::vector<uint32_t> count = std::vector<uint32_t>(kBinCount);
  std::vector<std::array<uint64_t, 3>> sum = std::vector<std::array<uint64_t, 3>>(kBinCount);
};

size_t BinOf(uint32_t rgb) {
  constexpr int drop = 8 - kBinBits;
  const size_t r = (rgb >> (16 + drop)) & 31;
  const size_t g = (rgb >> (8 + drop)) & 31;
  const size_t b = (rgb >> drop) & 31;
  return (r << (2 * kBinBits)) | (g << kBinBits) | b;
}

int BinChannel(size_t bin, int channel) {
  return static_cast<int>((bin >> ((2 - channel) * kBinBits)) & 31);
}

void Count(const Canvas& picture, Histogram& h) {
  const Pixel* p = picture.Data();
  for (size_t i = 0, n = PixelCount(picture); i < n; ++i) {
    const size_t bin = BinOf(p[i]);
    ++h.count[bin];
    h.sum[bin][0] += RedOf(p[i]);
    h.sum[bin][1] += GreenOf(p[i]);
    h.sum[bin][2] += BlueOf(p[i]);
  }
}

// A run of bins[begin, end) with its pixel count and widest channel.
struct ColourBox {
  size_t begin = 0;
  size_t end = 0;
  uint64_t pixels = 0;
  int longest = 0;  // channel 0 red, 1 green, 2 blue
  int range = 0;
};

ColourBox MakeBox(const std::vector<size_t>& bins, size_t begin, size_t end, const Histogram& h) {
  ColourBox box{begin, end};
  std::array<int, 3> lo{31, 31, 31};
  std::array<int, 3> hi{0, 0, 0};
  for (size_t i = begin; i < end; ++i) {
    box.pixels += h.count[bins[i]];
    for (int c = 0; c < 3; ++c) {
      lo[c] = std::min(lo[c], BinChannel(bins[i], c));
      hi[c] = std::max(hi[c], BinChannel(bins[i], c));
    }
  }
  for (int c = 0; c < 3; ++c) {
    if (hi[c] - lo[c] > box.range) box = {begin, end, box.pixels, c, hi[c] - lo[c]};
  }
  return box;
}

// The box most worth splitting: many pixels over a wide range of colour.
ColourBox* PickBox(std::vector<ColourBox>& boxes) {
  ColourBox* best = nullptr;
  uint64_t bestScore = 0;
  for (ColourBox& box : boxes) {
    const uint64_t score = box.pixels * static_cast<uint64_t>(box.range);
    if (box.end - box.begin > 1 && score > bestScore) {
      best = &box;
      bestScore = score;
    }
  }
  return best;
}

// Splits at the pixel median along the box's widest channel.
void SplitBox(std::vector<ColourBox>& boxes, ColourBox* box, std::vector<size_t>& bins, const Histogram& h) {
  const ColourBox whole = *box;
  auto first = bins.begin() + static_cast<std::ptrdiff_t>(whole.begin);
  auto last = bins.begin() + static_cast<std::ptrdiff_t>(whole.end);
  std::sort(first, last, [&](size_t a, size_t b) {
    return BinChannel(a, whole.longest) < BinChannel(b, whole.longest);
  });
  size_t cut = whole.begin;
  uint64_t below = 0;
  while (cut < whole.end - 1 && below + h.count[bins[cut]] <= whole.pixels / 2) below += h.count[bins[cut++]];
  if (cut == whole.begin) ++cut;
  *box = MakeBox(bins, whole.begin, cut, h);
  boxes.push_back(MakeBox(bins, cut, whole.end, h));
}

Pixel MeanColour(const ColourBox& box, const std::vector<size_t>& bins, const Histogram& h) {
  std::array<uint64_t, 3> total{};
  for (size_t i = box.begin; i < box.end; ++i) {
    for (int c = 0; c < 3; ++c) total[c] += h.sum[bins[i]][c];
  }
  const uint64_t n = std::max<uint64_t>(box.pixels, 1);
  return MakePixel(255, static_cast<uint32_t>((total[0] + n / 2) / n),
                   static_cast<uint32_t>((total[1] + n / 2) / n), static_cast<uint32_t>((total[2] + n / 2) / n));
}

std::vector<Pixel> MedianCut(const Histogram& h) {
  std::vector<size_t> bins;
  for (size_t bin = 0; bin < kBinCount; ++bin) {
    if (h.count[bin] != 0) bins.push_back(bin);
  }
  std::vector<ColourBox> boxes{MakeBox(bins, 0, bins.size(), h)};
  while (boxes.size() < kMaxColours) {
    ColourBox* box = PickBox(boxes);
    if (box == nullptr) break;
    SplitBox(boxes, box, bins, h);
  }
  std::vector<Pixel> palette;
  for (const ColourBox& box : boxes) palette.push_back(MeanColour(box, bins, h));
  return palette;
}

uint32_t Distance(Pixel a, Pixel b) {
  const int dr = RedOf(a) - RedOf(b);
  const int dg = GreenOf(a) - GreenOf(b);
  const int db = BlueOf(a) - BlueOf(b);
  return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

uint8_t Nearest(Pixel colour, const std::vector<Pixel>& palette) {
  size_t best = 0;
  for (size_t i = 1; i < palette.size(); ++i) {
    if (Distance(colour, palette[i]) < Distance(colour, palette[best])) best = i;
  }
  return static_cast<uint8_t>(best);
}

// Every pixel takes the palette colour nearest to the mean of its bin.
void MapPixels(const Canvas& picture, const Histogram& h, IndexedPicture& out) {
  std::vector<uint8_t> binIndex(kBinCount);
  for (size_t bin = 0; bin < kBinCount; ++bin) {
    const uint64_t n = h.count[bin];
    if (n == 0) continue;
    const Pixel mean = MakePixel(255, static_cast<uint32_t>(h.sum[bin][0] / n),
                                 static_cast<uint32_t>(h.sum[bin][1] / n), static_cast<uint32_t>(h.sum[bin][2] / n));
    binIndex[bin] = Nearest(mean, out.palette);
  }
  const Pixel* p = picture.Data();
  out.indices.resize(PixelCount(picture));
  for (size_t i = 0; i < out.indices.size(); ++i) out.indices[i] = binIndex[BinOf(p[i])];
}

}  // namespace

IndexedPicture ReducePalette(const Canvas& picture) {
  IndexedPicture out;
  if (picture.Empty() || ExactPalette(picture, out)) return out;
  Histogram h;
  Count(picture, h);
  out.palette = MedianCut(h);
  MapPixels(picture, h, out);
  return out;
}

}  // namespace rc
