// Draws the application icon with the program's own graphics layer: a dark
// tile with a clear selection on it (a picture of sun and hill inside the
// blue outline and its handles), as PNG at the sizes desktops ask for and as
// SVG:
//
//   make_icon <icons directory>
//
// writes hicolor/<N>x<N>/apps/regioncap.png for N in 16, 32, 48, 64, 128,
// 256 and hicolor/scalable/apps/regioncap.svg. Every shape is given on a
// 256-unit grid and scaled to the size.
#include <png.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gfx/gp_brush.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"

namespace rc::icon {

namespace {

constexpr float kGrid = 256.0f;
constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

constexpr uint32_t kTile = 0xFF2E3440;
constexpr uint32_t kClear = 0xFFF2F5F8;
constexpr uint32_t kSun = 0xFFFFB300;
constexpr uint32_t kHill = 0xFF43A047;
constexpr uint32_t kOutline = 0xFF00AEFF;

struct Rect {
  float x, y, w, h;
};
constexpr Rect kTileRect{16, 16, 224, 224};
constexpr float kTileRadius = 44;
constexpr Rect kSelection{60, 76, 136, 104};
constexpr float kOutlineWidth = 6;
constexpr float kHandle = 16;
constexpr Rect kSunBox{140, 92, 32, 32};
constexpr Rect kHillBox{60, 140, 110, 80};  // its upper half is the hill

void AddRounded(GpPath& path, const Rect& r, float radius) {
  const float d = 2 * radius;
  path.AddArc(r.x, r.y, d, d, 180, 90);
  path.AddArc(r.x + r.w - d, r.y, d, d, 270, 90);
  path.AddArc(r.x + r.w - d, r.y + r.h - d, d, d, 0, 90);
  path.AddArc(r.x, r.y + r.h - d, d, d, 90, 90);
  path.CloseAllFigures();
}

void FillPathOf(GpGraphics& g, uint32_t argb, const std::function<void(GpPath&)>& shape) {
  GpPath path;
  path.Create();
  shape(path);
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillPath(brush, path);
}

void Fill(GpGraphics& g, uint32_t argb, const Rect& r) {
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillRectangle(brush, r.x, r.y, r.w, r.h);
}

// The eight handles sit on the outline: corners and edge middles.
std::vector<Rect> Handles() {
  std::vector<Rect> handles;
  const Rect& s = kSelection;
  for (float fy : {0.0f, 0.5f, 1.0f})
    for (float fx : {0.0f, 0.5f, 1.0f})
      if (fx != 0.5f || fy != 0.5f)
        handles.push_back({s.x + fx * s.w - kHandle / 2, s.y + fy * s.h - kHandle / 2, kHandle, kHandle});
  return handles;
}

Canvas Draw(int size) {
  GpGraphics g;
  g.CreateCanvas(size, size);
  g.SetScale(static_cast<float>(size) / kGrid);
  FillPathOf(g, kTile, [](GpPath& p) { AddRounded(p, kTileRect, kTileRadius); });
  Fill(g, kClear, kSelection);
  FillPathOf(g, kSun, [](GpPath& p) { p.AddArc(kSunBox.x, kSunBox.y, kSunBox.w, kSunBox.h, 0, 360); });
  FillPathOf(g, kHill, [](GpPath& p) { p.AddArc(kHillBox.x, kHillBox.y, kHillBox.w, kHillBox.h, 180, 180); });
  GpPen pen;
  pen.Create(kOutline, kOutlineWidth);
  g.DrawRectangle(pen, kSelection.x, kSelection.y, kSelection.w, kSelection.h);
  for (const Rect& h : Handles()) Fill(g, kOutline, h);
  return std::move(g.CanvasDC());
}

// libpng wants straight alpha; the canvas holds premultiplied pixels.
std::vector<uint8_t> StraightRgba(const Canvas& c) {
  std::vector<uint8_t> out;
  for (int32_t y = 0; y < c.Height(); ++y)
    for (int32_t x = 0; x < c.Width(); ++x) {
      const Pixel p = c.At(x, y);
      const uint32_t a = AlphaOf(p);
      auto un = [a](uint32_t v) { return static_cast<uint8_t>(a == 0 ? 0 : std::min<uint32_t>(255, (v * 255 + a / 2) / a)); };
      out.insert(out.end(), {un(RedOf(p)), un(GreenOf(p)), un(BlueOf(p)), static_cast<uint8_t>(a)});
    }
  return out;
}

bool WritePng(const std::filesystem::path& path, const Canvas& c) {
  std::filesystem::create_directories(path.parent_path());
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(c.Width());
  image.height = static_cast<png_uint_32>(c.Height());
  image.format = PNG_FORMAT_RGBA;
  const std::vector<uint8_t> rgba = StraightRgba(c);
  return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

std::string Hex(uint32_t argb) {
  char text[8];
  std::snprintf(text, sizeof text, "#%06X", argb & 0xFFFFFF);
  return text;
}

std::string RectSvg(const Rect& r, uint32_t fill) {
  return "<rect x=\"" + std::to_string(r.x) + "\" y=\"" + std::to_string(r.y) + "\" width=\"" + std::to_string(r.w) +
         "\" height=\"" + std::to_string(r.h) + "\" fill=\"" + Hex(fill) + "\"/>\n";
}

std::string Svg() {
  const Rect& t = kTileRect;
  const Rect& s = kSelection;
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n";
  svg += "<rect x=\"" + std::to_string(t.x) + "\" y=\"" + std::to_string(t.y) + "\" width=\"" + std::to_string(t.w) +
         "\" height=\"" + std::to_string(t.h) + "\" rx=\"" + std::to_string(kTileRadius) + "\" fill=\"" + Hex(kTile) + "\"/>\n";
  svg += RectSvg(s, kClear);
  svg += "<circle cx=\"" + std::to_string(kSunBox.x + kSunBox.w / 2) + "\" cy=\"" + std::to_string(kSunBox.y + kSunBox.h / 2) +
         "\" r=\"" + std::to_string(kSunBox.w / 2) + "\" fill=\"" + Hex(kSun) + "\"/>\n";
  const Rect& h = kHillBox;
  svg += "<path d=\"M " + std::to_string(h.x) + " " + std::to_string(h.y + h.h / 2) + " A " + std::to_string(h.w / 2) +
         " " + std::to_string(h.h / 2) + " 0 0 1 " + std::to_string(h.x + h.w) + " " + std::to_string(h.y + h.h / 2) +
         " Z\" fill=\"" + Hex(kHill) + "\"/>\n";
  svg += "<rect x=\"" + std::to_string(s.x) + "\" y=\"" + std::to_string(s.y) + "\" width=\"" + std::to_string(s.w) +
         "\" height=\"" + std::to_string(s.h) + "\" fill=\"none\" stroke=\"" + Hex(kOutline) + "\" stroke-width=\"" +
         std::to_string(kOutlineWidth) + "\"/>\n";
  for (const Rect& r : Handles()) svg += RectSvg(r, kOutline);
  return svg + "</svg>\n";
}

int Run(const std::filesystem::path& dir) {
  bool ok = true;
  for (int size : kSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    ok = WritePng(dir / "hicolor" / name / "apps" / "regioncap.png", Draw(size)) && ok;
  }
  const std::filesystem::path svg = dir / "hicolor" / "scalable" / "apps" / "regioncap.svg";
  std::filesystem::create_directories(svg.parent_path());
  std::ofstream(svg) << Svg();
  return ok ? 0 : 1;
}

}  // namespace

}  // namespace rc::icon

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon <icons directory>\n");
    return 2;
  }
  return rc::icon::Run(argv[1]);
}
