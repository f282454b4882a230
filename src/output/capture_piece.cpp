#include "output/capture_piece.h"

#include "app/host.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "gfx/blend.h"
#include "gfx/image_codecs.h"
#include "output/crop_image.h"
#include "output/dc_to_bmp.h"

namespace rc {

bool HasArea(const IntRect& rect) { return rect.right > rect.left && rect.bottom > rect.top; }

Box AreaOf(const IntRect& rect) { return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}; }

// Every output is opaque, whatever a snapshot pixel's alpha byte says.
Canvas SnapshotPiece(const Canvas& snapshot, const IntRect& rect) { return OpaqueCopy(snapshot, AreaOf(rect)); }

Canvas SelectionPicture(const IntRect& rect) {
  Canvas piece = SnapshotPiece(State().SnapshotCanvas.CanvasDC(), rect);
  BurnShapes(piece, {rect.left, rect.top}, rect);
  return piece;
}

std::vector<uint8_t> CleanScreenBmp() {
  CaptureState& s = State();
  const Box window = Host().WindowBounds();
  s.OverlaySurface.BlendFrom(s.SnapshotCanvas.CanvasDC(), 0, 0, window.width, window.height, 0, 0, window.width,
                             window.height, 255, false);
  BurnShapes(s.OverlaySurface.CanvasDC(), {0, 0}, s.SelectionRect);
  return DcToBmpBytes(s.OverlaySurface.CanvasDC(), window.width, window.height);
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
