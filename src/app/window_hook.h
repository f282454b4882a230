// Subclasses the overlay window: installs a window procedure and keeps the
// one it replaced, to which every message is passed on.
#pragma once

#include <cstdint>

#include "app/host.h"

namespace rc {

class WindowHook {
 public:
  // Returns whether there was a previous procedure.
  bool Hook(uintptr_t window, WindowProc procedure);
  // Puts the previous procedure back.
  void Unhook();
  intptr_t CallPrevious(const Message& message) const;
  uintptr_t Window() const { return window_; }

 private:
  uintptr_t window_ = 0;
  WindowProc previous_;
};

}  // namespace rc
