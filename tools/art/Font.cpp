#include "tools/art/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <vector>

namespace art {

namespace {

// Decodes UTF-8 into code points; a malformed byte stands for itself.
std::vector<std::uint32_t> codePoints(const std::string& utf8) {
  std::vector<std::uint32_t> out;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra > 0 && i + extra >= utf8.size()) extra = 0;  // cut short at the end
    std::uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back(cp);
    i += 1 + extra;
  }
  return out;
}

FT_Face asFace(void* f) { return static_cast<FT_Face>(f); }

}  // namespace

Font::Font(const std::string& path) {
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return;
  library_ = library;
  FT_Face face = nullptr;
  if (FT_New_Face(library, path.c_str(), 0, &face) == 0) face_ = face;
}

Font::~Font() {
  if (face_) FT_Done_Face(asFace(face_));
  if (library_) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

AlphaMask Font::render(const std::string& utf8, int pixelSize) const {
  if (!face_ || pixelSize <= 0) return AlphaMask(0, 0);
  FT_Face face = asFace(face_);
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
  const std::vector<std::uint32_t> text = codePoints(utf8);
  const int ascender = static_cast<int>(std::ceil(face->size->metrics.ascender / 64.0));
  const int descender = static_cast<int>(std::floor(face->size->metrics.descender / 64.0));

  // First pass measures the advance, the second draws.
  long width = 0;
  FT_UInt previous = 0;
  for (std::uint32_t cp : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, cp);
    if (previous && glyph && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
      width += kern.x;
    }
    if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0) width += face->glyph->advance.x;
    previous = glyph;
  }
  const int padding = pixelSize / 8 + 1;
  AlphaMask mask(static_cast<int>(width / 64) + 2 * padding, ascender - descender);
  long pen = padding * 64;
  previous = 0;
  for (std::uint32_t cp : text) {
    const FT_UInt glyph = FT_Get_Char_Index(face, cp);
    if (previous && glyph && FT_HAS_KERNING(face)) {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
      pen += kern.x;
    }
    previous = glyph;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int left = static_cast<int>(pen / 64) + slot->bitmap_left;
    const int top = ascender - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
      for (unsigned col = 0; col < bitmap.width; ++col)
        mask.raise(left + static_cast<int>(col), top + static_cast<int>(row),
                   bitmap.buffer[row * bitmap.pitch + col] / 255.0f);
    pen += slot->advance.x;
  }
  return mask;
}

}  // namespace art
