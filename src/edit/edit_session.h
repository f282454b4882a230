// What the edit tools remember during a capture: the active tool, the
// options, the finished shapes with their undo history, the shape being
// drawn and the open text box.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "edit/mosaic.h"
#include "edit/shape.h"
#include "edit/shape_history.h"
#include "edit/shape_raster.h"
#include "edit/text_editor.h"
#include "gfx/geometry.h"

namespace rc {

// Numbered as the toolbar's buttons and the menu's rows.
enum class EditTool { None = 0, Rectangle = 1, Ellipse = 2, Arrow = 3, Brush = 4, Text = 5 };

inline constexpr std::array<float, 3> kStrokeWidths = {2, 4, 8};
inline constexpr std::array<float, 3> kTextSizes = {14, 18, 24};
// Straight ARGB; red first, the default.
inline constexpr std::array<uint32_t, 14> kPalette = {
    0xFFFF0000, 0xFFFF8000, 0xFFFFD800, 0xFF00C000, 0xFF00B8D8, 0xFF0060FF, 0xFF8000FF,
    0xFFFF40C0, 0xFF804000, 0xFF006040, 0xFF000080, 0xFF000000, 0xFF808080, 0xFFFFFFFF,
};
// The mosaic brush is this many times as wide as the plain one, wide
// enough to hide a line of text in one stroke.
inline constexpr float kMosaicWidthFactor = 4;
inline constexpr int32_t kMosaicBlock = 8;

struct EditOptions {
  int32_t widthChoice = 0;
  int32_t sizeChoice = 1;
  int32_t colourChoice = 0;
  bool mosaic = false;
  friend bool operator==(const EditOptions&, const EditOptions&) = default;
};

struct EditSession {
  EditTool tool = EditTool::None;
  EditOptions options;
  ShapeHistory history;

  // The shape between press and release.
  std::shared_ptr<Shape> live;
  ShapeRaster liveRaster;
  PointD anchor;
  bool moved = false;

  // The open text box: its text, where it sits, and how it looks now.
  std::shared_ptr<Shape> textBox;
  TextEditor text;
  Point textOrigin;

  std::unique_ptr<MosaicBlocks> mosaic;
  // Where the options bar was last placed; all zero when not shown.
  IntRect OptionsRect;
};

}  // namespace rc
