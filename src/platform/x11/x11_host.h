// The Linux host: the program's services on an X11 display.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/host.h"
#include "platform/posix/memory_backer.h"
#include "platform/x11/x11_cursors.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_input.h"
#include "platform/x11/x11_snapshot.h"
#include "platform/x11/x11_window.h"

namespace rc {

class X11ShmRing;

class X11Host : public HostRuntime {
 public:
  // Connects to the display; check Connected() before anything else.
  // Whether the host will take a snapshot: the memory for it is then backed
  // from the moment the display is open, while the rest of start-up runs.
  enum class Use { kCapture, kSetUpOnly };
  explicit X11Host(Use use = Use::kCapture);
  ~X11Host() override;
  bool Connected() const { return display_ != nullptr; }
  const std::string& ConnectError() const { return connectError_; }

  // Readies what a capture needs before its snapshot: the input method and
  // the memory of the snapshot and the back buffer (a resident regioncap's
  // waiting capture does this before its shortcut is pressed).
  void PrepareCapture();

  Size ScreenSize() override;
  Point CursorPos() override;
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
  // Pieces go out while the back buffer is still being filled (fresh memory
  // the system backs page by page as it is first touched); a back buffer
  // made ready before the capture is quicker to fill and show.
  bool PresentsPieces() override { return !surfaceReady_; }
  Box TakeExposedArea() override { return std::exchange(exposed_, Box{}); }
  HostResult PresentPiece(const Canvas& piece, const Box& part, Point at) override;
  HostResult PresentPainted(const Box& area, const PresentTarget::PaintRows& paint) override;

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
  bool DirectoryExists(const std::string& path) override;
  std::string SettingsDirectory() override;
  void MovePointer(Point desktop) override;
  HostResult SetClipboardText(const std::string& utf8) override;
  void SetTextInputSpot(std::optional<Box> caret) override;
  std::vector<Box> WindowFrames() override;
  std::optional<std::vector<uint8_t>> ReadSmallFile(const std::string& path, size_t maxBytes) override;
  HostResult MakeDirectories(const std::string& path) override;

 private:
  void Dispatch(XEvent& event);
  void RepaintExposed(const XExposeEvent& expose);
  HostResult SendBox(const Canvas& backBuffer, const Box& damaged);
  // Sends `box` of `pixels` to `at` in the window, through the ring where
  // there is one.
  HostResult Put(const Canvas& pixels, const Box& box, Point at);
  // Starts backing the memory of a screen-sized snapshot on a thread.
  void BackSnapshotEarly();
  // The shared-memory ring, made on first use; nullptr without MIT-SHM.
  X11ShmRing* Ring();
  HostResult PutPlain(const Canvas& pixels, const Box& box, Point at);
  HostResult PutConverted(const Canvas& pixels, const Box& box, Point at);
  void ReleaseInput();
  void RetakeInput();

  std::string connectError_;
  // The desktop's UI scale, read once at start.
  float uiScale_ = 1.0f;
  std::string snapshotError_;
  std::unique_ptr<X11Display> display_;
  std::unique_ptr<X11Window> window_;
  std::unique_ptr<X11Cursors> cursors_;
  std::unique_ptr<X11InputTranslator> input_;
  // Declared after the display, so that it goes first.
  std::unique_ptr<X11ShmRing> ring_;
  bool ringRefused_ = false;
  // The back buffer's memory; the canvas that shows it holds it alive.
  std::weak_ptr<Canvas> backBuffer_;
  X11SnapshotBuffers ready_;
  // Backs the memory of `ready_.snapshot`; declared after it, so that it
  // stops before that memory goes.
  MemoryBacker snapshotBacking_;
  // Whether the back buffer is memory made ready before the capture.
  bool surfaceReady_ = false;
  Cursor cursor_ = None;
  WindowProc proc_;
  std::function<void()> exitRoutine_;
  bool exitRoutineRan_ = false;
  // What the server lost of a window whose back buffer is the program's
  // own, for the next present to put back.
  Box exposed_;
  // The root position of the input event being handled, if any.
  std::optional<Point> eventPosition_;
};

}  // namespace rc
