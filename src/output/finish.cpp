#include "output/finish.h"

#include "app/compositor.h"
#include "app/host.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "output/capture_piece.h"
#include "output/clipboard_copy.h"
#include "output/command_output.h"
#include "output/overlay_notice.h"
#include "overlay/overlay_ops.h"

namespace rc {

namespace {

// The literal route: the clean screen as a BMP, the selection cut out in
// the BMP's own format, decoded again onto the clipboard.
HostResult CopyLiteral(const IntRect& rect) {
  const std::vector<uint8_t> screen = CleanScreenBmp();
  const std::vector<uint8_t> piece = CropScreenBmp(screen, rect, {});
  return CopyBitmapToClipboard(Host().WindowHandle(), piece);
}

HostResult CopySelection(const IntRect& rect) {
  if (ActiveCompositor() == Compositor::Literal) return CopyLiteral(rect);
  // Without shapes no copy: the host takes the pixels straight from the snapshot.
  if (!HasShapes()) return PutOnClipboard(State().SnapshotCanvas.CanvasDC(), AreaOf(rect));
  const Canvas piece = SelectionPicture(rect);
  return PutOnClipboard(piece, piece.Bounds());
}

// --output: the same pixels also go to the file; a failure keeps the
// capture open so the user can save elsewhere.
bool WriteOutputIfAsked(const IntRect& rect) {
  const CaptureState& s = State();
  if (s.Options.outputPath.empty()) return true;
  const HostResult written = WriteOutputFile(SnapshotPiece(s.SnapshotCanvas.CanvasDC(), rect), s.Options);
  if (!written) BackToSelection(std::string(kNoticeSaveFailed) + written.message);
  return written.ok;
}

}  // namespace

// A finish with nothing selected (a click without a drag leaves an empty
// rectangle) keeps the clipboard as it was and the capture open: ending
// would look like a copy that never happened.
void FinishCapture() {
  CommitTextBox();
  const IntRect rect = State().SelectionRect;
  if (!HasArea(rect)) {
    ResetSelection();
    ShowOverlayNotice(kNoticeNothingSelected);
    return;
  }
  if (!CopySelection(rect)) {
    BackToSelection(kNoticeClipboardBusy);
    return;
  }
  if (!WriteOutputIfAsked(rect)) return;
  PrintGeometryIfAsked(rect);
  EndCapture();
}

}  // namespace rc
