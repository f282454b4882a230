// The fast compositor against the literal one: random sessions must give
// the same presented frame after every message, pixel for pixel.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "app/compositor.h"
#include "app/state.h"
#include "capture_fixture.h"
#include "platform/headless/headless_host.h"
#include "win/scene_compositor.h"

namespace rc {
namespace {

// Where a step's cursor goes: a screen position, or an offset into the
// toolbar or the menu as they lie when the step is replayed (a screen
// position while that one is not shown).
enum class Aim { Screen, Toolbar, Menu, Options, Selection };

struct Step {
  MessageKind kind;
  Point cursor;
  Aim aim = Aim::Screen;
  Point offset;
  Key key = Key::Unknown;
  uint32_t mods = 0;
  std::string text;
};

// Nearly a third of the steps each aim at the toolbar and at the menu,
// where hover highlights, presses and the menu's transitions happen, and
// some at the edit tools' options bar.
Aim RandomAim(std::mt19937& rng) {
  const int a = std::uniform_int_distribution<int>(0, 99)(rng);
  return a < 27 ? Aim::Toolbar : a < 52 ? Aim::Menu : a < 62 ? Aim::Options : Aim::Screen;
}

// The keys the edit tools answer: undo and redo, a text box's editing
// keys, and now and then Escape (which may end the session).
void RandomKey(std::mt19937& rng, Step& step) {
  static const std::vector<std::pair<Key, uint32_t>> keys = {
      {Key::Z, kModCtrl}, {Key::Y, kModCtrl}, {Key::Z, kModCtrl | kModShift}, {Key::Backspace, 0},
      {Key::Delete, 0},   {Key::Left, 0},     {Key::Right, 0},                 {Key::Up, 0},
      {Key::Home, 0},     {Key::End, 0},      {Key::Return, 0},                {Key::Escape, 0}};
  const auto& [key, mods] = keys[std::uniform_int_distribution<size_t>(0, keys.size() - 1)(rng)];
  step.key = key;
  step.mods = mods;
}

void RandomText(std::mt19937& rng, Step& step) {
  static const std::vector<std::string> texts = {"a", "Hi ", "你好", "x\ry"};
  step.text = texts[std::uniform_int_distribution<size_t>(0, texts.size() - 1)(rng)];
}

// Cursor positions favour the selection's edges and corners, where zones
// change, and the message mix favours moves with the button held.
std::vector<Step> RandomSession(std::mt19937& rng, int32_t w, int32_t h, size_t length) {
  std::vector<Step> steps;
  std::uniform_int_distribution<int> kind(0, 99);
  std::uniform_int_distribution<int32_t> x(-3, w + 2), y(-3, h + 2);
  // Offsets reach a little past the toolbar's 329 x 28 and the menu's 155 x 256.
  std::uniform_int_distribution<int32_t> toolbarX(0, 333), menuY(0, 260);
  for (size_t i = 0; i < length; ++i) {
    const int k = kind(rng);
    MessageKind m = MessageKind::MouseMove;
    if (k < 8) m = MessageKind::LeftDown;
    else if (k < 16) m = MessageKind::LeftUp;
    else if (k < 20) m = MessageKind::RightUp;
    else if (k < 21) m = MessageKind::LeftDoubleClick;
    else if (k < 23) m = MessageKind::Other;
    else if (k < 27) m = MessageKind::KeyDown;
    else if (k < 30) m = MessageKind::Text;
    Step step{m, {x(rng), y(rng)}, RandomAim(rng), {toolbarX(rng), menuY(rng)}};
    if (m == MessageKind::KeyDown) RandomKey(rng, step);
    if (m == MessageKind::Text) RandomText(rng, step);
    if (m == MessageKind::MouseMove && kind(rng) < 20) step.mods = kModShift;  // squares, circles, 45 degrees
    steps.push_back(std::move(step));
  }
  return steps;
}

// Drawing sessions: presses, drags, keys and typing inside the selection
// (and a little past its edges), tool and undo buttons, the options bar;
// nothing that ends the capture.
std::vector<Step> RandomEditSession(std::mt19937& rng, size_t length) {
  std::vector<Step> steps;
  std::uniform_int_distribution<int> percent(0, 99);
  std::uniform_int_distribution<int32_t> toolbarX(6, 166), any(0, 400);
  for (size_t i = 0; i < length; ++i) {
    const int k = percent(rng);
    Step step{MessageKind::MouseMove, {}, Aim::Selection, {any(rng), any(rng)}};
    if (k < 12) step.kind = MessageKind::LeftDown;
    else if (k < 24) step.kind = MessageKind::LeftUp;
    else if (k < 32) step.kind = MessageKind::KeyDown;
    else if (k < 40) step.kind = MessageKind::Text;
    else if (k < 42) step.kind = MessageKind::RightUp;
    if (step.kind == MessageKind::KeyDown) {
      do RandomKey(rng, step);
      while (step.key == Key::Escape);
    }
    if (step.kind == MessageKind::Text) RandomText(rng, step);
    if (step.kind == MessageKind::MouseMove && percent(rng) < 20) step.mods = kModShift;
    const int aim = percent(rng);
    if (step.kind == MessageKind::LeftDown && aim < 15) step.aim = Aim::Toolbar, step.offset.x = toolbarX(rng);
    else if (step.kind == MessageKind::LeftDown && aim < 30) step.aim = Aim::Options;
    steps.push_back(std::move(step));
  }
  return steps;
}

// Aimed points land on their target or up to 2 px round it.
Point Resolve(const Step& step) {
  const IntRect& toolbar = State().ToolbarRect;
  const IntRect& menu = State().MenuRect;
  if (step.aim == Aim::Toolbar && !toolbar.IsZero()) {
    return {toolbar.left + step.offset.x - 2, toolbar.top + step.offset.y % 32 - 2};
  }
  if (step.aim == Aim::Menu && !menu.IsZero()) {
    return {menu.left + step.offset.x % 160 - 2, menu.top + step.offset.y - 2};
  }
  const IntRect& options = State().Edit.OptionsRect;
  if (step.aim == Aim::Options && !options.IsZero()) {
    return {options.left + step.offset.x * options.Width() / 333, options.top + step.offset.y % 30 - 1};
  }
  const IntRect& s = State().SelectionRect;
  if (step.aim == Aim::Selection && s.Width() > 0 && s.Height() > 0) {
    return {s.left - 10 + step.offset.x % (s.Width() + 20), s.top - 10 + step.offset.y % (s.Height() + 20)};
  }
  // Aimed while the target is not shown: inside a finished selection,
  // where a right-click opens the menu and a release brings the toolbar.
  const IntRect& sel = State().SelectionRect;
  if (step.aim != Aim::Screen && State().SelectionComplete == 1 && sel.Width() > 0 && sel.Height() > 0) {
    return {sel.left + step.offset.x % sel.Width(), sel.top + step.offset.y % sel.Height()};
  }
  return step.cursor;
}

// A desktop and its monitors, in desktop coordinates.
struct Layout {
  Box desktop;
  std::vector<Monitor> monitors;
};

Layout OneScreen(int32_t w, int32_t h, float scale = 1) { return {{0, 0, w, h}, {{{0, 0, w, h}, scale, true}}}; }

// Replays the session and returns the presented frame after each message.
// Steps are in overlay coordinates; the host takes desktop coordinates.
std::vector<Canvas> Replay(const std::vector<Step>& steps, const Layout& layout, Compositor compositor,
                           bool backBufferOnly = false) {
  UseCompositor(compositor);
  std::vector<Canvas> frames;
  HeadlessHost host(layout.desktop, layout.monitors);
  if (backBufferOnly) host.RefusePieces();
  testing::PaintPattern(host.Screen());
  // Saves are confirmed into a folder that does not exist: each failed
  // write returns to the selection with a notice drawn over the frame.
  for (int i = 0; i < 64; ++i) host.ScriptSaveDialog({true, "/nonexistent-regioncap-dir/shot", "shot", 1 + i % 4, {}});
  host.Start();
  frames.push_back(host.Presented().Clone());
  for (const Step& step : steps) {
    const Point cursor = Resolve(step);
    host.SetCursor(cursor.x + layout.desktop.x, cursor.y + layout.desktop.y);
    Message m = host.At(step.kind);
    m.key = step.key;
    m.mods = step.mods;
    m.text = step.text;
    if (!host.Send(m)) break;
    frames.push_back(host.Presented().Clone());
  }
  UseCompositor(Compositor::Fast);
  return frames;
}

// The first message whose frames differ, or -1.
int FirstDifference(const std::vector<Canvas>& a, const std::vector<Canvas>& b, Point& where) {
  if (a.size() != b.size()) return static_cast<int>(std::min(a.size(), b.size()));
  for (size_t i = 0; i < a.size(); ++i) {
    for (int32_t y = 0; y < a[i].Height(); ++y)
      for (int32_t x = 0; x < a[i].Width(); ++x)
        if (a[i].At(x, y) != b[i].At(x, y)) {
          where = {x, y};
          return static_cast<int>(i);
        }
  }
  return -1;
}

// A drag from a quarter to half of the screen, then a right-click inside
// it: the session starts with the toolbar and the menu shown.
std::vector<Step> SelectionAndMenu(int32_t w, int32_t h) {
  const Point from{w / 4, h / 4}, to{w / 2, h / 2};
  return {{MessageKind::LeftDown, from}, {MessageKind::MouseMove, to}, {MessageKind::LeftUp, to},
          {MessageKind::RightUp, {from.x + 5, from.y + 5}}};
}

void CheckSessionsOn(const Layout& layout, int sessions, size_t length, uint32_t seed, bool openMenuFirst = false,
                     bool backBufferOnly = false) {
  const int32_t w = layout.desktop.width;
  const int32_t h = layout.desktop.height;
  std::mt19937 rng(seed);
  for (int s = 0; s < sessions; ++s) {
    std::vector<Step> steps = openMenuFirst ? SelectionAndMenu(w, h) : std::vector<Step>{};
    const std::vector<Step> random = RandomSession(rng, w, h, length);
    steps.insert(steps.end(), random.begin(), random.end());
    Point where;
    const int diff = FirstDifference(Replay(steps, layout, Compositor::Literal),
                                     Replay(steps, layout, Compositor::Fast, backBufferOnly), where);
    ASSERT_EQ(diff, -1) << "session " << s << " differs after message " << diff << " at " << where.x << ","
                        << where.y;
  }
}

void CheckSessions(int32_t w, int32_t h, int sessions, size_t length, uint32_t seed, bool openMenuFirst = false,
                   bool backBufferOnly = false, float scale = 1) {
  CheckSessionsOn(OneScreen(w, h, scale), sessions, length, seed, openMenuFirst, backBufferOnly);
}

// A selection, then a tool from the toolbar: sessions that draw, type,
// undo, redo and pick options throughout.
TEST(CompositorOracle, EditToolSessionsGiveIdenticalFrames) {
  constexpr int32_t w = 640, h = 480;
  std::mt19937 rng(31);
  for (int s = 0; s < 6; ++s) {
    std::vector<Step> steps = SelectionAndMenu(w, h);
    steps.pop_back();
    // Buttons 1-5 (the tools) lie 26 px apart from x = 17 of the toolbar.
    steps.push_back({MessageKind::LeftDown, {}, Aim::Toolbar, {17 + 2 + 26 * (s % 5), 12 + 2}});
    steps.push_back({MessageKind::LeftUp, {}, Aim::Toolbar, {17 + 2 + 26 * (s % 5), 12 + 2}});
    const std::vector<Step> random = RandomEditSession(rng, 160);
    steps.insert(steps.end(), random.begin(), random.end());
    Point where;
    const int diff =
        FirstDifference(Replay(steps, OneScreen(w, h), Compositor::Literal),
                        Replay(steps, OneScreen(w, h), Compositor::Fast), where);
    ASSERT_EQ(diff, -1) << "session " << s << " differs after message " << diff << " at " << where.x << ","
                        << where.y;
  }
}

TEST(CompositorOracle, SmallScreenSessionsGiveIdenticalFrames) { CheckSessions(200, 150, 40, 120, 7); }

TEST(CompositorOracle, ScreenWiderThanTheToolbarGivesIdenticalFrames) { CheckSessions(520, 300, 12, 150, 11); }

TEST(CompositorOracle, OddSizedScreenGivesIdenticalFrames) { CheckSessions(131, 77, 30, 100, 3); }

// Room for the whole menu beside a selection, so that it opens, moves and
// highlights its rows often.
TEST(CompositorOracle, ToolbarAndMenuSessionsGiveIdenticalFrames) { CheckSessions(640, 480, 6, 120, 23, true); }

// The UI drawn larger: the toolbar, menu, magnifier, label and the
// thicker outline and handles.
TEST(CompositorOracle, ScaledUiSessionsGiveIdenticalFrames) {
  CheckSessions(760, 560, 2, 100, 29, true, false, 2);
  CheckSessions(600, 460, 2, 100, 31, true, false, 1.5f);
}

// A desktop left of and above the primary's origin, a monitor at scale 2
// beside a taller one, and areas that no monitor shows above and below
// the smaller one: toolbars, menus, magnifiers and notices flip at each
// monitor's own edges.
Layout TwoMonitors() {
  return {{-360, -40, 760, 400}, {{{-360, 60, 360, 260}, 2.0f, false}, {{0, -40, 400, 400}, 1.0f, true}}};
}

TEST(CompositorOracle, MonitorLayoutWithADeadAreaGivesIdenticalFrames) { CheckSessionsOn(TwoMonitors(), 4, 100, 37); }

TEST(CompositorOracle, MonitorLayoutWithToolbarAndMenuGivesIdenticalFrames) {
  CheckSessionsOn(TwoMonitors(), 4, 100, 31, true);
}

// A platform whose window shows only the back buffer gets the dimmed screen
// written there first instead of in strips.
TEST(CompositorOracle, WindowShowingOnlyItsBackBufferGivesIdenticalFrames) {
  CheckSessions(200, 150, 8, 120, 5, false, true);
}

TEST(CompositorOracle, FirstFrameGoesOutInStripsAndTheBackBufferCatchesUp) {
  HeadlessHost host(300, 200);
  testing::PaintPattern(host.Screen());
  const Canvas clean = host.Screen().Clone();
  host.Start();
  // Strips of whole rows, top to bottom, covering the screen once.
  int32_t next = 0;
  for (const Box& b : host.PresentedBoxes()) {
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.width, 300);
    EXPECT_EQ(b.y, next);
    next = b.Bottom();
  }
  EXPECT_EQ(next, 200);
  Canvas dimmed(300, 200);
  DimInto(dimmed, clean, clean.Bounds());
  const Canvas& back = State().OverlaySurface.CanvasDC();
  for (int32_t y = 0; y < 200; ++y)
    for (int32_t x = 0; x < 300; ++x) {
      ASSERT_EQ(host.Presented().At(x, y), dimmed.At(x, y)) << x << "," << y;
      ASSERT_EQ(back.At(x, y), dimmed.At(x, y)) << x << "," << y;
    }
}

// Escape at once: the back buffer may still be filling from the snapshot
// when the capture ends and frees it (the sanitizer run catches a read
// after the free).
TEST(CompositorOracle, EscapeWhileTheBackBufferFillsEndsCleanly) {
  for (int i = 0; i < 3; ++i) {
    HeadlessHost host(3840, 2160);
    host.Start();
    EXPECT_FALSE(host.KeyDown(Key::Escape));
    EXPECT_EQ(host.ExitCode(), 0);
  }
}

TEST(CompositorOracle, PresentsOnlyWhatChanged) {
  HeadlessHost host(640, 480);
  host.Start();
  host.SetCursor(100, 100);
  host.LeftDown();
  host.MoveTo(300, 200);
  host.LeftUp();
  host.MoveTo(150, 150);
  host.ClearPresentedBoxes();
  host.MoveTo(151, 150);  // a hover that changes nothing on the screen
  EXPECT_TRUE(host.PresentedBoxes().empty());
  // The screen as the host holds it equals the back buffer.
  const Canvas& back = State().OverlaySurface.CanvasDC();
  for (int32_t y = 0; y < 480; y += 3)
    for (int32_t x = 0; x < 640; x += 3) ASSERT_EQ(host.Presented().At(x, y), back.At(x, y));
}

// A small move of the magnifier presents the union of its old and new
// places, not the whole tiles round them; a rubber band that grows by a few
// pixels presents thin strips along its moving edges.
TEST(CompositorOracle, PresentsOnlyThePixelsAMoveChanges) {
  HeadlessHost host(1024, 768);
  host.Start();
  host.MoveTo(400, 400);
  host.ClearPresentedBoxes();
  host.MoveTo(403, 402);
  int64_t area = 0;
  Box reach;
  for (const Box& b : host.PresentedBoxes()) {
    area += static_cast<int64_t>(b.width) * b.height;
    reach = UnionBox(reach, b);
  }
  EXPECT_LE(area, 140 * 140);  // the panel is 124 x 121 with a 3-pixel shadow
  EXPECT_GE(reach.x, 400);
  EXPECT_GE(reach.y, 420);

  host.SetCursor(100, 100);
  host.LeftDown();
  host.MoveTo(600, 300);
  host.MoveTo(700, 300);  // the magnifier moves off the band's right edge
  host.ClearPresentedBoxes();
  host.MoveTo(703, 300);
  int64_t drag = 0;
  for (const Box& b : host.PresentedBoxes()) drag += static_cast<int64_t>(b.width) * b.height;
  // The magnifier's two places (about 17,000 pixels), the right edge, the
  // corner handles and the label: less than half of what the whole tiles
  // under them would be.
  EXPECT_LE(drag, 17000 + 8000);
}

}  // namespace
}  // namespace rc
