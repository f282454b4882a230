#include "platform/win32/win32_error.h"

#include <windows.h>

#include "platform/win32/win32_text_encoding.h"

namespace rc {

std::string SystemErrorText(uint32_t code) {
  wchar_t* buffer = nullptr;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const DWORD length = FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  if (buffer != nullptr) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) return "error " + std::to_string(code);
  return WideToUtf8(text);
}

HostResult Win32Failure(const std::string& what) {
  const DWORD code = GetLastError();
  return HostResult::Fail("Win32: " + what + ": " + SystemErrorText(code));
}

FileFailure Win32FileFailure(uint32_t code) {
  switch (code) {
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_READ_ONLY: return FileFailure::ReadOnly;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return FileFailure::DiskFull;
    case ERROR_FILENAME_EXCED_RANGE: return FileFailure::NameTooLong;
    case ERROR_ACCESS_DENIED: return FileFailure::NoPermission;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return FileFailure::NoFolder;
    default: return FileFailure::Other;
  }
}

HostResult Win32FileError(const std::string& what) {
  const DWORD code = GetLastError();
  return HostResult::FailFile("Win32: " + what + ": " + SystemErrorText(code), Win32FileFailure(code));
}

}  // namespace rc
