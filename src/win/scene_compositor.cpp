#include "win/scene_compositor.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

#include "gfx/blend.h"
#include "gfx/dim_row.h"

namespace rc {

namespace {

constexpr uint64_t kDimmedSeed = 0x6D696D6D65642121ull;

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

// Boxes together holding every pixel of `a` that is not in `b`: up to four
// strips round their overlap.
template <class Visit>
void ForEachDifferencePart(const Box& a, const Box& b, Visit visit) {
  const Box both = IntersectBox(a, b);
  if (both.Empty()) {
    visit(a);
    return;
  }
  visit(Box{a.x, a.y, a.width, both.y - a.y});
  visit(Box{a.x, both.Bottom(), a.width, a.Bottom() - both.Bottom()});
  visit(Box{a.x, both.y, both.x - a.x, both.height});
  visit(Box{both.Right(), both.y, a.Right() - both.Right(), both.height});
}

}  // namespace

void DimInto(Canvas& target, Point at, const Canvas& snapshot, const Box& box) {
  const Point shift{at.x - box.x, at.y - box.y};
  const Box reachable{target.Bounds().x - shift.x, target.Bounds().y - shift.y, target.Width(), target.Height()};
  const Box area = IntersectBox(IntersectBox(box, snapshot.Bounds()), reachable);
  for (int32_t y = area.y; y < area.Bottom(); ++y)
    DimRow(target.Row(y + shift.y) + area.x + shift.x, snapshot.Row(y) + area.x, area.width);
}

void SceneCompositor::Begin(const Canvas& snapshot, const Box& frame) {
  snapshot_ = &snapshot;
  screen_ = IntersectBox(snapshot.Bounds(), frame);
  steps_.clear();
  columns_ = (screen_.width + kTileSize - 1) / kTileSize;
  rows_ = (screen_.height + kTileSize - 1) / kTileSize;
  shown_.assign(static_cast<size_t>(columns_) * rows_, kDimmedSeed);
  marks_.assign(shown_.size(), 0);
  pass_ = 0;
  shownSteps_.clear();
}

void SceneCompositor::Reset() {
  constexpr size_t kMaxSpare = 16;
  for (Step& step : steps_) {
    if (!step.pixels.Empty()) spare_.push_back({std::move(step.pixels), step.pixelKey, step.opaque});
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
  Step& step = steps_.emplace_back();
  step.kind = Kind::Clear;
  step.dst = box;
  step.cover = box;
}

namespace {

constexpr uint64_t kCopySeed = 0x636F70696564210Aull;

uint64_t BlendSignature(uint64_t pixelKey, const Box& src, const Box& dst, uint8_t alpha, bool perPixelAlpha) {
  const uint64_t h = MixBox(MixBox(pixelKey, src), dst);
  return MixSignature(h, static_cast<uint64_t>(alpha) << 1 | (perPixelAlpha ? 1 : 0));
}

// At full strength and unstretched, a blend lays the source's own pixels
// wherever it samples one, or with per-pixel alpha wherever that is 255.
Box BlendCover(const Canvas& pixels, const Box& opaque, const Box& src, const Box& dst, uint8_t alpha,
               bool perPixelAlpha) {
  if (alpha != 255 || dst.width <= 0 || dst.height <= 0 || src.width != dst.width || src.height != dst.height) {
    return {};
  }
  const Box own = IntersectBox(IntersectBox(src, pixels.Bounds()), perPixelAlpha ? opaque : pixels.Bounds());
  return {own.x + dst.x - src.x, own.y + dst.y - src.y, own.width, own.height};
}

}  // namespace

// A copy's key promises only that two blends with the same key have the
// same pixels. Where the last frame had no blend at the same place, the
// blend can have no twin: its copy gets a number of its own, and is neither
// compared nor hashed (the magnifier's panel, which moves with every
// pointer move). Elsewhere a copy the last frame's copies do not hold (one
// of them may have gone to an earlier blend of the same size) is hashed,
// so that the same pixels still pass for the ones shown before.
void SceneCompositor::AddBlend(const Canvas& source, const Box& srcBox, const Box& dstBox, uint8_t alpha,
                               bool perPixelAlpha) {
  // Only the part of the source inside the source box can be sampled; keep
  // that, and address it relative to the copy.
  const Box kept = IntersectBox(srcBox, source.Bounds());
  Step& step = steps_.emplace_back();
  step.kind = Kind::Blend;
  step.dst = dstBox;
  step.src = {srcBox.x - kept.x, srcBox.y - kept.y, srcBox.width, srcBox.height};
  step.alpha = alpha;
  step.perPixelAlpha = perPixelAlpha;
  if (kept.Empty()) {
    step.pixelKey = HashPixels(step.pixels);
  } else if (!MayRepeatShownBlend(dstBox)) {
    CopyInto(step, source, kept);
    step.pixelKey = MixSignature(kCopySeed, ++copies_);
  } else if (!ReuseIdentical(source, kept, step)) {
    CopyInto(step, source, kept);
    step.pixelKey = HashPixels(step.pixels);
  }
  step.signature = BlendSignature(step.pixelKey, step.src, step.dst, alpha, perPixelAlpha);
  step.cover = BlendCover(step.pixels, step.opaque, step.src, step.dst, alpha, perPixelAlpha);
}

// The hash covers the whole source and the source box is its own, so the
// signature tells apart everything the blend may draw.
void SceneCompositor::AddBlend(std::shared_ptr<const StillPixels> source, const Box& srcBox, const Box& dstBox,
                               uint8_t alpha, bool perPixelAlpha) {
  Step& step = steps_.emplace_back();
  step.kind = Kind::Blend;
  step.dst = dstBox;
  step.src = srcBox;
  step.alpha = alpha;
  step.perPixelAlpha = perPixelAlpha;
  step.pixelKey = source->Hash();
  step.signature = BlendSignature(step.pixelKey, step.src, step.dst, alpha, perPixelAlpha);
  step.cover = BlendCover(source->Pixels(), source->Opaque(), step.src, step.dst, alpha, perPixelAlpha);
  step.still = std::move(source);
}

void SceneCompositor::CopyInto(Step& step, const Canvas& source, const Box& kept) {
  step.pixels = SpareCanvas(kept.width, kept.height);
  StretchCopy(step.pixels, step.pixels.Bounds(), source, kept);
  step.opaque = OpaqueBox(step.pixels);
}

// Whether the last frame shown had a blend reaching where one to `dst`
// would: only then can a blend there have a twin.
bool SceneCompositor::MayRepeatShownBlend(const Box& dst) const {
  const Box reach = IntersectBox(dst, screen_);
  return std::any_of(shownSteps_.begin(), shownSteps_.end(),
                     [&reach](const ShownStep& s) { return s.kind == Kind::Blend && s.reach == reach; });
}

// Comparing costs about what copying does, and many layers (the size
// label, the toolbar, the options bar) come back unchanged.
bool SceneCompositor::ReuseIdentical(const Canvas& source, const Box& kept, Step& step) {
  const size_t rowBytes = static_cast<size_t>(kept.width) * sizeof(Pixel);
  const auto same = [&](const Spare& spare) {
    if (spare.pixels.Width() != kept.width || spare.pixels.Height() != kept.height) return false;
    for (int32_t y = 0; y < kept.height; ++y) {
      if (std::memcmp(spare.pixels.Row(y), source.Row(kept.y + y) + kept.x, rowBytes) != 0) return false;
    }
    return true;
  };
  // Copies of the same pixels may lie there under different keys: the one
  // whose key makes the blend the last frame's twin goes first.
  const auto pairs = [&](const Spare& spare) {
    const uint64_t signature = BlendSignature(spare.key, step.src, step.dst, step.alpha, step.perPixelAlpha);
    return std::any_of(shownSteps_.begin(), shownSteps_.end(),
                       [signature](const ShownStep& s) { return s.kind == Kind::Blend && s.signature == signature; });
  };
  auto found = std::find_if(spare_.begin(), spare_.end(), [&](const Spare& spare) { return pairs(spare) && same(spare); });
  if (found == spare_.end()) found = std::find_if(spare_.begin(), spare_.end(), same);
  if (found == spare_.end()) return false;
  step.pixels = std::move(found->pixels);
  step.pixelKey = found->key;
  step.opaque = found->opaque;
  spare_.erase(found);
  return true;
}

void SceneCompositor::AddLayer(std::shared_ptr<const SceneLayer> layer) {
  Step& step = steps_.emplace_back();
  step.kind = Kind::Layer;
  step.dst = layer->Bounds();
  step.signature = layer->Signature();
  step.layer = std::move(layer);
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
    case Kind::Blend: {
      const Canvas& pixels = step.still ? step.still->Pixels() : step.pixels;
      if (!pixels.Empty()) {
        AlphaBlendCanvasClipped(backBuffer, step.dst, pixels, step.src, step.alpha, step.perPixelAlpha, tile);
      }
      break;
    }
    case Kind::Layer: step.layer->Render(backBuffer, tile); break;
  }
}

Box SceneCompositor::TileBox(int32_t column, int32_t row) const {
  const Box t{column * kTileSize, row * kTileSize, kTileSize, kTileSize};
  return IntersectBox(t, screen_);
}

void SceneCompositor::CollectCurrentSteps() {
  current_.resize(steps_.size());
  for (size_t i = 0; i < steps_.size(); ++i) {
    const Step& step = steps_[i];
    current_[i] = {step.kind, Reach(step), step.signature, step.layer};
  }
}

// Twins draw the same pixels at the same place. A clear draws the
// snapshot's, so its place says it all; a layer without a signature of its
// own has no twin.
bool SceneCompositor::Twins(const ShownStep& a, const ShownStep& b) {
  if (a.kind != b.kind || a.reach != b.reach || a.signature != b.signature) return false;
  return a.kind != Kind::Layer || a.signature != 0;
}

// Pairs this frame's steps with the last one's, in order on both sides: a
// step that moved ahead of another loses its twin. A tile that only steps
// with twins reach meets the same steps in the same order in both frames,
// so it is the same tile.
void SceneCompositor::MatchSteps() {
  twin_.assign(current_.size(), kNoTwin);
  taken_.assign(shownSteps_.size(), 0);
  size_t next = 0;
  for (size_t i = 0; i < current_.size(); ++i) {
    for (size_t j = next; j < shownSteps_.size(); ++j) {
      if (!Twins(current_[i], shownSteps_[j])) continue;
      twin_[i] = j;
      taken_[j] = 1;
      next = j + 1;
      break;
    }
  }
  PairMovedClears();
}

// The twin of the first current step from `from` on that has one, or the
// end of the shown steps.
size_t SceneCompositor::NextTwin(size_t from) const {
  for (size_t i = from; i < current_.size(); ++i) {
    if (twin_[i] != kNoTwin) return twin_[i];
  }
  return shownSteps_.size();
}

// A clear that moved or changed size is paired with the clear it replaces
// between the same twins, so that only the tiles where the two differ are
// looked at: a rubber band's moving edges, not everything inside it.
void SceneCompositor::PairMovedClears() {
  size_t from = 0;  // the first shown step still free to pair in order
  for (size_t i = 0; i < current_.size(); ++i) {
    if (twin_[i] != kNoTwin) {
      from = twin_[i] + 1;
      continue;
    }
    if (current_[i].kind != Kind::Clear) continue;
    const size_t end = NextTwin(i + 1);
    for (size_t j = from; j < end; ++j) {
      if (taken_[j] != 0 || shownSteps_[j].kind != Kind::Clear) continue;
      twin_[i] = j;
      taken_[j] = 1;
      from = j + 1;
      break;
    }
  }
}

void SceneCompositor::MarkTiles(const Box& area) {
  const Box box = IntersectBox(area, screen_);
  if (box.Empty()) return;
  for (int32_t r = box.y / kTileSize; r <= (box.Bottom() - 1) / kTileSize; ++r) {
    for (int32_t c = box.x / kTileSize; c <= (box.Right() - 1) / kTileSize; ++c) {
      const size_t i = static_cast<size_t>(r) * columns_ + c;
      if (marks_[i] == pass_) continue;
      marks_[i] = pass_;
      marked_.push_back(i);
    }
  }
}

// The tiles a step may change: those its reach meets, or for a layer those
// its footprint meets.
void SceneCompositor::MarkStepTiles(const ShownStep& step) {
  if (step.reach.Empty()) return;
  if (step.kind != Kind::Layer) {
    MarkTiles(step.reach);
    return;
  }
  for (const Box& part : step.layer->Footprint()) MarkTiles(IntersectBox(part, step.reach));
}

// Every tile a step without an identical twin reaches, on either side; for
// a clear paired with one that moved, the tiles where the two differ.
void SceneCompositor::MarkUnmatchedTiles() {
  if (++pass_ == 0) {
    std::fill(marks_.begin(), marks_.end(), 0);
    pass_ = 1;
  }
  marked_.clear();
  for (size_t i = 0; i < current_.size(); ++i) {
    const ShownStep& now = current_[i];
    if (twin_[i] == kNoTwin) {
      MarkStepTiles(now);
      continue;
    }
    const Box& before = shownSteps_[twin_[i]].reach;
    if (now.reach == before) continue;
    ForEachDifferencePart(now.reach, before, [this](const Box& part) { MarkTiles(part); });
    ForEachDifferencePart(before, now.reach, [this](const Box& part) { MarkTiles(part); });
  }
  for (size_t j = 0; j < shownSteps_.size(); ++j) {
    if (taken_[j] == 0) MarkStepTiles(shownSteps_[j]);
  }
  std::sort(marked_.begin(), marked_.end());
}

// Folds in order what each step that reaches the tile does there. A layer's
// tile outside its footprint signs 0 and leaves the signature alone.
uint64_t SceneCompositor::SignTile(const Box& tile) const {
  uint64_t signature = kDimmedSeed;
  for (size_t i = 0; i < steps_.size(); ++i) {
    if (IntersectBox(current_[i].reach, tile).Empty()) continue;
    const uint64_t s = StepSignature(steps_[i], tile);
    if (s != 0) signature = MixSignature(signature, s);
  }
  return signature;
}

// Each pixel starts from the last step that covers it, which lays its own
// pixels whatever lay there before (the snapshot's under a clear, the
// magnifier's zoom), or where none does from the dimmed screen. The box is
// split at the last cover that meets it; a few splits deep the rest starts
// from the dimmed screen, which is slower but the same.
void SceneCompositor::Recompose(Canvas& backBuffer, const Box& box, int32_t depth) const {
  constexpr int32_t kMaxSplits = 3;
  if (box.Empty()) return;
  size_t last = steps_.size();
  Box inner;
  for (size_t i = steps_.size(); i-- > 0 && depth < kMaxSplits;) {
    inner = IntersectBox(steps_[i].cover, box);
    if (!inner.Empty()) {
      last = i;
      break;
    }
  }
  if (last == steps_.size()) {
    DimInto(backBuffer, *snapshot_, box);
    ApplySteps(backBuffer, box, 0);
    return;
  }
  ApplySteps(backBuffer, inner, last);
  ForEachDifferencePart(box, inner, [&](const Box& rest) { Recompose(backBuffer, rest, depth + 1); });
}

void SceneCompositor::ApplySteps(Canvas& backBuffer, const Box& box, size_t first) const {
  for (size_t i = first; i < steps_.size(); ++i) {
    const Step& step = steps_[i];
    if (IntersectBox(current_[i].reach, box).Empty()) continue;
    if (step.kind == Kind::Layer) RenderLayer(*step.layer, backBuffer, box);
    else ApplyStep(step, backBuffer, box);
  }
}

// `box` may span many tiles and a layer's signature speaks for one tile, so
// the layer renders tile by tile, skipping tiles it leaves as they are.
void SceneCompositor::RenderLayer(const SceneLayer& layer, Canvas& backBuffer, const Box& box) const {
  for (int32_t r = box.y / kTileSize; r <= (box.Bottom() - 1) / kTileSize; ++r) {
    for (int32_t c = box.x / kTileSize; c <= (box.Right() - 1) / kTileSize; ++c) {
      const Box tile = TileBox(c, r);
      const Box part = IntersectBox(tile, box);
      if (!part.Empty() && layer.TileSignature(tile) != 0) layer.Render(backBuffer, part);
    }
  }
}

void SceneCompositor::StepsInTile(const std::vector<ShownStep>& steps, const Box& tile,
                                  std::vector<TileStep>& met) const {
  met.clear();
  for (const ShownStep& step : steps) {
    TileStep s{step.kind, step.signature, IntersectBox(step.reach, tile)};
    if (s.area.Empty()) continue;
    if (step.kind == Kind::Layer) {
      s.key = step.layer->TileSignature(tile);
      s.area = step.layer->TileReach(tile);
      if (s.key == 0) continue;
    }
    if (!s.area.Empty()) met.push_back(s);
  }
}

// A pixel of the tile keeps its colour when every step that reaches it in
// one frame has a twin in the other that reaches it too, with the same
// pixels, in the same order. Twins are paired in order; a clear's pixels
// are the snapshot's wherever it stands, so two clears are twins where
// they overlap. Returns the smallest box holding every other pixel.
Box SceneCompositor::ChangedPart(const Box& tile) {
  StepsInTile(shownSteps_, tile, before_);
  StepsInTile(current_, tile, now_);
  paired_.assign(before_.size(), 0);
  Box changed;
  auto next = before_.begin();
  for (const TileStep& s : now_) {
    const auto twin = std::find_if(next, before_.end(), [&s](const TileStep& b) { return b.kind == s.kind && b.key == s.key; });
    if (twin == before_.end()) {
      changed = UnionBox(changed, s.area);
      continue;
    }
    changed = UnionBox(changed, UnionBox(DifferenceBounds(s.area, twin->area), DifferenceBounds(twin->area, s.area)));
    paired_[static_cast<size_t>(twin - before_.begin())] = 1;
    next = twin + 1;
  }
  for (size_t i = 0; i < before_.size(); ++i) {
    if (paired_[i] == 0) changed = UnionBox(changed, before_[i].area);
  }
  // The tile's signature changed, so something in it did: a part that
  // comes out empty would only mean a signature collision of the steps.
  return changed.Empty() ? tile : IntersectBox(changed, tile);
}

// Merges the recomposed parts of tiles, in order of rows of tiles, into few
// boxes: runs of parts that meet along a row, then runs of rows with the
// same span.
std::vector<Box> SceneCompositor::MergeParts() {
  std::vector<Box> boxes;
  open_.clear();  // boxes that may still grow downwards
  for (size_t i = 0; i < parts_.size();) {
    runs_.clear();
    const int32_t row = parts_[i].row;
    for (; i < parts_.size() && parts_[i].row == row; ++i) {
      const Box& t = parts_[i].box;
      Box* last = runs_.empty() ? nullptr : &runs_.back();
      if (last != nullptr && last->Right() == t.x && last->y == t.y && last->height == t.height) last->width += t.width;
      else runs_.push_back(t);
    }
    grown_.clear();
    for (Box run : runs_) {
      auto grown = std::find_if(open_.begin(), open_.end(), [&](const Box& b) {
        return b.x == run.x && b.width == run.width && b.Bottom() == run.y;
      });
      if (grown != open_.end()) {
        run = {grown->x, grown->y, grown->width, grown->height + run.height};
        open_.erase(grown);
      }
      grown_.push_back(run);
    }
    boxes.insert(boxes.end(), open_.begin(), open_.end());
    open_.swap(grown_);
  }
  boxes.insert(boxes.end(), open_.begin(), open_.end());
  return boxes;
}

std::vector<Box> SceneCompositor::Compose(Canvas& backBuffer, const std::function<void(const Box&)>& beforeWriting) {
  if (!Active()) return {};
  CollectCurrentSteps();
  MatchSteps();
  MarkUnmatchedTiles();
  parts_.clear();
  for (size_t i : marked_) {
    const auto row = static_cast<int32_t>(i / columns_);
    const Box tile = TileBox(static_cast<int32_t>(i % columns_), row);
    const uint64_t signature = SignTile(tile);
    if (signature == shown_[i]) continue;
    shown_[i] = signature;
    parts_.push_back({row, ChangedPart(tile)});
  }
  // The changed parts of neighbouring tiles are recomposed together, as the
  // boxes they merge into: rows a tile wide would cost more in calls and in
  // the odd pixels at their ends than in the pixels themselves.
  std::vector<Box> boxes = MergeParts();
  for (const Box& box : boxes) {
    if (beforeWriting) beforeWriting(box);
    Recompose(backBuffer, box);
  }
  shownSteps_.swap(current_);
  return boxes;
}

}  // namespace rc
