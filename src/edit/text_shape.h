// How a text box looks: its lines in the host's font, laid out from the
// box's top-left corner; while it is open also a caret and a dashed frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

inline constexpr const char* kTextFont = "微软雅黑";

struct TextLook {
  std::vector<std::string> lines;
  float fontSize = 18;   // em size in physical pixels
  uint32_t argb = 0;     // straight
  float scale = 1;       // the monitor's: frame and caret thickness, padding
};

// The box round the text at `origin` (its top-left corner), never narrower
// than a few characters.
Box TextBoxArea(Point origin, const TextLook& look);
// The distance from one line's top to the next one's.
int32_t TextLineHeight(float fontSize);

// Where a caret sits in a box: a line and a byte offset in it, always
// between whole characters.
struct TextCaret {
  size_t line = 0;
  size_t byte = 0;
  friend bool operator==(const TextCaret&, const TextCaret&) = default;
};

// The caret's bar, relative to the box's top-left corner.
Box TextCaretBox(const TextLook& look, TextCaret caret);
// The caret nearest `at` (relative to the box's top-left corner): on the
// line under it, between the two characters whose edge is closest.
TextCaret TextCaretNear(const TextLook& look, Point at);

// The text alone, as the output keeps it, over the box's area.
Canvas RenderTextPixels(const TextLook& look, const Box& area);
// The text with its caret (at TextCaretBox's `caretBar`) and the dashed
// frame, as the open box shows it.
Canvas RenderOpenTextBox(const TextLook& look, const Box& area, const Box& caretBar);

}  // namespace rc
