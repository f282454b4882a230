#include "toolbar/artwork.h"

#include <array>
#include <map>
#include <memory>
#include <span>

#include "app/ui_scale.h"
#include "assets/embedded.h"
#include "gfx/resample.h"

namespace rc {

namespace {

constexpr std::array<float, 3> kMadeScales = {1.0f, 1.5f, 2.0f};

// One picture in each made scale, in the order of kMadeScales.
using MadePictures = std::array<std::span<const uint8_t>, 3>;

size_t MadeIndex(float artworkScale) {
  size_t i = 0;
  while (i + 1 < kMadeScales.size() && kMadeScales[i] != artworkScale) ++i;
  return i;
}

// The picture of `made` for `scale`: a made one as it is, any other resized
// from the next larger. A failed decode is kept as an empty picture:
// drawing it does nothing, which leaves that part of the UI out.
std::unique_ptr<GpImage> PictureFor(const MadePictures& made, Size size1x, float scale) {
  const float artworkScale = ArtworkScaleFor(scale);
  auto picture = std::make_unique<GpBitmap>();
  picture->LoadFromBytes(made[MadeIndex(artworkScale)]);
  if (artworkScale == scale || !picture->Holds()) return picture;
  const Size size{ScalePx(size1x.width, scale), ScalePx(size1x.height, scale)};
  auto resized = std::make_unique<GpBitmap>();
  if (resized->Create(size.width, size.height)) {
    resized->Pixels() = ResampleByArea(picture->Pixels(), size.width, size.height);
  }
  return resized;
}

const GpImage& Cached(std::map<float, std::unique_ptr<GpImage>>& cache, const MadePictures& made, Size size1x,
                      float scale) {
  auto found = cache.find(scale);
  if (found == cache.end()) found = cache.emplace(scale, PictureFor(made, size1x, scale)).first;
  return *found->second;
}

}  // namespace

float ArtworkScaleFor(float scale) {
  for (float made : kMadeScales) {
    if (made >= scale) return made;
  }
  return kMadeScales.back();
}

const GpImage& ToolbarStripImage(float scale) {
  static std::map<float, std::unique_ptr<GpImage>> cache;
  static const MadePictures made = {assets::toolbar_strip_png, assets::toolbar_strip_1_5x_png,
                                    assets::toolbar_strip_2x_png};
  return Cached(cache, made, kToolbarStripSize, scale);
}

const GpImage& MenuImage(float scale) {
  static std::map<float, std::unique_ptr<GpImage>> cache;
  static const MadePictures made = {assets::menu_png, assets::menu_1_5x_png, assets::menu_2x_png};
  return Cached(cache, made, kMenuPictureSize, scale);
}

const GpImage& MenuHoverImage(float scale) {
  static std::map<float, std::unique_ptr<GpImage>> cache;
  static const MadePictures made = {assets::menu_hover_png, assets::menu_hover_1_5x_png, assets::menu_hover_2x_png};
  return Cached(cache, made, kMenuPictureSize, scale);
}

}  // namespace rc
