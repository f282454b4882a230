// Finishing: the clean selected pixels on the clipboard and the program
// ended, by either compositor; a busy clipboard or an empty selection
// loses nothing.
#include "output/finish.h"
#include "output_fixture.h"

namespace rc::testing {
namespace {

using FinishTest = OutputTest;

TEST_F(FinishTest, DoubleClickCopiesTheCleanSelectionAndEnds) {
  for (Compositor compositor : {Compositor::Fast, Compositor::Literal}) {
    RestartWith(compositor);
    DragSelection({100, 80}, {300, 230});
    host->MoveTo(150, 150);  // the toolbar and label are drawn: none of it may be copied
    const IntRect rect = S().SelectionRect;
    EXPECT_FALSE(host->DoubleClick());
    EXPECT_EQ(host->ExitCode(), 0);
    ASSERT_TRUE(host->Clipboard().has_value());
    EXPECT_EQ(PieceDifference(*host->Clipboard(), rect), 0);
  }
}

// The edges and the smallest piece, straight from the snapshot or through
// the screen BMP: the same pixels either way.
TEST_F(FinishTest, BothRoutesCopyTheSamePixelsAtTheEdges) {
  for (const IntRect rect : {IntRect{600, 440, 640, 480}, IntRect{0, 0, 2, 2}, IntRect{0, 0, 640, 480}}) {
    for (Compositor compositor : {Compositor::Fast, Compositor::Literal}) {
      RestartWith(compositor);
      Select(rect);
      EXPECT_FALSE(Run(FinishCapture));
      ASSERT_TRUE(host->Clipboard().has_value());
      EXPECT_EQ(PieceDifference(*host->Clipboard(), rect), 0);
    }
  }
}

TEST_F(FinishTest, BusyClipboardIsRetriedThenReportedWithoutEnding) {
  Select({10, 20, 60, 90});
  host->FailClipboard(2);
  EXPECT_FALSE(Run(FinishCapture));
  ASSERT_TRUE(host->Clipboard().has_value());

  RestartWith(Compositor::Fast);
  Select({10, 20, 60, 90});
  host->FailClipboard(-1);
  EXPECT_TRUE(Run(FinishCapture));
  EXPECT_FALSE(host->Clipboard().has_value());
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().SelectionRect.right, 60);
  // The user can try again once the other program lets go.
  host->FailClipboard(0);
  EXPECT_FALSE(host->DoubleClick());
  EXPECT_TRUE(host->Clipboard().has_value());
}

// Finishing an empty selection keeps the clipboard and the capture, back
// at no selection.
TEST_F(FinishTest, EmptySelectionKeepsTheClipboardAndTheCapture) {
  Select({50, 50, 50, 80});
  EXPECT_TRUE(Run(FinishCapture));
  EXPECT_FALSE(host->Clipboard().has_value());
  EXPECT_EQ(S().SelectionComplete, 0);
  DragSelection({10, 10}, {40, 40});
  EXPECT_FALSE(host->DoubleClick());
  EXPECT_TRUE(host->Clipboard().has_value());
}

}  // namespace
}  // namespace rc::testing
