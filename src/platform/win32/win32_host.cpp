#include "platform/win32/win32_host.h"

#include <cstring>
#include <exception>

#include "app/runtime_error.h"
#include "gfx/blend.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_cursor.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_ime_spot.h"
#include "platform/win32/win32_input_facts.h"
#include "platform/win32/win32_layered.h"
#include "platform/win32/win32_message.h"
#include "platform/win32/win32_message_box.h"
#include "platform/win32/win32_monitors.h"
#include "platform/win32/win32_save_dialog.h"
#include "platform/win32/win32_snapshot.h"
#include "platform/win32/win32_wic_codecs.h"
#include "platform/win32/win32_window.h"
#include "platform/win32/win32_window_list.h"

namespace rc {

namespace {
// The one host of the process, for the window procedure to reach.
Win32Host* g_windowHost = nullptr;
}  // namespace

Win32Host::~Win32Host() {
  for (const auto& entry : fileCursors_) DestroyCursor(entry.second);
  if (g_windowHost == this) g_windowHost = nullptr;
}

// The desktop is the virtual screen: every monitor, with areas between
// them that none shows.
Size Win32Host::ScreenSize() {
  const Box desktop = DesktopRect();
  return {desktop.width, desktop.height};
}

Box Win32Host::DesktopRect() { return VirtualScreenBox(); }

std::vector<Monitor> Win32Host::Monitors() {
  std::vector<Monitor> monitors = DisplayMonitors();
  if (monitors.empty()) {
    const HMONITOR primary = MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    monitors.push_back(Monitor{DesktopRect(), MonitorUiScale(primary), true});
  }
  return monitors;
}

Point Win32Host::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

Canvas Win32Host::TakeSnapshot() { return TakeScreenSnapshotWin32(DesktopRect()); }

void Win32Host::LoadWindow(const std::function<void()>& onCreate) {
  g_windowHost = this;
  window_ = CreateOverlayWindow(&Win32Host::StaticWindowProc);
  if (window_ == nullptr) {
    RaiseRuntimeError(std::nullopt, "Win32: cannot create the overlay window");
  }
  onCreate();
  ShowWindow(window_, SW_SHOW);
}

void Win32Host::SetWindowBounds(const Box& bounds) {
  SetWindowPos(window_, nullptr, bounds.x, bounds.y, bounds.width, bounds.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Box Win32Host::WindowBounds() {
  RECT r{};
  if (window_ == nullptr || !GetWindowRect(window_, &r)) return {};
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

HCURSOR Win32Host::CursorFor(const MousePointer& pointer) {
  if (!pointer.IsFile()) return static_cast<HCURSOR>(StandardCursorHandle(pointer.standard));
  const auto key = std::make_pair(pointer.cursorFile.data(), pointer.cursorFile.size());
  if (auto it = fileCursors_.find(key); it != fileCursors_.end()) return it->second;
  HCURSOR made = static_cast<HCURSOR>(CursorFromFileBytes(pointer.cursorFile));
  if (made == nullptr) return static_cast<HCURSOR>(StandardCursorHandle(StandardCursor::Arrow));
  fileCursors_.emplace(key, made);
  return made;
}

// Applied at once, and again whenever the system asks (WM_SETCURSOR).
void Win32Host::SetMousePointer(const MousePointer& pointer) {
  cursor_ = CursorFor(pointer);
  SetCursor(cursor_);
}

void Win32Host::MakeTopmost() { RaiseTopmost(window_); }

// The surface lets go of the window only as the capture ends. In the
// resident mode the window outlives that a moment, and unlayered it would
// show an unpainted rectangle: it goes out of sight first.
void Win32Host::SetLayered(bool layered) {
  if (window_ == nullptr || layered == layered_) return;
  if (!layered && returnsFromCaptures_) ShowWindow(window_, SW_HIDE);
  if (layered) {
    savedExStyle_ = MakeLayered(window_);
  } else {
    RestoreStyle(window_, savedExStyle_);
  }
  layered_ = layered;
}

Canvas Win32Host::CreateSurfaceCanvas(int32_t width, int32_t height) { return surfaces_.Create(width, height); }

HostResult Win32Host::Present(const Canvas& backBuffer, const Box& damaged) {
  return PresentFrame(backBuffer, std::span<const Box>(&damaged, 1));
}

// One layered-window update per frame: the system takes one dirty
// rectangle, so the frame's boxes go as the box holding them all.
HostResult Win32Host::PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) {
  Box all;
  for (const Box& box : damaged) all = UnionBox(all, box);
  const Box box = IntersectBox(all, backBuffer.Bounds());
  if (box.Empty()) return HostResult::Ok();
  HDC source = surfaces_.DeviceContextOf(backBuffer);
  if (source == nullptr) return PresentCopy(backBuffer, box);
  return PresentLayered(window_, source, WindowBounds(), box);
}

// A back buffer that is not one of our surfaces goes through a temporary one.
HostResult Win32Host::PresentCopy(const Canvas& backBuffer, const Box& damaged) {
  Canvas copy = surfaces_.Create(backBuffer.Width(), backBuffer.Height());
  if (copy.Empty()) return HostResult::Fail("Win32: out of memory for the window's picture");
  std::memcpy(copy.Data(), backBuffer.Data(), static_cast<size_t>(backBuffer.Width()) * backBuffer.Height() * 4);
  return PresentLayered(window_, surfaces_.DeviceContextOf(copy), WindowBounds(), damaged);
}

WindowProc Win32Host::SetWindowProc(WindowProc proc) {
  WindowProc previous = proc_ ? std::move(proc_) : WindowProc([this](const Message&) {
    return static_cast<intptr_t>(DefaultProcedure());
  });
  proc_ = std::move(proc);
  return previous;
}

LRESULT CALLBACK Win32Host::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_windowHost == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  return g_windowHost->Dispatch({window, message, wParam, lParam});
}

// No exception may unwind through the system's code. A capture that ended
// in the resident mode takes its window down here; its procedure gets no
// more messages, since the program's state is on its way out.
LRESULT Win32Host::Dispatch(const NativeMessage& native) {
  if (captureEnded_) return DefWindowProcW(native.window, native.message, native.wParam, native.lParam);
  const NativeMessage outer = current_;
  current_ = native;
  LRESULT result = 0;
  try {
    result = DispatchToProgram(native);
  } catch (const Win32CaptureEnded& end) {
    TakeDownEndedCapture(end.exitCode);
  }
  current_ = outer;
  return result;
}

// An exception that reaches here ends the capture as a runtime error.
LRESULT Win32Host::DispatchToProgram(const NativeMessage& native) {
  try {
    const NativeInputFacts facts = ReadInputFacts(native.window, native.message, native.lParam);
    const Message message = input_.Translate(native.message, native.wParam, native.lParam, facts);
    return proc_ ? proc_(message) : DefaultProcedure();
  } catch (const std::exception& e) {
    RaiseRuntimeError(std::nullopt, e.what());
  }
}

// Destroying the window also closes a dialog it owns, whose modal loop
// would otherwise keep the capture's handler waiting.
void Win32Host::TakeDownEndedCapture(int exitCode) {
  if (window_ != nullptr) DestroyWindow(window_);
  window_ = nullptr;
  PostQuitMessage(exitCode);
}

// The bottom of the window-procedure chain: the system's default handling,
// except that the cursor is ours and the loop ends with the window.
LRESULT Win32Host::DefaultProcedure() {
  const NativeMessage& m = current_;
  if (m.message == WM_SETCURSOR && LOWORD(m.lParam) == HTCLIENT && cursor_ != nullptr) {
    SetCursor(cursor_);
    return TRUE;
  }
  if (m.message == WM_DESTROY) PostQuitMessage(0);
  // The result went to the program as one Text; the system keeps only the
  // rest of the composition, so it does not type the result again.
  if (BringsImeResult(m.message, m.lParam)) {
    const LPARAM rest = m.lParam & ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTREADSTR | GCS_RESULTCLAUSE |
                                                         GCS_RESULTREADCLAUSE);
    return rest != 0 ? DefWindowProcW(m.window, m.message, m.wParam, rest) : 0;
  }
  return DefWindowProcW(m.window, m.message, m.wParam, m.lParam);
}

void Win32Host::DispatchOne(MSG& msg) {
  TranslateMessage(&msg);
  DispatchMessageW(&msg);
}

void Win32Host::RunMessageLoop() {
  MSG msg{};
  BOOL got = 0;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) > 0) DispatchOne(msg);
  if (got == 0) quitCode_ = static_cast<int>(msg.wParam);
}

// A quit message stays queued, for the message loop to end on.
void Win32Host::ProcessPendingMessages() {
  MSG msg{};
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE) && msg.message != WM_QUIT) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchOne(msg);
  }
}

void Win32Host::RegisterExitRoutine(std::function<void()> routine) { exitRoutine_ = std::move(routine); }

void Win32Host::RunExitRoutine() {
  if (exiting_) return;
  exiting_ = true;
  if (exitRoutine_) exitRoutine_();
}

// In the resident mode the exit routine waits for FinishCapture: a handler
// that a modal dialog's loop had nested may still run on the state once
// the dialog closes.
void Win32Host::EndProgram(int exitCode) {
  if (returnsFromCaptures_) {
    if (!captureEnded_) endCode_ = exitCode;
    captureEnded_ = true;
    throw Win32CaptureEnded{exitCode};
  }
  RunExitRoutine();
  ExitProcess(static_cast<UINT>(exitCode));
}

// A window still standing means the capture ended without EndProgram: its
// loop returned (the system closed the window) or an exception escaped.
int Win32Host::FinishCapture() {
  RunExitRoutine();
  const int code = captureEnded_ ? endCode_ : quitCode_;
  captureEnded_ = true;
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  MSG quit{};
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  window_ = nullptr;
  proc_ = nullptr;
  current_ = {};
  cursor_ = nullptr;
  layered_ = false;
  savedExStyle_ = 0;
  input_ = Win32InputTranslator{};
  exitRoutine_ = nullptr;
  exiting_ = captureEnded_ = false;
  quitCode_ = endCode_ = 0;
  return code;
}

void Win32Host::CloseCapture() {
  if (window_ != nullptr) PostMessageW(window_, WM_CLOSE, 0, 0);
}

void Win32Host::ShowErrorText(const std::string& text) { ShowErrorBox(nullptr, text); }

TextMask Win32Host::RenderText(const std::string& utf8, const FontRequest& font) { return text_.Render(utf8, font); }

std::vector<const ImageCodec*> Win32Host::ImageCodecs() { return WicImageCodecs(); }

// The desktop is the virtual screen, whose coordinates are the screen's.
void Win32Host::SetTextInputSpot(std::optional<Box> caret) {
  if (window_ == nullptr) return;
  if (caret) {
    POINT corner{caret->x, caret->y};
    ScreenToClient(window_, &corner);
    caret = Box{corner.x, corner.y, caret->width, caret->height};
  }
  PlaceImeWindows(window_, caret);
}

HostResult Win32Host::SetClipboardText(const std::string& utf8) { return SetClipboardUnicodeText(window_, utf8); }

std::vector<Box> Win32Host::WindowFrames() { return ListWin32WindowFrames(window_); }

HostResult Win32Host::SetClipboardImage(const Canvas& source, const Box& area) {
  return SetClipboardBitmap(window_, OpaqueCopy(source, area));
}

SaveDialogResult Win32Host::ShowSaveDialog(const SaveDialogRequest& request) {
  return ShowSaveDialogWin32(window_, request);
}

bool Win32Host::AskYesNo(const std::string& title, const std::string& question) {
  return AskYesNoBox(window_, title, question);
}

bool Win32Host::FileExists(const std::string& path) { return FileExistsWin32(path); }

HostResult Win32Host::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
  return WriteFileAtomicWin32(path, bytes);
}

HostRuntime::LocalTime Win32Host::Now() { return NowWin32(); }

}  // namespace rc
