// A complete host in memory, for tests and the benchmark: a screen of any
// size, a scripted cursor, messages fed one by one, and every output kept.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/capture_options.h"
#include "app/host.h"

namespace rc {

// Thrown by EndProgram to unwind out of the program back to the test; it
// never leaves the headless host's own entry points.
struct HeadlessProgramEnded {
  int exitCode = 0;
};

class HeadlessHost : public HostRuntime {
 public:
  // Installs itself as Host() for its lifetime. A screen of width x height
  // at (0, 0), shown by one monitor.
  HeadlessHost(int32_t width, int32_t height);
  // A desktop holding `monitors`, all in desktop coordinates: the origin
  // may be negative, the monitors may leave areas that none shows and may
  // differ in size and scale.
  HeadlessHost(const Box& desktop, std::vector<Monitor> monitors);
  ~HeadlessHost() override;
  HeadlessHost(const HeadlessHost&) = delete;
  HeadlessHost& operator=(const HeadlessHost&) = delete;

  // --- Driving the program --------------------------------------------------
  // Runs the capture's start-up and the initial message loop. Returns
  // whether the program is still running.
  bool Start();
  // Puts the cursor at (x, y) in desktop coordinates; no message is sent.
  void SetCursor(int32_t x, int32_t y) { cursor_ = {x, y}; }
  // Delivers one message to the current window procedure now. Returns
  // whether the program is still running afterwards.
  bool Send(const Message& message);
  bool MoveTo(int32_t x, int32_t y);
  bool LeftDown();
  bool LeftUp();
  bool DoubleClick();
  bool RightUp();
  bool KeyDown(Key key, uint32_t mods = 0);
  bool KeyUp(Key key, uint32_t mods = 0);
  // Any pointer message without data of its own (right or middle press...).
  bool Press(MessageKind kind) { return Send(At(kind)); }
  // Wheel steps at the cursor, positive away from the user.
  bool Wheel(int32_t steps);
  // A Text message, as typing or an input method delivers it.
  bool TypeText(const std::string& utf8);
  // The modifiers every following pointer message carries (Modifier bits).
  void HoldModifiers(uint32_t mods) { mods_ = mods; }
  // A message of `kind` at the cursor, with the held modifiers.
  Message At(MessageKind kind) const;
  // Queues a message for the next ProcessPendingMessages or loop run.
  void Post(const Message& message) { queue_.push_back(message); }

  // --- What the program did -------------------------------------------------
  // The screen: what the snapshot photographs (tests paint it before
  // Start), then what the overlay window presents over it. Its (0, 0) is
  // the desktop's top-left corner.
  Canvas& Screen() { return screen_; }
  const Canvas& Presented() const { return screen_; }
  const std::vector<Box>& PresentedBoxes() const { return presentedBoxes_; }
  void ClearPresentedBoxes() { presentedBoxes_.clear(); }
  // How many updates reached the screen: one per presented frame.
  int PresentedFrames() const { return presentedFrames_; }
  // The window loses `area` (window coordinates), as when another window lay
  // over it: the screen shows white there until the program presents it.
  void LoseArea(const Box& area);
  bool Ended() const { return exitCode_.has_value(); }
  std::optional<int> ExitCode() const { return exitCode_; }
  int ExitRoutineRuns() const { return exitRoutineRuns_; }
  const std::string& ErrorText() const { return errorText_; }
  std::optional<MousePointer> Pointer() const { return pointer_; }
  int PointerChanges() const { return pointerChanges_; }
  bool Layered() const { return layered_; }
  bool Topmost() const { return topmost_; }
  const std::optional<Canvas>& Clipboard() const { return clipboard_; }
  const std::vector<SaveDialogRequest>& SaveRequests() const { return saveRequests_; }
  const std::vector<std::string>& Questions() const { return questions_; }

  // --- Scripting the user's answers ----------------------------------------
  void ScriptSaveDialog(SaveDialogResult result) { saveAnswers_.push_back(std::move(result)); }
  void ScriptAnswer(bool yes) { yesNoAnswers_.push_back(yes); }
  // How many clipboard attempts fail before one succeeds (-1: all fail).
  void FailClipboard(int times) { clipboardFailures_ = times; }
  void SetNow(LocalTime now) { now_ = now; }
  // The monitors the desktop reports from now on, in desktop coordinates
  // (the default: those given at construction; none: one monitor at scale
  // 1 covering the desktop).
  void SetMonitors(std::vector<Monitor> monitors) { monitors_ = std::move(monitors); }
  // Plays a platform whose window shows only the back buffer.
  void RefusePieces() { presentsPieces_ = false; }
  // Plays a process limit: no helper thread can be started until allowed
  // again (the host allows them again when it goes).
  void RefuseThreads(bool refuse);
  // Plays a screen that cannot be read: the snapshot comes back empty.
  void FailSnapshot(std::string why) { snapshotError_ = std::move(why); }
  // The options the next Start runs the capture with. Window snapping is
  // off unless a test asks for it, so a plain click selects nothing.
  void SetCaptureOptions(const CaptureOptions& options) { options_ = options; }
  // The folder SettingsDirectory names (a test's own); empty: none.
  void SetSettingsDirectory(std::string folder) { settingsDirectory_ = std::move(folder); }
  // The windows the snapshot shows, top-most first, in desktop coordinates.
  void ScriptWindows(std::vector<Box> frames) { windowFrames_ = std::move(frames); }
  // The text the program put on the clipboard, if any.
  const std::optional<std::string>& ClipboardText() const { return clipboardText_; }
  // Where the program last put the pointer itself (MovePointer).
  const std::vector<Point>& PointerMoves() const { return pointerMoves_; }
  // Where the program last said the text caret is (desktop coordinates),
  // and how often it said so.
  const std::optional<Box>& TextInputSpot() const { return textInputSpot_; }
  int TextInputSpotCalls() const { return textInputSpotCalls_; }

  // --- HostRuntime ----------------------------------------------------------
  Size ScreenSize() override;
  Point CursorPos() override { return cursor_; }
  Box DesktopRect() override { return desktop_; }
  std::vector<Monitor> Monitors() override;
  Canvas TakeSnapshot() override;
  std::string SnapshotError() override { return snapshotError_; }
  void LoadWindow(const std::function<void()>& onCreate) override;
  uintptr_t WindowHandle() override { return windowCreated_ ? 1 : 0; }
  void SetWindowBounds(const Box& bounds) override;
  Box WindowBounds() override { return bounds_; }
  void SetMousePointer(const MousePointer& pointer) override;
  void MakeTopmost() override { topmost_ = true; }
  void SetLayered(bool layered) override { layered_ = layered; }
  Canvas CreateSurfaceCanvas(int32_t width, int32_t height) override;
  HostResult Present(const Canvas& backBuffer, const Box& damaged) override;
  HostResult PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) override;
  bool PresentsPieces() override { return presentsPieces_; }
  Box TakeExposedArea() override { return std::exchange(exposed_, Box{}); }
  HostResult PresentPiece(const Canvas& piece, const Box& part, Point at) override;
  WindowProc SetWindowProc(WindowProc proc) override;
  void RunMessageLoop() override;
  void ProcessPendingMessages() override;
  void RegisterExitRoutine(std::function<void()> routine) override;
  [[noreturn]] void EndProgram(int exitCode) override;
  void ShowErrorText(const std::string& text) override { errorText_ = text; }
  TextMask RenderText(const std::string& utf8, const FontRequest& font) override;
  std::vector<const ImageCodec*> ImageCodecs() override;
  HostResult SetClipboardImage(const Canvas& source, const Box& area) override;
  SaveDialogResult ShowSaveDialog(const SaveDialogRequest& request) override;
  bool AskYesNo(const std::string& title, const std::string& question) override;
  bool FileExists(const std::string& path) override;
  HostResult WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) override;
  LocalTime Now() override { return now_; }
  bool DirectoryExists(const std::string& path) override;
  std::string SettingsDirectory() override { return settingsDirectory_; }
  std::optional<std::vector<uint8_t>> ReadSmallFile(const std::string& path, size_t maxBytes) override;
  HostResult MakeDirectories(const std::string& path) override;
  void MovePointer(Point desktop) override;
  HostResult SetClipboardText(const std::string& utf8) override;
  void SetTextInputSpot(std::optional<Box> caret) override;
  std::vector<Box> WindowFrames() override { return windowFrames_; }

 private:
  void DispatchQueued();
  bool Guarded(const std::function<void()>& step);

  Box desktop_;
  std::vector<Monitor> monitors_;
  Canvas screen_;
  Point cursor_;
  uint32_t mods_ = 0;
  Box bounds_;
  Box exposed_;
  int presentedFrames_ = 0;
  bool windowCreated_ = false;
  bool layered_ = false;
  bool topmost_ = false;
  std::optional<MousePointer> pointer_;
  int pointerChanges_ = 0;
  WindowProc proc_;
  std::deque<Message> queue_;
  std::function<void()> exitRoutine_;
  int exitRoutineRuns_ = 0;
  std::optional<int> exitCode_;
  std::string errorText_;
  std::string snapshotError_;
  std::vector<Box> presentedBoxes_;
  bool presentsPieces_ = true;
  std::optional<Canvas> clipboard_;
  int clipboardFailures_ = 0;
  std::deque<SaveDialogResult> saveAnswers_;
  std::vector<SaveDialogRequest> saveRequests_;
  std::deque<bool> yesNoAnswers_;
  std::vector<std::string> questions_;
  LocalTime now_{2026, 12, 7, 4, 15, 0};
  CaptureOptions options_{.windowSnap = false};
  std::string settingsDirectory_;
  std::vector<Box> windowFrames_;
  std::optional<std::string> clipboardText_;
  std::vector<Point> pointerMoves_;
  std::optional<Box> textInputSpot_;
  int textInputSpotCalls_ = 0;
};

}  // namespace rc
