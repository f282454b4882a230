// The Windows host's services against the real system (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iterator>

#include "app/overlay_cursor.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_cursor.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {
namespace {

std::string TempDirectory() {
  wchar_t buffer[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, buffer);
  return WideToUtf8(buffer);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(Utf8ToWide(path).c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Win32Cursor, TheOverlayCursorLoadsWithItsHotSpotAtTheTopLeft) {
  HCURSOR cursor = static_cast<HCURSOR>(CursorFromFileBytes(OverlayCursor().cursorFile));
  ASSERT_NE(cursor, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 0u);
  EXPECT_EQ(info.yHotspot, 0u);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  DestroyCursor(cursor);
}

TEST(Win32Cursor, DamagedCursorFilesAreRefused) {
  std::vector<uint8_t> file(OverlayCursor().cursorFile.begin(), OverlayCursor().cursorFile.end());
  EXPECT_EQ(CursorFromFileBytes(std::span(file).first(30)), nullptr);  // image cut off
  file[2] = 1;                                                          // an icon, not a cursor
  EXPECT_EQ(CursorFromFileBytes(file), nullptr);
  EXPECT_EQ(CursorFromFileBytes({}), nullptr);
  EXPECT_NE(StandardCursorHandle(StandardCursor::SizeNWSE), nullptr);
}

TEST(Win32Files, WritesReplaceWholeFilesAndLeaveNoTemporaryBehind) {
  const std::string path = TempDirectory() + "截图 regioncap test.bin";
  const std::vector<uint8_t> first(100000, 7), second{1, 2, 3};
  ASSERT_TRUE(WriteFileAtomicWin32(path, first).ok);
  ASSERT_TRUE(WriteFileAtomicWin32(path, second).ok);
  EXPECT_TRUE(FileExistsWin32(path));
  EXPECT_EQ(ReadWholeFile(path), std::string("\1\2\3"));
  const std::string temp = path + ".regioncap-" + std::to_string(GetCurrentProcessId()) + ".tmp";
  EXPECT_FALSE(FileExistsWin32(temp));
  DeleteFileW(Utf8ToWide(path).c_str());
  EXPECT_FALSE(FileExistsWin32(path));
}

TEST(Win32Files, AReadOnlyFileIsNotReplaced) {
  const std::string path = TempDirectory() + "regioncap-read-only.png";
  ASSERT_TRUE(WriteFileAtomicWin32(path, std::vector<uint8_t>{1, 2, 3}).ok);
  SetFileAttributesW(Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_READONLY);
  const HostResult result = WriteFileAtomicWin32(path, std::vector<uint8_t>{4});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.file, FileFailure::ReadOnly);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ASSERT_TRUE(GetFileAttributesExW(Utf8ToWide(path).c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 3u);
  SetFileAttributesW(Utf8ToWide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW(Utf8ToWide(path).c_str());
  EXPECT_EQ(Win32FileFailure(ERROR_DISK_FULL), FileFailure::DiskFull);
  EXPECT_EQ(Win32FileFailure(ERROR_FILENAME_EXCED_RANGE), FileFailure::NameTooLong);
  EXPECT_EQ(Win32FileFailure(ERROR_ACCESS_DENIED), FileFailure::NoPermission);
}

TEST(Win32Files, FailuresAreReportedWithThePlatformsName) {
  const HostResult missing = WriteFileAtomicWin32(TempDirectory() + "no such dir\\x.png", std::vector<uint8_t>{1});
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.message.rfind("Win32: ", 0), 0u) << missing.message;
  EXPECT_EQ(missing.file, FileFailure::NoFolder);
  EXPECT_FALSE(WriteFileAtomicWin32("", std::vector<uint8_t>{1}).ok);
  EXPECT_FALSE(FileExistsWin32(""));
  const HostRuntime::LocalTime now = NowWin32();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
}

TEST(Win32Clipboard, ThePictureComesBackPixelForPixel) {
  Canvas picture(3, 2);
  for (int32_t i = 0; i < 6; ++i) picture.Set(i % 3, i / 3, MakePixel(255, 40 * i, 255 - 30 * i, 10 + i));
  ASSERT_TRUE(SetClipboardBitmap(nullptr, picture).ok);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(bitmap, nullptr);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, -2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  uint32_t pixels[6] = {};
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDIBits(screen, bitmap, 0, 2, pixels, &info, DIB_RGB_COLORS), 2);
  ReleaseDC(nullptr, screen);
  CloseClipboard();
  for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(pixels[i] & 0xFFFFFFu, picture.At(i % 3, i / 3) & 0xFFFFFFu) << i;
}

TEST(Win32Clipboard, AnEmptyPictureFailsAndKeepsTheOldContents) {
  Canvas one(1, 1);
  one.Fill(MakePixel(255, 1, 2, 3));
  ASSERT_TRUE(SetClipboardBitmap(nullptr, one).ok);
  const HostResult failed = SetClipboardBitmap(nullptr, Canvas());
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.message.rfind("Win32: ", 0), 0u);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
}

TEST(Win32Text, MasksGrowWithTheEmAndSitBelowTheLineTop) {
  GdiTextRenderer text;
  const TextMask small = text.Render("截图 200 × 100", {"微软雅黑", 12.0f});
  const TextMask large = text.Render("截图 200 × 100", {"微软雅黑", 24.0f});
  ASSERT_GT(small.width, 0);
  ASSERT_GT(large.width, small.width);
  EXPECT_GT(large.height, small.height);
  EXPECT_EQ(small.coverage.size(), static_cast<size_t>(small.width) * small.height);
  EXPECT_GE(small.top, 0);
  EXPECT_LT(small.top + small.height, 24);
  // A family that is not installed falls back to the system's message font.
  EXPECT_GT(text.Render("截图 200 × 100", {"No Such Family 7", 12.0f}).width, 0);
  EXPECT_TRUE(text.Render("", {"微软雅黑", 12.0f}).coverage.empty());
  EXPECT_TRUE(text.Render("x", {"微软雅黑", -3.0f}).coverage.empty());
}

}  // namespace
}  // namespace rc
