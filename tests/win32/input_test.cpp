// Window messages to the program's messages (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>

#include "platform/win32/win32_message.h"

namespace rc {
namespace {

NativeInputFacts Facts() {
  NativeInputFacts facts;
  facts.clientOrigin = {-1920, 100};  // a window on a monitor left of the primary one
  facts.messagePos = {-1000, 300};
  facts.mods = kModShift | kModCtrl;
  facts.time = 123456;
  return facts;
}

Message Translate(UINT message, WPARAM wParam, LPARAM lParam = 0, const NativeInputFacts& facts = Facts()) {
  Win32InputTranslator input;
  return input.Translate(message, wParam, lParam, facts);
}

TEST(Win32Input, PointerMessagesCarryDesktopPositionsModifiersAndTime) {
  const std::pair<UINT, MessageKind> cases[] = {
      {WM_MOUSEMOVE, MessageKind::MouseMove},       {WM_LBUTTONDOWN, MessageKind::LeftDown},
      {WM_LBUTTONUP, MessageKind::LeftUp},          {WM_LBUTTONDBLCLK, MessageKind::LeftDoubleClick},
      {WM_RBUTTONDOWN, MessageKind::RightDown},     {WM_RBUTTONDBLCLK, MessageKind::RightDown},
      {WM_RBUTTONUP, MessageKind::RightUp},         {WM_MBUTTONDOWN, MessageKind::MiddleDown},
      {WM_MBUTTONUP, MessageKind::MiddleUp},
  };
  for (const auto& [native, kind] : cases) {
    const Message m = Translate(native, 0, MAKELPARAM(30, -5 & 0xFFFF));  // client coordinates may be negative
    EXPECT_EQ(m.kind, kind) << native;
    EXPECT_EQ(m.pos, (Point{-1890, 95})) << native;
    EXPECT_EQ(m.mods, kModShift | kModCtrl);
    EXPECT_EQ(m.time, 123456u);
  }
  for (UINT other : {WM_SETCURSOR, WM_PAINT, WM_TIMER}) EXPECT_EQ(Translate(other, 0).kind, MessageKind::Other);
}

TEST(Win32Input, KeysMapToOurCodesAndTheRestMakeNoKeyMessage) {
  EXPECT_EQ(Translate(WM_KEYDOWN, VK_ESCAPE).key, Key::Escape);
  EXPECT_EQ(Translate(WM_KEYDOWN, VK_ESCAPE).kind, MessageKind::KeyDown);
  EXPECT_EQ(Translate(WM_KEYDOWN, VK_ESCAPE).pos, (Point{-1000, 300}));  // where the pointer was
  EXPECT_EQ(Translate(WM_SYSKEYDOWN, 'S').key, Key::S);                  // with Alt held
  EXPECT_EQ(Translate(WM_SYSKEYDOWN, 'S').kind, MessageKind::KeyDown);
  EXPECT_EQ(Translate(WM_KEYUP, VK_NEXT).kind, MessageKind::KeyUp);
  EXPECT_EQ(Translate(WM_KEYUP, VK_NEXT).key, Key::PageDown);
  EXPECT_EQ(Translate(WM_SYSKEYUP, VK_F10).key, KeyF(10));
  EXPECT_EQ(KeyForVirtualKey(VK_NUMPAD7), KeyDigit(7));
  EXPECT_EQ(KeyForVirtualKey('7'), KeyDigit(7));
  EXPECT_EQ(KeyForVirtualKey(VK_RETURN), Key::Return);
  EXPECT_EQ(KeyForVirtualKey(VK_INSERT), Key::Insert);
  EXPECT_EQ(KeyForVirtualKey(VK_F12), Key::F12);
  for (WPARAM unknown : {VK_SHIFT, VK_CONTROL, VK_F13, VK_OEM_1, VK_LWIN}) {
    EXPECT_EQ(Translate(WM_KEYDOWN, unknown).kind, MessageKind::Other) << unknown;
    EXPECT_EQ(KeyForVirtualKey(unknown), Key::Unknown) << unknown;
  }
}

TEST(Win32Input, CharactersBecomeTextWithSurrogatePairsJoined) {
  Win32InputTranslator input;
  const NativeInputFacts facts = Facts();
  EXPECT_EQ(input.Translate(WM_CHAR, L'A', 0, facts).text, "A");
  EXPECT_EQ(input.Translate(WM_CHAR, 0x4E2D, 0, facts).text, "中");
  const Message first = input.Translate(WM_CHAR, 0xD83D, 0, facts);  // U+1F600 in two halves
  EXPECT_EQ(first.kind, MessageKind::Other);
  const Message second = input.Translate(WM_CHAR, 0xDE00, 0, facts);
  EXPECT_EQ(second.kind, MessageKind::Text);
  EXPECT_EQ(second.text, "\xF0\x9F\x98\x80");
  // A half without its other half is dropped; the character after it stays.
  EXPECT_EQ(input.Translate(WM_CHAR, 0xDE00, 0, facts).kind, MessageKind::Other);
  input.Translate(WM_CHAR, 0xD83D, 0, facts);
  EXPECT_EQ(input.Translate(WM_CHAR, L'b', 0, facts).text, "b");
  // Return, Backspace, Tab, Escape and Ctrl+letters are keys, not text.
  for (WPARAM control : {0x0D, 0x08, 0x09, 0x1B, 0x01, 0x7F})
    EXPECT_EQ(input.Translate(WM_CHAR, control, 0, facts).kind, MessageKind::Other) << control;
}

WPARAM WheelDelta(int delta) { return static_cast<WPARAM>(static_cast<WORD>(delta)) << 16; }

TEST(Win32Input, AnInputMethodsResultIsOneTextAndTheWheelCountsWholeSteps) {
  NativeInputFacts facts = Facts();
  facts.imeResult = u"中文输入\U0001F600";
  const Message text = Translate(WM_IME_COMPOSITION, 0, GCS_RESULTSTR, facts);
  EXPECT_EQ(text.kind, MessageKind::Text);
  EXPECT_EQ(text.text, "中文输入\xF0\x9F\x98\x80");
  EXPECT_EQ(Translate(WM_IME_COMPOSITION, 0, GCS_COMPSTR).kind, MessageKind::Other);  // still composing

  Win32InputTranslator input;
  const Message down = input.Translate(WM_MOUSEWHEEL, WheelDelta(-2 * WHEEL_DELTA), MAKELPARAM(-300 & 0xFFFF, 40), facts);
  EXPECT_EQ(down.kind, MessageKind::Wheel);
  EXPECT_EQ(down.wheel, -2);
  EXPECT_EQ(down.pos, (Point{-300, 40}));  // already in desktop coordinates
  EXPECT_EQ(input.Translate(WM_MOUSEWHEEL, WheelDelta(60), 0, facts).kind, MessageKind::Other);
  EXPECT_EQ(input.Translate(WM_MOUSEWHEEL, WheelDelta(60), 0, facts).wheel, 1);  // two halves make a step
}

}  // namespace
}  // namespace rc
