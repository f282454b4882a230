// Text coverage masks through GDI, grayscale anti-aliased.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>

#include "app/host.h"

namespace rc {

class GdiTextRenderer {
 public:
  GdiTextRenderer() = default;
  ~GdiTextRenderer();
  GdiTextRenderer(const GdiTextRenderer&) = delete;
  GdiTextRenderer& operator=(const GdiTextRenderer&) = delete;

  // The text in the requested family, or in the system's message font when
  // the family is not installed; the mask's origin is the line box's
  // top-left, whose baseline lies at the font's ascent.
  TextMask Render(const std::string& utf8, const FontRequest& font);

 private:
  HFONT FontFor(const FontRequest& font);

  // Text is drawn on every frame; fonts are made once per family and size.
  std::map<std::pair<std::string, int>, HFONT> fonts_;
};

}  // namespace rc
