// Saving through the headless host's scripted dialog: the formats, the
// extension rule on real files, cancel, failed writes and the question
// before a file the dialog never asked about is replaced.
#include "output/save_capture.h"
#include "output_fixture.h"

namespace rc::testing {
namespace {

using SaveTest = OutputTest;

constexpr std::string_view kFormats[] = {kImageFormatPng, kImageFormatBmp, kImageFormatJpeg, kImageFormatGif};
constexpr const char* kExtensions[] = {".png", ".bmp", ".jpg", ".gif"};

TEST_F(SaveTest, ProposesTheTimeStampedNameAndTheFourFilters) {
  Select({10, 10, 50, 50});
  EXPECT_TRUE(Run(SaveCapture));  // nothing scripted: a cancel
  ASSERT_EQ(host->SaveRequests().size(), 1u);
  const SaveDialogRequest& request = host->SaveRequests()[0];
  EXPECT_EQ(request.defaultName, "截图20261207041500");
  EXPECT_TRUE(request.overwritePrompt);
  ASSERT_EQ(request.filters.size(), 4u);
  EXPECT_EQ(request.filters[0], (std::pair<std::string, std::string>{"PNG (*.png)", "*.png"}));
  EXPECT_EQ(request.filters[2].first, "JPGE (*.jpg)");
  // Cancelled: no selection, nothing written, still running.
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_EQ(S().SelectionRect.right, 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// Every format decodes back to the snapshot's pixels, opaque, at the
// smallest size and the whole screen, and both compositors write the same
// bytes. JPEG is lossy; GIF is exact while the piece has few colours.
TEST_F(SaveTest, EveryFormatHoldsTheSelectedPixels) {
  for (const IntRect rect : {IntRect{5, 7, 7, 9}, IntRect{0, 0, 640, 480}}) {
    for (int filter = 1; filter <= 4; ++filter) {
      std::vector<uint8_t> written[2];
      for (Compositor compositor : {Compositor::Fast, Compositor::Literal}) {
        RestartWith(compositor);
        const std::string name = std::string("piece") + kExtensions[filter - 1];
        written[compositor == Compositor::Literal] = SaveSelection(rect, filter, name);
      }
      EXPECT_EQ(written[0], written[1]) << "filter " << filter;
      EXPECT_EQ(FormatOf(written[0]), kFormats[filter - 1]);
      const Canvas decoded = Decode(written[0]);
      const bool exact = filter <= 2 || (filter == 4 && rect.right == 7);
      if (exact) {
        EXPECT_EQ(PieceDifference(decoded, rect), 0) << "filter " << filter;
      } else {
        // Opaque, and close on average: this screen changes colour at every pixel, the worst case for both.
        EXPECT_GE(PieceDifference(decoded, rect), 0) << "filter " << filter;
        const double mean = MeanDifference(decoded, rect);
        EXPECT_TRUE(mean >= 0 && mean < 24) << "filter " << filter << ": " << mean;
      }
    }
  }
}

TEST_F(SaveTest, TheFilterDecidesExtensionAndContent) {
  std::filesystem::create_directory(dir + "/v1.2");
  Select({10, 10, 40, 30});
  host->ScriptSaveDialog(Confirmed(dir + "/v1.2/a.b.c", 3));
  EXPECT_FALSE(Run(SaveCapture));
  EXPECT_EQ(FormatOf(ReadFile(dir + "/v1.2/a.jpg")), kImageFormatJpeg);
  EXPECT_FALSE(std::filesystem::exists(dir + "/v1.2/a.b.c"));

  RestartWith(Compositor::Fast);
  EXPECT_EQ(FormatOf(SaveSelection({10, 10, 40, 30}, 4, "x.gif")), kImageFormatGif);
  EXPECT_FALSE(std::filesystem::exists(dir + "/x.png"));

  RestartWith(Compositor::Fast);
  EXPECT_EQ(FormatOf(SaveSelection({1, 2, 3, 4}, 1, "截图 名字.png")), kImageFormatPng);
}

TEST_F(SaveTest, FailedWriteKeepsTheCaptureAndWhatWasThere) {
  Select({10, 10, 40, 30});
  host->ScriptSaveDialog(Confirmed(dir + "/missing/shot.png", 1));
  EXPECT_TRUE(Run(SaveCapture));
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().SelectionRect.right, 40);

  // A folder where the file should go is not replaced, and its contents stay.
  std::filesystem::create_directory(dir + "/shot.png");
  WriteText(dir + "/shot.png/keep", "old");
  host->ScriptSaveDialog(Confirmed(dir + "/shot.png", 1));
  EXPECT_TRUE(Run(SaveCapture));
  EXPECT_EQ(ReadFile(dir + "/shot.png/keep").size(), 3u);
  EXPECT_EQ(S().SelectionComplete, 1);

  // Then saving elsewhere still works.
  host->ScriptSaveDialog(Confirmed(dir + "/other.png", 1));
  EXPECT_FALSE(Run(SaveCapture));
  EXPECT_EQ(FormatOf(ReadFile(dir + "/other.png")), kImageFormatPng);
}

// Typed x.png with the GIF filter: the dialog asked about x.png, so x.gif
// is replaced only after a yes.
TEST_F(SaveTest, AsksBeforeReplacingTheRenamedFile) {
  WriteText(dir + "/x.gif", "old");
  Select({10, 10, 40, 30});
  host->ScriptSaveDialog(Confirmed(dir + "/x.png", 4));
  host->ScriptAnswer(false);
  EXPECT_TRUE(Run(SaveCapture));
  ASSERT_EQ(host->Questions().size(), 1u);
  EXPECT_NE(host->Questions()[0].find("x.gif"), std::string::npos);
  EXPECT_EQ(ReadFile(dir + "/x.gif").size(), 3u);
  EXPECT_EQ(S().SelectionComplete, 1);

  host->ScriptSaveDialog(Confirmed(dir + "/x.png", 4));
  host->ScriptAnswer(true);
  EXPECT_FALSE(Run(SaveCapture));
  EXPECT_EQ(FormatOf(ReadFile(dir + "/x.gif")), kImageFormatGif);
}

TEST_F(SaveTest, NoQuestionWhenTheDialogAlreadyAsked) {
  WriteText(dir + "/y.gif", "old");
  EXPECT_EQ(FormatOf(SaveSelection({10, 10, 40, 30}, 4, "y.gif")), kImageFormatGif);
  EXPECT_TRUE(host->Questions().empty());
}

TEST_F(SaveTest, NoDialogKeepsTheSelection) {
  Select({10, 10, 40, 30});
  SaveDialogResult failed;
  failed.error = "Headless: no dialog";
  host->ScriptSaveDialog(failed);
  EXPECT_TRUE(Run(SaveCapture));
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().SelectionRect.right, 40);
}

}  // namespace
}  // namespace rc::testing
