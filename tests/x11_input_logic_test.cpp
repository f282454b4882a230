// The X11 host's pure input decisions: double-click synthesis and the
// desktop's double-click time, and the input method's interaction style.
#include <gtest/gtest.h>

#include <vector>

#include "app/double_click.h"
#include "platform/x11/x11_input_style.h"
#include "platform/x11/x11_xsettings.h"

namespace rc {
namespace {

TEST(DoubleClickTest, SecondQuickNearbyPressIsADoubleClickAndAThirdStartsOver) {
  DoubleClickDetector clicks(500);
  EXPECT_FALSE(clicks.Press(1000, {100, 100}));
  EXPECT_TRUE(clicks.Press(1500, {102, 98}));   // at the limit of time and distance
  EXPECT_FALSE(clicks.Press(1600, {102, 98}));  // third press: a new first press
  EXPECT_TRUE(clicks.Press(1700, {101, 99}));
}

TEST(DoubleClickTest, SlowOrDistantPressesStaySingle) {
  DoubleClickDetector clicks(500);
  EXPECT_FALSE(clicks.Press(1000, {100, 100}));
  EXPECT_FALSE(clicks.Press(1501, {100, 100}));  // too late, but it is a new first press
  EXPECT_FALSE(clicks.Press(1600, {103, 100}));  // too far from it
  EXPECT_FALSE(clicks.Press(1700, {103, 97}));   // too far again
  EXPECT_TRUE(clicks.Press(1800, {103, 97}));
}

TEST(DoubleClickTest, SurvivesTheServerClockWrapping) {
  DoubleClickDetector clicks(400);
  EXPECT_FALSE(clicks.Press(0xFFFFFF00u, {5, 5}));
  EXPECT_TRUE(clicks.Press(0x00000010u, {5, 5}));  // 272 ms later
  clicks.SetInterval(100);
  EXPECT_FALSE(clicks.Press(0x00000100u, {5, 5}));
  EXPECT_FALSE(clicks.Press(0x00000200u, {5, 5}));  // 256 ms > 100 ms
}

// Settings blobs as a settings daemon writes them.
class XSettingsBlob {
 public:
  explicit XSettingsBlob(bool msb) : msb_(msb) { bytes_ = {static_cast<uint8_t>(msb ? 1 : 0), 0, 0, 0}; Card32(7); Card32(0); }
  XSettingsBlob& Int(const std::string& name, int32_t value) { return Header(0, name).Card32(static_cast<uint32_t>(value)); }
  XSettingsBlob& Str(const std::string& name, const std::string& value) {
    Header(1, name).Card32(static_cast<uint32_t>(value.size()));
    Bytes(value);
    return *this;
  }
  XSettingsBlob& Colour(const std::string& name) { return Header(2, name).Card32(0).Card32(0); }
  std::vector<uint8_t> Done() {
    std::vector<uint8_t> out = bytes_;
    const uint32_t n = count_;
    for (int i = 0; i < 4; ++i) out[8 + (msb_ ? 3 - i : i)] = static_cast<uint8_t>(n >> (8 * i));
    return out;
  }

 private:
  XSettingsBlob& Header(uint8_t type, const std::string& name) {
    ++count_;
    bytes_.push_back(type);
    bytes_.push_back(0);
    const uint16_t len = static_cast<uint16_t>(name.size());
    if (msb_) bytes_.insert(bytes_.end(), {static_cast<uint8_t>(len >> 8), static_cast<uint8_t>(len)});
    else bytes_.insert(bytes_.end(), {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8)});
    Bytes(name);
    return Card32(3);  // last-change serial
  }
  void Bytes(const std::string& s) {
    bytes_.insert(bytes_.end(), s.begin(), s.end());
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  XSettingsBlob& Card32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * (msb_ ? 3 - i : i))));
    return *this;
  }
  bool msb_;
  uint32_t count_ = 0;
  std::vector<uint8_t> bytes_;
};

TEST(XSettingsTest, FindsTheIntegerPastOtherSettingsInEitherByteOrder) {
  for (bool msb : {false, true}) {
    const std::vector<uint8_t> blob =
        XSettingsBlob(msb).Str("Net/ThemeName", "Adwaita").Colour("Gtk/Colour").Int("Net/DoubleClickTime", 400).Done();
    EXPECT_EQ(FindXSettingsInt(blob, "Net/DoubleClickTime"), 400) << msb;
    EXPECT_EQ(FindXSettingsInt(blob, "Net/ThemeName"), std::nullopt);  // a string, not an integer
    EXPECT_EQ(FindXSettingsInt(blob, "Net/CursorBlinkTime"), std::nullopt);
  }
}

TEST(XSettingsTest, TruncatedOrLyingBlobsGiveNothing) {
  const std::vector<uint8_t> blob = XSettingsBlob(false).Str("A", "xyz").Int("Net/DoubleClickTime", 300).Done();
  for (size_t n = 0; n < blob.size(); ++n)
    EXPECT_EQ(FindXSettingsInt(std::span(blob.data(), n), "Net/DoubleClickTime"), std::nullopt) << n;
  std::vector<uint8_t> lying = blob;
  lying[8] = 0xFF, lying[9] = 0xFF;  // claims 65535 settings
  EXPECT_EQ(FindXSettingsInt(lying, "Nothing"), std::nullopt);
  lying = blob;
  lying[24] = 0xFF, lying[25] = 0xFF, lying[26] = 0xFF, lying[27] = 0x7F;  // string length far past the end
  EXPECT_EQ(FindXSettingsInt(lying, "Net/DoubleClickTime"), std::nullopt);
}

// Over-the-spot where the input method offers it with a status style we
// need not draw; otherwise the root-window style every input method takes.
TEST(InputStyleTest, OverTheSpotIsPreferredWhenOffered) {
  const XIMStyle root = XIMPreeditNothing | XIMStatusNothing;
  const XIMStyle spot = XIMPreeditPosition | XIMStatusNothing;
  const XIMStyle spotNoStatus = XIMPreeditPosition | XIMStatusNone;
  const XIMStyle onTheSpot = XIMPreeditCallbacks | XIMStatusNothing;
  EXPECT_EQ(PreferredInputStyle(std::vector<XIMStyle>{onTheSpot, root, spot}), spot);
  EXPECT_EQ(PreferredInputStyle(std::vector<XIMStyle>{spotNoStatus, root}), spotNoStatus);
  EXPECT_EQ(PreferredInputStyle(std::vector<XIMStyle>{spotNoStatus, spot}), spot);
  EXPECT_EQ(PreferredInputStyle(std::vector<XIMStyle>{XIMPreeditPosition | XIMStatusArea, root}), root);
  EXPECT_EQ(PreferredInputStyle(std::vector<XIMStyle>{onTheSpot, root}), root);
  EXPECT_EQ(PreferredInputStyle({}), root);
  EXPECT_TRUE(IsOverTheSpot(spotNoStatus));
  EXPECT_FALSE(IsOverTheSpot(root));
}

}  // namespace
}  // namespace rc
