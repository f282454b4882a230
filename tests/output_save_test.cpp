// Saving through the headless host's scripted dialog: the formats, the
// extension rule on real files, cancel, failed writes and the question
// before a file the dialog never asked about is replaced.
#include "output/middle_ellipsis.h"
#include "output/save_capture.h"
#include "output/save_failure.h"
#include "output_fixture.h"

namespace rc::testing {
namespace {

class SaveTest : public OutputTest {
 protected:
  Box UnionOfPresented() const {
    Box all;
    for (const Box& box : host->PresentedBoxes()) all = UnionBox(all, box);
    return all;
  }
};

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
  EXPECT_EQ(request.filters[2].first, "JPEG (*.jpg)");
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

// The notice names the reason, stderr gives the system's words, and the
// file that was there stays whole.
TEST_F(SaveTest, FailedWriteSaysWhy) {
  WriteText(dir + "/kept.png", "old");
  std::filesystem::permissions(dir + "/kept.png", std::filesystem::perms::owner_read);
  Select({10, 10, 40, 30});
  host->ScriptSaveDialog(Confirmed(dir + "/kept.png", 1));
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(Run(SaveCapture));
  const std::string said = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "regioncap: Headless: \"" + dir + "/kept.png\" is read-only\n");
  EXPECT_EQ(ReadFile(dir + "/kept.png").size(), 3u);
  EXPECT_EQ(S().SelectionComplete, 1);

  EXPECT_EQ(SaveFailureNotice(FileFailure::ReadOnly, "kept.png"), "保存失败：文件只读，无法写入“kept.png”");
  EXPECT_EQ(SaveFailureNotice(FileFailure::DiskFull, "a.png"), "保存失败：磁盘已满，无法写入“a.png”");
  EXPECT_EQ(SaveFailureNotice(FileFailure::NoFolder, "a.png"), "保存失败：目录不存在，无法写入“a.png”");
  EXPECT_EQ(SaveFailureNotice(FileFailure::Other, "a.png"), "保存失败：无法写入“a.png”");
}

// A 255-byte name is cut in its middle until the notice fits the 640-pixel
// screen; its start and its extension stay.
TEST_F(SaveTest, ALongNameIsShortenedInItsMiddle) {
  const std::string name = std::string(120, 'a') + "截图截图截图截图截图" + std::string(100, 'z') + ".png";
  const std::string notice = SaveFailureNotice(FileFailure::NameTooLong, name);
  ASSERT_NE(notice.find("…"), std::string::npos);
  EXPECT_EQ(notice.rfind("保存失败：文件名过长，无法写入“aaaa", 0), 0u);
  EXPECT_TRUE(notice.ends_with("zzz.png”"));
  const TextMask mask = Host().RenderText(notice, FontRequest{"微软雅黑", 14.0f});
  EXPECT_LE(mask.left + mask.width + 32, 640 - 32);
  EXPECT_GT(CharacterCount(notice), 30u) << "no shorter than it must be";
  EXPECT_EQ(ShortenInMiddle("截图12345.png", 5), "截图1…ng");
  EXPECT_EQ(ShortenInMiddle("short", 5), "short");
}

// Typed x.png with the GIF filter: the dialog asked about x.png, so x.gif
// is replaced only after a yes.
TEST_F(SaveTest, AsksBeforeReplacingTheRenamedFile) {
  WriteText(dir + "/x.gif", "old");
  Select({10, 10, 40, 30});
  host->ScriptSaveDialog(Confirmed(dir + "/x.png", 4));
  host->ScriptAnswer(false);
  host->ClearPresentedBoxes();
  EXPECT_TRUE(Run(SaveCapture));
  ASSERT_EQ(host->Questions().size(), 1u);
  // The whole overlay was shown again before the question, over whatever
  // the dialog left.
  ASSERT_FALSE(host->PresentedBoxes().empty());
  EXPECT_EQ(UnionOfPresented(), (Box{0, 0, 640, 480}));
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
