#pragma once
// A single-channel coverage picture: rendered text, and its blurred glow.
#include <vector>

namespace art {

class AlphaMask {
 public:
  AlphaMask(int width, int height) : width_(width), height_(height), values_(width * height, 0) {}

  int width() const { return width_; }    // pixels
  int height() const { return height_; }  // pixels
  // Coverage 0..1 at (x, y); 0 outside the mask.
  float at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return values_[y * width_ + x];
  }
  // Raises the coverage at (x, y) to at least v.
  void raise(int x, int y, float v) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float& cell = values_[y * width_ + x];
    if (v > cell) cell = v;
  }
  // A copy grown by `margin` pixels on every side, blurred with a box filter of that radius run
  // three times (close to a Gaussian), and scaled by gain.
  AlphaMask blurred(int margin, float gain) const;

 private:
  int width_, height_;
  std::vector<float> values_;
};

}  // namespace art
