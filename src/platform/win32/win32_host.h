// The Windows host: one layered, top-most overlay window, its message
// loop, and the system's clipboard, dialogs, files, text and codecs.
#pragma once

#include <windows.h>

#include <map>
#include <utility>

#include "app/host.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_message.h"
#include "platform/win32/win32_surfaces.h"
#include "platform/win32/win32_text.h"

namespace rc {

// Thrown by EndProgram when the host returns from captures (the resident
// mode), to unwind out of the capture; the host catches it before it could
// reach the system's code, and the resident loop catches it around
// RunCapture.
struct Win32CaptureEnded {
  int exitCode = 0;
};

class Win32Host : public HostRuntime {
 public:
  Win32Host() = default;
  ~Win32Host() override;
  Win32Host(const Win32Host&) = delete;
  Win32Host& operator=(const Win32Host&) = delete;

  Size ScreenSize() override;
  Point CursorPos() override;
  Box DesktopRect() override;
  std::vector<Monitor> Monitors() override;
  Canvas TakeSnapshot() override;
  void LoadWindow(const std::function<void()>& onCreate) override;
  uintptr_t WindowHandle() override { return reinterpret_cast<uintptr_t>(window_); }
  void SetWindowBounds(const Box& bounds) override;
  Box WindowBounds() override;
  void SetMousePointer(const MousePointer& pointer) override;
  void MakeTopmost() override;
  void SetLayered(bool layered) override;
  Canvas CreateSurfaceCanvas(int32_t width, int32_t height) override;
  HostResult Present(const Canvas& backBuffer, const Box& damaged) override;
  HostResult PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) override;
  WindowProc SetWindowProc(WindowProc proc) override;
  void RunMessageLoop() override;
  void ProcessPendingMessages() override;
  void RegisterExitRoutine(std::function<void()> routine) override;
  [[noreturn]] void EndProgram(int exitCode) override;
  void ShowErrorText(const std::string& text) override;
  TextMask RenderText(const std::string& utf8, const FontRequest& font) override;
  std::vector<const ImageCodec*> ImageCodecs() override;
  HostResult SetClipboardImage(const Canvas& source, const Box& area) override;
  SaveDialogResult ShowSaveDialog(const SaveDialogRequest& request) override;
  bool AskYesNo(const std::string& title, const std::string& question) override;
  bool FileExists(const std::string& path) override;
  HostResult WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override;
  LocalTime Now() override;
  bool DirectoryExists(const std::string& path) override { return DirectoryExistsWin32(path); }
  std::string SettingsDirectory() override { return SettingsDirectoryWin32(); }
  void MovePointer(Point desktop) override { SetCursorPos(desktop.x, desktop.y); }
  HostResult SetClipboardText(const std::string& utf8) override;
  void SetTextInputSpot(std::optional<Box> caret) override;
  std::vector<Box> WindowFrames() override;
  std::optional<std::vector<uint8_t>> ReadSmallFile(const std::string& path, size_t maxBytes) override {
    return ReadSmallFileWin32(path, maxBytes);
  }
  HostResult MakeDirectories(const std::string& path) override { return MakeDirectoriesWin32(path); }

  // The exit code the message loop ended with (WM_QUIT), for the entry
  // point to end the program with.
  int QuitCode() const { return quitCode_; }

  // The resident mode: from now on a capture's end returns to the caller of
  // RunCapture (see Win32CaptureEnded) instead of ending the process.
  void ReturnFromCaptures() { returnsFromCaptures_ = true; }
  // Once RunCapture has returned or thrown: runs the exit routine, takes
  // the overlay window down and readies the host for the next capture.
  // Returns the capture's exit code.
  int FinishCapture();
  // Whether the running capture has ended and is taking its window down.
  bool CaptureEnded() const { return captureEnded_; }
  // Ends the running capture as though the system had closed its window.
  void CloseCapture();

 private:
  struct NativeMessage {
    HWND window = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  };

  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Dispatch(const NativeMessage& native);
  LRESULT DispatchToProgram(const NativeMessage& native);
  void TakeDownEndedCapture(int exitCode);
  void RunExitRoutine();
  LRESULT DefaultProcedure();
  void DispatchOne(MSG& msg);
  HCURSOR CursorFor(const MousePointer& pointer);
  HostResult PresentCopy(const Canvas& backBuffer, const Box& damaged);

  HWND window_ = nullptr;
  WindowProc proc_;
  // The native message being handled, for the default procedure at the
  // bottom of the chain; nested dispatches save and restore it.
  NativeMessage current_;
  HCURSOR cursor_ = nullptr;
  std::map<std::pair<const uint8_t*, size_t>, HCURSOR> fileCursors_;
  bool layered_ = false;
  LONG_PTR savedExStyle_ = 0;
  Win32Surfaces surfaces_;
  Win32InputTranslator input_;
  GdiTextRenderer text_;
  std::function<void()> exitRoutine_;
  bool exiting_ = false;
  int quitCode_ = 0;
  bool returnsFromCaptures_ = false;
  // The capture has ended (EndProgram) and is unwinding: its procedure
  // sees no more messages.
  bool captureEnded_ = false;
  int endCode_ = 0;
};

}  // namespace rc
