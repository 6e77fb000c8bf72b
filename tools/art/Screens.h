#pragma once
// The full-window pictures (title, instructions, plain background) and the won and lost panels
// laid over a level.
#include "backdrop/Canvas.h"
#include "tools/art/Font.h"

namespace art {

constexpr int kEscapeWidth = 512, kEscapeHeight = 128;  // pixels, 4:1 like its 60 x 15 units
constexpr int kLostWidth = 512, kLostHeight = 256;      // pixels, 2:1 like its 60 x 30 units

// The typefaces the screens use.
struct Fonts {
  Font regular{kRegularFontPath};
  Font bold{kBoldFontPath};
  bool ok() const { return regular.ok() && bold.ok(); }
};

Canvas paintTitleScreen(const Fonts& fonts);
Canvas paintInstructionsScreen(const Fonts& fonts);
Canvas paintBackgroundScreen();
// "You escaped!" on a translucent panel.
Canvas paintEscapePanel(const Fonts& fonts);
// The crash notice with "Up arrow: try again" and "click: quit".
Canvas paintLostPanel(const Fonts& fonts);

}  // namespace art
