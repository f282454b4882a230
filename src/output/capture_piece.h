// The selected pixels of the clean screen, by either compositor's route.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

// Whether the rectangle holds any pixel to output.
bool HasArea(const IntRect& rect);

// The fast route: the rectangle cut straight from the snapshot, opaque;
// parts beyond the screen are black, as an encoded crop gives them.
Canvas SnapshotPiece(const Canvas& snapshot, const IntRect& rect);
// The fast route's picture: the snapshot piece with the shapes burnt in.
Canvas SelectionPicture(const IntRect& rect);
// The rectangle as an origin and a size.
Box AreaOf(const IntRect& rect);

// The literal route: the clean snapshot, with the shapes inside the
// selection, is blended into the back buffer (not presented) and the whole
// screen read back as a 32-bit BMP.
std::vector<uint8_t> CleanScreenBmp();

// The literal route's crop: the rectangle of the screen BMP, encoded in
// `formatId` (empty: the BMP's own format).
std::vector<uint8_t> CropScreenBmp(std::span<const uint8_t> screenBmp, const IntRect& rect, std::string formatId);

// The picture encoded by the encoder of `formatId`; empty when none.
std::vector<uint8_t> EncodePicture(const Canvas& picture, std::string_view formatId);

}  // namespace rc
