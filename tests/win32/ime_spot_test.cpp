// The input method's windows follow the text caret (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include "platform/win32/win32_host.h"
#include "platform/win32/win32_ime_spot.h"

namespace rc {
namespace {

struct ImeForms {
  COMPOSITIONFORM composition{};
  CANDIDATEFORM candidates{};
};

ImeForms ReadForms(HWND window) {
  ImeForms forms;
  HIMC context = ImmGetContext(window);
  EXPECT_NE(context, nullptr);
  if (context == nullptr) return forms;
  EXPECT_TRUE(ImmGetCompositionWindow(context, &forms.composition));
  EXPECT_TRUE(ImmGetCandidateWindow(context, 0, &forms.candidates));
  ImmReleaseContext(window, context);
  return forms;
}

TEST(Win32ImeSpot, CompositionStartsAtTheCaretAndCandidatesKeepOffIt) {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 100, 50, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  PlaceImeWindows(window, Box{30, 40, 2, 25});
  ImeForms forms = ReadForms(window);
  EXPECT_EQ(forms.composition.dwStyle, static_cast<DWORD>(CFS_POINT));
  EXPECT_EQ(forms.composition.ptCurrentPos.x, 30);
  EXPECT_EQ(forms.composition.ptCurrentPos.y, 40);
  EXPECT_EQ(forms.candidates.dwStyle, static_cast<DWORD>(CFS_EXCLUDE));
  EXPECT_EQ(forms.candidates.ptCurrentPos.x, 30);
  EXPECT_EQ(forms.candidates.ptCurrentPos.y, 65);
  EXPECT_EQ(forms.candidates.rcArea.left, 30);
  EXPECT_EQ(forms.candidates.rcArea.top, 40);
  EXPECT_EQ(forms.candidates.rcArea.right, 32);
  EXPECT_EQ(forms.candidates.rcArea.bottom, 65);
  PlaceImeWindows(window, std::nullopt);  // no box: the input method places itself
  EXPECT_EQ(ReadForms(window).composition.dwStyle, static_cast<DWORD>(CFS_DEFAULT));
  DestroyWindow(window);
}

// The program speaks of the desktop; the input method of the window's client area.
TEST(Win32ImeSpot, TheHostTurnsDesktopIntoClientCoordinates) {
  Win32Host host;
  host.ReturnFromCaptures();
  ImeForms forms;
  EXPECT_THROW(host.LoadWindow([&] {
    host.SetWindowBounds(Box{-300, 50, 400, 300});
    host.SetTextInputSpot(Box{-250, 90, 2, 25});
    forms = ReadForms(reinterpret_cast<HWND>(host.WindowHandle()));
    host.EndProgram(0);
  }),
               Win32CaptureEnded);
  host.FinishCapture();
  EXPECT_EQ(forms.composition.ptCurrentPos.x, 50);
  EXPECT_EQ(forms.composition.ptCurrentPos.y, 40);
  EXPECT_EQ(forms.candidates.ptCurrentPos.y, 65);
}

}  // namespace
}  // namespace rc
