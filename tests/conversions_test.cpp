#include <gtest/gtest.h>

#include "app/conversions.h"
#include "app/runtime_error.h"
#include "selection/zones.h"

namespace rc {
namespace {

TEST(Conversions, ToArgbPutsRedAboveGreenAboveBlue) {
  EXPECT_EQ(ToArgb(0x00FFAE00), 0xFF00AEFFu);
  EXPECT_EQ(ToArgb(0xFFFFFF), 0xFFFFFFFFu);
  EXPECT_EQ(ToArgb(0x000000), 0xFF000000u);
  EXPECT_EQ(ToArgb(0x0000FF, 128), 0x80FF0000u);
}

TEST(Conversions, RealsAreTruncatedTowardZero) {
  EXPECT_EQ(TruncToInt(2.7), 2);
  EXPECT_EQ(TruncToInt(-1.7), -1);
  EXPECT_EQ(TruncToInt(-0.2), 0);
  EXPECT_EQ(TruncToInt(1e12), INT32_MAX);
}

TEST(Conversions, CompareTextTreatsAbsentAsEmpty) {
  EXPECT_EQ(CompareText(nullptr, ""), 0);
  EXPECT_NE(CompareText("内部", ""), 0);
  EXPECT_EQ(CompareText(Text(HitZone::None), nullptr), 0);
  // Bytes compare unsigned: a UTF-8 lead byte is greater than ASCII.
  EXPECT_GT(CompareText("内", "z"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
}

TEST(Conversions, StateTextsAreTheProgramsOwn) {
  EXPECT_STREQ(Text(CaptureMode::Draw), "绘制");
  EXPECT_STREQ(Text(CaptureMode::None), "");
  EXPECT_STREQ(Text(HitZone::BottomRight), "右下角");
  EXPECT_STREQ(Text(HitZone::Toolbar), "工具栏");
  EXPECT_STREQ(Text(UiEvent::Press), "按下");
  EXPECT_STREQ(Text(RedrawOption::KeepRects), "不清除");
}

TEST(RuntimeError, TextCarriesNumberAndMessage) {
  EXPECT_EQ(RuntimeErrorText(1, "数组成员引用下标超出定义范围"),
            "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n");
  EXPECT_EQ(RuntimeErrorText(std::nullopt, "X11: no grab"), "运行时出错!\r\n\r\n错误信息：X11: no grab\r\n");
}

}  // namespace
}  // namespace rc
