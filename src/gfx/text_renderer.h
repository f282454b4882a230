// Where text comes from: the platform rasterises it into coverage masks and
// hands its renderer to the graphics layer at start-up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

// A font asked for by family name, with its em size in pixels.
struct FontRequest {
  std::string family;
  float emSize = 11.0f;
};

// White text as coverage: one byte per pixel, 0 (none) to 255 (full).
// (left, top) is the mask's top-left corner relative to the top-left of the
// text's line box, so a caller lays the text out at a point and adds these.
struct TextMask {
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;
  int32_t top = 0;
  std::vector<uint8_t> coverage;
  // Where the pen stands after the text, from the line box's left edge:
  // what a caret after the last character, or text typed on, lines up with.
  int32_t advance = 0;
};

class TextRenderer {
 public:
  virtual ~TextRenderer() = default;
  virtual TextMask Render(const std::string& utf8, const FontRequest& font) = 0;
};

// Installs the renderer text is drawn with (null: text draws nothing).
// Masks cached for an earlier renderer are not used again.
void SetTextRenderer(TextRenderer* renderer);

// The mask of `utf8` from the installed renderer; empty when none is.
TextMask RenderTextMask(const std::string& utf8, const FontRequest& font);

// Counts SetTextRenderer calls, so caches can tell renderers apart.
uint64_t TextRendererGeneration();

}  // namespace rc
