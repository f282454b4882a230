#include "platform/win32/win32_ime_spot.h"

#include <imm.h>

namespace rc {

namespace {

void PlaceAtCaret(HIMC context, const Box& caret) {
  COMPOSITIONFORM composition{};
  composition.dwStyle = CFS_POINT;
  composition.ptCurrentPos = {caret.x, caret.y};
  ImmSetCompositionWindow(context, &composition);
  // Below the caret, moved aside by the input method rather than over it.
  CANDIDATEFORM candidates{};
  candidates.dwIndex = 0;
  candidates.dwStyle = CFS_EXCLUDE;
  candidates.ptCurrentPos = {caret.x, caret.Bottom()};
  candidates.rcArea = {caret.x, caret.y, caret.Right(), caret.Bottom()};
  ImmSetCandidateWindow(context, &candidates);
}

}  // namespace

void PlaceImeWindows(HWND window, std::optional<Box> caret) {
  HIMC context = ImmGetContext(window);
  if (context == nullptr) return;
  if (caret) {
    PlaceAtCaret(context, *caret);
  } else {
    COMPOSITIONFORM composition{};
    composition.dwStyle = CFS_DEFAULT;
    ImmSetCompositionWindow(context, &composition);
  }
  ImmReleaseContext(window, context);
}

}  // namespace rc
