// The Linux host on a Wayland compositor: the snapshot through screencopy
// (or the screenshot portal where the compositor offers none), the overlay
// on the layer shell (or fullscreen toplevels), input through the seat, the
// clipboard through a data-control owner of its own or, where there is no
// data-control, through the data device.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "app/host.h"
#include "platform/wayland/wayland_cursors.h"
#include "platform/wayland/wayland_display.h"
#include "platform/wayland/wayland_input.h"
#include "platform/wayland/wayland_overlay.h"
#include "platform/wayland/wayland_selection.h"
#include "platform/wayland/wayland_text_input.h"

namespace rc {

class WaylandHost : public HostRuntime {
 public:
  // Connects and checks what the compositor offers; check Connected() first.
  WaylandHost();
  ~WaylandHost() override;
  bool Connected() const { return display_ != nullptr; }
  const std::string& ConnectError() const { return connectError_; }

  Size ScreenSize() override;
  Point CursorPos() override;
  Box DesktopRect() override;
  std::vector<Monitor> Monitors() override;
  Canvas TakeSnapshot() override;
  std::string SnapshotError() override { return snapshotError_; }

  void LoadWindow(const std::function<void()>& onCreate) override;
  uintptr_t WindowHandle() override;
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
  HostResult SetClipboardText(const std::string& utf8) override;
  void SetTextInputSpot(std::optional<Box> caret) override;
  SaveDialogResult ShowSaveDialog(const SaveDialogRequest& request) override;
  bool AskYesNo(const std::string& title, const std::string& question) override;
  bool FileExists(const std::string& path) override;
  bool DirectoryExists(const std::string& path) override;
  std::string SettingsDirectory() override;
  std::optional<std::vector<uint8_t>> ReadSmallFile(const std::string& path, size_t maxBytes) override;
  HostResult MakeDirectories(const std::string& path) override;
  HostResult WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override;
  LocalTime Now() override;

 private:
  struct SurfaceMemory;

  bool CheckProtocols();
  [[noreturn]] void Fail(const std::string& line);
  bool ReadEvents(bool block);
  void DispatchQueued(size_t count);
  void ShowCursor();
  bool UseDataControl() const;
  // `source`: the canvas a picture is cut from, which a forked owner lets go of.
  HostResult SetClipboard(const std::function<WaylandClipboardContent()>& content, const Canvas* source = nullptr);
  [[noreturn]] void KeepClipboardAndExit(int exitCode);
  [[noreturn]] void ServeClipboardToTheEnd();

  std::string connectError_;
  std::string snapshotError_;
  std::unique_ptr<WaylandDisplay> display_;
  std::unique_ptr<WaylandInput> input_;
  std::unique_ptr<WaylandTextInput> textInput_;
  std::unique_ptr<WaylandCursors> cursors_;
  std::unique_ptr<WaylandOverlay> overlay_;
  std::unique_ptr<WaylandSelection> selection_;
  std::weak_ptr<SurfaceMemory> surface_;
  MousePointer pointer_;
  uint32_t enterSerial_ = 0;
  uint32_t inputSerial_ = 0;  // of the latest press, release or key handled
  bool entered_ = false;
  bool layerShell_ = true;
  bool portalSnapshot_ = false;
  WindowProc proc_;
  std::function<void()> exitRoutine_;
  bool exitRoutineRan_ = false;
};

}  // namespace rc
