#include "output/crop_image.h"

#include "gfx/blend.h"
#include "gfx/gp_image.h"

namespace rc {

std::vector<uint8_t> CropImageBytes(std::span<const uint8_t> imageBytes, int x, int y, int w, int h,
                                    std::string& formatId) {
  GpBitmap piece;
  piece.Create(w, h);
  GpBitmap source;
  source.LoadFromBytes(imageBytes);
  if (piece.Holds() && source.Holds()) {
    StretchCopy(piece.Pixels(), Box{0, 0, w, h}, source.Pixels(), Box{x, y, w, h});
  }
  if (formatId.empty()) formatId = source.RawFormat();
  // Without a source there is nothing to cut: a blank piece is not the
  // picture that was asked for.
  if (!source.Holds()) return {};
  return piece.SaveToBytes(formatId);
}

}  // namespace rc
