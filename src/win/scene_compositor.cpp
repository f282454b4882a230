#include "win/scene_compositor.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "gfx/blend.h"

namespace rc {

namespace {

constexpr uint64_t kDimmedSeed = 0x6D696D6D65642121ull;

// Four independent running signatures, so that the multiplies overlap
// instead of waiting for each other; the magnifier's layers are hashed on
// every mouse move.
uint64_t HashPixels(const Canvas& c) {
  const uint64_t seed = MixSignature(static_cast<uint64_t>(c.Width()), static_cast<uint64_t>(c.Height()));
  uint64_t lanes[4] = {seed, seed + 1, seed + 2, seed + 3};
  const size_t count = static_cast<size_t>(c.Width()) * c.Height();
  const Pixel* p = c.Data();
  const auto pair = [p](size_t i) { return p[i] | static_cast<uint64_t>(p[i + 1]) << 32; };
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (size_t lane = 0; lane < 4; ++lane) lanes[lane] = MixSignature(lanes[lane], pair(i + 2 * lane));
  }
  for (; i < count; ++i) lanes[0] = MixSignature(lanes[0], p[i]);
  return MixSignature(MixSignature(lanes[0], lanes[1]), MixSignature(lanes[2], lanes[3]));
}

// Merges the recomposed parts of tiles, given row by row of tiles, into few
// boxes: runs of parts that meet along a row, then runs of rows with the
// same span.
std::vector<Box> MergeParts(const std::vector<std::vector<Box>>& partRows) {
  std::vector<Box> boxes;
  std::vector<Box> open;  // boxes that may still grow downwards
  for (const std::vector<Box>& parts : partRows) {
    std::vector<Box> runs;
    for (const Box& t : parts) {
      Box* last = runs.empty() ? nullptr : &runs.back();
      if (last != nullptr && last->Right() == t.x && last->y == t.y && last->height == t.height) last->width += t.width;
      else runs.push_back(t);
    }
    std::vector<Box> next;
    for (Box run : runs) {
      auto grown = std::find_if(open.begin(), open.end(), [&](const Box& b) {
        return b.x == run.x && b.width == run.width && b.Bottom() == run.y;
      });
      if (grown != open.end()) {
        run = {grown->x, grown->y, grown->width, grown->height + run.height};
        open.erase(grown);
      }
      next.push_back(run);
    }
    boxes.insert(boxes.end(), open.begin(), open.end());
    open = std::move(next);
  }
  boxes.insert(boxes.end(), open.begin(), open.end());
  return boxes;
}

// The smallest box holding every pixel of `a` that is not in `b`.
Box DifferenceBounds(const Box& a, const Box& b) {
  const Box both = IntersectBox(a, b);
  if (both.Empty()) return a;
  Box bounds;
  bounds = UnionBox(bounds, {a.x, a.y, a.width, both.y - a.y});
  bounds = UnionBox(bounds, {a.x, both.Bottom(), a.width, a.Bottom() - both.Bottom()});
  bounds = UnionBox(bounds, {a.x, both.y, both.x - a.x, both.height});
  bounds = UnionBox(bounds, {both.Right(), both.y, a.Right() - both.Right(), both.height});
  return bounds;
}

}  // namespace

namespace {

// Opaque black at alpha 128 over pairs of 8-bit channels held in the low
// bytes of two 16-bit lanes: a colour channel becomes c * 127 / 255, the
// alpha channel (128 * 255 + a * 127) / 255, each rounded as every blend
// rounds (Div255). `bias` carries the rounding term, plus the black
// layer's own alpha in the lane that holds alpha.
inline uint32_t DimLanes(uint32_t lanes, uint32_t bias) {
  const uint32_t t = lanes * 127 + bias;
  return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

constexpr uint32_t kRedBlueBias = 0x00800080u;
constexpr uint32_t kAlphaGreenBias = 0x80000080u;  // (128 * 255 + 128) << 16 | 128

}  // namespace

// Branch-free so that the compiler can vectorise it.
void DimInto(Canvas& target, Point at, const Canvas& snapshot, const Box& box) {
  const Point shift{at.x - box.x, at.y - box.y};
  const Box reachable{target.Bounds().x - shift.x, target.Bounds().y - shift.y, target.Width(), target.Height()};
  const Box area = IntersectBox(IntersectBox(box, snapshot.Bounds()), reachable);
  for (int32_t y = area.y; y < area.Bottom(); ++y) {
    const Pixel* from = snapshot.Row(y) + area.x;
    Pixel* to = target.Row(y + shift.y) + area.x + shift.x;
    for (int32_t x = 0; x < area.width; ++x) {
      const Pixel p = from[x];
      to[x] = DimLanes(p & 0x00FF00FFu, kRedBlueBias) | DimLanes((p >> 8) & 0x00FF00FFu, kAlphaGreenBias) << 8;
    }
  }
}

namespace {

// Dims `box` except `hole`, which lies inside it (or is empty).
void DimAround(Canvas& target, const Canvas& snapshot, const Box& box, const Box& hole) {
  if (hole.Empty()) {
    DimInto(target, snapshot, box);
    return;
  }
  DimInto(target, snapshot, {box.x, box.y, box.width, hole.y - box.y});
  DimInto(target, snapshot, {box.x, hole.Bottom(), box.width, box.Bottom() - hole.Bottom()});
  DimInto(target, snapshot, {box.x, hole.y, hole.x - box.x, hole.height});
  DimInto(target, snapshot, {hole.Right(), hole.y, box.Right() - hole.Right(), hole.height});
}

}  // namespace

void SceneCompositor::Begin(const Canvas& snapshot, const Box& frame) {
  snapshot_ = &snapshot;
  screen_ = IntersectBox(snapshot.Bounds(), frame);
  steps_.clear();
  columns_ = (screen_.width + kTileSize - 1) / kTileSize;
  rows_ = (screen_.height + kTileSize - 1) / kTileSize;
  shown_.assign(static_cast<size_t>(columns_) * rows_, kDimmedSeed);
  shownSteps_.clear();
}

void SceneCompositor::Reset() {
  constexpr size_t kMaxSpare = 16;
  for (Step& step : steps_) {
    if (!step.pixels.Empty()) spare_.push_back({std::move(step.pixels), step.pixelHash});
  }
  if (spare_.size() > kMaxSpare) spare_.erase(spare_.begin(), spare_.end() - kMaxSpare);
  steps_.clear();
}

Canvas SceneCompositor::SpareCanvas(int32_t width, int32_t height) {
  auto fits = std::find_if(spare_.begin(), spare_.end(), [&](const Spare& c) {
    return c.pixels.Width() == width && c.pixels.Height() == height;
  });
  if (fits == spare_.end()) return Canvas(width, height);
  Canvas reused = std::move(fits->pixels);
  spare_.erase(fits);
  return reused;
}

void SceneCompositor::AddClear(const Box& box) {
  Step step;
  step.kind = Kind::Clear;
  step.dst = box;
  steps_.push_back(std::move(step));
}

void SceneCompositor::AddBlend(const Canvas& source, const Box& srcBox, const Box& dstBox, uint8_t alpha,
                               bool perPixelAlpha) {
  // Only the part of the source inside the source box can be sampled; keep
  // that, and address it relative to the copy.
  const Box kept = IntersectBox(srcBox, source.Bounds());
  Step step;
  step.kind = Kind::Blend;
  step.dst = dstBox;
  step.src = {srcBox.x - kept.x, srcBox.y - kept.y, srcBox.width, srcBox.height};
  step.alpha = alpha;
  step.perPixelAlpha = perPixelAlpha;
  if (kept.Empty()) {
    step.pixelHash = HashPixels(step.pixels);
  } else if (!ReuseIdentical(source, kept, step)) {
    step.pixels = SpareCanvas(kept.width, kept.height);
    StretchCopy(step.pixels, step.pixels.Bounds(), source, kept);
    step.pixelHash = HashPixels(step.pixels);
  }
  uint64_t h = MixBox(MixBox(step.pixelHash, step.src), step.dst);
  step.signature = MixSignature(h, static_cast<uint64_t>(alpha) << 1 | (perPixelAlpha ? 1 : 0));
  steps_.push_back(std::move(step));
}

// Comparing costs a fraction of copying and hashing, and most layers (the
// magnifier's panel, the toolbar, the options bar) come back unchanged.
bool SceneCompositor::ReuseIdentical(const Canvas& source, const Box& kept, Step& step) {
  const size_t rowBytes = static_cast<size_t>(kept.width) * sizeof(Pixel);
  const auto same = [&](const Spare& spare) {
    if (spare.pixels.Width() != kept.width || spare.pixels.Height() != kept.height) return false;
    for (int32_t y = 0; y < kept.height; ++y) {
      if (std::memcmp(spare.pixels.Row(y), source.Row(kept.y + y) + kept.x, rowBytes) != 0) return false;
    }
    return true;
  };
  const auto found = std::find_if(spare_.begin(), spare_.end(), same);
  if (found == spare_.end()) return false;
  step.pixels = std::move(found->pixels);
  step.pixelHash = found->hash;
  spare_.erase(found);
  return true;
}

void SceneCompositor::AddLayer(std::shared_ptr<const SceneLayer> layer) {
  Step step;
  step.kind = Kind::Layer;
  step.dst = layer->Bounds();
  step.layer = std::move(layer);
  steps_.push_back(std::move(step));
}

Box SceneCompositor::Reach(const Step& step) const {
  return IntersectBox(step.dst, screen_);
}

uint64_t SceneCompositor::StepSignature(const Step& step, const Box& tile) const {
  switch (step.kind) {
    case Kind::Clear: return MixBox(1, IntersectBox(step.dst, tile));
    case Kind::Blend: return step.signature;
    case Kind::Layer: return step.layer->TileSignature(tile);
  }
  return 0;
}

void SceneCompositor::ApplyStep(const Step& step, Canvas& backBuffer, const Box& tile) const {
  switch (step.kind) {
    case Kind::Clear:
      AlphaBlendCanvasClipped(backBuffer, step.dst, *snapshot_, step.dst, 255, false, tile);
      break;
    case Kind::Blend:
      if (!step.pixels.Empty()) {
        AlphaBlendCanvasClipped(backBuffer, step.dst, step.pixels, step.src, step.alpha, step.perPixelAlpha, tile);
      }
      break;
    case Kind::Layer: step.layer->Render(backBuffer, tile); break;
  }
}

Box SceneCompositor::TileBox(int32_t column, int32_t row) const {
  const Box t{column * kTileSize, row * kTileSize, kTileSize, kTileSize};
  return IntersectBox(t, screen_);
}

// The tiles a step may change: those its reach meets, or for a layer those
// its footprint meets, each once, in no particular order.
std::vector<size_t> SceneCompositor::TilesOf(const Step& step, std::vector<uint32_t>& marks, uint32_t mark) const {
  std::vector<size_t> tiles;
  const Box reach = Reach(step);
  if (reach.Empty()) return tiles;
  const std::vector<Box> parts = step.kind == Kind::Layer ? step.layer->Footprint() : std::vector<Box>{reach};
  for (const Box& part : parts) {
    const Box box = IntersectBox(part, reach);
    if (box.Empty()) continue;
    for (int32_t r = box.y / kTileSize; r <= (box.Bottom() - 1) / kTileSize; ++r) {
      for (int32_t c = box.x / kTileSize; c <= (box.Right() - 1) / kTileSize; ++c) {
        const size_t i = static_cast<size_t>(r) * columns_ + c;
        if (marks[i] == mark) continue;
        marks[i] = mark;
        tiles.push_back(i);
      }
    }
  }
  return tiles;
}

std::vector<uint64_t> SceneCompositor::TileSignatures() const {
  std::vector<uint64_t> signatures(shown_.size(), kDimmedSeed);
  std::vector<uint32_t> marks(shown_.size(), 0);
  uint32_t mark = 0;
  for (const Step& step : steps_) {
    for (size_t i : TilesOf(step, marks, ++mark)) {
      const uint64_t s = StepSignature(step, TileBox(static_cast<int32_t>(i % columns_), static_cast<int32_t>(i / columns_)));
      if (s != 0) signatures[i] = MixSignature(signatures[i], s);
    }
  }
  return signatures;
}

// The tile starts from the dimmed screen, except where a clear step puts
// the snapshot's own pixels anyway: it starts from the last clear that
// covers the whole tile, or, when the first step to reach the tile is a
// clear, only the part around that clear is dimmed.
void SceneCompositor::RecomposeTile(Canvas& backBuffer, const Box& tile) const {
  const auto coversTile = [&tile](const Step& step) {
    return step.kind == Kind::Clear && IntersectBox(step.dst, tile) == tile;
  };
  const auto lastCover = std::find_if(steps_.rbegin(), steps_.rend(), coversTile);
  auto first = steps_.begin();
  if (lastCover != steps_.rend()) {
    first = std::prev(lastCover.base());
  } else {
    const auto reaches = [&](const Step& step) { return !IntersectBox(Reach(step), tile).Empty(); };
    const auto firstReaching = std::find_if(steps_.begin(), steps_.end(), reaches);
    const bool clearFirst = firstReaching != steps_.end() && firstReaching->kind == Kind::Clear &&
                            firstReaching->dst.width > 0 && firstReaching->dst.height > 0;
    DimAround(backBuffer, *snapshot_, tile, clearFirst ? IntersectBox(firstReaching->dst, tile) : Box{});
  }
  for (auto it = first; it != steps_.end(); ++it) {
    const Step& step = *it;
    if (IntersectBox(Reach(step), tile).Empty()) continue;
    if (step.kind == Kind::Layer && step.layer->TileSignature(tile) == 0) continue;
    ApplyStep(step, backBuffer, tile);
  }
}

std::vector<SceneCompositor::TileStep> SceneCompositor::StepsInTile(const std::vector<ShownStep>& steps,
                                                                    const Box& tile) const {
  std::vector<TileStep> met;
  for (const ShownStep& step : steps) {
    TileStep s{step.kind, step.signature, IntersectBox(step.reach, tile)};
    if (step.kind == Kind::Layer) {
      s.key = step.layer->TileSignature(tile);
      s.area = step.layer->TileReach(tile);
      if (s.key == 0) continue;
    }
    if (!s.area.Empty()) met.push_back(s);
  }
  return met;
}

// A pixel of the tile keeps its colour when every step that reaches it in
// one frame has a twin in the other that reaches it too, with the same
// pixels, in the same order. Twins are paired in order; a clear's pixels
// are the snapshot's wherever it stands, so two clears are twins where
// they overlap. Returns the smallest box holding every other pixel.
Box SceneCompositor::ChangedPart(const Box& tile, const std::vector<ShownStep>& current) const {
  const std::vector<TileStep> before = StepsInTile(shownSteps_, tile);
  const std::vector<TileStep> now = StepsInTile(current, tile);
  std::vector<bool> paired(before.size(), false);
  Box changed;
  auto next = before.begin();
  for (const TileStep& s : now) {
    const auto twin = std::find_if(next, before.end(), [&s](const TileStep& b) { return b.kind == s.kind && b.key == s.key; });
    if (twin == before.end()) {
      changed = UnionBox(changed, s.area);
      continue;
    }
    changed = UnionBox(changed, UnionBox(DifferenceBounds(s.area, twin->area), DifferenceBounds(twin->area, s.area)));
    paired[static_cast<size_t>(twin - before.begin())] = true;
    next = twin + 1;
  }
  for (size_t i = 0; i < before.size(); ++i) {
    if (!paired[i]) changed = UnionBox(changed, before[i].area);
  }
  // The tile's signature changed, so something in it did: a part that
  // comes out empty would only mean a signature collision of the steps.
  return changed.Empty() ? tile : IntersectBox(changed, tile);
}

std::vector<SceneCompositor::ShownStep> SceneCompositor::CurrentSteps() const {
  std::vector<ShownStep> current;
  current.reserve(steps_.size());
  for (const Step& step : steps_) current.push_back({step.kind, Reach(step), step.signature, step.layer});
  return current;
}

std::vector<Box> SceneCompositor::Compose(Canvas& backBuffer, const std::function<void(const Box&)>& beforeWriting) {
  if (!Active()) return {};
  const std::vector<uint64_t> signatures = TileSignatures();
  std::vector<ShownStep> current = CurrentSteps();
  std::vector<std::vector<Box>> partRows(static_cast<size_t>(rows_));
  for (int32_t r = 0; r < rows_; ++r) {
    for (int32_t c = 0; c < columns_; ++c) {
      const size_t i = static_cast<size_t>(r) * columns_ + c;
      if (signatures[i] == shown_[i]) continue;
      const Box part = ChangedPart(TileBox(c, r), current);
      if (beforeWriting) beforeWriting(part);
      RecomposeTile(backBuffer, part);
      partRows[static_cast<size_t>(r)].push_back(part);
    }
  }
  shown_ = signatures;
  shownSteps_ = std::move(current);
  return MergeParts(partRows);
}

}  // namespace rc
