#include "scripted_session.h"

#include <chrono>
#include <functional>

#include "app/state.h"
#include "bench_platform.h"
#include "platform/headless/headless_host.h"

namespace rc::bench {

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PaintScreen(Canvas& screen) {
  for (int32_t y = 0; y < screen.Height(); ++y) {
    Pixel* row = screen.Row(y);
    for (int32_t x = 0; x < screen.Width(); ++x) {
      row[x] = MakePixel(255, (x >> 3) & 0xFF, (y >> 2) & 0xFF, ((x ^ y) >> 4) & 0xFF);
    }
  }
}

class Session {
 public:
  Session(int32_t width, int32_t height) : host_(width, height), w_(width), h_(height) {
    PaintScreen(host_.Screen());
  }

  void Start(SessionResult& result) {
    const auto start = Clock::now();
    host_.Start();
    result.firstFrameMs = MsSince(start);
  }

  // Sends one message and records its time and what it presented.
  void Timed(const std::function<void()>& send, SessionResult& result) {
    host_.ClearPresentedBoxes();
    const auto start = Clock::now();
    send();
    result.messageMs.push_back(MsSince(start));
    for (const Box& b : host_.PresentedBoxes()) presented_ += static_cast<double>(b.width) * b.height;
  }

  void MoveAlong(Point from, Point to, int steps, SessionResult& result) {
    for (int i = 1; i <= steps; ++i) {
      const int32_t x = from.x + (to.x - from.x) * i / steps;
      const int32_t y = from.y + (to.y - from.y) * i / steps;
      Timed([&] { host_.MoveTo(x, y); }, result);
    }
  }

  void Press(SessionResult& r) { Timed([&] { host_.LeftDown(); }, r); }
  void Release(SessionResult& r) { Timed([&] { host_.LeftUp(); }, r); }
  void RightClick(SessionResult& r) { Timed([&] { host_.RightUp(); }, r); }

  void Finish(SessionResult& result) {
    const auto start = Clock::now();
    host_.DoubleClick();
    result.finishMs = MsSince(start);
  }

  Point At(double fx, double fy) const {
    return {static_cast<int32_t>(w_ * fx), static_cast<int32_t>(h_ * fy)};
  }
  double Presented() const { return presented_; }
  HeadlessHost& Host() { return host_; }

 private:
  HeadlessHost host_;
  int32_t w_;
  int32_t h_;
  double presented_ = 0;
};

void Replay(Session& s, SessionResult& r) {
  s.MoveAlong(s.At(0.1, 0.1), s.At(0.2, 0.2), 30, r);  // magnifier
  s.Press(r);
  s.MoveAlong(s.At(0.2, 0.2), s.At(0.7, 0.6), 60, r);  // rubber band
  s.Release(r);
  s.MoveAlong(s.At(0.45, 0.4), s.At(0.9, 0.9), 30, r);  // hover inside and out
  s.MoveAlong(s.At(0.45, 0.4), s.At(0.45, 0.4), 1, r);
  s.Press(r);
  s.MoveAlong(s.At(0.45, 0.4), s.At(0.35, 0.3), 60, r);  // move
  s.Release(r);
  const IntRect sel = State().SelectionRect;
  s.MoveAlong({sel.right, (sel.top + sel.bottom) / 2}, {sel.right, (sel.top + sel.bottom) / 2}, 1, r);
  s.Press(r);
  s.MoveAlong({sel.right, (sel.top + sel.bottom) / 2}, {sel.right + 200, sel.bottom}, 60, r);  // resize
  s.Release(r);
  const IntRect bar = State().ToolbarRect;
  s.MoveAlong({bar.left + 2, bar.top + 10}, {bar.right - 2, bar.top + 10}, 30, r);  // toolbar hover
  const IntRect now = State().SelectionRect;
  s.MoveAlong({now.left + 20, now.top + 20}, {now.left + 20, now.top + 20}, 1, r);
  s.RightClick(r);  // menu open
  const IntRect menu = State().MenuRect;
  s.MoveAlong({menu.left + 20, menu.top + 5}, {menu.left + 20, menu.bottom - 5}, 30, r);  // menu hover
}

}  // namespace

SessionResult RunScriptedSession(int32_t width, int32_t height, Compositor compositor) {
  UseCompositor(compositor);
  SessionResult result;
  Session session(width, height);
  session.Start(result);
  Replay(session, result);
  session.Finish(result);
  result.pixelsPresentedPerMessage =
      result.messageMs.empty() ? 0 : session.Presented() / static_cast<double>(result.messageMs.size());
  result.peakRssMiB = PeakMemoryMiB();
  return result;
}

}  // namespace rc::bench
