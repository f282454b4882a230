// Draws the overlay's own arrow cursor and writes it as a Windows cursor file:
// a 32 x 32 classic arrow, rainbow-filled, outlined in white, hot spot at the
// tip (the top-left pixel), one 256-colour image with its AND mask.
//
//   make_cursor <output.cur> [--preview]
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <vector>

namespace {

constexpr int kSide = 32;

struct Vertex {
  double x, y;
};

// The arrow in pixel units. The tip sits half a pixel above the top edge so
// that the diagonal passes between pixel centres: row y then holds y + 1
// pixels, and the tip pixel (0, 0) belongs to the arrow.
const std::vector<Vertex> kArrow = {
    {0.0, -0.5}, {0.0, 22.0}, {5.6, 17.6}, {9.7, 27.3}, {13.4, 26.0}, {9.3, 17.0}, {17.5, 17.0},
};

bool Inside(double px, double py) {
  bool in = false;
  for (size_t i = 0, j = kArrow.size() - 1; i < kArrow.size(); j = i++) {
    const Vertex& a = kArrow[i];
    const Vertex& b = kArrow[j];
    if ((a.y > py) != (b.y > py) && px < (b.x - a.x) * (py - a.y) / (b.y - a.y) + a.x) in = !in;
  }
  return in;
}

using Mask = std::vector<std::vector<bool>>;

Mask ShapeMask() {
  Mask m(kSide, std::vector<bool>(kSide));
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) m[y][x] = Inside(x + 0.5, y + 0.5);
  return m;
}

bool At(const Mask& m, int x, int y) { return x >= 0 && y >= 0 && x < kSide && y < kSide && m[y][x]; }

// A shape pixel is outline when a side neighbour lies outside, which keeps
// the outline one pixel thick along the diagonals.
bool IsOutline(const Mask& m, int x, int y) {
  return !At(m, x - 1, y) || !At(m, x + 1, y) || !At(m, x, y - 1) || !At(m, x, y + 1);
}

// Hue runs red to violet along the arrow's length, at full saturation.
uint32_t Rainbow(int x, int y) {
  const double t = std::min(1.0, (y + 0.35 * x) / 30.0);
  const double h = t * 300.0 / 60.0;
  const double f = h - std::floor(h);
  const int sector = static_cast<int>(h) % 6;
  const int up = static_cast<int>(std::lround(255 * f));
  const int down = 255 - up;
  const int rgb[6][3] = {{255, up, 0}, {down, 255, 0}, {0, 255, up}, {0, down, 255}, {up, 0, 255}, {255, 0, down}};
  return static_cast<uint32_t>(rgb[sector][0] << 16 | rgb[sector][1] << 8 | rgb[sector][2]);
}

struct Picture {
  std::vector<uint32_t> rgb = std::vector<uint32_t>(kSide * kSide, 0);
  std::vector<bool> opaque = std::vector<bool>(kSide * kSide, false);
};

Picture Draw() {
  const Mask shape = ShapeMask();
  Picture p;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) {
      if (!shape[y][x]) continue;
      p.opaque[y * kSide + x] = true;
      p.rgb[y * kSide + x] = IsOutline(shape, x, y) ? 0xFFFFFF : Rainbow(x, y);
    }
  return p;
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Palette index 0 is black, the colour under transparent pixels.
std::map<uint32_t, uint8_t> BuildPalette(const Picture& p) {
  std::map<uint32_t, uint8_t> index{{0, 0}};
  for (uint32_t c : p.rgb)
    if (!index.count(c)) index.emplace(c, 0);
  uint8_t next = 0;
  for (auto& [colour, i] : index) i = next++;
  return index;
}

void PutHeaders(std::vector<uint8_t>& out) {
  const uint32_t imageBytes = 40 + 256 * 4 + kSide * kSide + kSide * 4;
  Put16(out, 0), Put16(out, 2), Put16(out, 1);                // reserved, cursor, one image
  out.insert(out.end(), {kSide, kSide, 0, 0});                // 256 colours are written as 0
  Put16(out, 0), Put16(out, 0);                               // hot spot at the tip
  Put32(out, imageBytes), Put32(out, 6 + 16);
  Put32(out, 40), Put32(out, kSide), Put32(out, kSide * 2);  // XOR and AND stacked
  Put16(out, 1), Put16(out, 8), Put32(out, 0);
  Put32(out, kSide * kSide + kSide * 4), Put32(out, 0), Put32(out, 0);
  Put32(out, 256), Put32(out, 0);
}

std::vector<uint8_t> Encode(const Picture& p) {
  const std::map<uint32_t, uint8_t> palette = BuildPalette(p);
  std::vector<uint32_t> entries(256, 0);
  for (const auto& [colour, i] : palette) entries[i] = colour;
  std::vector<uint8_t> out;
  PutHeaders(out);
  for (uint32_t c : entries) Put32(out, c);  // BGR0 in file order
  for (int y = kSide - 1; y >= 0; --y)
    for (int x = 0; x < kSide; ++x) out.push_back(palette.at(p.rgb[y * kSide + x]));
  for (int y = kSide - 1; y >= 0; --y)
    for (int byte = 0; byte < kSide / 8; ++byte) {
      uint8_t bits = 0;
      for (int b = 0; b < 8; ++b)
        if (!p.opaque[y * kSide + byte * 8 + b]) bits |= 0x80 >> b;
      out.push_back(bits);
    }
  return out;
}

void Preview(const Picture& p) {
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x)
      std::putchar(!p.opaque[y * kSide + x] ? '.' : p.rgb[y * kSide + x] == 0xFFFFFF ? 'o' : '#');
    std::putchar('\n');
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make_cursor <output.cur> [--preview]\n");
    return 2;
  }
  const Picture picture = Draw();
  if (BuildPalette(picture).size() > 256) {
    std::fprintf(stderr, "make_cursor: more than 256 colours\n");
    return 1;
  }
  if (argc > 2 && std::strcmp(argv[2], "--preview") == 0) Preview(picture);
  const std::vector<uint8_t> bytes = Encode(picture);
  std::ofstream file(argv[1], std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file.flush()) {
    std::fprintf(stderr, "make_cursor: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
