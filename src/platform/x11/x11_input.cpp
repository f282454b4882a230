#include "platform/x11/x11_input.h"

#include <X11/keysym.h>

namespace rc {

namespace {

Message Of(MessageKind kind, Key key = Key::Unknown) {
  Message m;
  m.kind = kind;
  m.key = key;
  return m;
}

std::optional<Point> RootPosition(const XEvent& event) {
  switch (event.type) {
    case KeyPress: return Point{event.xkey.x_root, event.xkey.y_root};
    case MotionNotify: return Point{event.xmotion.x_root, event.xmotion.y_root};
    case ButtonPress:
    case ButtonRelease: return Point{event.xbutton.x_root, event.xbutton.y_root};
    default: return std::nullopt;
  }
}

}  // namespace

Key KeyFor(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<Key>(sym - XK_a + 'A');
  if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9)) return static_cast<Key>(sym);
  switch (sym) {
    case XK_Escape: return Key::Escape;
    case XK_Return: case XK_KP_Enter: return Key::Return;
    case XK_BackSpace: return Key::Backspace;
    case XK_Tab: return Key::Tab;
    case XK_space: return Key::Space;
    case XK_Left: return Key::Left;
    case XK_Up: return Key::Up;
    case XK_Right: return Key::Right;
    case XK_Down: return Key::Down;
    case XK_Delete: return Key::Delete;
    default: return Key::Unknown;
  }
}

Message X11InputTranslator::Translate(const XEvent& event) {
  position_ = RootPosition(event);
  Message m = Classify(event);
  if (m.IsPointer() && position_) m.pos = *position_;
  return m;
}

Message X11InputTranslator::Classify(const XEvent& event) {
  switch (event.type) {
    case KeyPress: return FromKey(event.xkey);
    case MotionNotify:
      SkipQueuedMotion();
      return Of(MessageKind::MouseMove);
    case ButtonPress: return FromPress(event.xbutton);
    case ButtonRelease:
      if (event.xbutton.button == Button1) return Of(MessageKind::LeftUp);
      if (event.xbutton.button == Button3) return Of(MessageKind::RightUp);
      return Of(MessageKind::Other);
    default: return Of(MessageKind::Other);
  }
}

Message X11InputTranslator::FromKey(const XKeyEvent& key) {
  XKeyEvent copy = key;
  const Key k = KeyFor(XLookupKeysym(&copy, 0));
  return k == Key::Unknown ? Of(MessageKind::Other) : Of(MessageKind::KeyDown, k);
}

Message X11InputTranslator::FromPress(const XButtonEvent& button) {
  if (button.button != Button1) return Of(MessageKind::Other);
  const bool isDouble = clicks_.Press(static_cast<uint32_t>(button.time), {button.x_root, button.y_root});
  return Of(isDouble ? MessageKind::LeftDoubleClick : MessageKind::LeftDown);
}

void X11InputTranslator::SkipQueuedMotion() {
  XEvent next;
  while (XEventsQueued(dpy_, QueuedAlready) > 0) {
    XPeekEvent(dpy_, &next);
    if (next.type != MotionNotify) return;
    XNextEvent(dpy_, &next);
    position_ = RootPosition(next);
  }
}

}  // namespace rc
