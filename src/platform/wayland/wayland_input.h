// The seat's pointer and keyboard to the program's messages. Listeners
// only queue messages; the host hands them to the window procedure. A run
// of moves queued back to back becomes one move, the latest.
#pragma once

#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "app/message.h"
#include "platform/wayland/wayland_display.h"
#include "app/double_click.h"

namespace rc {

// A message with the serial of the press, release or key behind it (0 for
// moves and the wheel): a clipboard offer quotes the serial of the input
// that finished.
struct QueuedMessage {
  Message message;
  uint32_t serial = 0;
};

class WaylandInput {
 public:
  // Maps a point of one of our surfaces to the desktop; empty for others.
  using Locate = std::function<std::optional<Point>(wl_surface*, double, double)>;
  // Called with the serial of each pointer enter, to which a cursor is set.
  using OnEnter = std::function<void(uint32_t serial)>;

  WaylandInput(WaylandDisplay& display, Locate locate, OnEnter onEnter);
  ~WaylandInput();
  WaylandInput(const WaylandInput&) = delete;
  WaylandInput& operator=(const WaylandInput&) = delete;

  std::deque<QueuedMessage>& Queue() { return queue_; }
  wl_pointer* Pointer() const { return pointer_; }
  // Where the pointer last was over one of our surfaces.
  std::optional<Point> Position() const { return position_; }

  // Queues text the input method committed.
  void PushText(const std::string& utf8);

  // Listener entry points.
  void Capabilities(uint32_t caps);
  void PointerEnter(uint32_t serial, wl_surface* surface, double x, double y);
  void PointerMotion(uint32_t time, double x, double y);
  void PointerButton(uint32_t serial, uint32_t time, uint32_t button, uint32_t state);
  void PointerAxis(uint32_t axis, double value);
  void PointerDiscrete(uint32_t axis, int32_t discrete);
  void PointerFrame();
  void Keymap(uint32_t format, int fd, uint32_t size);
  void KeyboardKey(uint32_t serial, uint32_t time, uint32_t key, uint32_t state);
  void Modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);
  void ForgetSurface() { surface_ = nullptr; }

 private:
  Message Make(MessageKind kind, uint32_t time) const;
  void Push(Message m, uint32_t serial = 0);
  uint32_t Mods() const;

  WaylandDisplay& display_;
  Locate locate_;
  OnEnter onEnter_;
  wl_pointer* pointer_ = nullptr;
  wl_keyboard* keyboard_ = nullptr;
  wl_surface* surface_ = nullptr;
  std::optional<Point> position_;
  uint32_t lastTime_ = 0;
  DoubleClickDetector clicks_;
  xkb_context* xkb_ = nullptr;
  xkb_keymap* keymap_ = nullptr;
  xkb_state* state_ = nullptr;
  int32_t wheelSteps_ = 0;
  double wheelValue_ = 0;
  double wheelRest_ = 0;
  bool wheelDiscrete_ = false;
  bool wheelMoved_ = false;
  std::deque<QueuedMessage> queue_;
};

}  // namespace rc
