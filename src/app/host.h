// The one door to the operating system. Everything above it is platform-free;
// platform/x11, platform/win32 and platform/headless each implement all of it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/text_renderer.h"
#include "win/present_target.h"
#include "app/message.h"
#include "app/monitors.h"

namespace rc {

class ImageCodec;

// A window procedure: takes one message, returns the procedure's result.
using WindowProc = std::function<intptr_t(const Message&)>;

// The standard pointer shapes, numbered as the window's mouse-pointer property.
enum class StandardCursor {
  Arrow = 0,
  SizeAll = 8,
  SizeNESW = 9,
  SizeNS = 10,
  SizeNWSE = 11,
  SizeWE = 12,
  Cross = 13,  // drawing inside the selection
  IBeam = 14,  // placing a text box
};

// A window's mouse pointer: a standard shape, or the bytes of a cursor file.
struct MousePointer {
  StandardCursor standard = StandardCursor::Arrow;
  std::span<const uint8_t> cursorFile;  // used when not empty

  static MousePointer Standard(StandardCursor c) { return {c, {}}; }
  static MousePointer FromFile(std::span<const uint8_t> bytes) { return {StandardCursor::Arrow, bytes}; }
  bool IsFile() const { return !cursorFile.empty(); }
};

// Why a file could not be written, in the terms the user is told.
enum class FileFailure { NoFailure, ReadOnly, DiskFull, NameTooLong, NoPermission, NoFolder, FolderInTheWay, Other };

// How every host service reports: success, or a message that starts with
// the platform's name ("X11: cannot take the CLIPBOARD selection"); a file
// service also says which kind of failure it met.
struct HostResult {
  bool ok = true;
  std::string message;
  FileFailure file = FileFailure::NoFailure;

  static HostResult Ok() { return {}; }
  static HostResult Fail(std::string why) { return {false, std::move(why)}; }
  static HostResult FailFile(std::string why, FileFailure kind) { return {false, std::move(why), kind}; }
  explicit operator bool() const { return ok; }
};

// What the save dialog is asked to show.
struct SaveDialogRequest {
  std::vector<std::pair<std::string, std::string>> filters;  // (label, pattern) in order
  std::string defaultName;                                    // proposed file name, UTF-8
  std::string initialDirectory;                               // empty: the platform's choice
  std::string title;                                          // empty: the platform's caption
  bool overwritePrompt = false;
};

// What the user chose; `confirmed` false after a cancel or a failure.
struct SaveDialogResult {
  bool confirmed = false;
  std::string path;       // full path as confirmed, UTF-8
  std::string fileTitle;  // its last component
  int filterIndex = 1;    // 1-based
  std::string error;      // why no dialog could be shown; empty after a cancel
};

class HostRuntime {
 public:
  virtual ~HostRuntime() = default;

  // Screen.
  virtual Size ScreenSize() = 0;
  // Where the pointer is now. Only for start-up: while handling a message the
  // program reads the position the message carries.
  virtual Point CursorPos() = 0;
  // The desktop: the rectangle holding every monitor, in desktop coordinates
  // (its origin may be negative), and the monitors in it. The snapshot and
  // the overlay cover the whole desktop; the program paints the areas that
  // no monitor shows black, whatever the snapshot holds there.
  virtual Box DesktopRect() {
    const Size s = ScreenSize();
    return {0, 0, s.width, s.height};
  }
  virtual std::vector<Monitor> Monitors() { return {Monitor{DesktopRect(), 1.0f, true}}; }
  // The whole screen as it is now, opaque (alpha 255 everywhere); empty
  // when the screen cannot be read.
  virtual Canvas TakeSnapshot() = 0;
  // Why the latest TakeSnapshot came back empty, starting with the
  // platform's name; empty when the platform cannot say.
  virtual std::string SnapshotError() { return {}; }

  // The overlay window. LoadWindow creates it (not yet visible), calls
  // `onCreate` once it exists, and returns.
  virtual void LoadWindow(const std::function<void()>& onCreate) = 0;
  virtual uintptr_t WindowHandle() = 0;
  virtual void SetWindowBounds(const Box& bounds) = 0;
  virtual Box WindowBounds() = 0;
  virtual void SetMousePointer(const MousePointer& pointer) = 0;
  // Raises the window above every other and gives it the keyboard and mouse.
  virtual void MakeTopmost() = 0;
  // Layered: the window shows only what Present gives it.
  virtual void SetLayered(bool layered) = 0;
  // A canvas the size of the window that Present can show cheaply (shared
  // memory where the platform has it).
  virtual Canvas CreateSurfaceCanvas(int32_t width, int32_t height) = 0;
  // Shows `damaged` of the back buffer at the same place in the window.
  virtual HostResult Present(const Canvas& backBuffer, const Box& damaged) = 0;
  // Shows every box of the back buffer as one update of the window: a frame
  // reaches the screen whole, never box by box.
  virtual HostResult PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged);
  // The part of the window the system lost and the program must present
  // again (see PresentTarget::TakeExposed); hosts that keep the window's
  // pixels themselves report nothing.
  virtual Box TakeExposedArea() { return {}; }
  // Whether PresentPiece and PresentPainted work: false where the window
  // can only show the back buffer, because the back buffer is the window's
  // own memory.
  virtual bool PresentsPieces() { return false; }
  // Shows `part` of any canvas with its top-left corner at `at` in the
  // window; what the back buffer holds there is not touched.
  virtual HostResult PresentPiece(const Canvas& piece, const Box& part, Point at);
  // Shows `area` of the window band by band as `paint` fills each band (see
  // PresentTarget::PresentPainted). By default each band is painted into a
  // canvas of its own and shown with PresentPiece; a host may hand out
  // memory that is on its way to the window already.
  virtual HostResult PresentPainted(const Box& area, const PresentTarget::PaintRows& paint);

  // Messages. SetWindowProc installs a procedure and returns the previous one.
  virtual WindowProc SetWindowProc(WindowProc proc) = 0;
  virtual void RunMessageLoop() = 0;
  virtual void ProcessPendingMessages() = 0;

  // Ending. The exit routine runs exactly once, whatever ends the program.
  virtual void RegisterExitRoutine(std::function<void()> routine) = 0;
  [[noreturn]] virtual void EndProgram(int exitCode) = 0;
  // Shows a runtime-error text to the user (a message box, or stderr).
  virtual void ShowErrorText(const std::string& text) = 0;

  // Text and images.
  virtual TextMask RenderText(const std::string& utf8, const FontRequest& font) = 0;
  // The platform's image codecs beyond BMP, which the program does itself.
  virtual std::vector<const ImageCodec*> ImageCodecs() = 0;

  // Output.
  // Puts `area` of `source`, made opaque (OpaqueCopy), on the clipboard,
  // where it stays after the program ends. The host may copy the pixels
  // later, but before `source` changes or the program ends.
  virtual HostResult SetClipboardImage(const Canvas& source, const Box& area) = 0;
  virtual SaveDialogResult ShowSaveDialog(const SaveDialogRequest& request) = 0;
  // Asks a yes/no question above the overlay; true for yes.
  virtual bool AskYesNo(const std::string& title, const std::string& question) = 0;
  virtual bool FileExists(const std::string& path) = 0;
  // Whether `path` names an existing folder.
  virtual bool DirectoryExists(const std::string& path);
  // Writes through a temporary file in the same directory, then renames it
  // over `path`, so a failure never leaves a truncated file behind. A link
  // is followed and its target written; a read-only file is not replaced;
  // a replaced file keeps its permissions.
  virtual HostResult WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) = 0;
  // The local date and time now.
  struct LocalTime {
    int year, month, day, hour, minute, second;
  };
  virtual LocalTime Now() = 0;

  // Settings and small files. The folder of this user's settings for the
  // program ($XDG_CONFIG_HOME/regioncap, %APPDATA%\regioncap); empty where
  // there is none, and then the program runs on its defaults.
  virtual std::string SettingsDirectory() { return {}; }
  // The whole file, when it exists and holds at most `maxBytes`.
  virtual std::optional<std::vector<uint8_t>> ReadSmallFile(const std::string& path, size_t maxBytes);
  // Creates the folder and its missing parents; fine when it exists.
  virtual HostResult MakeDirectories(const std::string& path);

  // Puts the pointer at `desktop` (desktop coordinates) as if the user had
  // moved it there. The program updates its own idea of the pointer at once
  // and does not wait for the move to come back as a message.
  virtual void MovePointer(Point desktop);
  // Puts UTF-8 text on the clipboard, where it stays after the program ends.
  virtual HostResult SetClipboardText(const std::string& utf8);
  // The text caret (desktop coordinates) whenever it moves, for the input method to follow; nullopt once no box is open.
  virtual void SetTextInputSpot(std::optional<Box> caret);
  // The frames of the visible top-level windows, top-most first, in desktop
  // coordinates, leaving out the overlay. Asked for at the snapshot, so they
  // are the windows the snapshot shows.
  virtual std::vector<Box> WindowFrames() { return {}; }
};

// The host the program runs on; set once at start (and by each test).
HostRuntime& Host();
void SetHost(HostRuntime* host);

// The overlay window's surface shows itself through the installed host.
PresentTarget& HostPresentTarget();

}  // namespace rc
