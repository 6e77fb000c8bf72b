#pragma once
// Styled text on a canvas: a vertical colour gradient, an optional soft glow and drop shadow.
#include <string>

#include "backdrop/Canvas.h"
#include "tools/art/Font.h"

namespace art {

struct TextStyle {
  int size = 32;                     // em height, pixels
  Rgba top{1, 1, 1, 1};              // colour at the top of the letters
  Rgba bottom{1, 1, 1, 1};           // colour at the bottom
  Rgba glow{0, 0, 0, 0};             // halo colour; alpha 0 for none
  int glowRadius = 0;                // pixels
  Rgba shadow{0, 0, 0, 0};           // drop shadow colour; alpha 0 for none
  int shadowOffset = 0;              // pixels down and right
};

enum class Align { Left, Centre };

// Draws the text with the top of its line box at y; x is its left edge or its centre.
// Returns the width drawn, pixels.
int drawText(Canvas& canvas, const Font& font, const std::string& text, float x, float y,
             const TextStyle& style, Align align);

}  // namespace art
