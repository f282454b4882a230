#include "platform/freetype/text_freetype.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <tuple>
#include <vector>

namespace rc {

namespace {

struct FontFile {
  std::string path;
  int index = 0;
};

// One glyph as FreeType renders it at its face's size: its coverage, where
// its top-left lies from the pen on the baseline, and how far the pen then
// moves. Empty when the glyph draws nothing (a space, or one that fails).
struct GlyphImage {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;
  FT_Pos advance = 0;
};

// A glyph laid on the line: its image and its top-left in the line box.
struct PlacedGlyph {
  const GlyphImage* image = nullptr;
  int32_t x = 0;
  int32_t y = 0;
};

constexpr FcChar32 kCjkProbe = 0x4E2D;  // a common Han character

bool FamilyIs(FcPattern* font, const std::string& family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) return true;
  }
  return false;
}

bool CoversCjk(FcPattern* font) {
  FcCharSet* chars = nullptr;
  return FcPatternGetCharSet(font, FC_CHARSET, 0, &chars) == FcResultMatch && FcCharSetHasChar(chars, kCjkProbe);
}

enum class Accept { NamedOrCjk, Cjk, Any };

// Asks fontconfig for its best match and keeps it only when it is what this
// step of the fallback wants.
std::optional<FontFile> MatchFont(const std::string& family, bool chinese, Accept accept) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  if (chinese) FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (font == nullptr) return std::nullopt;
  std::optional<FontFile> found;
  FcChar8* path = nullptr;
  const bool wanted = accept == Accept::Any || CoversCjk(font) ||
                      (accept == Accept::NamedOrCjk && FamilyIs(font, family));
  if (wanted && FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch) {
    int index = 0;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    found = FontFile{reinterpret_cast<const char*>(path), index};
  }
  FcPatternDestroy(font);
  return found;
}

// Said once per run: blank or boxed labels are otherwise a mystery.
void WarnOnce(const char* what) {
  static bool warned = false;
  if (warned) return;
  warned = true;
  std::fprintf(stderr, "regioncap: FreeType: %s\n", what);
  std::fflush(stderr);
}

// The requested family, else an installed CJK sans, else any sans.
std::optional<FontFile> ResolveFamily(const std::string& family) {
  if (auto named = MatchFont(family, true, Accept::NamedOrCjk)) return named;
  if (auto cjk = MatchFont("sans-serif", true, Accept::Cjk)) return cjk;
  auto any = MatchFont("sans-serif", false, Accept::Any);
  WarnOnce(any ? "no installed font has Chinese characters (install fonts-noto-cjk or fonts-wqy-microhei); "
                 "Chinese texts show as boxes"
               : "fontconfig finds no font at all (install fonts-noto-cjk); the size label and notices stay blank");
  return any;
}

// FreeType and every face opened so far, kept for the whole run: text is
// drawn on every frame, and opening a face costs far more than drawing.
class FontCache {
 public:
  FontCache() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FontCache() {
    for (auto& entry : faces_) FT_Done_Face(entry.second);
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;

  // A face at the request's size, or null when no font can be found.
  FT_Face FaceFor(const FontRequest& request);

  // The glyph `index` of `face`, rendered the first time it is asked for:
  // a label whose digits change on every pointer move needs no hinting or
  // rasterising once each digit has been drawn.
  const GlyphImage& Glyph(FT_Face face, FT_UInt index);

 private:
  FT_Face OpenFace(const FontFile& file, FT_F26Dot6 size);

  FT_Library library_ = nullptr;
  std::map<std::string, std::optional<FontFile>> files_;
  std::map<std::tuple<std::string, int, FT_F26Dot6>, FT_Face> faces_;
  // Faces stay open for the whole run, so a face's address names it.
  std::map<std::pair<FT_Face, FT_UInt>, GlyphImage> glyphs_;
};

FT_Face FontCache::FaceFor(const FontRequest& request) {
  if (library_ == nullptr || !std::isfinite(request.emSize) || request.emSize <= 0 || request.emSize > 1000) {
    return nullptr;
  }
  auto file = files_.find(request.family);
  if (file == files_.end()) file = files_.emplace(request.family, ResolveFamily(request.family)).first;
  if (!file->second) return nullptr;
  return OpenFace(*file->second, static_cast<FT_F26Dot6>(std::lround(request.emSize * 64)));
}

FT_Face FontCache::OpenFace(const FontFile& file, FT_F26Dot6 size) {
  const auto key = std::make_tuple(file.path, file.index, size);
  if (auto it = faces_.find(key); it != faces_.end()) return it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(library_, file.path.c_str(), file.index, &face) != 0) {
    WarnOnce("the font fontconfig chose cannot be read; the size label and notices stay blank");
    return nullptr;
  }
  // At 72 dpi a point is a pixel, so the em is exactly `size` pixels.
  if (FT_Set_Char_Size(face, 0, size, 72, 72) != 0) {
    FT_Done_Face(face);
    return nullptr;
  }
  faces_.emplace(key, face);
  return face;
}

FontCache& Fonts() {
  static FontCache cache;
  return cache;
}

// Decodes UTF-8; a malformed sequence becomes U+FFFD and decoding goes on
// at the next byte.
std::vector<char32_t> DecodeUtf8(const std::string& text) {
  std::vector<char32_t> out;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  for (size_t i = 0; i < n;) {
    const unsigned char lead = s[i];
    const int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
    char32_t cp = extra == 0 ? lead : extra == 1 ? (lead & 0x1F) : extra == 2 ? (lead & 0x0F) : (lead & 0x07);
    bool ok = extra >= 0 && i + extra < n;
    for (int k = 1; ok && k <= extra; ++k) {
      ok = (s[i + k] & 0xC0) == 0x80;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : extra == 3 ? 0x10000 : 0;
    ok = ok && cp >= minimum && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    out.push_back(ok ? cp : U'\uFFFD');
    i += ok ? static_cast<size_t>(extra) + 1 : 1;
  }
  return out;
}

// The baseline's distance from the top of the line box: the font's
// Windows ascent where it has one, as the platform's own layout uses.
int32_t Ascent(FT_Face face) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent != 0 && face->units_per_EM != 0) {
    const double em = static_cast<double>(face->size->metrics.x_ppem);
    return static_cast<int32_t>(std::lround(os2->usWinAscent * em / face->units_per_EM));
  }
  return static_cast<int32_t>((face->size->metrics.ascender + 63) / 64);
}

GlyphImage RenderGlyph(FT_Face face, FT_UInt index) {
  GlyphImage glyph;
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return glyph;
  glyph.advance = face->glyph->advance.x;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0) return glyph;
  glyph.left = face->glyph->bitmap_left;
  glyph.top = face->glyph->bitmap_top;
  glyph.width = static_cast<int32_t>(bitmap.width);
  glyph.height = static_cast<int32_t>(bitmap.rows);
  for (int32_t row = 0; row < glyph.height; ++row) {
    const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
    glyph.coverage.insert(glyph.coverage.end(), src, src + glyph.width);
  }
  return glyph;
}

const GlyphImage& FontCache::Glyph(FT_Face face, FT_UInt index) {
  const auto key = std::make_pair(face, index);
  auto found = glyphs_.find(key);
  if (found == glyphs_.end()) found = glyphs_.emplace(key, RenderGlyph(face, index)).first;
  return found->second;
}

std::vector<PlacedGlyph> LayOutLine(FT_Face face, const std::vector<char32_t>& text, FT_Pos& penX) {
  std::vector<PlacedGlyph> glyphs;
  const int32_t baseline = Ascent(face);
  penX = 0;
  FT_UInt previous = 0;
  for (char32_t cp : text) {
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    if (previous != 0 && FT_HAS_KERNING(face)) {
      FT_Vector kern{};
      if (FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kern) == 0) penX += kern.x;
    }
    const GlyphImage& image = Fonts().Glyph(face, index);
    if (image.width > 0) {
      glyphs.push_back({&image, static_cast<int32_t>((penX + 32) >> 6) + image.left, baseline - image.top});
    }
    penX += image.advance;
    previous = index;
  }
  return glyphs;
}

// Merges the glyphs into one mask over their joint bounds; where glyphs
// overlap the stronger coverage wins.
TextMask Compose(const std::vector<PlacedGlyph>& glyphs) {
  TextMask mask;
  if (glyphs.empty()) return mask;
  int32_t left = glyphs[0].x, top = glyphs[0].y, right = left, bottom = top;
  for (const PlacedGlyph& g : glyphs) {
    left = std::min(left, g.x);
    top = std::min(top, g.y);
    right = std::max(right, g.x + g.image->width);
    bottom = std::max(bottom, g.y + g.image->height);
  }
  mask = TextMask{right - left, bottom - top, left, top, {}};
  mask.coverage.assign(static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height), 0);
  for (const PlacedGlyph& g : glyphs) {
    const GlyphImage& image = *g.image;
    for (int32_t y = 0; y < image.height; ++y) {
      uint8_t* dst = mask.coverage.data() + static_cast<size_t>(g.y - top + y) * mask.width + (g.x - left);
      const uint8_t* src = image.coverage.data() + static_cast<size_t>(y) * image.width;
      for (int32_t x = 0; x < image.width; ++x) dst[x] = std::max(dst[x], src[x]);
    }
  }
  return mask;
}

}  // namespace

TextMask RenderTextFreeType(const std::string& utf8, const FontRequest& font) {
  FT_Face face = Fonts().FaceFor(font);
  if (face == nullptr || utf8.empty()) return {};
  FT_Pos penX = 0;
  TextMask mask = Compose(LayOutLine(face, DecodeUtf8(utf8), penX));
  mask.advance = static_cast<int32_t>((penX + 32) >> 6);
  return mask;
}

}  // namespace rc
