#include "platform/wayland/wayland_input.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>

#include "platform/wayland/wayland_keys.h"

namespace rc {

namespace {

// Continuous scrolling (touchpads) turns into one wheel step per this much.
constexpr double kAxisPerStep = 10.0;

WaylandInput& In(void* data) { return *static_cast<WaylandInput*>(data); }

void OnEnter(void* data, wl_pointer*, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
  In(data).PointerEnter(serial, surface, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void OnLeave(void* data, wl_pointer*, uint32_t, wl_surface*) { In(data).ForgetSurface(); }
void OnMotion(void* data, wl_pointer*, uint32_t time, wl_fixed_t x, wl_fixed_t y) {
  In(data).PointerMotion(time, wl_fixed_to_double(x), wl_fixed_to_double(y));
}
void OnButton(void* data, wl_pointer*, uint32_t serial, uint32_t time, uint32_t button, uint32_t state) {
  In(data).PointerButton(serial, time, button, state);
}
void OnAxis(void* data, wl_pointer*, uint32_t, uint32_t axis, wl_fixed_t value) {
  In(data).PointerAxis(axis, wl_fixed_to_double(value));
}
void OnFrame(void* data, wl_pointer*) { In(data).PointerFrame(); }
void OnAxisSource(void*, wl_pointer*, uint32_t) {}
void OnAxisStop(void*, wl_pointer*, uint32_t, uint32_t) {}
void OnAxisDiscrete(void* data, wl_pointer*, uint32_t axis, int32_t discrete) { In(data).PointerDiscrete(axis, discrete); }
void OnAxisValue120(void*, wl_pointer*, uint32_t, int32_t) {}
const wl_pointer_listener kPointerListener = {OnEnter, OnLeave, OnMotion, OnButton, OnAxis,
                                              OnFrame, OnAxisSource, OnAxisStop, OnAxisDiscrete, OnAxisValue120};

void OnKeymap(void* data, wl_keyboard*, uint32_t format, int fd, uint32_t size) { In(data).Keymap(format, fd, size); }
void OnKeyboardEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnKeyboardLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void OnKey(void* data, wl_keyboard*, uint32_t serial, uint32_t time, uint32_t key, uint32_t state) {
  In(data).KeyboardKey(serial, time, key, state);
}
void OnModifiers(void* data, wl_keyboard*, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                 uint32_t group) {
  In(data).Modifiers(depressed, latched, locked, group);
}
void OnRepeatInfo(void*, wl_keyboard*, int32_t, int32_t) {}
const wl_keyboard_listener kKeyboardListener = {OnKeymap, OnKeyboardEnter, OnKeyboardLeave,
                                                OnKey,    OnModifiers,     OnRepeatInfo};

}  // namespace

WaylandInput::WaylandInput(WaylandDisplay& display, Locate locate, OnEnter onEnter)
    : display_(display), locate_(std::move(locate)), onEnter_(std::move(onEnter)) {
  xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  display_.WatchSeat([this](uint32_t caps) { Capabilities(caps); });
}

WaylandInput::~WaylandInput() {
  if (state_ != nullptr) xkb_state_unref(state_);
  if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
  if (xkb_ != nullptr) xkb_context_unref(xkb_);
}

void WaylandInput::Capabilities(uint32_t caps) {
  wl_seat* seat = display_.Globals().seat;
  // A pointer or keyboard unplugged leaves an inert object; a new one
  // comes with the next device.
  if (!(caps & WL_SEAT_CAPABILITY_POINTER) && pointer_ != nullptr) {
    wl_pointer_release(pointer_);
    pointer_ = nullptr;
    surface_ = nullptr;
  }
  if (!(caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_ != nullptr) {
    wl_keyboard_release(keyboard_);
    keyboard_ = nullptr;
  }
  if ((caps & WL_SEAT_CAPABILITY_POINTER) && pointer_ == nullptr) {
    pointer_ = wl_seat_get_pointer(seat);
    wl_pointer_add_listener(pointer_, &kPointerListener, this);
  }
  if ((caps & WL_SEAT_CAPABILITY_KEYBOARD) && keyboard_ == nullptr) {
    keyboard_ = wl_seat_get_keyboard(seat);
    wl_keyboard_add_listener(keyboard_, &kKeyboardListener, this);
  }
}

Message WaylandInput::Make(MessageKind kind, uint32_t time) const {
  Message m;
  m.kind = kind;
  m.pos = position_.value_or(Point{0, 0});
  m.mods = Mods();
  m.time = time;
  return m;
}

void WaylandInput::Push(Message m, uint32_t serial) {
  if (m.kind == MessageKind::MouseMove && !queue_.empty() && queue_.back().message.kind == MessageKind::MouseMove) {
    queue_.back().message = std::move(m);
    return;
  }
  queue_.push_back({std::move(m), serial});
}

// Entering is a move too: the program learns where the pointer is.
void WaylandInput::PointerEnter(uint32_t serial, wl_surface* surface, double x, double y) {
  surface_ = surface;
  if (onEnter_) onEnter_(serial);
  PointerMotion(lastTime_, x, y);
}

void WaylandInput::PointerMotion(uint32_t time, double x, double y) {
  lastTime_ = time;
  const std::optional<Point> at = locate_(surface_, x, y);
  if (!at) return;
  position_ = at;
  Push(Make(MessageKind::MouseMove, time));
}

void WaylandInput::PointerButton(uint32_t serial, uint32_t time, uint32_t button, uint32_t state) {
  if (surface_ == nullptr) return;
  const bool down = state == WL_POINTER_BUTTON_STATE_PRESSED;
  lastTime_ = time;
  MessageKind kind = MessageKind::Other;
  if (button == BTN_LEFT) {
    kind = down ? (clicks_.Press(time, position_.value_or(Point{})) ? MessageKind::LeftDoubleClick : MessageKind::LeftDown)
                : MessageKind::LeftUp;
  } else if (button == BTN_RIGHT) {
    kind = down ? MessageKind::RightDown : MessageKind::RightUp;
  } else if (button == BTN_MIDDLE) {
    kind = down ? MessageKind::MiddleDown : MessageKind::MiddleUp;
  }
  if (kind != MessageKind::Other) Push(Make(kind, time), serial);
}

void WaylandInput::PointerAxis(uint32_t axis, double value) {
  if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
  wheelValue_ += value;
  wheelMoved_ = true;
}

void WaylandInput::PointerDiscrete(uint32_t axis, int32_t discrete) {
  if (axis != WL_POINTER_AXIS_VERTICAL_SCROLL) return;
  wheelSteps_ += discrete;
  wheelDiscrete_ = true;
}

// A frame ends one scroll: wheels report notches, touchpads a distance.
// Wayland counts toward the user, our steps away from the user.
void WaylandInput::PointerFrame() {
  if (!wheelMoved_ && !wheelDiscrete_) return;
  int32_t steps = -wheelSteps_;
  if (!wheelDiscrete_) {
    wheelRest_ -= wheelValue_;
    steps = static_cast<int32_t>(std::trunc(wheelRest_ / kAxisPerStep));
    wheelRest_ -= steps * kAxisPerStep;
  }
  wheelSteps_ = 0, wheelValue_ = 0, wheelDiscrete_ = wheelMoved_ = false;
  if (steps == 0 || surface_ == nullptr) return;
  Message m = Make(MessageKind::Wheel, lastTime_);
  m.wheel = steps;
  Push(std::move(m));
}

void WaylandInput::Keymap(uint32_t format, int fd, uint32_t size) {
  if (format != WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 || xkb_ == nullptr) {
    close(fd);
    return;
  }
  void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  close(fd);
  if (text == MAP_FAILED) return;
  xkb_keymap* keymap = xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
  munmap(text, size);
  if (keymap == nullptr) return;
  if (state_ != nullptr) xkb_state_unref(state_);
  if (keymap_ != nullptr) xkb_keymap_unref(keymap_);
  keymap_ = keymap;
  state_ = xkb_state_new(keymap_);
}

// Wayland key codes are evdev codes; xkb's are 8 higher.
void WaylandInput::KeyboardKey(uint32_t serial, uint32_t time, uint32_t key, uint32_t state) {
  if (state_ == nullptr) return;
  const xkb_keycode_t code = key + 8;
  const bool down = state == WL_KEYBOARD_KEY_STATE_PRESSED;
  Message m = Make(down ? MessageKind::KeyDown : MessageKind::KeyUp, time);
  m.key = KeyForKeysym(xkb_state_key_get_one_sym(state_, code));
  char text[64] = {};
  if (down) xkb_state_key_get_utf8(state_, code, text, sizeof text);
  const bool typed = down && IsTypedText(text) && !(m.mods & (kModCtrl | kModAlt | kModSuper));
  if (typed) m.text = text;
  Push(m, serial);
  if (!typed) return;
  Message t = Make(MessageKind::Text, time);
  t.text = text;
  Push(std::move(t), serial);
}

void WaylandInput::PushText(const std::string& utf8) {
  Message t = Make(MessageKind::Text, lastTime_);
  t.text = utf8;
  Push(std::move(t));
}

void WaylandInput::Modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group) {
  if (state_ != nullptr) xkb_state_update_mask(state_, depressed, latched, locked, 0, 0, group);
}

uint32_t WaylandInput::Mods() const {
  if (state_ == nullptr) return 0;
  const auto active = [this](const char* name) {
    return xkb_state_mod_name_is_active(state_, name, XKB_STATE_MODS_EFFECTIVE) > 0;
  };
  return (active(XKB_MOD_NAME_SHIFT) ? kModShift : 0u) | (active(XKB_MOD_NAME_CTRL) ? kModCtrl : 0u) |
         (active(XKB_MOD_NAME_ALT) ? kModAlt : 0u) | (active(XKB_MOD_NAME_LOGO) ? kModSuper : 0u);
}

}  // namespace rc
