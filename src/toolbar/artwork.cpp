#include "toolbar/artwork.h"

#include "assets/embedded.h"

namespace rc {

namespace {

// A failed decode is kept as an empty picture: drawing it does nothing,
// which leaves that part of the toolbar or menu out.
const GpImage& Decoded(GpImage& image, bool& tried, std::span<const uint8_t> bytes) {
  if (!tried) {
    tried = true;
    image.LoadFromBytes(bytes);
  }
  return image;
}

}  // namespace

const GpImage& ToolbarStripImage() {
  static GpImage image;
  static bool tried = false;
  return Decoded(image, tried, assets::toolbar_strip_png);
}

const GpImage& MenuImage() {
  static GpImage image;
  static bool tried = false;
  return Decoded(image, tried, assets::menu_png);
}

const GpImage& MenuHoverImage() {
  static GpImage image;
  static bool tried = false;
  return Decoded(image, tried, assets::menu_hover_png);
}

}  // namespace rc
