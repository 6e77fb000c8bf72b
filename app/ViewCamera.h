#pragma once
// Holds the window at 1024 by 768 and the fixed perspective view that shows the level's 100 by 75
// world units exactly, at 10.24 pixels per unit.

// Degrees to radians, in double precision.
double degreesToRadians(float degrees);

constexpr int kWindowWidth = 1024;   // pixels
constexpr int kWindowHeight = 768;   // pixels

class ViewCamera {
 public:
  static ViewCamera* instance();

  // Accepts only 1024 by 768 (asking the toolkit for it otherwise); clears the buffers always.
  void reshape(int width, int height);
  // Resets the model-view matrix to the camera's view; once per frame before level drawing.
  void applyView() const;

  int width() const { return width_; }    // window width, pixels
  int height() const { return height_; }  // window height, pixels
  double translationX() const { return translationX_; }  // world units
  double translationY() const { return translationY_; }  // world units
  // Half the height of the world area the window shows at z = 0, world units (37.5).
  double visibleHalfHeight() const;

 private:
  ViewCamera() = default;
  // The stored size starts at the size the window is created with, so the pointer mapping never
  // divides by zero before the first reshape.
  int width_ = kWindowWidth;
  int height_ = kWindowHeight;
  double fieldOfView_ = 90.0;  // vertical, degrees
  double translationX_ = 0.0;
  double translationY_ = -37.5;
  double translationZ_ = -37.5;
};
