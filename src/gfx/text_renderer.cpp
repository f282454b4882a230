#include "gfx/text_renderer.h"

namespace rc {

namespace {
TextRenderer* g_renderer = nullptr;
uint64_t g_generation = 0;
}  // namespace

void SetTextRenderer(TextRenderer* renderer) {
  g_renderer = renderer;
  ++g_generation;
}

TextMask RenderTextMask(const std::string& utf8, const FontRequest& font) {
  return g_renderer != nullptr ? g_renderer->Render(utf8, font) : TextMask{};
}

uint64_t TextRendererGeneration() { return g_generation; }

}  // namespace rc
