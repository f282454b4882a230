// A capture running on the headless host, for tests that drive the overlay.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "app/state.h"
#include "gfx/blend.h"
#include "platform/headless/headless_host.h"

namespace rc::testing {

// A screen whose every pixel differs from its neighbours, so a wrong
// offset shows: red follows x, green follows y, blue mixes both.
inline void PaintPattern(Canvas& screen) {
  for (int32_t y = 0; y < screen.Height(); ++y) {
    for (int32_t x = 0; x < screen.Width(); ++x) {
      screen.Set(x, y, MakePixel(255, (x * 7 + 13) & 0xFF, (y * 5 + 29) & 0xFF, (x + y * 3) & 0xFF));
    }
  }
}

// The snapshot pixel as the dimmed screen shows it.
inline Pixel Dimmed(Pixel p) { return BlendPixel(p, MakePixel(255, 0, 0, 0), 128, false); }

class CaptureTest : public ::testing::Test {
 protected:
  void StartCapture(int32_t width = 640, int32_t height = 480) {
    host.reset();  // a second capture in one test: the first host goes first
    host = std::make_unique<HeadlessHost>(width, height);
    PaintPattern(host->Screen());
    screen = host->Screen().Clone();
    ASSERT_TRUE(host->Start());
  }
  // A desktop of several monitors (desktop coordinates).
  void StartCaptureOn(const Box& desktop, std::vector<Monitor> monitors) {
    host.reset();  // one host at a time: each installs itself as the host
    host = std::make_unique<HeadlessHost>(desktop, std::move(monitors));
    PaintPattern(host->Screen());
    screen = host->Screen().Clone();
    ASSERT_TRUE(host->Start());
  }
  void SetUp() override { StartCapture(); }

  CaptureState& S() { return State(); }
  const Canvas& Frame() { return host->Presented(); }

  // A press at `from`, moves to `to`, release: a finished selection.
  void DragSelection(Point from, Point to) {
    host->SetCursor(from.x, from.y);
    host->LeftDown();
    host->MoveTo(to.x, to.y);
    host->LeftUp();
  }

  std::unique_ptr<HeadlessHost> host;
  Canvas screen;
};

}  // namespace rc::testing
