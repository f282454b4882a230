#include "output/save_capture.h"

#include <string>
#include <string_view>
#include <vector>

#include "app/compositor.h"
#include "app/host.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "gfx/image_format.h"
#include "output/capture_piece.h"
#include "output/command_output.h"
#include "output/file_dialog.h"
#include "output/overlay_notice.h"
#include "output/save_failure.h"
#include "output/timestamp.h"
#include "overlay/overlay_ops.h"

namespace rc {

namespace {

constexpr const char* kSaveFilter = "PNG (*.png)|*.png|BMP (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|GIF (*.gif)|*.gif";
constexpr const char* kDefaultNamePrefix = "截图";

std::string_view FormatForFilter(int index) {
  switch (index) {
    case 2: return kImageFormatBmp;
    case 3: return kImageFormatJpeg;
    case 4: return kImageFormatGif;
    default: return kImageFormatPng;
  }
}

// The dialog's window has just gone: what it covered is shown again before
// the question opens, or pieces of the dialog stay behind it.
void ShowWholeOverlay() {
  LayeredSurface& surface = State().OverlaySurface;
  surface.MarkChanged({0, 0, surface.CanvasWidth(), surface.CanvasHeight()});
  surface.Present();
}

// The extension rule may have turned the confirmed name into that of a
// file the dialog never asked about; replacing it needs the user's word.
bool MayWrite(const FileDialog& dialog) {
  if (dialog.FileName() == dialog.ConfirmedPath() || !Host().FileExists(dialog.FileName())) return true;
  ShowWholeOverlay();
  return Host().AskYesNo("确认另存为", "“" + dialog.FileTitle() + "”已经存在。\n要替换它吗？");
}

// The literal route took the screen BMP before the dialog; the fast one
// cuts from the snapshot only now, once the format is known.
std::vector<uint8_t> EncodeSelection(const std::vector<uint8_t>& screenBmp, const IntRect& rect,
                                     std::string_view format) {
  if (ActiveCompositor() == Compositor::Literal) return CropScreenBmp(screenBmp, rect, std::string(format));
  return EncodePicture(SelectionPicture(rect), format);
}

// Writes through a temporary file, so a failure leaves any old file whole;
// the user stays at the selection to save elsewhere or finish.
void WriteSelection(const FileDialog& dialog, const std::vector<uint8_t>& screenBmp, const IntRect& rect) {
  const std::vector<uint8_t> bytes = EncodeSelection(screenBmp, rect, FormatForFilter(dialog.FilterIndex()));
  const HostResult written = bytes.empty() ? HostResult::Fail("the picture could not be encoded")
                                            : Host().WriteFileAtomic(dialog.FileName(), bytes);
  if (!written) {
    ReportSaveFailure(written, dialog.FileTitle());
    return;
  }
  PrintGeometryIfAsked(rect);
  EndCapture();
}

}  // namespace

void SaveCapture() {
  CommitTextBox();
  const IntRect rect = State().SelectionRect;
  if (!HasArea(rect)) {
    ResetSelection();
    ShowOverlayNotice(kNoticeNothingSelected);
    return;
  }
  const bool literal = ActiveCompositor() == Compositor::Literal;
  const std::vector<uint8_t> screenBmp = literal ? CleanScreenBmp() : std::vector<uint8_t>{};
  RepaintDimmedScreen();
  FileDialog dialog;
  dialog.SetDefaultFileName(kDefaultNamePrefix + TimestampText(Host().Now()));
  dialog.SetDialogFlags(kOfnOverwritePrompt);
  if (dialog.ShowSaveDialog(Host().WindowHandle(), {}, kSaveFilter).empty()) {
    if (dialog.LastError().empty()) ResetSelection();
    else BackToSelection(kNoticeNoSaveDialog);
    return;
  }
  if (!MayWrite(dialog)) {
    BackToSelection(kNoticeNotReplaced);
    return;
  }
  WriteSelection(dialog, screenBmp, rect);
}

}  // namespace rc
