// An open text box on the headless host: a press on it moves the caret to
// the nearest character, and the input method's spot follows the caret in
// desktop coordinates.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_fixture.h"
#include "edit/edit_scale.h"
#include "edit/edit_tools.h"
#include "edit/text_shape.h"
#include "toolbar/toolbar_layout.h"

namespace rc::testing {
namespace {

class TextBoxTest : public CaptureTest {
 public:
  void SetUp() override {
    CaptureTest::SetUp();
    Select({100, 60}, {500, 300});
  }
  void Select(Point from, Point to) {
    DragSelection(from, to);
    const Point c = ToolbarButtonCentre(static_cast<int32_t>(EditTool::Text));
    Click({S().Desktop.x + S().ToolbarRect.left + c.x, S().Desktop.y + S().ToolbarRect.top + c.y});
    ASSERT_EQ(ActiveTool(), EditTool::Text);
  }
  // `at` in desktop coordinates.
  void Click(Point at) {
    host->SetCursor(at.x, at.y);
    ASSERT_TRUE(host->LeftDown());
    ASSERT_TRUE(host->LeftUp());
  }
  TextLook Look() {
    const EditSession& e = S().Edit;
    return TextLook{e.text.Lines(), e.textBox->fontSize, e.textBox->argb, EditScaleAt(e.textOrigin)};
  }
  // The caret's bar in desktop coordinates, as the box draws it.
  Box CaretBar(TextCaret caret) {
    const Box b = TextCaretBox(Look(), caret);
    const Point o = S().Edit.textOrigin;
    return {S().Desktop.x + o.x + b.x, S().Desktop.y + o.y + b.y, b.width, b.height};
  }
  TextCaret Caret() { return {S().Edit.text.CaretLine(), S().Edit.text.CaretByte()}; }
};

// Where a character boundary's caret stands on each line, in bytes.
const std::vector<std::vector<size_t>> kBoundaries = {{0, 1, 2, 5, 8}, {0, 3}};

TEST_F(TextBoxTest, APressOnTheBoxPutsTheCaretAtTheNearestCharacter) {
  Click({200, 120});
  ASSERT_TRUE(host->TypeText("ab你好"));
  ASSERT_TRUE(host->KeyDown(Key::Return));
  ASSERT_TRUE(host->TypeText("一"));
  for (size_t line = 0; line < kBoundaries.size(); ++line) {
    const std::vector<size_t>& ends = kBoundaries[line];
    for (size_t i = 0; i < ends.size(); ++i) {
      const Box bar = CaretBar({line, ends[i]});
      const int32_t y = bar.y + bar.height / 2;
      // Just either side of the boundary, then just short of halfway to the next one.
      for (const int32_t dx : {-1, 1}) {
        Click({bar.x + dx, y});
        EXPECT_EQ(Caret(), (TextCaret{line, ends[i]})) << line << " " << i << " " << dx;
      }
      if (i + 1 == ends.size()) continue;
      const int32_t next = CaretBar({line, ends[i + 1]}).x;
      Click({(bar.x + next) / 2 - 1, y});
      EXPECT_EQ(Caret(), (TextCaret{line, ends[i]})) << line << " " << i;
      Click({(bar.x + next) / 2 + 2, y});
      EXPECT_EQ(Caret(), (TextCaret{line, ends[i + 1]})) << line << " " << i;
    }
  }
  // The box's padding and the room after a short line belong to the nearest line's ends.
  const Box area = S().Edit.textBox->pixels.Bounds();
  Click({area.x + 1, area.y + 1});
  EXPECT_EQ(Caret(), (TextCaret{0, 0}));
  Click({area.Right() - 2, area.Bottom() - 2});
  EXPECT_EQ(Caret(), (TextCaret{1, 3}));
  EXPECT_TRUE(TextBoxOpen());
  EXPECT_EQ(S().Edit.history.Shapes().size(), 0u);
}

TEST_F(TextBoxTest, ADragOnTheBoxOnlyPlacesTheCaretAndTypingGoesThere) {
  Click({200, 120});
  ASSERT_TRUE(host->TypeText("你好"));
  const Box between = CaretBar({0, 3});
  const IntRect before = S().SelectionRect;
  host->SetCursor(between.x + 1, between.y + 2);
  ASSERT_TRUE(host->LeftDown());
  ASSERT_TRUE(host->MoveTo(between.x + 30, between.y + 40));
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(Caret(), (TextCaret{0, 3}));
  EXPECT_EQ(S().SelectionRect, before);
  EXPECT_FALSE(DrawingShape());
  ASSERT_TRUE(host->TypeText("们"));
  EXPECT_EQ(S().Edit.text.Lines(), (std::vector<std::string>{"你们好"}));
  Click({400, 250});  // off the box: commits it
  EXPECT_FALSE(TextBoxOpen());
  ASSERT_EQ(S().Edit.history.Shapes().size(), 1u);
  EXPECT_EQ(S().Edit.history.Shapes()[0]->lines, (std::vector<std::string>{"你们好"}));
}

TEST_F(TextBoxTest, TheInputMethodSpotFollowsTheCaret) {
  EXPECT_FALSE(host->TextInputSpot().has_value());
  Click({200, 120});
  const Box opened = *host->TextInputSpot();
  EXPECT_EQ(opened, CaretBar({0, 0}));
  EXPECT_GT(opened.x, 200);
  EXPECT_GT(opened.y, 120);
  ASSERT_TRUE(host->TypeText("ab你"));
  EXPECT_EQ(*host->TextInputSpot(), CaretBar({0, 5}));
  EXPECT_GT(host->TextInputSpot()->x, opened.x);
  ASSERT_TRUE(host->KeyDown(Key::Return));
  EXPECT_EQ(*host->TextInputSpot(), (Box{opened.x, opened.y + opened.height, opened.width, opened.height}));
  ASSERT_TRUE(host->KeyDown(Key::Backspace));
  EXPECT_EQ(*host->TextInputSpot(), CaretBar({0, 5}));
  ASSERT_TRUE(host->KeyDown(Key::Left));
  EXPECT_EQ(*host->TextInputSpot(), CaretBar({0, 2}));
  Click({opened.x, opened.y + 2});
  EXPECT_EQ(*host->TextInputSpot(), opened);
  ASSERT_TRUE(host->KeyDown(Key::Escape));  // commits: no box, no spot
  EXPECT_FALSE(host->TextInputSpot().has_value());
  Click({300, 200});
  ASSERT_TRUE(host->TypeText("x"));
  ASSERT_TRUE(host->TextInputSpot().has_value());
  host->SetCursor(20, 20);
  ASSERT_TRUE(host->RightUp());  // outside: drops the selection with its box
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_FALSE(host->TextInputSpot().has_value());
}

TEST_F(TextBoxTest, TheSpotIsInDesktopCoordinatesLeftOfTheOrigin) {
  StartCaptureOn({-1920, -200, 2560, 1280},
                 {{{-1920, 0, 1920, 1080}, 1.0f, false}, {{0, -200, 640, 480}, 1.0f, true}});
  Select({-1800, 100}, {-1400, 400});
  Click({-1700, 150});
  const Box spot = *host->TextInputSpot();
  EXPECT_EQ(spot, CaretBar({0, 0}));
  EXPECT_GT(spot.x, -1700);
  EXPECT_LT(spot.x, -1690);
  EXPECT_GT(spot.y, 150);
  EXPECT_LT(spot.y, 160);
}

}  // namespace
}  // namespace rc::testing
