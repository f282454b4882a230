// The X11 host's key reading that needs no server: keysyms to our codes,
// event state to modifiers, and which text counts as typed.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include "platform/x11/x11_keys.h"

namespace rc {
namespace {

TEST(X11KeysTest, KeysymsMapToOurCodesWhateverTheCase) {
  EXPECT_EQ(KeyFor(XK_a), Key::A);
  EXPECT_EQ(KeyFor(XK_A), Key::A);
  EXPECT_EQ(KeyFor(XK_z), Key::Z);
  EXPECT_EQ(KeyFor(XK_7), KeyDigit(7));
  EXPECT_EQ(KeyFor(XK_KP_7), KeyDigit(7));
  EXPECT_EQ(KeyFor(XK_F1), KeyF(1));
  EXPECT_EQ(KeyFor(XK_F12), Key::F12);
  EXPECT_EQ(KeyFor(XK_KP_Enter), Key::Return);
  EXPECT_EQ(KeyFor(XK_ISO_Left_Tab), Key::Tab);  // what Shift+Tab gives
  EXPECT_EQ(KeyFor(XK_KP_Home), Key::Home);
  EXPECT_EQ(KeyFor(XK_Page_Down), Key::PageDown);
  EXPECT_EQ(KeyFor(XK_Insert), Key::Insert);
  EXPECT_EQ(KeyFor(XK_F13), Key::Unknown);
  EXPECT_EQ(KeyFor(XK_Shift_L), Key::Unknown);
  EXPECT_EQ(KeyFor(XK_at), Key::Unknown);
}

TEST(X11KeysTest, AShiftedKeyKeepsTheCodeOfItsUnshiftedKeysym) {
  EXPECT_EQ(KeyForPress(XK_at, XK_2), KeyDigit(2));         // Shift+2 on a US layout
  EXPECT_EQ(KeyForPress(XK_quotedbl, XK_2), KeyDigit(2));   // ... on a German one
  EXPECT_EQ(KeyForPress(XK_Cyrillic_es, XK_c), Key::C);     // a Russian group: shortcuts still work
  EXPECT_EQ(KeyForPress(XK_z, XK_z), Key::Z);
  EXPECT_EQ(KeyForPress(XK_KP_End, XK_KP_End), Key::End);   // the keypad without Num Lock
  EXPECT_EQ(KeyForPress(XK_KP_1, XK_KP_End), KeyDigit(1));  // ... and with it
  EXPECT_EQ(KeyForPress(NoSymbol, XK_Shift_L), Key::Unknown);
}

TEST(X11KeysTest, StateBitsGiveModifiersAndLocksAreIgnored) {
  EXPECT_EQ(ModifiersFor(0), 0u);
  EXPECT_EQ(ModifiersFor(ShiftMask | Mod4Mask), kModShift | kModSuper);
  EXPECT_EQ(ModifiersFor(ControlMask | Mod1Mask), kModCtrl | kModAlt);
  EXPECT_EQ(ModifiersFor(LockMask | Mod2Mask | Button1Mask), 0u);  // Caps Lock, Num Lock, a held button
}

TEST(X11KeysTest, OnlyPrintableTextWithoutCtrlOrAltIsTyped) {
  EXPECT_EQ(TypedText("A", kModShift), "A");
  EXPECT_EQ(TypedText("中文", 0), "中文");
  EXPECT_EQ(TypedText("\r", 0), "");
  EXPECT_EQ(TypedText("\x1b", 0), "");
  EXPECT_EQ(TypedText("\x7f", 0), "");
  EXPECT_EQ(TypedText("\x03", kModCtrl), "");
  EXPECT_EQ(TypedText("a", kModCtrl), "");
  EXPECT_EQ(TypedText("a", kModAlt | kModShift), "");
  EXPECT_EQ(TypedText("a", kModSuper), "a");
}

TEST(X11KeysTest, WithoutAnInputMethodTheKeysymGivesTheText) {
  EXPECT_EQ(KeysymText(XK_A), "A");  // the shifted keysym gives the shifted letter
  EXPECT_EQ(KeysymText(XK_at), "@");
  EXPECT_EQ(KeysymText(XK_eacute), "é");
  EXPECT_EQ(KeysymText(0x1004E2D), "中");  // a Unicode keysym
  EXPECT_EQ(KeysymText(0x101F600), "\xF0\x9F\x98\x80");
  EXPECT_EQ(KeysymText(XK_KP_5), "5");
  EXPECT_EQ(KeysymText(XK_KP_Decimal), ".");
  EXPECT_EQ(KeysymText(XK_Return), "");
  EXPECT_EQ(KeysymText(XK_Left), "");
  EXPECT_EQ(KeysymText(NoSymbol), "");
}

TEST(X11KeysTest, Utf8AtEachLengthBoundary) {
  const std::pair<char32_t, std::string> cases[] = {
      {0x7F, "\x7F"},          {0x80, "\xC2\x80"},          {0x7FF, "\xDF\xBF"},
      {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"},    {0x10000, "\xF0\x90\x80\x80"},
      {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0xD800, ""},         {0x110000, ""},
  };
  for (const auto& [c, bytes] : cases) {
    std::string out;
    AppendUtf8(out, c);
    EXPECT_EQ(out, bytes) << std::hex << static_cast<uint32_t>(c);
  }
}

}  // namespace
}  // namespace rc
