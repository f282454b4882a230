#include "platform/win32/win32_message_box.h"

#include "platform/win32/win32_text_encoding.h"

namespace rc {

// MB_TOPMOST: the overlay is itself top-most and covers the whole screen,
// so a box that is not would open out of sight.
void ShowErrorBox(HWND owner, const std::string& text) {
  MessageBoxW(owner, Utf8ToWide(text).c_str(), L"regioncap", MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
}

bool AskYesNoBox(HWND owner, const std::string& title, const std::string& question) {
  const UINT style = MB_YESNO | MB_ICONQUESTION | MB_TOPMOST | MB_SETFOREGROUND;
  return MessageBoxW(owner, Utf8ToWide(question).c_str(), Utf8ToWide(title).c_str(), style) == IDYES;
}

}  // namespace rc
