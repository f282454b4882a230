#include "platform/x11/x11_input.h"

#include <X11/keysym.h>

namespace rc {

namespace {

Message Of(MessageKind kind, uint32_t key = 0) { return Message{kind, key}; }

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

uint32_t VirtualKeyFor(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return static_cast<uint32_t>(sym - XK_a + 'A');
  if ((sym >= XK_A && sym <= XK_Z) || (sym >= XK_0 && sym <= XK_9)) return static_cast<uint32_t>(sym);
  switch (sym) {
    case XK_Escape: return kVkEscape;
    case XK_Return: case XK_KP_Enter: return 0x0D;
    case XK_BackSpace: return 0x08;
    case XK_Tab: return 0x09;
    case XK_space: return 0x20;
    case XK_Left: return 0x25;
    case XK_Up: return 0x26;
    case XK_Right: return 0x27;
    case XK_Down: return 0x28;
    case XK_Delete: return 0x2E;
    default: return 0;
  }
}

Message X11InputTranslator::Translate(const XEvent& event) {
  position_ = RootPosition(event);
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
  const uint32_t vk = VirtualKeyFor(XLookupKeysym(&copy, 0));
  return vk == 0 ? Of(MessageKind::Other) : Of(MessageKind::KeyDown, vk);
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
