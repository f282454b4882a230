// Drives the resident mode's shortcut under Wine, as a user's keyboard
// would: input from SendInput passes through the server, which turns a
// registered shortcut into WM_HOTKEY.
//
//   hotkey_tool press   presses and releases Ctrl+Alt+A
//   hotkey_tool press VK  presses and releases the one key VK (0x78: F9)
//   hotkey_tool hold N  registers Ctrl+Alt+A for itself, prints "held",
//                       and keeps it N seconds
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

INPUT Key(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

int Press(std::vector<WORD> keys) {
  std::vector<INPUT> inputs;
  for (const WORD key : keys) inputs.push_back(Key(key, false));
  for (auto key = keys.rbegin(); key != keys.rend(); ++key) inputs.push_back(Key(*key, true));
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return sent == inputs.size() ? 0 : 1;
}

int Hold(int seconds) {
  if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'A')) {
    std::printf("cannot register: %lu\n", GetLastError());
    return 1;
  }
  std::printf("held\n");
  std::fflush(stdout);
  Sleep(static_cast<DWORD>(seconds) * 1000);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool press = argc >= 2 && std::wcscmp(argv[1], L"press") == 0;
  if (press && argc >= 3) return Press({static_cast<WORD>(std::wcstol(argv[2], nullptr, 0))});
  if (press) return Press({VK_CONTROL, VK_MENU, 'A'});
  if (argc >= 3 && std::wcscmp(argv[1], L"hold") == 0) return Hold(std::wcstol(argv[2], nullptr, 10));
  std::fprintf(stderr, "usage: hotkey_tool press [VK] | hold SECONDS\n");
  return 2;
}
