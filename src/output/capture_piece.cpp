#include "output/capture_piece.h"

#include "app/host.h"
#include "app/state.h"
#include "gfx/blend.h"
#include "gfx/image_codecs.h"
#include "output/crop_image.h"
#include "output/dc_to_bmp.h"

namespace rc {

bool HasArea(const IntRect& rect) { return rect.right > rect.left && rect.bottom > rect.top; }

Canvas SnapshotPiece(const Canvas& snapshot, const IntRect& rect) {
  const int32_t w = rect.right - rect.left;
  const int32_t h = rect.bottom - rect.top;
  Canvas piece;
  if (!piece.Create(w, h)) return piece;
  StretchCopy(piece, Box{0, 0, w, h}, snapshot, Box{rect.left, rect.top, w, h});
  // Every output is opaque, whatever a snapshot pixel's alpha byte says.
  for (int32_t y = 0; y < h; ++y) {
    Pixel* row = piece.Row(y);
    for (int32_t x = 0; x < w; ++x) row[x] |= 0xFF000000u;
  }
  return piece;
}

std::vector<uint8_t> CleanScreenBmp() {
  CaptureState& s = State();
  const Box window = Host().WindowBounds();
  s.OverlaySurface.BlendFrom(s.SnapshotCanvas.CanvasDC(), 0, 0, window.width, window.height, 0, 0, window.width,
                             window.height, 255, false);
  const Size screen = Host().ScreenSize();
  return DcToBmpBytes(s.OverlaySurface.CanvasDC(), screen.width, screen.height);
}

std::vector<uint8_t> CropScreenBmp(std::span<const uint8_t> screenBmp, const IntRect& rect, std::string formatId) {
  return CropImageBytes(screenBmp, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, formatId);
}

std::vector<uint8_t> EncodePicture(const Canvas& picture, std::string_view formatId) {
  const ImageCodec* codec = CodecByClassId(FindEncoder(formatId));
  if (codec == nullptr || picture.Empty()) return {};
  return codec->Encode(picture);
}

}  // namespace rc
