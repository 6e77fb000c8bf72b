#pragma once
// Text drawing through FreeType: a typeface file rendered into antialiased coverage masks.
#include <string>

#include "backdrop/AlphaMask.h"

namespace art {

// Where the art generator finds its typefaces (Debian's fonts-dejavu-core).
constexpr const char* kRegularFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr const char* kBoldFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

class Font {
 public:
  // Opens the typeface; ok() tells whether that worked.
  explicit Font(const std::string& path);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  bool ok() const { return face_ != nullptr; }
  // The UTF-8 text rendered at pixelSize (the em height in pixels), as a mask whose height spans
  // the typeface's ascender to descender. Empty mask when the font did not open.
  AlphaMask render(const std::string& utf8, int pixelSize) const;

 private:
  void* library_ = nullptr;  // FT_Library
  void* face_ = nullptr;     // FT_Face
};

}  // namespace art
