#include "platform/x11/x11_input.h"

#include <X11/XKBlib.h>

#include "platform/x11/x11_keys.h"

namespace rc {

namespace {

constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;

std::optional<Point> RootPosition(const XEvent& event) {
  switch (event.type) {
    case KeyPress:
    case KeyRelease:
      if (event.xkey.send_event) return std::nullopt;
      return Point{event.xkey.x_root, event.xkey.y_root};
    case MotionNotify: return Point{event.xmotion.x_root, event.xmotion.y_root};
    case ButtonPress:
    case ButtonRelease: return Point{event.xbutton.x_root, event.xbutton.y_root};
    default: return std::nullopt;
  }
}

Message Of(MessageKind kind) {
  Message m;
  m.kind = kind;
  return m;
}

}  // namespace

// A held key repeats as presses alone, without a release before each, as
// on other systems: a KeyUp means the key went up.
X11InputTranslator::X11InputTranslator(Display* dpy) : dpy_(dpy), text_(dpy) {
  XkbSetDetectableAutoRepeat(dpy, True, nullptr);
}

std::vector<Message> X11InputTranslator::Translate(XEvent& event) {
  position_ = RootPosition(event);
  std::vector<Message> out;
  if (event.type == KeyPress) {
    AddKeyPress(event.xkey, out);
  } else {
    out.push_back(Classify(event));
  }
  if (position_) lastPosition_ = *position_;
  for (Message& m : out)
    if (m.IsPointer()) m.pos = lastPosition_;
  return out;
}

Message X11InputTranslator::Classify(XEvent& event) {
  switch (event.type) {
    case KeyRelease: return FromKeyRelease(event.xkey);
    case MotionNotify:
      SkipQueuedMotion(event);
      return Stamped(MessageKind::MouseMove, event.xmotion.state, event.xmotion.time);
    case ButtonPress: return FromPress(event.xbutton);
    case ButtonRelease: return FromRelease(event.xbutton);
    default: return Of(MessageKind::Other);
  }
}

// A key with a code of ours is a KeyDown; whatever it types follows as
// Text. An input method's result has no key, only text.
void X11InputTranslator::AddKeyPress(XKeyEvent& key, std::vector<Message>& out) {
  const KeyLookup lookup = text_.LookUpPress(key);
  const uint32_t mods = ModifiersFor(key.state);
  const Key code = key.keycode != 0 ? KeyForPress(lookup.sym, XLookupKeysym(&key, 0)) : Key::Unknown;
  const std::string typed = TypedText(lookup.text, mods);
  if (code != Key::Unknown) {
    out.push_back(Stamped(MessageKind::KeyDown, key.state, key.time));
    out.back().key = code;
    out.back().text = typed;
  }
  if (!typed.empty()) {
    out.push_back(Stamped(MessageKind::Text, key.state, key.time));
    out.back().text = typed;
  }
  if (out.empty()) out.push_back(Of(MessageKind::Other));
}

Message X11InputTranslator::FromKeyRelease(XKeyEvent& key) {
  const KeyLookup lookup = LookUpPlain(key);
  const Key code = KeyForPress(lookup.sym, XLookupKeysym(&key, 0));
  if (code == Key::Unknown) return Of(MessageKind::Other);
  Message m = Stamped(MessageKind::KeyUp, key.state, key.time);
  m.key = code;
  return m;
}

Message X11InputTranslator::FromPress(const XButtonEvent& button) {
  Message m = Stamped(MessageKind::Other, button.state, button.time);
  switch (button.button) {
    case Button1: {
      const bool isDouble = clicks_.Press(static_cast<uint32_t>(button.time), {button.x_root, button.y_root});
      m.kind = isDouble ? MessageKind::LeftDoubleClick : MessageKind::LeftDown;
      break;
    }
    case Button2: m.kind = MessageKind::MiddleDown; break;
    case Button3: m.kind = MessageKind::RightDown; break;
    case kWheelUp: case kWheelDown:
      m.kind = MessageKind::Wheel;
      m.wheel = button.button == kWheelUp ? 1 : -1;
      break;
    default: break;
  }
  return m;
}

Message X11InputTranslator::FromRelease(const XButtonEvent& button) {
  Message m = Stamped(MessageKind::Other, button.state, button.time);
  if (button.button == Button1) m.kind = MessageKind::LeftUp;
  if (button.button == Button2) m.kind = MessageKind::MiddleUp;
  if (button.button == Button3) m.kind = MessageKind::RightUp;
  return m;
}

Message X11InputTranslator::Stamped(MessageKind kind, unsigned int state, Time time) const {
  Message m = Of(kind);
  m.mods = ModifiersFor(state);
  m.time = static_cast<uint32_t>(time);
  return m;
}

// The swallowed events' latest position, state and time replace the first's.
void X11InputTranslator::SkipQueuedMotion(XEvent& event) {
  XEvent next;
  while (XEventsQueued(dpy_, QueuedAlready) > 0) {
    XPeekEvent(dpy_, &next);
    if (next.type != MotionNotify) return;
    XNextEvent(dpy_, &next);
    event = next;
    position_ = RootPosition(next);
  }
}

}  // namespace rc
