// The fast compositor on its own: blends that come back every frame with the
// same pixels are taken over from the last frame, and a change anywhere in
// them, even in their last pixel, is still recomposed; steps paired with the
// last frame's leave their tiles alone, and every frame equals the one a
// full recomposition gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

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

// A translucent box of one colour; with `signed_` it has a signature of its
// own, else the compositor compares it tile by tile.
class BoxLayer : public SceneLayer {
 public:
  BoxLayer(const Box& box, Pixel colour, bool withSignature)
      : box_(box), colour_(colour), signed_(withSignature) {}
  Box Bounds() const override { return box_; }
  uint64_t TileSignature(const Box& tile) const override {
    const Box part = IntersectBox(box_, tile);
    return part.Empty() ? 0 : MixBox(colour_, part) | 1;
  }
  uint64_t Signature() const override { return signed_ ? MixBox(colour_, box_) | 1 : 0; }
  void Render(Canvas& target, const Box& clip) const override {
    const Box part = IntersectBox(IntersectBox(box_, clip), target.Bounds());
    for (int32_t y = part.y; y < part.Bottom(); ++y)
      for (int32_t x = part.x; x < part.Right(); ++x) target.Set(x, y, BlendPixel(target.At(x, y), colour_, 255, true));
  }

 private:
  Box box_;
  Pixel colour_;
  bool signed_;
};

// One drawing step of a test frame.
struct Op {
  enum Kind { Clear, Blend, Still, Layer, SignedLayer } kind = Clear;
  Box dst;
  Box src;
  Pixel colour = 0;
  uint8_t alpha = 255;
};

// The canvas a blend step draws from: a gradient tinted by the colour, so
// that a shifted source box shows, with a translucent rim left and below
// round what is opaque when the colour is.
Canvas SourceOf(const Op& op) {
  Canvas c(40, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) {
      const Pixel alpha = x < 4 || y >= 24 ? 0x60000000u : op.colour & 0xFF000000u;
      c.Set(x, y, alpha | (op.colour & 0x0000FF00u) | static_cast<Pixel>(x * 6 % 0x60) << 16 | static_cast<Pixel>(y * 3));
    }
  return c;
}

// Stands for what the rest of the program does: draws every frame from
// scratch and hands the steps over.
void AddOps(SceneCompositor& scene, const std::vector<Op>& ops) {
  scene.Reset();
  for (const Op& op : ops) {
    switch (op.kind) {
      case Op::Clear: scene.AddClear(op.dst); break;
      case Op::Blend: scene.AddBlend(SourceOf(op), op.src, op.dst, op.alpha, true); break;
      case Op::Still: scene.AddBlend(MakeStill(SourceOf(op)), op.src, op.dst, op.alpha, true); break;
      case Op::Layer:
      case Op::SignedLayer: scene.AddLayer(std::make_shared<BoxLayer>(op.dst, op.colour, op.kind == Op::SignedLayer)); break;
    }
  }
}

// The same frame recomposed in full, the way the literal compositor does.
Canvas Recomposed(const Canvas& snapshot, const std::vector<Op>& ops) {
  Canvas back(snapshot.Width(), snapshot.Height());
  DimInto(back, snapshot, snapshot.Bounds());
  for (const Op& op : ops) {
    if (op.kind == Op::Clear) AlphaBlendCanvas(back, op.dst, snapshot, op.dst, 255, false);
    else if (op.kind == Op::Layer || op.kind == Op::SignedLayer) BoxLayer(op.dst, op.colour, true).Render(back, back.Bounds());
    else AlphaBlendCanvas(back, op.dst, SourceOf(op), op.src, op.alpha, true);
  }
  return back;
}

Canvas Snapshot(int32_t w, int32_t h) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) c.Set(x, y, MakePixel(255, x * 7 % 256, y * 5 % 256, (x + y) % 256));
  return c;
}

// Composes the frames one after another into one back buffer, as a window
// shows them, and checks each against its full recomposition.
class FrameSequence {
 public:
  FrameSequence(int32_t w, int32_t h) : snapshot_(Snapshot(w, h)), back_(w, h) {
    DimInto(back_, snapshot_, snapshot_.Bounds());
    scene_.Begin(snapshot_, snapshot_.Bounds());
  }
  // Returns the area presented.
  int64_t Show(const std::vector<Op>& ops) {
    AddOps(scene_, ops);
    int64_t area = 0;
    for (const Box& b : scene_.Compose(back_)) area += static_cast<int64_t>(b.width) * b.height;
    const Canvas expected = Recomposed(snapshot_, ops);
    for (int32_t y = 0; y < back_.Height(); ++y)
      for (int32_t x = 0; x < back_.Width(); ++x) {
        EXPECT_EQ(back_.At(x, y), expected.At(x, y)) << "at " << x << "," << y;
        if (back_.At(x, y) != expected.At(x, y)) return area;
      }
    return area;
  }

 private:
  Canvas snapshot_;
  Canvas back_;
  SceneCompositor scene_;
};

const Box kScreen{0, 0, 300, 200};

TEST(SceneCompositor, PairedStepsGiveTheFullRecompositionAndPresentOnlyWhatChanged) {
  FrameSequence frames(300, 200);
  const Op clear{Op::Clear, kScreen};
  const Op a{Op::Blend, {50, 40, 40, 30}, {0, 0, 40, 30}, MakePixel(255, 200, 0, 0), 255};
  const Op b{Op::Still, {70, 50, 40, 30}, {0, 0, 40, 30}, MakePixel(255, 0, 200, 0), 180};
  const Op frame{Op::SignedLayer, {100, 100, 120, 60}, {}, MakePixel(128, 0, 0, 128)};
  frames.Show({clear, a, b, frame});
  // The same steps again: nothing to present.
  EXPECT_EQ(frames.Show({clear, a, b, frame}), 0);
  // Two overlapping steps change order: one of them is recomposed.
  EXPECT_LE(frames.Show({clear, b, a, frame}), 40 * 30);
  // A layer's colour changes but not its bounds.
  Op tinted = frame;
  tinted.colour = MakePixel(128, 128, 0, 0);
  EXPECT_EQ(frames.Show({clear, b, a, tinted}), 120 * 60);
  // A step goes away.
  EXPECT_EQ(frames.Show({clear, a, tinted}), 40 * 30);
  // A blend moves over an unchanged whole-screen clear: its two places.
  Op moved = a;
  moved.dst.x += 3;
  EXPECT_LE(frames.Show({clear, moved, tinted}), 43 * 30);
  // A clear that grows: the strips it gained.
  const Op band{Op::Clear, {20, 20, 100, 80}};
  Op grown = band;
  grown.dst.width += 5;
  frames.Show({band, moved});
  EXPECT_EQ(frames.Show({grown, moved}), 5 * 80);
  // The clear grows and goes over the blend instead of under it.
  frames.Show({band, moved});
  frames.Show({moved, grown});
}

TEST(SceneCompositor, StillSourcesBlendAsCopiesDoEvenPastTheirEdge) {
  FrameSequence frames(300, 200);
  const Op copy{Op::Blend, {10, 10, 50, 40}, {-5, -5, 50, 40}, MakePixel(255, 9, 9, 9), 200};
  Op still = copy;
  still.kind = Op::Still;
  frames.Show({copy});
  frames.Show({still});
  EXPECT_EQ(frames.Show({still}), 0);
  still.src.x += 1;
  EXPECT_GT(frames.Show({still}), 0);
  frames.Show({copy});
}

// A copy passes for the last frame's only with its very pixels: copies of
// one size swap places, change and change back, and their spare canvases
// are written over with other pixels in between.
TEST(SceneCompositor, CopiesPairOnlyWithTheVeryPixelsShownBefore) {
  FrameSequence frames(300, 200);
  const Op clear{Op::Clear, kScreen};
  const Op a{Op::Blend, {50, 40, 40, 30}, {0, 0, 40, 30}, MakePixel(255, 200, 0, 0), 255};
  Op b = a;
  b.colour = MakePixel(160, 0, 120, 0);
  b.dst.x = 150;
  Op aThere = a, bHere = b;
  aThere.dst = b.dst;
  bHere.dst = a.dst;
  frames.Show({clear, a, b});
  EXPECT_EQ(frames.Show({clear, a, b}), 0);
  EXPECT_EQ(frames.Show({clear, aThere, bHere}), 2 * 40 * 30);
  EXPECT_EQ(frames.Show({clear, aThere, bHere}), 0);
  Op changed = bHere;
  changed.colour ^= 0x00004000u;
  EXPECT_EQ(frames.Show({clear, aThere, changed}), 40 * 30);
  EXPECT_EQ(frames.Show({clear, aThere, bHere}), 40 * 30);
  frames.Show({clear, bHere});
  EXPECT_EQ(frames.Show({clear, aThere, bHere}), 40 * 30);
  EXPECT_EQ(frames.Show({clear, aThere, bHere}), 0);
  // Two copies of the same pixels: the one that stays keeps its pairing.
  frames.Show({clear, a, aThere});
  EXPECT_EQ(frames.Show({clear, aThere}), 40 * 30);
  EXPECT_EQ(frames.Show({clear, aThere}), 0);
}

TEST(SceneCompositor, OpaqueBoxIsTheOpaqueCoreAroundTheMiddleRow) {
  Op op{Op::Still, {}, {}, MakePixel(255, 0, 90, 0)};
  EXPECT_EQ(OpaqueBox(SourceOf(op)), (Box{4, 0, 36, 24}));
  op.colour = MakePixel(254, 0, 90, 0);
  EXPECT_TRUE(OpaqueBox(SourceOf(op)).Empty());
  EXPECT_TRUE(OpaqueBox(Canvas()).Empty());
}

// Random frames, each made from the last by a few edits (a step moved,
// recoloured, removed, added, or two swapped), over a screen whose edge
// cuts tiles.
void CheckRandomFrames(unsigned seed) {
  std::mt19937 rng(seed);
  const auto pick = [&rng](int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng); };
  const auto randomOp = [&]() {
    Op op;
    op.kind = static_cast<Op::Kind>(std::max(0, pick(-2, 4)));  // clears the most
    op.dst = {pick(-20, 280), pick(-20, 170), pick(1, 150), pick(1, 90)};
    if (op.kind == Op::Blend || op.kind == Op::Still) op.dst = {op.dst.x, op.dst.y, 40, 30};
    op.src = {pick(-3, 3), pick(-3, 3), 40, 30};
    op.colour = MakePixel(std::min(255, pick(1, 4) * 80), pick(0, 1) * 80, 90, pick(0, 2) * 40);
    op.alpha = static_cast<uint8_t>(pick(0, 1) != 0 ? 255 : 150);
    return op;
  };
  FrameSequence frames(293, 197);
  std::vector<Op> ops{Op{Op::Clear, {0, 0, 293, 197}}, randomOp(), randomOp()};
  for (int frame = 0; frame < 150 && !testing::Test::HasFailure(); ++frame) {
    for (int edits = pick(0, 3); edits > 0; --edits) {
      const size_t i = static_cast<size_t>(pick(0, static_cast<int32_t>(ops.size()) - 1));
      switch (pick(0, 4)) {
        case 0: ops[i].dst.x += pick(-9, 9), ops[i].dst.y += pick(-9, 9); break;
        case 1: ops[i].colour ^= 0x00200000u; break;
        case 2: if (ops.size() > 1) ops.erase(ops.begin() + static_cast<std::ptrdiff_t>(i)); break;
        case 3: if (ops.size() < 8) ops.insert(ops.begin() + static_cast<std::ptrdiff_t>(i), randomOp()); break;
        default: std::swap(ops[i], ops[static_cast<size_t>(pick(0, static_cast<int32_t>(ops.size()) - 1))]); break;
      }
    }
    frames.Show(ops);
  }
}

TEST(SceneCompositor, RandomlyEditedFramesGiveTheFullRecomposition) {
  for (unsigned seed : {5u, 6u, 7u}) CheckRandomFrames(seed);
}

}  // namespace
}  // namespace rc
