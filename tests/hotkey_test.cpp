#include <gtest/gtest.h>

#include "app/hotkey.h"
#include "app/message.h"
#include "app/resident.h"

namespace rc {
namespace {

Hotkey Parsed(const std::string& text) {
  const HotkeyParse p = ParseHotkey(text);
  EXPECT_TRUE(p.ok) << text << ": " << p.error;
  return p.hotkey;
}

std::string ErrorOf(const std::string& text) {
  const HotkeyParse p = ParseHotkey(text);
  EXPECT_FALSE(p.ok) << text << " was accepted as " << HotkeyText(p.hotkey);
  return p.error;
}

TEST(Hotkey, ModifiersAndKeysInAnySpellingGiveOneCanonicalShortcut) {
  EXPECT_EQ(Parsed("Ctrl+Alt+A"), (Hotkey{kModCtrl | kModAlt, "A"}));
  EXPECT_EQ(Parsed(" control + ALT + a "), (Hotkey{kModCtrl | kModAlt, "A"}));
  EXPECT_EQ(Parsed("Print"), (Hotkey{0, "Print"}));
  EXPECT_EQ(Parsed("PrtSc"), (Hotkey{0, "Print"}));
  EXPECT_EQ(Parsed("Super+Shift+S"), (Hotkey{kModSuper | kModShift, "S"}));
  EXPECT_EQ(Parsed("Meta+Shift+s"), (Hotkey{kModSuper | kModShift, "S"}));
  EXPECT_EQ(Parsed("shift+f12"), (Hotkey{kModShift, "F12"}));
  EXPECT_EQ(Parsed("Ctrl+F24"), (Hotkey{kModCtrl, "F24"}));
  EXPECT_EQ(Parsed("Win+PgDn"), (Hotkey{kModSuper, "PageDown"}));
  EXPECT_EQ(Parsed("Ctrl+7"), (Hotkey{kModCtrl, "7"}));
  EXPECT_EQ(Parsed("Alt+Esc"), (Hotkey{kModAlt, "Escape"}));
}

TEST(Hotkey, WrittenBackWithModifiersInOneOrder) {
  EXPECT_EQ(HotkeyText(Parsed("shift+super+ctrl+alt+space")), "Ctrl+Alt+Shift+Super+Space");
  EXPECT_EQ(HotkeyText(Parsed(kDefaultHotkey)), "Ctrl+Alt+A");
  EXPECT_EQ(HotkeyText(Parsed("print")), "Print");
  // What is written back reads back the same.
  for (const char* text : {"Ctrl+Alt+A", "Shift+Super+S", "Print", "Alt+F1", "Ctrl+Delete"})
    EXPECT_EQ(HotkeyText(Parsed(HotkeyText(Parsed(text)))), text);
}

TEST(Hotkey, BadTextsSayWhatIsWrong) {
  EXPECT_NE(ErrorOf("").find("empty"), std::string::npos);
  EXPECT_NE(ErrorOf("   ").find("empty"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl+Alt").find("no key"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl+Alt+").find("without a key"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl++A").find("empty"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl+Ctrl+A").find("twice"), std::string::npos);
  EXPECT_NE(ErrorOf("Control+ctrl+A").find("twice"), std::string::npos);
  EXPECT_NE(ErrorOf("Hyper+A").find("\"Hyper\" is not a modifier"), std::string::npos);
  EXPECT_NE(ErrorOf("A+B").find("\"A\" is not a modifier"), std::string::npos);
  EXPECT_NE(ErrorOf("Ctrl+Alt+Foo").find("\"Foo\" is not a key name"), std::string::npos);
  for (const char* bad : {"F0", "F25", "F01", "Ctrl+AB", "Ctrl+é", "Ctrl+-"}) ErrorOf(bad);
  // The text itself is quoted, so a user sees which setting is meant.
  EXPECT_EQ(ErrorOf("Ctrl+Alt").rfind("\"Ctrl+Alt\" is not a shortcut", 0), 0u);
}

// Both hosts read the settings file before any host exists, through these.
TEST(Hotkey, TheSettingsFileNamesTheResidentShortcutOrLeavesTheDefault) {
  EXPECT_EQ(HotkeySettingOf("hotkey = Print\r\n"), "Print");
  EXPECT_EQ(HotkeySettingOf("hotkey = F9\n[install]\nhotkey = Super+S\n"), "Super+S");
  EXPECT_EQ(HotkeySettingOf("[other]\nhotkey = F9\n"), "");
  Hotkey hotkey;
  std::string error;
  ASSERT_TRUE(ResidentHotkey(HotkeySettingOf("# none\n"), hotkey, error));
  EXPECT_EQ(HotkeyText(hotkey), "Ctrl+Alt+A");
  EXPECT_FALSE(ResidentHotkey(HotkeySettingOf("hotkey = Ctrl+\n"), hotkey, error));
  EXPECT_EQ(error.rfind("hotkey = Ctrl+: ", 0), 0u) << error;
}

}  // namespace
}  // namespace rc
