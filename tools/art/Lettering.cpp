#include "tools/art/Lettering.h"

#include <cmath>

namespace art {

int drawText(Canvas& canvas, const Font& font, const std::string& text, float x, float y,
             const TextStyle& style, Align align) {
  const AlphaMask mask = font.render(text, style.size);
  const int left = static_cast<int>(std::lround(align == Align::Centre ? x - mask.width() * 0.5f : x));
  const int top = static_cast<int>(std::lround(y));
  if (style.glow.a > 0 && style.glowRadius > 0) {
    const AlphaMask halo = mask.blurred(style.glowRadius, 2.0f);
    const Rgba glow = style.glow;
    canvas.drawMask(halo, left - style.glowRadius, top - style.glowRadius,
                    [glow](float, float) { return glow; });
  }
  if (style.shadow.a > 0) {
    const AlphaMask soft = mask.blurred(2, 1.2f);
    const Rgba shadow = style.shadow;
    canvas.drawMask(soft, left + style.shadowOffset - 2, top + style.shadowOffset - 2,
                    [shadow](float, float) { return shadow; });
  }
  const float height = static_cast<float>(mask.height());
  const Rgba topColour = style.top, bottomColour = style.bottom;
  canvas.drawMask(mask, left, top, [=](float, float py) {
    return mix(topColour, bottomColour, clamp01((py - top) / height));
  });
  return mask.width();
}

}  // namespace art
