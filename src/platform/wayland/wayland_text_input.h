// The input method through zwp_text_input_v3, where the compositor offers
// it: enabled while a text box is open and told where the caret is, so the
// method's window sits beside it; what the method commits becomes Text
// messages. Its preedit (the text still being composed) is not drawn in the
// box: the method's own window shows it, and the box shows each committed
// piece as it comes.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gfx/geometry.h"
#include "platform/wayland/wayland_display.h"

struct zwp_text_input_v3;

namespace rc {

class WaylandTextInput {
 public:
  // A desktop box in the surface-local coordinates of `surface`, if it is
  // one of ours.
  using Locate = std::function<std::optional<Box>(wl_surface* surface, const Box& desktop)>;
  using OnCommit = std::function<void(const std::string& utf8)>;

  WaylandTextInput(WaylandDisplay& display, Locate locate, OnCommit onCommit);
  ~WaylandTextInput();
  WaylandTextInput(const WaylandTextInput&) = delete;
  WaylandTextInput& operator=(const WaylandTextInput&) = delete;

  // The caret in desktop coordinates while a text box is open; nullopt
  // once it closes.
  void SetSpot(std::optional<Box> caret);

  // Listener entry points.
  void Enter(wl_surface* surface);
  void Leave();
  void CommitString(const char* text) { pending_ = text != nullptr ? text : ""; }
  void Done();

 private:
  void SendState();

  WaylandDisplay& display_;
  Locate locate_;
  OnCommit onCommit_;
  zwp_text_input_v3* input_ = nullptr;
  wl_surface* focus_ = nullptr;
  std::optional<Box> spot_;
  std::optional<Box> sentSpot_;
  bool enabled_ = false;
  std::string pending_;
};

}  // namespace rc
