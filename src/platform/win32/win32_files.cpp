#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {

namespace {

// Writes everything, in pieces small enough for one WriteFile call each.
bool WriteAll(HANDLE file, std::span<const uint8_t> bytes) {
  constexpr size_t kChunk = size_t{1} << 30;
  while (!bytes.empty()) {
    const DWORD piece = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), piece, &written, nullptr) || written == 0) return false;
    bytes = bytes.subspan(written);
  }
  return true;
}

HostResult WriteTemporary(const std::wstring& temp, const std::string& path, std::span<const uint8_t> bytes) {
  HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Win32FileError("cannot create a temporary file beside " + path);
  HostResult result = HostResult::Ok();
  if (!WriteAll(file, bytes) || !FlushFileBuffers(file)) result = Win32FileError("cannot write " + path);
  if (!CloseHandle(file) && result.ok) result = Win32FileError("cannot write " + path);
  return result;
}

}  // namespace

bool FileExistsWin32(const std::string& path) {
  if (path.empty()) return false;
  return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

// A read-only file is the user's to unlock, not ours to replace; a folder
// of the name is never replaced either.
HostResult CheckTarget(const std::wstring& target, const std::string& path) {
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return HostResult::Ok();
  if (attributes & FILE_ATTRIBUTE_DIRECTORY)
    return HostResult::FailFile("Win32: " + path + " is a folder", FileFailure::FolderInTheWay);
  if (attributes & FILE_ATTRIBUTE_READONLY)
    return HostResult::FailFile("Win32: " + path + " is read-only", FileFailure::ReadOnly);
  return HostResult::Ok();
}

}  // namespace

HostResult WriteFileAtomicWin32(const std::string& path, std::span<const uint8_t> bytes) {
  if (path.empty()) return HostResult::Fail("Win32: no file name given");
  const std::wstring target = Utf8ToWide(path);
  if (HostResult checked = CheckTarget(target, path); !checked) return checked;
  const std::wstring temp = target + L".regioncap-" + std::to_wstring(GetCurrentProcessId()) + L".tmp";
  HostResult result = WriteTemporary(temp, path, bytes);
  if (result.ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    result = Win32FileError("cannot replace " + path);
  }
  if (!result.ok) DeleteFileW(temp.c_str());
  return result;
}

HostRuntime::LocalTime NowWin32() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

}  // namespace rc
