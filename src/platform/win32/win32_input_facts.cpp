#include "platform/win32/win32_input_facts.h"

#include <imm.h>

namespace rc {

namespace {

bool Held(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }

uint32_t HeldModifiers() {
  uint32_t mods = 0;
  if (Held(VK_SHIFT)) mods |= kModShift;
  if (Held(VK_CONTROL)) mods |= kModCtrl;
  if (Held(VK_MENU)) mods |= kModAlt;
  if (Held(VK_LWIN) || Held(VK_RWIN)) mods |= kModSuper;
  return mods;
}

std::u16string ImeResult(HWND window) {
  HIMC context = ImmGetContext(window);
  if (context == nullptr) return {};
  const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
  std::u16string result(bytes > 0 ? static_cast<size_t>(bytes) / sizeof(char16_t) : 0, u'\0');
  if (!result.empty()) ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
  ImmReleaseContext(window, context);
  return result;
}

}  // namespace

bool BringsImeResult(UINT message, LPARAM lParam) {
  return message == WM_IME_COMPOSITION && (lParam & GCS_RESULTSTR) != 0;
}

NativeInputFacts ReadInputFacts(HWND window, UINT message, LPARAM lParam) {
  NativeInputFacts facts;
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  facts.clientOrigin = {origin.x, origin.y};
  const DWORD pos = GetMessagePos();
  facts.messagePos = {static_cast<int16_t>(LOWORD(pos)), static_cast<int16_t>(HIWORD(pos))};
  facts.mods = HeldModifiers();
  facts.time = static_cast<uint32_t>(GetMessageTime());
  if (BringsImeResult(message, lParam)) facts.imeResult = ImeResult(window);
  return facts;
}

}  // namespace rc
