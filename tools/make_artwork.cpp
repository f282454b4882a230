// Draws the toolbar strip and the two looks of the context menu with the
// program's own graphics layer and writes them as RGBA PNG files:
//
//   make_artwork <assets directory>
//
// writes toolbar_strip.png (325 x 24, transparent background), menu.png and
// menu_hover.png (151 x 250, opaque), and each again drawn at 1.5x and 2x
// (toolbar_strip_1_5x.png, toolbar_strip_2x.png, ...; sizes rounded to whole
// pixels). Captions come from the host's text rasteriser, so a CJK font must
// be installed.
#include <zlib.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/ui_scale.h"
#include "artwork_icons.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_image.h"
#include "gfx/gp_string_format.h"
#include "platform/headless/headless_host.h"

namespace rc::artwork {

namespace {

constexpr int kStripWidth = 325;
constexpr int kStripHeight = 24;
constexpr int kMenuWidth = 151;
constexpr int kMenuHeight = 250;
constexpr int kMenuRowHeight = 22;
constexpr int kMenuIconColumn = 26;
constexpr char kFontFamily[] = "微软雅黑";

// ---- PNG writing: 8-bit RGBA, straight alpha --------------------------------

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::vector<uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

std::array<uint8_t, 4> Straight(Pixel p) {
  const uint32_t a = AlphaOf(p);
  if (a == 0) return {0, 0, 0, 0};
  auto un = [a](uint32_t c) { return static_cast<uint8_t>(std::min<uint32_t>(255, (c * 255 + a / 2) / a)); };
  return {un(RedOf(p)), un(GreenOf(p)), un(BlueOf(p)), static_cast<uint8_t>(a)};
}

// Every row with the Sub filter, which turns the flat runs of the artwork
// into zeros for the compressor.
std::vector<uint8_t> FilteredRows(const Canvas& c) {
  std::vector<uint8_t> raw;
  for (int32_t y = 0; y < c.Height(); ++y) {
    raw.push_back(1);
    std::array<uint8_t, 4> left{};
    for (int32_t x = 0; x < c.Width(); ++x) {
      const std::array<uint8_t, 4> px = Straight(c.At(x, y));
      for (int i = 0; i < 4; ++i) raw.push_back(static_cast<uint8_t>(px[i] - left[i]));
      left = px;
    }
  }
  return raw;
}

std::vector<uint8_t> EncodeRgbaPng(const Canvas& c) {
  const std::vector<uint8_t> raw = FilteredRows(c);
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9);
  packed.resize(packedSize);
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  Put32(header, static_cast<uint32_t>(c.Width()));
  Put32(header, static_cast<uint32_t>(c.Height()));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no interlace
  PutChunk(out, "IHDR", header);
  PutChunk(out, "IDAT", packed);
  PutChunk(out, "IEND", {});
  return out;
}

// ---- Drawing helpers --------------------------------------------------------

void Fill(GpGraphics& g, uint32_t argb, float x, float y, float w, float h) {
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillRectangle(brush, x, y, w, h);
}

void Caption(GpGraphics& g, const std::string& text, uint32_t argb, const RectF& box) {
  GpFont font;
  font.Create(kFontFamily, 12);
  GpSolidBrush brush;
  brush.Create(argb);
  g.DrawString(text, font, brush, box, GpStringFormat{});
}

// ---- The toolbar strip ------------------------------------------------------

// A vertical line, strongest at row 12 and fading out towards rows 3 and
// 20, with a faint white highlight beside it.
void DrawSeparator(GpGraphics& g, int column) {
  for (int row = 3; row <= 20; ++row) {
    const double strength = 1.0 - std::abs(row - 12) / 10.0;
    const auto alpha = static_cast<uint32_t>(255 * strength + 0.5);
    Fill(g, alpha << 24 | 0x7FB4DD, static_cast<float>(column), static_cast<float>(row), 1, 1);
    Fill(g, (alpha / 3) << 24 | 0xFFFFFF, static_cast<float>(column + 1), static_cast<float>(row), 1, 1);
  }
}

void DrawStrip(GpGraphics& g) {
  constexpr uint32_t kFaintLine = 0x05808080;
  Fill(g, kFaintLine, 0, 0, kStripWidth, 1);
  Fill(g, kFaintLine, 0, kStripHeight - 1, kStripWidth, 1);
  DrawRectangleIcon(g, 8, 4);
  DrawEllipseIcon(g, 34, 4);
  DrawArrowIcon(g, 60, 4);
  DrawBrushIcon(g, 86, 4);
  DrawTextIcon(g, 112, 4);
  DrawSeparator(g, 135);
  DrawUndoIcon(g, 146, 4);
  DrawSaveIcon(g, 172, 4);
  DrawPictureIcon(g, 199, 4);
  DrawDropArrow(g, 218, 10);
  DrawSeparator(g, 232);
  DrawCancelIcon(g, 244, 5);
  DrawFinishIcon(g, 270, 4);
  Caption(g, "完成", 0xFF000000, {292, 4, 24, 18});
}

// ---- The context menu -------------------------------------------------------

struct MenuRow {
  const char* caption;
  void (*icon)(GpGraphics&, float, float);
};

const std::array<MenuRow, 11> kMenuRows = {{
    {"矩形工具", DrawRectangleIcon},
    {"椭圆工具", DrawEllipseIcon},
    {"箭头工具", DrawArrowIcon},
    {"画刷工具", DrawBrushIcon},
    {"文字工具", DrawTextIcon},
    {"撤销编辑", DrawUndoIcon},
    {"重新选择截图区域", nullptr},
    {"完成截图", DrawFinishIcon},
    {"保存", DrawSaveIcon},
    {"隐藏编辑工具栏", nullptr},
    {"退出截图", DrawCancelIcon},
}};

// Rows 1-6, a separator band, rows 7-9, a band, rows 10-11.
int MenuRowTop(int index) {
  if (index <= 6) return kMenuRowHeight * (index - 1);
  if (index <= 9) return 136 + kMenuRowHeight * (index - 7);
  return 206 + kMenuRowHeight * (index - 10);
}

uint32_t Lerp(uint32_t from, uint32_t to, int step, int steps) {
  uint32_t out = 0xFF000000;
  for (int shift = 0; shift < 24; shift += 8) {
    const int a = static_cast<int>((from >> shift) & 0xFF);
    const int b = static_cast<int>((to >> shift) & 0xFF);
    out |= static_cast<uint32_t>(std::lround(a + (b - a) * static_cast<double>(step) / steps)) << shift;
  }
  return out;
}

void DrawMenuRowBackground(GpGraphics& g, int top, bool hover) {
  if (!hover) {
    Fill(g, 0xFFE8EDEE, 0, static_cast<float>(top), kMenuIconColumn, kMenuRowHeight);
    return;
  }
  // Each line's colour runs to the row's bottom and the next line paints
  // over it: at a scale whose lines end mid-pixel no white shows between them.
  for (int line = 0; line < kMenuRowHeight; ++line) {
    const uint32_t colour = Lerp(0xFF3F98D9, 0xFF3086C6, line, kMenuRowHeight - 1);
    Fill(g, colour, 0, static_cast<float>(top + line), kMenuWidth, static_cast<float>(kMenuRowHeight - line));
  }
}

void DrawMenu(GpGraphics& g, bool hover) {
  Fill(g, 0xFFFFFFFF, 0, 0, kMenuWidth, kMenuHeight);
  Fill(g, 0xFFB7C3CC, 26, 134, 99, 1);
  Fill(g, 0xFFB5C2CC, 26, 204, 101, 1);
  const uint32_t captionColour = hover ? 0xFFFFFFFF : 0xFF001423;
  for (int index = 1; index <= 11; ++index) {
    const MenuRow& row = kMenuRows[index - 1];
    const int top = MenuRowTop(index);
    DrawMenuRowBackground(g, top, hover);
    if (row.icon != nullptr) row.icon(g, 4, static_cast<float>(top + 2));
    Caption(g, row.caption, captionColour, {35, static_cast<float>(top + 3), 114, 17});
  }
}

// ---- Output -----------------------------------------------------------------

struct MadeScale {
  float scale;
  const char* suffix;
};

constexpr std::array<MadeScale, 3> kMadeScales = {{{1.0f, ""}, {1.5f, "_1_5x"}, {2.0f, "_2x"}}};

bool WritePicture(const std::string& path, int w, int h, float scale, void (*draw)(GpGraphics&, bool),
                  bool variant) {
  GpBitmap picture;
  picture.Create(ScalePx(w, scale), ScalePx(h, scale));
  GpGraphics g;
  g.FromImage(picture);
  g.SetScale(scale);
  draw(g, variant);
  const std::vector<uint8_t> bytes = EncodeRgbaPng(picture.Pixels());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!file) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  return static_cast<bool>(file);
}

void DrawStripVariant(GpGraphics& g, bool) { DrawStrip(g); }

}  // namespace

int Run(const std::string& dir) {
  HeadlessHost host(64, 64);  // the codecs and the text rasteriser
  bool ok = true;
  for (const MadeScale& m : kMadeScales) {
    const std::string suffix = std::string(m.suffix) + ".png";
    ok = WritePicture(dir + "/toolbar_strip" + suffix, kStripWidth, kStripHeight, m.scale, DrawStripVariant, false) &&
         ok;
    ok = WritePicture(dir + "/menu" + suffix, kMenuWidth, kMenuHeight, m.scale, DrawMenu, false) && ok;
    ok = WritePicture(dir + "/menu_hover" + suffix, kMenuWidth, kMenuHeight, m.scale, DrawMenu, true) && ok;
  }
  return ok ? 0 : 1;
}

}  // namespace rc::artwork

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_artwork <assets directory>\n");
    return 2;
  }
  return rc::artwork::Run(argv[1]);
}
