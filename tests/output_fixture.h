// A capture with a finished selection, for the finishing and saving tests:
// runs output operations as the host runs the program, and makes files in
// a private folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "app/compositor.h"
#include "capture_fixture.h"
#include "gfx/image_codecs.h"
#include "gfx/image_format.h"
#include "output/save_capture.h"

namespace rc::testing {

class OutputTest : public CaptureTest {
 protected:
  void SetUp() override {
    CaptureTest::SetUp();
    char pattern[] = "/tmp/regioncap-output-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    UseCompositor(Compositor::Fast);
    std::filesystem::remove_all(dir);
  }

  // A capture started afresh with the given compositor.
  void RestartWith(Compositor compositor) {
    UseCompositor(compositor);
    host.reset();
    StartCapture();
  }

  // Runs an output operation as the program would; false once the program
  // has ended.
  bool Run(const std::function<void()>& operation) {
    try {
      operation();
    } catch (const HeadlessProgramEnded&) {
    }
    return !host->Ended();
  }

  void Select(const IntRect& rect) {
    S().SelectionRect = rect;
    S().SelectionComplete = 1;
  }

  // Saves the rectangle through the scripted dialog with the filter and
  // returns the bytes of the file named.
  std::vector<uint8_t> SaveSelection(const IntRect& rect, int filter, const std::string& name) {
    Select(rect);
    host->ScriptSaveDialog(Confirmed(dir + "/" + name, filter));
    EXPECT_FALSE(Run(SaveCapture));
    return ReadFile(dir + "/" + name);
  }

  static SaveDialogResult Confirmed(const std::string& path, int filterIndex) {
    return {true, path, std::filesystem::path(path).filename().string(), filterIndex, {}};
  }

  static std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

  // The format id of the codec that reads the bytes, empty when none does.
  static std::string FormatOf(const std::vector<uint8_t>& bytes) {
    const ImageCodec* codec = FindDecoderFor(bytes);
    return codec == nullptr ? std::string() : codec->Info().formatId;
  }

  static Canvas Decode(const std::vector<uint8_t>& bytes) {
    Canvas out;
    const ImageCodec* codec = FindDecoderFor(bytes);
    if (codec != nullptr) codec->Decode(bytes, out);
    return out;
  }

  // The largest channel difference between the picture and the screen's
  // rectangle; -1 when the sizes differ or a pixel is not opaque.
  int PieceDifference(const Canvas& picture, const IntRect& rect) const {
    if (picture.Width() != rect.right - rect.left || picture.Height() != rect.bottom - rect.top) return -1;
    int worst = 0;
    for (int32_t y = 0; y < picture.Height(); ++y) {
      for (int32_t x = 0; x < picture.Width(); ++x) {
        const Pixel got = picture.At(x, y), want = screen.At(rect.left + x, rect.top + y);
        if (AlphaOf(got) != 255) return -1;
        worst = std::max({worst, std::abs(RedOf(got) - RedOf(want)), std::abs(GreenOf(got) - GreenOf(want)),
                          std::abs(BlueOf(got) - BlueOf(want))});
      }
    }
    return worst;
  }

  // The mean channel difference between the picture and the screen's
  // rectangle, for lossy formats; -1 when the sizes differ.
  double MeanDifference(const Canvas& picture, const IntRect& rect) const {
    if (picture.Width() != rect.right - rect.left || picture.Height() != rect.bottom - rect.top) return -1;
    double sum = 0;
    for (int32_t y = 0; y < picture.Height(); ++y) {
      for (int32_t x = 0; x < picture.Width(); ++x) {
        const Pixel got = picture.At(x, y), want = screen.At(rect.left + x, rect.top + y);
        sum += std::abs(RedOf(got) - RedOf(want)) + std::abs(GreenOf(got) - GreenOf(want)) +
               std::abs(BlueOf(got) - BlueOf(want));
      }
    }
    return sum / (3.0 * picture.Width() * picture.Height());
  }

  std::string dir;
};

}  // namespace rc::testing
