// The fast compositor on its own: blends that come back every frame with the
// same pixels are taken over from the last frame, and a change anywhere in
// them, even in their last pixel, is still recomposed.
#include <gtest/gtest.h>

#include "gfx/blend.h"
#include "win/scene_compositor.h"

namespace rc {
namespace {

Canvas Filled(int32_t w, int32_t h, Pixel p) {
  Canvas c(w, h);
  c.Fill(p);
  return c;
}

// One frame: the dimmed screen with `layer` blended at (10, 10), composed
// into `back`; returns the boxes presented.
std::vector<Box> Frame(SceneCompositor& scene, Canvas& back, const Canvas& layer) {
  scene.Reset();
  scene.AddBlend(layer, layer.Bounds(), {10, 10, layer.Width(), layer.Height()}, 200, true);
  return scene.Compose(back);
}

TEST(SceneCompositor, RepeatedBlendsReuseTheirCopyUntilAPixelChanges) {
  const Canvas snapshot = Filled(200, 150, MakePixel(255, 90, 140, 200));
  Canvas back(200, 150);
  DimInto(back, snapshot, snapshot.Bounds());
  SceneCompositor scene;
  scene.Begin(snapshot, snapshot.Bounds());
  Canvas layer = Filled(40, 30, MakePixel(255, 250, 250, 250));
  ASSERT_FALSE(Frame(scene, back, layer).empty());
  const Pixel first = back.At(49, 39);
  // The same pixels again, in a canvas of their own: nothing to present.
  const Canvas twin = layer.Clone();
  EXPECT_TRUE(Frame(scene, back, twin).empty());
  // Only the last pixel differs, and the frame shows it.
  layer.Set(39, 29, MakePixel(255, 0, 0, 0));
  const std::vector<Box> changed = Frame(scene, back, layer);
  ASSERT_FALSE(changed.empty());
  EXPECT_NE(back.At(49, 39), first);
  EXPECT_EQ(back.At(48, 39), first);
  // Back to the earlier pixels: they show again.
  EXPECT_FALSE(Frame(scene, back, twin).empty());
  EXPECT_EQ(back.At(49, 39), first);
}

}  // namespace
}  // namespace rc
