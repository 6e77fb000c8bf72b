#include "backdrop/AlphaMask.h"

#include <algorithm>

namespace art {

namespace {

// One pass of a box blur of the given radius along rows (horizontal) or columns.
std::vector<float> boxPass(const std::vector<float>& in, int w, int h, int radius, bool horizontal) {
  std::vector<float> out(in.size(), 0);
  const int lines = horizontal ? h : w;
  const int length = horizontal ? w : h;
  const float scale = 1.0f / static_cast<float>(2 * radius + 1);
  for (int line = 0; line < lines; ++line) {
    auto index = [&](int i) { return horizontal ? line * w + i : i * w + line; };
    float sum = 0;
    for (int i = -radius; i <= radius; ++i)
      if (i >= 0 && i < length) sum += in[index(i)];
    for (int i = 0; i < length; ++i) {
      out[index(i)] = sum * scale;
      const int leaving = i - radius;
      const int entering = i + radius + 1;
      if (leaving >= 0) sum -= in[index(leaving)];
      if (entering < length) sum += in[index(entering)];
    }
  }
  return out;
}

}  // namespace

AlphaMask AlphaMask::blurred(int margin, float gain) const {
  AlphaMask grown(width_ + 2 * margin, height_ + 2 * margin);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) grown.values_[(y + margin) * grown.width_ + x + margin] = at(x, y);
  const int radius = std::max(1, margin / 3);
  for (int pass = 0; pass < 3; ++pass) {
    grown.values_ = boxPass(grown.values_, grown.width_, grown.height_, radius, true);
    grown.values_ = boxPass(grown.values_, grown.width_, grown.height_, radius, false);
  }
  for (float& v : grown.values_) v = std::min(1.0f, v * gain);
  return grown;
}

}  // namespace art
