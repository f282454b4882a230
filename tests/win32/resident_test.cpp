// The Windows resident mode's pieces (run under Wine): the shortcut in
// RegisterHotKey's terms, and a host that returns from a capture's end.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "app/hotkey.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_hotkey.h"

namespace rc {
namespace {

Win32HotkeyCode CodeOf(const std::string& text) {
  const HotkeyParse parsed = ParseHotkey(text);
  EXPECT_TRUE(parsed.ok) << text;
  return Win32HotkeyFor(parsed.hotkey).value_or(Win32HotkeyCode{});
}

TEST(Win32Hotkey, ModifiersAndKeysBecomeModAndVirtualKeyCodesThatNeverRepeat) {
  EXPECT_EQ(CodeOf("Ctrl+Alt+A"), (Win32HotkeyCode{MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'A'}));
  EXPECT_EQ(CodeOf("Print"), (Win32HotkeyCode{MOD_NOREPEAT, VK_SNAPSHOT}));
  EXPECT_EQ(CodeOf("super+shift+s"), (Win32HotkeyCode{MOD_WIN | MOD_SHIFT | MOD_NOREPEAT, 'S'}));
  EXPECT_EQ(CodeOf("Ctrl+7").virtualKey, static_cast<UINT>('7'));
  EXPECT_EQ(CodeOf("F1").virtualKey, static_cast<UINT>(VK_F1));
  EXPECT_EQ(CodeOf("Alt+F24").virtualKey, static_cast<UINT>(VK_F24));
  EXPECT_EQ(CodeOf("PgUp").virtualKey, static_cast<UINT>(VK_PRIOR));
  EXPECT_EQ(CodeOf("Next").virtualKey, static_cast<UINT>(VK_NEXT));
  EXPECT_EQ(CodeOf("Menu").virtualKey, static_cast<UINT>(VK_APPS));
  EXPECT_EQ(CodeOf("Backspace").virtualKey, static_cast<UINT>(VK_BACK));
  EXPECT_EQ(CodeOf("ScrollLock").virtualKey, static_cast<UINT>(VK_SCROLL));
}

// Every key a shortcut may name has a key on Windows, each its own.
TEST(Win32Hotkey, EveryNamedKeyHasADistinctVirtualKey) {
  const std::string names = HotkeyKeyNames();
  std::set<UINT> seen;
  size_t start = names.find("F24, ") + 5;
  for (size_t comma = names.find(", ", start); start < names.size(); comma = names.find(", ", start)) {
    const std::string name = names.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    const UINT key = CodeOf(name).virtualKey;
    EXPECT_NE(key, 0u) << name;
    EXPECT_TRUE(seen.insert(key).second) << name;
    start = comma == std::string::npos ? names.size() : comma + 2;
  }
  EXPECT_GE(seen.size(), 19u);
  EXPECT_FALSE(Win32HotkeyFor(Hotkey{kModCtrl, "F25"}));
  EXPECT_FALSE(Win32HotkeyFor(Hotkey{kModCtrl, "Katakana"}));
}

// A capture on a real window whose procedure ends it at Escape, as the
// program's does; `nested` sends the Escape from inside another message,
// the way a modal dialog's loop nests a handler.
struct ScriptedCapture {
  Win32Host& host;
  HWND window = nullptr;
  int exitRoutineRuns = 0;
  bool stateAliveAfterNestedEnd = false;

  void Start(bool nested) {
    host.RegisterExitRoutine([this] { ++exitRoutineRuns; });
    host.LoadWindow([this, nested] {
      host.SetWindowProc([this, nested](const Message& m) -> intptr_t {
        if (m.kind == MessageKind::KeyDown && m.key == Key::Escape) host.EndProgram(7);
        if (m.kind == MessageKind::KeyDown && m.key == Key::Return && nested) {
          SendMessageW(reinterpret_cast<HWND>(host.WindowHandle()), WM_KEYDOWN, VK_ESCAPE, 0);
          stateAliveAfterNestedEnd = exitRoutineRuns == 0;
        }
        return 0;
      });
    });
    window = reinterpret_cast<HWND>(host.WindowHandle());
    PostMessageW(window, WM_KEYDOWN, nested ? VK_RETURN : VK_ESCAPE, 0);
    host.RunMessageLoop();
  }
};

TEST(Win32ResidentHost, ACapturesEndReturnsToTheCallerAndTheNextCaptureStartsClean) {
  Win32Host host;
  host.ReturnFromCaptures();
  for (const bool nested : {false, true}) {
    ScriptedCapture capture{host};
    capture.Start(nested);
    EXPECT_EQ(capture.exitRoutineRuns, 0) << "the exit routine waits for FinishCapture";
    EXPECT_EQ(host.FinishCapture(), 7);
    EXPECT_EQ(capture.exitRoutineRuns, 1);
    EXPECT_EQ(capture.stateAliveAfterNestedEnd, nested);
    EXPECT_FALSE(IsWindow(capture.window));
    EXPECT_EQ(host.WindowHandle(), 0u);
    MSG quit{};
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit is left for the resident loop";
  }
}

// A capture that cannot begin (no snapshot) ends before any loop runs.
TEST(Win32ResidentHost, AnEndBeforeTheLoopUnwindsOutOfLoadWindow) {
  Win32Host host;
  host.ReturnFromCaptures();
  int runs = 0;
  host.RegisterExitRoutine([&] { ++runs; });
  EXPECT_THROW(host.LoadWindow([&] { host.EndProgram(1); }), Win32CaptureEnded);
  EXPECT_EQ(host.FinishCapture(), 1);
  EXPECT_EQ(runs, 1);
}

}  // namespace
}  // namespace rc
