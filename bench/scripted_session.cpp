#include "scripted_session.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "app/state.h"
#include "edit/options_bar_layout.h"
#include "toolbar/toolbar_layout.h"
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
  explicit Session(const Layout& layout)
      : host_(layout.desktop, layout.monitors), origin_{layout.desktop.x, layout.desktop.y},
        w_(layout.desktop.width), h_(layout.desktop.height) {
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
    const double cpuStart = ThreadCpuMs();
    const auto start = Clock::now();
    send();
    result.messageMs.push_back(MsSince(start));
    if (cpuStart >= 0) result.messageCpuMs.push_back(ThreadCpuMs() - cpuStart);
    if (host_.Ended()) {
      // A script that pressed the wrong button would measure nothing more.
      std::fprintf(stderr, "regioncap-bench: the capture ended at message %zu\n", result.messageMs.size());
      std::exit(3);
    }
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
  void Key(rc::Key key, uint32_t mods, SessionResult& r) { Timed([&] { host_.KeyDown(key, mods); }, r); }
  void Type(const std::string& text, SessionResult& r) { Timed([&] { host_.TypeText(text); }, r); }
  void Click(Point p, SessionResult& r) {
    MoveAlong(p, p, 1, r);
    Press(r);
    Release(r);
  }
  void Release(SessionResult& r) { Timed([&] { host_.LeftUp(); }, r); }
  void RightClick(SessionResult& r) { Timed([&] { host_.RightUp(); }, r); }

  void Finish(SessionResult& result) {
    const auto start = Clock::now();
    host_.DoubleClick();
    result.finishMs = MsSince(start);
  }

  Point At(double fx, double fy) const {
    return {origin_.x + static_cast<int32_t>(w_ * fx), origin_.y + static_cast<int32_t>(h_ * fy)};
  }
  double Presented() const { return presented_; }
  HeadlessHost& Host() { return host_; }

 private:
  HeadlessHost host_;
  Point origin_;
  int32_t w_;
  int32_t h_;
  double presented_ = 0;
};

void EditTools(Session& s, SessionResult& r, int brushPoints);

void Replay(Session& s, SessionResult& r, int brushPoints) {
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
  EditTools(s, r, brushPoints);
  const IntRect now = State().SelectionRect;
  s.MoveAlong({now.left + 20, now.top + 20}, {now.left + 20, now.top + 20}, 1, r);
  s.RightClick(r);  // menu open
  const IntRect menu = State().MenuRect;
  s.MoveAlong({menu.left + 20, menu.top + 5}, {menu.left + 20, menu.bottom - 5}, 30, r);  // menu hover
}

// Draws from `from` to `to` in `steps` moves, the button held.
void Drag(Session& s, Point from, Point to, int steps, SessionResult& r) {
  s.MoveAlong(from, from, 1, r);
  s.Press(r);
  s.MoveAlong(from, to, steps, r);
  s.Release(r);
}

// The toolbar and the options bar are laid out at 1x and drawn at the
// scale of the monitor they sit on.
Point Scaled(int32_t x, int32_t y) {
  const float scale = State().ToolbarScale > 0 ? State().ToolbarScale : 1.0f;
  return {static_cast<int32_t>(std::lround(x * scale)), static_cast<int32_t>(std::lround(y * scale))};
}

void ChooseTool(Session& s, int32_t button, SessionResult& r) {
  const IntRect bar = State().ToolbarRect;
  const Point c = ToolbarButtonCentre(button);
  const Point at = Scaled(c.x, c.y);
  s.Click({bar.left + at.x, bar.top + at.y}, r);
}

void PressOption(Session& s, const IntRect& box, SessionResult& r) {
  const IntRect bar = State().Edit.OptionsRect;
  const Point at = Scaled((box.left + box.right) / 2, (box.top + box.bottom) / 2);
  s.Click({bar.left + at.x, bar.top + at.y}, r);
}

// A wavy stroke across the selection, one message per point.
void Scribble(Session& s, const IntRect& sel, int points, SessionResult& r) {
  const auto at = [&](int i) {
    const double t = static_cast<double>(i) / std::max(points - 1, 1);
    return Point{sel.left + 10 + static_cast<int32_t>((sel.right - sel.left - 20) * t),
                 (sel.top + sel.bottom) / 2 + static_cast<int32_t>((sel.bottom - sel.top) * 0.35 * std::sin(t * 40))};
  };
  s.MoveAlong(at(0), at(0), 1, r);
  s.Press(r);
  for (int i = 1; i < points; ++i) s.MoveAlong(at(i), at(i), 1, r);
  s.Release(r);
}

void Typing(Session& s, Point at, SessionResult& r) {
  s.Click(at, r);
  for (const char* word : {"Hi ", "你好", ", ", "regioncap", " 截图"}) s.Type(word, r);
  s.Key(Key::Return, 0, r);
  for (int i = 0; i < 20; ++i) s.Type(i % 2 ? "字" : "a", r);
  for (int i = 0; i < 5; ++i) s.Key(Key::Backspace, 0, r);
  s.Key(Key::Escape, 0, r);
}

// Each tool's messages form a phase of their own.
void EditTools(Session& s, SessionResult& r, int brushPoints) {
  const IntRect sel = State().SelectionRect;
  const auto in = [&](double fx, double fy) {
    return Point{sel.left + static_cast<int32_t>((sel.right - sel.left) * fx),
                 sel.top + static_cast<int32_t>((sel.bottom - sel.top) * fy)};
  };
  const auto phase = [&](const char* name, const std::function<void()>& run) {
    const size_t first = r.messageMs.size();
    run();
    r.phases.push_back({name, first, r.messageMs.size()});
  };
  phase("rectangle", [&] { ChooseTool(s, 1, r); Drag(s, in(0.1, 0.1), in(0.9, 0.8), 60, r); });
  phase("ellipse", [&] { ChooseTool(s, 2, r); Drag(s, in(0.2, 0.2), in(0.7, 0.9), 60, r); });
  phase("arrow", [&] { ChooseTool(s, 3, r); Drag(s, in(0.9, 0.9), in(0.1, 0.3), 60, r); });
  phase("brush", [&] { ChooseTool(s, 4, r); Scribble(s, sel, brushPoints, r); });
  phase("mosaic", [&] { PressOption(s, MosaicBox(), r); PressOption(s, ChoiceBox(2), r); Scribble(s, sel, 300, r); });
  phase("options", [&] { for (int i = 0; i < 14; ++i) PressOption(s, SwatchBox(i), r); });
  phase("text", [&] { ChooseTool(s, 5, r); Typing(s, in(0.3, 0.3), r); });
  phase("undo_redo", [&] {
    for (int i = 0; i < 6; ++i) s.Key(Key::Z, kModCtrl, r);
    for (int i = 0; i < 6; ++i) s.Key(Key::Y, kModCtrl, r);
    ChooseTool(s, 5, r);  // off again, so the menu opens as before
  });
}

}  // namespace

std::vector<Layout> BenchLayouts() {
  const auto single = [](int32_t w, int32_t h) {
    return Layout{std::to_string(w) + "x" + std::to_string(h), {0, 0, w, h}, {Monitor{{0, 0, w, h}, 1.0f, true}}};
  };
  const Layout pair{"3840x2160@2+1920x1080@1",
                    {0, 0, 3840 + 1920, 2160},
                    {Monitor{{0, 0, 3840, 2160}, 2.0f, true}, Monitor{{3840, 0, 1920, 1080}, 1.0f, false}}};
  return {single(1920, 1080), single(3840, 2160), pair};
}

const Layout* FindLayout(const std::string& name) {
  static const std::vector<Layout> layouts = BenchLayouts();
  for (const Layout& layout : layouts)
    if (layout.name == name) return &layout;
  return nullptr;
}

SessionResult RunScriptedSession(const Layout& layout, Compositor compositor, int brushPoints) {
  UseCompositor(compositor);
  SessionResult result;
  Session session(layout);
  session.Start(result);
  Replay(session, result, brushPoints);
  session.Finish(result);
  result.pixelsPresentedPerMessage =
      result.messageMs.empty() ? 0 : session.Presented() / static_cast<double>(result.messageMs.size());
  result.peakRssMiB = PeakMemoryMiB();
  return result;
}

}  // namespace rc::bench
