#include "app/window_hook.h"

namespace rc {

bool WindowHook::Hook(uintptr_t window, WindowProc procedure) {
  if (window_ != 0) Unhook();
  window_ = window;
  previous_ = Host().SetWindowProc(std::move(procedure));
  return static_cast<bool>(previous_);
}

void WindowHook::Unhook() {
  if (window_ == 0) return;
  Host().SetWindowProc(previous_);
  window_ = 0;
}

intptr_t WindowHook::CallPrevious(const Message& message) const {
  return previous_ ? previous_(message) : 0;
}

}  // namespace rc
