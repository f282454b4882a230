// The selection frame drawn tile by tile gives exactly the pixels of the
// whole frame canvas drawn with the rasteriser and laid over the screen.
#include <gtest/gtest.h>

#include <random>

#include "gfx/blend.h"
#include "overlay/selection_frame_layer.h"

namespace rc {
namespace {

Canvas RandomScreen(int32_t w, int32_t h, std::mt19937& rng) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) c.Set(x, y, MakePixel(255, rng() % 256, rng() % 256, rng() % 256));
  }
  return c;
}

// The frame canvas of the whole selection, drawn and laid over once.
void DrawWholeFrame(Canvas& target, int32_t left, int32_t top, int32_t w, int32_t h, uint32_t border, uint32_t handle,
                    const FrameMetrics& m) {
  GpGraphics frame;
  ASSERT_TRUE(frame.CreateCanvas(m.Span(w), m.Span(h)));
  DrawFrameDecorations(frame, w, h, border, handle, 0, 0, m);
  AlphaBlendCanvas(target, {left - m.Reach(), top - m.Reach(), m.Span(w), m.Span(h)}, frame.CanvasDC(),
                   frame.CanvasDC().Bounds(), 255, true);
}

// Tiles of `tile` pixels from (ox, oy), as the compositor asks for them.
void DrawTiled(Canvas& target, const SelectionFrameLayer& layer, int32_t tile, int32_t ox, int32_t oy) {
  for (int32_t y = oy % tile - tile; y < target.Height(); y += tile) {
    for (int32_t x = ox % tile - tile; x < target.Width(); x += tile) layer.Render(target, {x, y, tile, tile});
  }
}

void ExpectSame(const Canvas& a, const Canvas& b, const std::string& what) {
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << what << " at " << x << "," << y;
  }
}

// Even and odd sides (the middle handles then sit on half pixels), handles
// overlapping on tiny selections, every scale's metrics, tiles cutting
// through handles, one area holding every handle, the screen's edges, and
// translucent colours.
TEST(SelectionFrameLayer, TiledPixelsMatchTheWholeFrameCanvas) {
  std::mt19937 rng(3);
  const Canvas screen = RandomScreen(160, 120, rng);
  const std::pair<uint32_t, uint32_t> colours[] = {{0xFF00AEFF, 0xFF00AEFF}, {0xFFFF0000, 0xFF00FF00},
                                                   {0x80FF0000, 0xC000FF00}};
  int cases = 0;
  for (float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f, 3.0f}) {
    const FrameMetrics m = FrameMetricsAt(scale);
    for (int32_t w : {1, 2, 3, 4, 7, 10, 11, 64, 101}) {
      for (int32_t h : {1, 2, 5, 12, 33, 70}) {
        const auto& [border, handle] = colours[cases % 3];
        const int32_t left = cases % 5 == 0 ? 0 : 1 + static_cast<int32_t>(rng() % 50);
        const int32_t top = cases % 7 == 0 ? 0 : 1 + static_cast<int32_t>(rng() % 40);
        Canvas whole = screen.Clone();
        DrawWholeFrame(whole, left, top, w, h, border, handle, m);
        Canvas tiled = screen.Clone();
        const SelectionFrameLayer layer(left, top, w, h, border, handle, m);
        // 1000: one call for the whole screen, as for a box merged from many tiles.
        const int32_t tile = cases % 3 == 0 ? 64 : cases % 3 == 1 ? 7 : 1000;
        const int32_t ox = static_cast<int32_t>(rng() % 9), oy = static_cast<int32_t>(rng() % 9);
        DrawTiled(tiled, layer, tile, ox, oy);
        ExpectSame(tiled, whole, "scale " + std::to_string(scale) + " " + std::to_string(w) + "x" + std::to_string(h) +
                                     " at " + std::to_string(left) + "," + std::to_string(top) + " tile " +
                                     std::to_string(tile) + " from " + std::to_string(ox) + "," + std::to_string(oy));
        ++cases;
      }
    }
  }
}

}  // namespace
}  // namespace rc
