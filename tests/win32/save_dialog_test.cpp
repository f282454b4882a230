// The save dialog, answered from a second thread as a user would answer it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/win32/win32_save_dialog.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {
namespace {

constexpr int kFileNameCombo = 0x47C;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFilterCombo = 0x470;    // cmb1

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND WaitForDialog(DWORD thread) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    HWND dialog = nullptr;
    EnumThreadWindows(thread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr) return dialog;
    Sleep(100);
  }
  return nullptr;
}

// Types `name`, picks filter `index` (0-based) and presses Save.
void Answer(DWORD thread, const std::wstring& name, int index) {
  HWND dialog = WaitForDialog(thread);
  if (dialog == nullptr) return;
  SetDlgItemTextW(dialog, kFileNameCombo, name.c_str());
  SetDlgItemTextW(dialog, kFileNameEdit, name.c_str());
  HWND filter = GetDlgItem(dialog, kFilterCombo);
  SendMessageW(filter, CB_SETCURSEL, index, 0);
  // A user's pick ends with both notifications; dialogs act on either.
  for (WORD code : {CBN_SELCHANGE, CBN_SELENDOK}) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFilterCombo, code), reinterpret_cast<LPARAM>(filter));
  }
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

std::string TempDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);
  return WideToUtf8(buffer);
}

TEST(Win32SaveDialog, ReturnsTheChosenPathTitleAndFilterInUtf8) {
  SaveDialogRequest request;
  request.filters = {{"PNG (*.png)", "*.png"}, {"BMP (*.bmp)", "*.bmp"}, {"JPEG (*.jpg)", "*.jpg"}};
  request.defaultName = "截图20261207041500";
  request.initialDirectory = TempDirectory();
  request.overwritePrompt = true;
  std::thread user(Answer, GetCurrentThreadId(), std::wstring(L"\u622A\u56FE test.jpg"), 2);
  const SaveDialogResult result = ShowSaveDialogWin32(nullptr, request);
  user.join();
  ASSERT_TRUE(result.confirmed);
  EXPECT_EQ(result.fileTitle, "截图 test.jpg");
  EXPECT_EQ(result.path, TempDirectory() + "截图 test.jpg");
  EXPECT_EQ(result.filterIndex, 3);
}

TEST(Win32SaveDialog, ACancelIsNotConfirmed) {
  std::thread user([thread = GetCurrentThreadId()] {
    if (HWND dialog = WaitForDialog(thread)) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  const SaveDialogResult result = ShowSaveDialogWin32(nullptr, {{{"PNG (*.png)", "*.png"}}, "x", "", "", false});
  user.join();
  EXPECT_FALSE(result.confirmed);
  EXPECT_TRUE(result.path.empty());
}

}  // namespace
}  // namespace rc
