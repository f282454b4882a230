// The UTF-8/UTF-16 boundary and the dialog's filter buffer.
#include <gtest/gtest.h>

#include "platform/win32/win32_filter.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {
namespace {

TEST(Win32TextEncoding, ChineseNamesRoundTrip) {
  const std::string name = "截图20261207041500.png";
  const std::wstring wide = Utf8ToWide(name);
  EXPECT_EQ(wide, L"\u622A\u56FE20261207041500.png");
  EXPECT_EQ(WideToUtf8(wide), name);
  // Outside the basic plane: one character, two UTF-16 units.
  const std::string astral = "C:\\图片\\\U0001F600.gif";
  EXPECT_EQ(Utf8ToWide(astral).size(), 12u);
  EXPECT_EQ(WideToUtf8(Utf8ToWide(astral)), astral);
  EXPECT_TRUE(Utf8ToWide("").empty());
  EXPECT_TRUE(WideToUtf8(L"").empty());
}

TEST(Win32TextEncoding, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToWide("a\xFF" "b"), L"a\uFFFDb");
  EXPECT_EQ(WideToUtf8(std::wstring(L"x") + wchar_t(0xD800) + L"y"), "x\xEF\xBF\xBDy");
}

TEST(Win32Filter, PairsAreNulSeparatedAndTheListEndsWithTwoNuls) {
  const std::wstring buffer = BuildFilterBuffer({{"PNG (*.png)", "*.png"}, {"JPEG (*.jpg)", "*.jpg"}});
  const std::wstring expected(L"PNG (*.png)\0*.png\0JPEG (*.jpg)\0*.jpg\0\0", 38);
  EXPECT_EQ(buffer, expected);
}

TEST(Win32Filter, ChineseLabelsEmptyListsAndStrayNuls) {
  EXPECT_EQ(BuildFilterBuffer({{"图片", "*.png"}}), std::wstring(L"\u56FE\u7247\0*.png\0\0", 10));
  EXPECT_TRUE(BuildFilterBuffer({}).empty());
  // A NUL inside a label would cut the list short; it is dropped.
  EXPECT_EQ(BuildFilterBuffer({{std::string("A\0B", 3), "*.a"}}), std::wstring(L"AB\0*.a\0\0", 8));
}

}  // namespace
}  // namespace rc
