#include "platform/win32/win32_save_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "platform/win32/win32_filter.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {

namespace {

// The proposed name, cut short rather than overflowing the buffer.
std::vector<wchar_t> FileBuffer(const std::string& defaultName) {
  std::vector<wchar_t> buffer(kSaveDialogPathChars, L'\0');
  const std::wstring name = Utf8ToWide(defaultName);
  name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
  return buffer;
}

const wchar_t* OrNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

SaveDialogResult ShowSaveDialogWin32(HWND owner, const SaveDialogRequest& request) {
  const std::wstring filter = BuildFilterBuffer(request.filters);
  const std::wstring directory = Utf8ToWide(request.initialDirectory);
  const std::wstring title = Utf8ToWide(request.title);
  std::vector<wchar_t> file = FileBuffer(request.defaultName);
  std::vector<wchar_t> fileTitle(kSaveDialogPathChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = OrNull(filter);
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = fileTitle.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
  ofn.lpstrInitialDir = OrNull(directory);
  ofn.lpstrTitle = OrNull(title);
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (request.overwritePrompt ? OFN_OVERWRITEPROMPT : 0);
  SaveDialogResult result;
  if (!GetSaveFileNameW(&ofn)) return result;
  result.confirmed = true;
  result.path = WideToUtf8(file.data());
  result.fileTitle = WideToUtf8(fileTitle.data());
  result.filterIndex = ofn.nFilterIndex == 0 ? 1 : static_cast<int>(ofn.nFilterIndex);
  return result;
}

}  // namespace rc
