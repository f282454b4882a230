// The edit tools in a capture on the headless host: choosing a tool,
// drawing every kind of shape, undo and redo, text typed into a box, and
// the output holding exactly what the overlay shows inside the selection.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/compositor.h"
#include "app/state.h"
#include "gfx/image_codecs.h"
#include "capture_fixture.h"
#include "edit/edit_tools.h"
#include "edit/options_bar_layout.h"
#include "output/finish.h"
#include "toolbar/toolbar_layout.h"

namespace rc::testing {
namespace {

constexpr IntRect kSelection{100, 60, 500, 300};

class EditToolsTest : public CaptureTest {
 public:
  void SetUp() override {
    CaptureTest::SetUp();
    DragSelection({kSelection.left, kSelection.top}, {kSelection.right, kSelection.bottom});
    ASSERT_EQ(S().SelectionRect, kSelection);
  }

  // A press on toolbar button `index`.
  void PressButton(int32_t index) {
    const Point c = ToolbarButtonCentre(index);
    host->SetCursor(S().ToolbarRect.left + c.x, S().ToolbarRect.top + c.y);
    ASSERT_TRUE(host->LeftDown());
    ASSERT_TRUE(host->LeftUp());
  }
  void Choose(EditTool tool) {
    if (ActiveTool() != tool) PressButton(static_cast<int32_t>(tool));
    ASSERT_EQ(ActiveTool(), tool);
  }
  // A press on the options bar's box `box` (scale 1).
  void PressOption(const IntRect& box) {
    const IntRect& bar = S().Edit.OptionsRect;
    host->SetCursor(bar.left + (box.left + box.right) / 2, bar.top + (box.top + box.bottom) / 2);
    ASSERT_TRUE(host->LeftDown());
    ASSERT_TRUE(host->LeftUp());
  }
  void Stroke(std::initializer_list<Point> points) {
    auto p = points.begin();
    host->SetCursor(p->x, p->y);
    ASSERT_TRUE(host->LeftDown());
    for (++p; p != points.end(); ++p) ASSERT_TRUE(host->MoveTo(p->x, p->y));
    ASSERT_TRUE(host->LeftUp());
  }
  // Click to open a box, type, Escape to commit.
  void Type(Point at, const std::string& text) {
    host->SetCursor(at.x, at.y);
    ASSERT_TRUE(host->LeftDown());
    ASSERT_TRUE(host->LeftUp());
    ASSERT_TRUE(TextBoxOpen());
    ASSERT_TRUE(host->TypeText(text));
    ASSERT_TRUE(host->KeyDown(Key::Escape));
    ASSERT_FALSE(TextBoxOpen());
  }
  // One of every kind of shape.
  void DrawOneOfEach() {
    Choose(EditTool::Rectangle);
    Stroke({{120, 80}, {200, 150}});
    Choose(EditTool::Ellipse);
    Stroke({{220, 80}, {300, 130}});
    Choose(EditTool::Arrow);
    Stroke({{320, 200}, {420, 100}});
    Choose(EditTool::Brush);
    Stroke({{130, 200}, {160, 230}, {190, 210}, {230, 260}});
    PressOption(MosaicBox());
    Stroke({{300, 250}, {380, 252}, {460, 240}});
    PressOption(MosaicBox());
    Choose(EditTool::Text);
    Type({250, 160}, "Hi 你好");
  }

  // The overlay inside the selection, away from the outline and handles.
  Box Interior() const { return {kSelection.left + 4, kSelection.top + 4, kSelection.Width() - 8, kSelection.Height() - 8}; }
  Canvas Snap(const Box& b) {
    Canvas c(b.width, b.height);
    for (int32_t y = 0; y < b.height; ++y)
      for (int32_t x = 0; x < b.width; ++x) c.Set(x, y, Frame().At(b.x + x, b.y + y));
    return c;
  }
  static bool Same(const Canvas& a, const Canvas& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int32_t y = 0; y < a.Height(); ++y)
      for (int32_t x = 0; x < a.Width(); ++x)
        if (a.At(x, y) != b.At(x, y)) return false;
    return true;
  }
  int ChangedPixels(const Box& b) {
    int n = 0;
    for (int32_t y = b.y; y < b.Bottom(); ++y)
      for (int32_t x = b.x; x < b.Right(); ++x) n += Frame().At(x, y) != screen.At(x, y);
    return n;
  }
};

TEST_F(EditToolsTest, ToolButtonsTurnToolsOnAndOffOneAtATime) {
  PressButton(kToolbarRectangle);
  EXPECT_EQ(ActiveTool(), EditTool::Rectangle);
  EXPECT_FALSE(S().Edit.OptionsRect.IsZero());
  PressButton(3);
  EXPECT_EQ(ActiveTool(), EditTool::Arrow);
  PressButton(3);
  EXPECT_EQ(ActiveTool(), EditTool::None);
  EXPECT_TRUE(S().Edit.OptionsRect.IsZero());
  PressButton(kToolbarText);
  host->MoveTo(300, 200);
  ASSERT_TRUE(host->Pointer().has_value());
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::IBeam);
  ASSERT_TRUE(host->KeyDown(Key::Escape));  // turns the tool off, the capture goes on
  EXPECT_EQ(ActiveTool(), EditTool::None);
  host->MoveTo(301, 200);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeAll);
}

TEST_F(EditToolsTest, DrawingInsideTheSelectionLeavesItWhereItIs) {
  const Canvas before = Snap(Interior());
  Choose(EditTool::Rectangle);
  host->MoveTo(200, 150);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::Cross);
  Stroke({{200, 150}, {200, 150}});  // a click draws nothing
  EXPECT_TRUE(S().Edit.history.Shapes().empty());
  Stroke({{150, 100}, {170, 130}, {250, 200}});
  EXPECT_EQ(S().SelectionRect, kSelection);
  ASSERT_EQ(S().Edit.history.Shapes().size(), 1u);
  EXPECT_EQ(Frame().At(150, 100), 0xFFFF0000u);  // red, 2 px, on the pressed pixel
  EXPECT_EQ(Frame().At(250, 200), 0xFFFF0000u);
  EXPECT_EQ(Frame().At(200, 150), screen.At(200, 150));
  ASSERT_TRUE(host->KeyDown(Key::Z, kModCtrl));
  EXPECT_TRUE(Same(Snap(Interior()), before));
}

// While a rectangle is dragged only the rows and columns along its
// outline that the move changed go out, and its release changes nothing
// on the screen: the finished shape is the one that was shown.
TEST_F(EditToolsTest, AShapeBeingDrawnPresentsOnlyItsChangedOutline) {
  Choose(EditTool::Rectangle);
  host->SetCursor(120, 80);
  ASSERT_TRUE(host->LeftDown());
  ASSERT_TRUE(host->MoveTo(400, 300));
  host->ClearPresentedBoxes();
  ASSERT_TRUE(host->MoveTo(410, 300));
  int64_t presented = 0;
  for (const Box& b : host->PresentedBoxes()) {
    presented += static_cast<int64_t>(b.width) * b.height;
    EXPECT_GE(b.x, 128) << "the left edge and the top edge's start stay as they were";
  }
  EXPECT_GT(presented, 0);
  EXPECT_LT(presented, 8 * 64 * 64);
  host->ClearPresentedBoxes();
  ASSERT_TRUE(host->LeftUp());
  EXPECT_TRUE(host->PresentedBoxes().empty());
  EXPECT_EQ(S().Edit.history.Shapes().size(), 1u);
}

// Shapes stay where they were drawn on the screen; only the part inside
// the selection shows, and the edges still resize it.
TEST_F(EditToolsTest, ShapesKeepTheirPlaceWhenTheSelectionMovesAndAreClippedToIt) {
  Choose(EditTool::Rectangle);
  Stroke({{150, 100}, {600, 200}});  // reaches past the right edge
  EXPECT_EQ(Frame().At(450, 100), 0xFFFF0000u);
  EXPECT_EQ(Frame().At(550, 100), Dimmed(screen.At(550, 100)));
  Stroke({{kSelection.right, 250}, {kSelection.right + 1, 250}, {kSelection.right + 120, 250}});  // the edge resizes
  EXPECT_EQ(S().SelectionRect.right, kSelection.right + 120);
  EXPECT_EQ(Frame().At(550, 100), 0xFFFF0000u);
  EXPECT_EQ(S().Edit.history.Shapes().size(), 1u);
}

TEST_F(EditToolsTest, UndoAndRedoGoThroughEveryKindOfShape) {
  std::vector<Canvas> frames;
  frames.push_back(Snap(Interior()));
  Choose(EditTool::Rectangle);
  Stroke({{120, 80}, {200, 150}});
  frames.push_back(Snap(Interior()));
  Choose(EditTool::Ellipse);
  Stroke({{220, 80}, {300, 130}});
  frames.push_back(Snap(Interior()));
  Choose(EditTool::Arrow);
  Stroke({{320, 200}, {420, 100}});
  frames.push_back(Snap(Interior()));
  Choose(EditTool::Brush);
  Stroke({{130, 200}, {160, 230}, {190, 210}});
  frames.push_back(Snap(Interior()));
  PressOption(MosaicBox());
  Stroke({{300, 250}, {380, 252}});
  frames.push_back(Snap(Interior()));
  Choose(EditTool::Text);
  Type({250, 160}, "Hi 你好");
  frames.push_back(Snap(Interior()));
  for (size_t i = 1; i < frames.size(); ++i) EXPECT_FALSE(Same(frames[i], frames[i - 1])) << i;
  // Ctrl+Z, the undo button and the menu's 撤销编辑 each take one back.
  for (size_t i = frames.size() - 1; i > 0; --i) {
    if (i % 3 == 0) ASSERT_TRUE(host->KeyDown(Key::Z, kModCtrl));
    else if (i % 3 == 1) PressButton(kToolbarUndo);
    else {
      host->SetCursor(300, 180);
      ASSERT_TRUE(host->RightUp());
      host->SetCursor(S().MenuRect.left + 80, S().MenuRect.top + 120);
      ASSERT_TRUE(host->LeftDown());
      ASSERT_TRUE(host->LeftUp());
      EXPECT_EQ(S().MenuOpen, 1);
      host->SetCursor(S().ToolbarRect.left + 300, S().ToolbarRect.top + 1);
      ASSERT_TRUE(host->RightUp());  // on the toolbar: closes the menu
      EXPECT_EQ(S().MenuOpen, 0);
    }
    EXPECT_TRUE(Same(Snap(Interior()), frames[i - 1])) << i;
  }
  ASSERT_TRUE(host->KeyDown(Key::Z, kModCtrl));  // nothing left: nothing happens
  EXPECT_TRUE(Same(Snap(Interior()), frames[0]));
  for (size_t i = 1; i < frames.size(); ++i) {
    ASSERT_TRUE(host->KeyDown(i % 2 ? Key::Y : Key::Z, kModCtrl | (i % 2 ? 0u : static_cast<uint32_t>(kModShift))));
    EXPECT_TRUE(Same(Snap(Interior()), frames[i])) << i;
  }
  ASSERT_TRUE(host->KeyDown(Key::Z, kModCtrl));
  Choose(EditTool::Rectangle);
  Stroke({{400, 220}, {450, 260}});  // a new shape: nothing to redo any more
  EXPECT_EQ(S().Edit.history.RedoCount(), 0u);
}

TEST_F(EditToolsTest, TextBoxTakesKeysAndAPressOutsideCommitsIt) {
  Choose(EditTool::Text);
  host->SetCursor(200, 120);
  ASSERT_TRUE(host->LeftDown());
  ASSERT_TRUE(host->LeftUp());
  ASSERT_TRUE(TextBoxOpen());
  ASSERT_TRUE(host->TypeText("ab"));
  ASSERT_TRUE(host->KeyDown(Key::Return));
  ASSERT_TRUE(host->TypeText("\r你好"));
  ASSERT_TRUE(host->KeyDown(Key::Home));
  ASSERT_TRUE(host->KeyDown(Key::Backspace));  // joins the lines again
  EXPECT_EQ(S().Edit.text.Lines(), (std::vector<std::string>{"ab你好"}));
  host->SetCursor(400, 250);
  ASSERT_TRUE(host->LeftDown());  // off the box, inside the selection: commits only
  ASSERT_TRUE(host->LeftUp());
  EXPECT_FALSE(TextBoxOpen());
  ASSERT_EQ(S().Edit.history.Shapes().size(), 1u);
  EXPECT_EQ(S().Edit.history.Shapes()[0]->lines, (std::vector<std::string>{"ab你好"}));
  EXPECT_GT(ChangedPixels({200, 120, 80, 30}), 20);
  host->SetCursor(300, 200);
  ASSERT_TRUE(host->LeftDown());  // an empty box leaves nothing
  ASSERT_TRUE(host->LeftUp());
  ASSERT_TRUE(host->KeyDown(Key::Escape));
  EXPECT_EQ(S().Edit.history.Shapes().size(), 1u);
  EXPECT_FALSE(host->Ended());
}

TEST_F(EditToolsTest, MosaicBlocksShowTheSnapshotsAverages) {
  Choose(EditTool::Brush);
  PressOption(ChoiceBox(2));  // 8 px, so 32 px of mosaic
  PressOption(MosaicBox());
  Stroke({{150, 150}, {350, 150}});
  for (int32_t bx = 160; bx < 340; bx += 8) {
    const int32_t x0 = bx / 8 * 8, y0 = 144;
    uint32_t r = 0, g = 0, b = 0;
    for (int32_t y = y0; y < y0 + 8; ++y)
      for (int32_t x = x0; x < x0 + 8; ++x) {
        r += RedOf(screen.At(x, y)), g += GreenOf(screen.At(x, y)), b += BlueOf(screen.At(x, y));
      }
    const Pixel want = MakePixel(255, (r + 32) / 64, (g + 32) / 64, (b + 32) / 64);
    for (int32_t y = y0; y < y0 + 8; ++y)
      for (int32_t x = x0; x < x0 + 8; ++x) ASSERT_EQ(Frame().At(x, y), want) << x << "," << y;
  }
}

// Clipboard and file hold what the overlay shows inside the selection.
TEST_F(EditToolsTest, FinishBurnsEveryShapeIn) {
  DrawOneOfEach();
  Choose(EditTool::Text);
  host->SetCursor(130, 270);
  ASSERT_TRUE(host->LeftDown());
  ASSERT_TRUE(host->LeftUp());
  ASSERT_TRUE(host->TypeText("open"));  // committed by the finish
  ASSERT_TRUE(host->KeyDown(Key::Escape));
  const Canvas shown = Snap(Interior());
  EXPECT_FALSE(host->DoubleClick());
  ASSERT_TRUE(host->Clipboard().has_value());
  const Canvas& copied = *host->Clipboard();
  ASSERT_EQ(copied.Width(), kSelection.Width());
  for (int32_t y = 0; y < shown.Height(); ++y)
    for (int32_t x = 0; x < shown.Width(); ++x) ASSERT_EQ(copied.At(x + 4, y + 4), shown.At(x, y)) << x << "," << y;
}

class EditToolsOutputTest : public EditToolsTest {
 public:
  void Restart(Compositor compositor) {
    UseCompositor(compositor);
    host.reset();
    SetUp();
  }
  void TearDown() override { UseCompositor(Compositor::Fast); }

  // A new capture with every kind of shape, saved through the dialog with
  // filter `filter` (1 PNG, 2 BMP, 3 JPEG, 4 GIF): the file's bytes, and
  // the overlay's interior just before the save in `shown`.
  std::vector<uint8_t> SaveShapes(Compositor compositor, int filter, Canvas& shown) {
    Restart(compositor);
    DrawOneOfEach();
    char dir[] = "/tmp/regioncap-edit-XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/shot";
    host->ScriptSaveDialog({true, path, "shot", filter, {}});
    shown = Snap(Interior());
    const Point save = ToolbarButtonCentre(kToolbarSave);
    host->SetCursor(S().ToolbarRect.left + save.x, S().ToolbarRect.top + save.y);
    EXPECT_FALSE(host->LeftDown());
    std::ifstream in(path + (filter == 1 ? ".png" : filter == 2 ? ".bmp" : filter == 3 ? ".jpg" : ".gif"), std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::filesystem::remove_all(dir);
    return bytes;
  }
};

Canvas Decoded(const std::vector<uint8_t>& bytes) {
  Canvas out;
  const ImageCodec* codec = FindDecoderFor(bytes);
  if (codec != nullptr) codec->Decode(bytes, out);
  return out;
}

// The largest and the mean channel difference between the picture's
// interior and `shown`; the largest is 1000 when the sizes are wrong.
int Worst(const Canvas& picture, const Canvas& shown, double* mean = nullptr) {
  int worst = picture.Width() == kSelection.Width() && picture.Height() == kSelection.Height() ? 0 : 1000;
  double sum = 0;
  for (int32_t y = 0; worst < 1000 && y < shown.Height(); ++y)
    for (int32_t x = 0; x < shown.Width(); ++x) {
      const Pixel a = picture.At(x + 4, y + 4), b = shown.At(x, y);
      const int dr = std::abs(RedOf(a) - RedOf(b)), dg = std::abs(GreenOf(a) - GreenOf(b)),
                db = std::abs(BlueOf(a) - BlueOf(b));
      worst = std::max({worst, dr, dg, db});
      sum += dr + dg + db;
    }
  if (mean != nullptr) *mean = sum / (3.0 * shown.Width() * shown.Height());
  return worst;
}

// Both compositors write the same file for every format; the lossless ones
// hold exactly what the overlay showed, the lossy ones come close.
TEST_F(EditToolsOutputTest, SavedFilesHoldTheShapesInEveryFormat) {
  for (int filter = 1; filter <= 4; ++filter) {
    Canvas shownFast, shownLiteral;
    const std::vector<uint8_t> fast = SaveShapes(Compositor::Fast, filter, shownFast);
    const std::vector<uint8_t> literal = SaveShapes(Compositor::Literal, filter, shownLiteral);
    ASSERT_FALSE(fast.empty()) << filter;
    EXPECT_EQ(fast, literal) << filter;
    EXPECT_TRUE(Same(shownFast, shownLiteral)) << filter;
    double mean = 0;
    const int worst = Worst(Decoded(fast), shownFast, &mean);
    if (filter <= 2) EXPECT_EQ(worst, 0) << filter;
    else EXPECT_LT(worst, 1000) << filter;
    EXPECT_LT(mean, 16) << filter;  // the GIF palette of a picture whose every pixel differs
  }
}

TEST_F(EditToolsOutputTest, LiteralFinishCopiesWhatTheFastOneDoes) {
  Canvas copies[2];
  for (Compositor c : {Compositor::Fast, Compositor::Literal}) {
    Restart(c);
    DrawOneOfEach();
    const Canvas shown = Snap(Interior());
    EXPECT_FALSE(host->DoubleClick());
    ASSERT_TRUE(host->Clipboard().has_value());
    EXPECT_EQ(Worst(*host->Clipboard(), shown), 0);
    copies[c == Compositor::Fast ? 0 : 1] = host->Clipboard()->Clone();
  }
  EXPECT_TRUE(Same(copies[0], copies[1]));
}

TEST_F(EditToolsTest, ReselectDropsTheSelectionAndEveryShape) {
  Choose(EditTool::Rectangle);
  Stroke({{150, 100}, {250, 200}});
  host->SetCursor(300, 180);
  ASSERT_TRUE(host->RightUp());
  host->SetCursor(S().MenuRect.left + 80, S().MenuRect.top + 150);
  ASSERT_TRUE(host->LeftDown());
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_TRUE(S().Edit.history.Shapes().empty());
  EXPECT_EQ(ActiveTool(), EditTool::None);
  EXPECT_EQ(Frame().At(150, 100), Dimmed(screen.At(150, 100)));
}

}  // namespace
}  // namespace rc::testing
