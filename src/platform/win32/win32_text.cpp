#include "platform/win32/win32_text.h"

#include <algorithm>
#include <cmath>

#include "platform/win32/win32_dib.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc {

namespace {

// Grayscale anti-aliasing: the mask is one coverage per pixel, so the
// colour fringes of ClearType would have nowhere to go.
LOGFONTW FontDescription(const std::wstring& face, int emPixels) {
  LOGFONTW lf{};
  lf.lfHeight = -emPixels;  // negative: the em (character height), not the cell
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return lf;
}

int CALLBACK NoteFamily(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;  // one is enough
}

// Whether the family is installed. Asked by enumeration, not by comparing
// the face a font got: the system matches localised family names
// ("微软雅黑") but may report the font under its English one.
bool FaceInstalled(const std::wstring& face) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  HDC dc = CreateCompatibleDC(nullptr);
  EnumFontFamiliesExW(dc, &lf, NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  DeleteDC(dc);
  return found;
}

HFONT MessageFont(int emPixels) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    const LOGFONTW fallback = FontDescription(L"Segoe UI", emPixels);
    return CreateFontIndirectW(&fallback);
  }
  LOGFONTW lf = metrics.lfMessageFont;
  lf.lfHeight = -emPixels;
  lf.lfWidth = 0;
  lf.lfQuality = ANTIALIASED_QUALITY;
  return CreateFontIndirectW(&lf);
}

// The inked part of white-on-black text as coverage, placed relative to the
// point (pad, pad) where the line box was drawn.
TextMask InkMask(const uint32_t* bits, int32_t width, int32_t height, int32_t pad) {
  int32_t left = width, top = height, right = -1, bottom = -1;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      if ((bits[static_cast<size_t>(y) * width + x] & 0xFF00u) == 0) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  TextMask mask;
  if (right < 0) return mask;
  mask = TextMask{right - left + 1, bottom - top + 1, left - pad, top - pad, {}};
  mask.coverage.reserve(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height));
  for (int32_t y = top; y <= bottom; ++y) {
    for (int32_t x = left; x <= right; ++x) {
      mask.coverage.push_back(static_cast<uint8_t>(bits[static_cast<size_t>(y) * width + x] >> 8));
    }
  }
  return mask;
}

// Draws the line with its box's top-left at (pad, pad) into a fresh DIB.
TextMask DrawLine(HDC dc, const std::wstring& text, SIZE extent, int32_t pad) {
  const int32_t width = extent.cx + 2 * pad, height = extent.cy + 2 * pad;
  DibSection dib = CreateTopDownDib(width, height);
  if (!dib) return {};
  HGDIOBJ old = SelectObject(dc, dib.bitmap);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  TextOutW(dc, pad, pad, text.c_str(), static_cast<int>(text.size()));
  GdiFlush();
  TextMask mask = InkMask(dib.bits, width, height, pad);
  SelectObject(dc, old);
  DeleteObject(dib.bitmap);
  return mask;
}

}  // namespace

TextMask GdiTextRenderer::Render(const std::string& utf8, const FontRequest& font) {
  HFONT handle = FontFor(font);
  const std::wstring text = Utf8ToWide(utf8);
  if (handle == nullptr || text.empty() || text.size() > 4096) return {};
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, handle);
  SIZE extent{};
  TEXTMETRICW metrics{};
  TextMask mask;
  if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent) &&
      GetTextMetricsW(dc, &metrics)) {
    // Room for glyphs that reach past their advance (italics, anti-aliasing).
    mask = DrawLine(dc, text, extent, metrics.tmHeight / 2 + 2);
    mask.advance = extent.cx;
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return mask;
}

GdiTextRenderer::~GdiTextRenderer() {
  for (const auto& entry : fonts_) DeleteObject(entry.second);
}

HFONT GdiTextRenderer::FontFor(const FontRequest& font) {
  if (!std::isfinite(font.emSize) || font.emSize <= 0 || font.emSize > 1000) return nullptr;
  const int em = std::max(1, static_cast<int>(std::lround(font.emSize)));
  const auto key = std::make_pair(font.family, em);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  const std::wstring face = Utf8ToWide(font.family);
  const LOGFONTW lf = FontDescription(face, em);
  HFONT made = FaceInstalled(face) ? CreateFontIndirectW(&lf) : MessageFont(em);
  if (made != nullptr) fonts_.emplace(key, made);
  return made;
}

}  // namespace rc
