#pragma once
// Draws the three full-view pictures: the title, the instructions, and the backdrop behind the
// level (the general background until a level's own picture replaces it).
#include <cstdint>
#include <string>

class ScreenPainter {
 public:
  double left = 0, right = 0, bottom = 0, top = 0;  // the screen rectangle, world units
  std::int32_t backgroundList = -1;
  std::int32_t titleList = -1;
  std::int32_t instructionsList = -1;
  std::int32_t backgroundTexture = -1;  // kept so a replaced backdrop can be deleted
  bool backgroundOpaque = false;        // the backdrop has no alpha channel

  static ScreenPainter* instance();

  // Builds the general background, title and instructions pictures; a second call does nothing.
  void loadImages();
  // Sets the screen rectangle in world units; note the order top, right, bottom, left.
  void setBounds(double top, double right, double bottom, double left);
  // Replaces the backdrop by the picture at path, deleting the old list and texture.
  void setBackdrop(std::string path);
  // Draws the backdrop, blended over what is there; dt (seconds) does not change the picture.
  void drawBackground(float dt) const;
  // Draw the title or instructions picture, opaque (alpha ignored).
  void drawTitle() const;
  void drawInstructions() const;

 private:
  ScreenPainter() = default;
  void placeAndCall(std::int32_t list) const;
  // Draws a full-view picture, blended over what is there or opaque (alpha ignored).
  void drawPicture(std::int32_t list, bool blended) const;
};
