#include "platform/win32/win32_files.h"

#include <windows.h>

#include <algorithm>
#include <iterator>

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

bool DirectoryExistsWin32(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(Utf8ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
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

std::optional<std::vector<uint8_t>> ReadSmallFileWin32(const std::string& path, size_t maxBytes) {
  HANDLE file = CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::optional<std::vector<uint8_t>> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<uint64_t>(size.QuadPart) <= maxBytes) {
    bytes.emplace(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes->empty() && !ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr)) read = 0;
    bytes->resize(read);
  }
  CloseHandle(file);
  return bytes;
}

// Every prefix that ends before a separator is made in turn; a drive ("C:")
// or a server share fails to be made and is simply passed over.
HostResult MakeDirectoriesWin32(const std::string& path) {
  if (path.empty()) return HostResult::Fail("Win32: no folder named");
  const std::wstring wide = Utf8ToWide(path);
  for (size_t at = wide.find_first_of(L"\\/", 1);; at = wide.find_first_of(L"\\/", at + 1)) {
    CreateDirectoryW(wide.substr(0, at).c_str(), nullptr);
    if (at == std::wstring::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return Win32Failure("cannot create the folder " + path);
  }
  return HostResult::Ok();
}

std::string SettingsDirectoryWin32() {
  wchar_t buffer[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", buffer, static_cast<DWORD>(std::size(buffer)));
  if (length == 0 || length >= std::size(buffer)) return {};
  return WideToUtf8(std::wstring_view(buffer, length)) + "\\regioncap";
}

}  // namespace rc
