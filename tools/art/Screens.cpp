#include "tools/art/Screens.h"

#include <cmath>
#include <string>

#include "backdrop/Backdrop.h"
#include "backdrop/CellArt.h"
#include "backdrop/Flame.h"
#include "backdrop/WorldView.h"
#include "tools/art/Lettering.h"
#include "tools/art/Sprites.h"

namespace art {

namespace {

constexpr Rgba kGoldTop = rgb8(255, 236, 150);
constexpr Rgba kGoldBottom = rgb8(226, 150, 40);
constexpr Rgba kText = rgb8(230, 236, 250);
constexpr Rgba kSoftText = rgb8(170, 186, 214);
constexpr Rgba kShadow = rgb8(0, 0, 0, 0.7f);
constexpr Rgba kKeyFace = rgb8(58, 70, 100);
constexpr Rgba kKeyEdge = rgb8(140, 160, 200);

TextStyle plain(int size, Rgba colour) {
  TextStyle style;
  style.size = size;
  style.top = style.bottom = colour;
  style.shadow = kShadow;
  style.shadowOffset = std::max(1, size / 16);
  return style;
}

// A keyboard key cap with its label centred, the cap `width` pixels wide.
void drawKey(Canvas& canvas, const Fonts& fonts, const std::string& label, float x, float y,
             float width) {
  const float height = 40;
  canvas.fillRoundedRect(x, y + 3, x + width, y + height + 3, 7, [](float, float) {
    return rgb8(10, 14, 24, 0.8f);
  });
  canvas.fillRoundedRect(x, y, x + width, y + height, 7, [=](float, float py) {
    return mix(kKeyEdge, kKeyFace, clamp01((py - y) / 8));
  });
  drawText(canvas, fonts.bold, label, x + width / 2, y + 6, plain(22, kText), Align::Centre);
}

// A mouse outline with its left button lit.
void drawMouse(Canvas& canvas, float x, float y) {
  const float w = 30, h = 44;
  canvas.fillRoundedRect(x, y, x + w, y + h, 14, [](float, float) { return kKeyEdge; });
  canvas.fillRoundedRect(x + 2, y + 2, x + w - 2, y + h - 2, 12, [](float, float) { return kKeyFace; });
  canvas.fillRoundedRect(x + 3, y + 3, x + w / 2 - 1, y + 18, 4, [](float, float) { return kGoldTop; });
  canvas.fillRect(x + w / 2 - 0.75f, y + 2, x + w / 2 + 0.75f, y + 18, kKeyEdge);
}

// A translucent rounded panel with a coloured rim, filling the canvas.
void drawPanel(Canvas& canvas, Rgba fill, Rgba rim) {
  const float w = static_cast<float>(canvas.width()), h = static_cast<float>(canvas.height());
  canvas.fillRoundedRect(0, 0, w, h, 22, [=](float, float) { return rim; });
  canvas.fillRoundedRect(4, 4, w - 4, h - 4, 18, [=](float, float y) {
    return mix(fill, shade(fill, 0.6f), y / h);
  });
}

void drawSampleRow(Canvas& canvas, const Fonts& fonts, float y) {
  const float c = kCellPixels;
  // Samples sit on whole cells so their masonry lines up as it does in a level.
  const float x0 = c * 1;
  paintWall(canvas, {x0, y, x0 + c, y + c}, {true, false, true, true});
  paintWall(canvas, {x0 + c, y, x0 + 2 * c, y + c}, {false, true, true, true});
  drawText(canvas, fonts.bold, "Walls", x0 + c * 2.4f, y - 4, plain(22, kText), Align::Left);
  drawText(canvas, fonts.regular, "stop you only on", x0 + c * 2.4f, y + 22, plain(17, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "their bright edges", x0 + c * 2.4f, y + 42, plain(17, kSoftText), Align::Left);

  const float x1 = c * 7;
  paintHazard(canvas, {x1, y, x1 + c, y + c}, {true, false, true, true});
  paintHazard(canvas, {x1 + c, y, x1 + 2 * c, y + c}, {false, true, true, true});
  drawText(canvas, fonts.bold, "Hazards", x1 + c * 2.4f, y - 4, plain(22, kText), Align::Left);
  drawText(canvas, fonts.regular, "wreck your glider", x1 + c * 2.4f, y + 22, plain(17, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "at a touch", x1 + c * 2.4f, y + 42, plain(17, kSoftText), Align::Left);

  const float x2 = c * 13;
  paintExit(canvas, {x2 + c * 0.5f, y, x2 + c * 1.5f, y + c});
  drawText(canvas, fonts.bold, "Exit", x2 + c * 2.4f, y - 4, plain(22, kText), Align::Left);
  drawText(canvas, fonts.regular, "fly in to reach", x2 + c * 2.4f, y + 22, plain(17, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "the next level", x2 + c * 2.4f, y + 42, plain(17, kSoftText), Align::Left);
}

void drawFireSample(Canvas& canvas, const Fonts& fonts, float bottom) {
  const float c = kCellPixels;
  const float x = c * 2;
  const PixelRect cell{x, bottom - c, x + c, bottom};
  paintLiftColumn(canvas, {x - c * 0.5f, bottom - c * 4, x + c * 1.5f, bottom - c},
                  2.5f * kPixelsPerUnit, 77);
  paintFire(canvas, cell, 10);
  const float tx = c * 4.2f;
  drawText(canvas, fonts.bold, "Fires", tx, bottom - c * 3.4f, plain(22, kText), Align::Left);
  drawText(canvas, fonts.regular, "lift you up through the shimmer above them,", tx,
           bottom - c * 3.4f + 28, plain(17, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "but burn you if you fly into them from the side.", tx,
           bottom - c * 3.4f + 50, plain(17, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "Bigger flames lift higher.", tx, bottom - c * 3.4f + 72,
           plain(17, kSoftText), Align::Left);
  drawGlider(canvas, c * 12.2f, bottom - c * 3.2f, 110, 63);
  drawText(canvas, fonts.bold, "Your glider", c * 15, bottom - c * 3.4f + 10, plain(22, kText), Align::Left);
  drawText(canvas, fonts.regular, "always sinks: find the lift", c * 15, bottom - c * 3.4f + 38,
           plain(17, kSoftText), Align::Left);
}

}  // namespace

Canvas paintBackgroundScreen() { return paintSky(); }

Canvas paintTitleScreen(const Fonts& fonts) {
  Canvas canvas = paintSky();
  const float c = kCellPixels;
  // A little scene: a fire's lift carrying the glider up past a stone ledge.
  paintLiftColumn(canvas, {c * 4.5f, c * 5, c * 6.5f, c * 14}, 2.5f * kPixelsPerUnit, 11);
  paintLiftColumn(canvas, {c * 13.5f, c * 8, c * 15.5f, c * 14}, 2.5f * kPixelsPerUnit, 12);
  for (int col = 0; col < kGridColumns; ++col) {
    if (col == 5 || col == 14) continue;
    paintWall(canvas, {col * c, 14 * c, (col + 1) * c, 15 * c}, {col % 2 == 0, col % 2 == 1, true, true});
  }
  paintFire(canvas, {5 * c, 14 * c, 6 * c, 15 * c}, 10);
  paintFire(canvas, {14 * c, 14 * c, 15 * c, 15 * c}, 5);
  for (int col = 16; col < 19; ++col) paintWall(canvas, {col * c, 9 * c, (col + 1) * c, 10 * c}, {false, true, true, true});
  paintExit(canvas, {18 * c, 8 * c, 19 * c, 9 * c});
  paintHazard(canvas, {9 * c, 13 * c, 10 * c, 14 * c}, {true, true, true, false});
  paintHazard(canvas, {10 * c, 13 * c, 11 * c, 14 * c}, {true, true, true, false});
  drawGlider(canvas, 160, 330, 250, 143);

  TextStyle title;
  title.size = 150;
  title.top = kGoldTop;
  title.bottom = kGoldBottom;
  title.glow = rgb8(255, 150, 60, 0.35f);
  title.glowRadius = 18;
  title.shadow = kShadow;
  title.shadowOffset = 6;
  drawText(canvas, fonts.bold, "Zarvolith", kScreenWidth / 2.0f, 60, title, Align::Centre);
  drawText(canvas, fonts.regular, "ride the fire's lift to the exit", kScreenWidth / 2.0f, 250,
           plain(28, kSoftText), Align::Centre);
  TextStyle prompt = plain(34, kText);
  prompt.glow = rgb8(120, 170, 255, 0.35f);
  prompt.glowRadius = 10;
  drawText(canvas, fonts.bold, "click to start", kScreenWidth / 2.0f, 580, prompt, Align::Centre);
  return canvas;
}

Canvas paintInstructionsScreen(const Fonts& fonts) {
  Canvas canvas = paintSky();
  TextStyle heading = plain(56, kGoldTop);
  heading.bottom = kGoldBottom;
  drawText(canvas, fonts.bold, "How to fly", kScreenWidth / 2.0f, 24, heading, Align::Centre);

  const float left = 120, keyColumn = 300, top = 120, step = 58;
  drawMouse(canvas, keyColumn - 10, top - 2);
  drawText(canvas, fonts.regular, "Click", left, top + 6, plain(24, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "go on to the next screen", keyColumn + 60, top + 6, plain(24, kText), Align::Left);
  drawKey(canvas, fonts, "\u2190", keyColumn - 30, top + step, 44);
  drawKey(canvas, fonts, "\u2192", keyColumn + 20, top + step, 44);
  drawText(canvas, fonts.regular, "Left, Right", left, top + step + 6, plain(24, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "steer the glider", keyColumn + 80, top + step + 6, plain(24, kText), Align::Left);
  drawKey(canvas, fonts, "\u2191", keyColumn - 5, top + 2 * step, 44);
  drawText(canvas, fonts.regular, "Up", left, top + 2 * step + 6, plain(24, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "try again after a crash", keyColumn + 60, top + 2 * step + 6, plain(24, kText), Align::Left);
  drawKey(canvas, fonts, "Esc", keyColumn - 15, top + 3 * step, 64);
  drawText(canvas, fonts.regular, "Esc", left, top + 3 * step + 6, plain(24, kSoftText), Align::Left);
  drawText(canvas, fonts.regular, "quit the game", keyColumn + 60, top + 3 * step + 6, plain(24, kText), Align::Left);

  drawSampleRow(canvas, fonts, kCellPixels * 8);
  drawFireSample(canvas, fonts, kCellPixels * 14.4f);
  TextStyle prompt = plain(26, kText);
  prompt.glow = rgb8(120, 170, 255, 0.3f);
  prompt.glowRadius = 8;
  drawText(canvas, fonts.bold, "click to begin", kScreenWidth / 2.0f, 716, prompt, Align::Centre);
  return canvas;
}

Canvas paintEscapePanel(const Fonts& fonts) {
  Canvas canvas(kEscapeWidth, kEscapeHeight);
  drawPanel(canvas, rgb8(16, 70, 48, 0.82f), rgb8(246, 200, 72, 0.95f));
  TextStyle title;
  title.size = 60;
  title.top = kGoldTop;
  title.bottom = kGoldBottom;
  title.shadow = kShadow;
  title.shadowOffset = 3;
  drawText(canvas, fonts.bold, "You escaped!", kEscapeWidth / 2.0f, 12, title, Align::Centre);
  drawText(canvas, fonts.regular, "Every level flown. Well done!", kEscapeWidth / 2.0f, 86,
           plain(22, kText), Align::Centre);
  return canvas;
}

Canvas paintLostPanel(const Fonts& fonts) {
  Canvas canvas(kLostWidth, kLostHeight);
  drawPanel(canvas, rgb8(90, 16, 16, 0.82f), rgb8(255, 110, 70, 0.95f));
  TextStyle title;
  title.size = 64;
  title.top = rgb8(255, 226, 200);
  title.bottom = rgb8(255, 120, 80);
  title.shadow = kShadow;
  title.shadowOffset = 3;
  drawText(canvas, fonts.bold, "Crashed!", kLostWidth / 2.0f, 22, title, Align::Centre);
  drawText(canvas, fonts.regular, "Up arrow: try again", kLostWidth / 2.0f, 128, plain(32, kText),
           Align::Centre);
  drawText(canvas, fonts.regular, "click: quit", kLostWidth / 2.0f, 180, plain(32, kText),
           Align::Centre);
  return canvas;
}

}  // namespace art
