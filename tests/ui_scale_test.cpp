// The UI scale: where it comes from on each platform and how the 1x layout
// maps onto it.
#include <gtest/gtest.h>

#include "app/monitors.h"
#include "app/ui_scale.h"
#include "platform/x11/x11_resources.h"

namespace rc {
namespace {

TEST(UiScale, NumbersAreReadStrictlyAndKeptInRange) {
  EXPECT_EQ(ParseUiScale("1.5"), 1.5f);
  EXPECT_EQ(ParseUiScale(" 2 "), 2.0f);
  EXPECT_EQ(ParseUiScale("0.5"), 1.0f);
  EXPECT_EQ(ParseUiScale("10"), 4.0f);
  for (const char* bad : {"", "abc", "1.5x", "-1", "0", "nan", "inf", "1e999"}) {
    EXPECT_EQ(ParseUiScale(bad), std::nullopt) << bad;
  }
  EXPECT_EQ(UiScaleFromDpi(96), 1.0f);
  EXPECT_EQ(UiScaleFromDpi(144), 1.5f);
  EXPECT_EQ(UiScaleFromDpi(192), 2.0f);
  EXPECT_EQ(UiScaleFromDpi(72), 1.0f);
}

TEST(UiScale, X11TakesTheVariableThenXftDpi) {
  const std::string resources = "Xft.antialias:\t1\nXft.dpi:\t144\n*background: grey\nXft.dpiX: 300\n";
  EXPECT_EQ(FindXResource(resources, "Xft.dpi"), "144");
  EXPECT_EQ(FindXResource("Xft.dpi: 96\nXft.dpi:  192 \n", "Xft.dpi"), "192");  // the later line wins
  EXPECT_EQ(FindXResource("Xft.hinting: 1", "Xft.dpi"), std::nullopt);
  EXPECT_EQ(ChooseX11UiScale(std::nullopt, resources), 1.5f);
  EXPECT_EQ(ChooseX11UiScale("2", resources), 2.0f);
  EXPECT_EQ(ChooseX11UiScale("big", resources), 1.5f);
  EXPECT_EQ(ChooseX11UiScale(std::nullopt, ""), 1.0f);
  EXPECT_EQ(ChooseX11UiScale(std::nullopt, "Xft.dpi: lots\n"), 1.0f);
}

TEST(UiScale, LayoutPixelsMapBothWays) {
  EXPECT_EQ(ScalePx(329, 1), 329);
  EXPECT_EQ(ScalePx(329, 2), 658);
  EXPECT_EQ(ScalePx(329, 1.5f), 494);
  EXPECT_EQ(UnscalePx(43, 1.5f), 28);
  EXPECT_EQ(UnscalePx(44, 1.5f), 29);
  EXPECT_EQ(UnscalePx(57, 2), 28);
  EXPECT_EQ(UnscalePx(-1, 2), -1);
  const std::vector<Monitor> monitors = {{{0, 0, 100, 100}, 1, true}, {{100, 0, 100, 100}, 2, false}};
  EXPECT_EQ(ScaleAt(monitors, {150, 50}), 2.0f);
  EXPECT_EQ(ScaleAt(monitors, {-5, 50}), 1.0f);
  EXPECT_EQ(ScaleAt({}, {0, 0}), 1.0f);
}

}  // namespace
}  // namespace rc
