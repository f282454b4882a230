#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "app/settings.h"
#include "edit/edit_settings.h"
#include "platform/headless/headless_host.h"

namespace rc {
namespace {

TEST(SettingsText, ReadsKeysSectionsAndCommentsAndKeepsThemWhenWrittenBack) {
  const std::string text =
      "\xEF\xBB\xBF# regioncap\r\n"
      "window_snap = false\r\n"
      "[tools]\n"
      "  pen_width=4  \n"
      "; colour = red\n"
      "not a setting\n"
      "[install]\n"
      "hotkey = Ctrl+Alt+A\n"
      "hotkey = Ctrl+Shift+A\n";
  Settings s = Settings::Parse(text);
  EXPECT_FALSE(s.GetBool("window_snap", true));
  EXPECT_EQ(s.GetInt("tools.pen_width", 0), 4);
  EXPECT_FALSE(s.Find("tools.colour"));
  EXPECT_EQ(s.GetString("install.hotkey"), "Ctrl+Shift+A");  // the last one wins
  EXPECT_EQ(s.GetString("hotkey", "none"), "none");           // not above the first header
  const Settings again = Settings::Parse(s.Format());
  EXPECT_EQ(again.Format(), s.Format());
  EXPECT_NE(s.Format().find("not a setting\n"), std::string::npos);
}

TEST(SettingsText, TypedGettersFallBackOnWhatTheyCannotRead) {
  const Settings s = Settings::Parse("a = 12x\nb = -7\nc = +3\nd = maybe\ne = YES\nf = Off\ng = 99999999999999999999\n");
  EXPECT_EQ(s.GetInt("a", 5), 5);
  EXPECT_EQ(s.GetInt("b", 5), -7);
  EXPECT_EQ(s.GetInt("c", 5), 3);
  EXPECT_EQ(s.GetInt("g", 5), 5);
  EXPECT_TRUE(s.GetBool("d", true));
  EXPECT_FALSE(s.GetBool("d", false));
  EXPECT_TRUE(s.GetBool("e", false));
  EXPECT_FALSE(s.GetBool("f", true));
  EXPECT_EQ(s.GetInt("missing", -1), -1);
}

TEST(SettingsText, SettersReplaceInPlaceOrAddToTheirSection) {
  Settings s = Settings::Parse("# top\nwindow_snap = true\n\n[tools]\npen_width = 2\n\n[other]\nx = 1\n");
  s.SetBool("window_snap", false);
  s.SetInt("tools.pen_width", 6);
  s.SetString("tools.colour", "#FF0000\nsneaky = 1");
  s.SetString("install.hotkey", "Ctrl+Alt+A");
  s.SetString("top_level", "yes");
  EXPECT_EQ(s.Format(),
            "# top\nwindow_snap = false\ntop_level = yes\n\n[tools]\npen_width = 6\ncolour = #FF0000sneaky = 1\n\n"
            "[other]\nx = 1\n[install]\nhotkey = Ctrl+Alt+A\n");
  s.Remove("tools.pen_width");
  EXPECT_FALSE(Settings::Parse(s.Format()).Find("tools.pen_width"));
  EXPECT_FALSE(Settings::Parse(s.Format()).Find("sneaky"));
}

TEST(SettingsText, DamagedTextGivesDefaults) {
  const std::string binary("\0\xFF\x01[=]\n=\n[\n\xC3", 12);
  const Settings s = Settings::Parse(binary);
  EXPECT_EQ(s.GetInt("x", 3), 3);
  EXPECT_EQ(Settings::Parse(std::string(2 << 20, 'a')).Format(), "");
}

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("regioncap-settings-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    host.SetSettingsDirectory((dir / "配置" / "regioncap").string());
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  HeadlessHost host{64, 64};
};

TEST_F(SettingsFile, MissingFileGivesDefaultsAndSavingMakesTheFolder) {
  EXPECT_TRUE(LoadSettings().GetBool("window_snap", true));
  Settings s = LoadSettings();
  s.SetBool("window_snap", false);
  ASSERT_TRUE(SaveSettings(s));
  EXPECT_EQ(SettingsFilePath(), (dir / "配置" / "regioncap" / "settings.ini").string());
  EXPECT_FALSE(LoadSettings().GetBool("window_snap", true));
}

TEST_F(SettingsFile, AFolderWhereTheFileShouldBeGivesDefaults) {
  std::filesystem::create_directories(SettingsFilePath());
  EXPECT_EQ(LoadSettings().GetInt("tools.pen_width", 9), 9);
  EXPECT_FALSE(SaveSettings(Settings{}));
}

// Tool options come back in the next run; the hotkey beside them stays,
// and values outside what the options bar offers give the defaults.
TEST_F(SettingsFile, ToolOptionsLastBetweenRunsAndKeepTheRest) {
  Settings s;
  s.SetString("install.hotkey", "Print");
  ASSERT_TRUE(SaveSettings(s));
  SaveEditOptions({2, 0, 5, true});
  EXPECT_EQ(LoadEditOptions(), (EditOptions{2, 0, 5, true}));
  EXPECT_EQ(LoadSettings().GetString("install.hotkey"), "Print");
  s = LoadSettings();
  s.SetInt("tools.width", 7);
  s.SetInt("tools.colour", -1);
  s.SetString("tools.text_size", "big");
  ASSERT_TRUE(SaveSettings(s));
  const EditOptions back = LoadEditOptions();
  EXPECT_EQ(back.widthChoice, EditOptions{}.widthChoice);
  EXPECT_EQ(back.colourChoice, EditOptions{}.colourChoice);
  EXPECT_EQ(back.sizeChoice, EditOptions{}.sizeChoice);
  EXPECT_TRUE(back.mosaic);
}

TEST(SettingsHostless, NoFolderMeansDefaultsAndAReportedSave) {
  HeadlessHost host(8, 8);
  EXPECT_EQ(SettingsFilePath(), "");
  EXPECT_TRUE(LoadSettings().GetBool("window_snap", true));
  EXPECT_FALSE(SaveSettings(Settings{}));
}

}  // namespace
}  // namespace rc
