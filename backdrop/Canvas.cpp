#include "backdrop/Canvas.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// Sub-rows sampled per pixel row when filling polygons; coverage along x is exact.
constexpr int kPolygonSubRows = 8;

struct Crossing {
  float x;
  int winding;
};

}  // namespace

Canvas::Canvas(int width, int height, Rgba fill)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      premultiplied_(static_cast<size_t>(width_) * height_ * 4) {
  for (size_t i = 0; i < premultiplied_.size(); i += 4) {
    premultiplied_[i] = fill.r * fill.a;
    premultiplied_[i + 1] = fill.g * fill.a;
    premultiplied_[i + 2] = fill.b * fill.a;
    premultiplied_[i + 3] = fill.a;
  }
}

Rgba Canvas::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return Rgba{0, 0, 0, 0};
  const float* p = &premultiplied_[(static_cast<size_t>(y) * width_ + x) * 4];
  if (p[3] <= 0) return Rgba{0, 0, 0, 0};
  return Rgba{p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

void Canvas::blend(int x, int y, const Rgba& c, float coverage, Blend mode) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const float a = clamp01(c.a) * clamp01(coverage);
  if (a <= 0) return;
  float* p = &premultiplied_[(static_cast<size_t>(y) * width_ + x) * 4];
  if (mode == Blend::Add) {
    p[0] = std::min(p[3], p[0] + c.r * a);
    p[1] = std::min(p[3], p[1] + c.g * a);
    p[2] = std::min(p[3], p[2] + c.b * a);
    return;
  }
  const float keep = 1 - a;
  p[0] = c.r * a + p[0] * keep;
  p[1] = c.g * a + p[1] * keep;
  p[2] = c.b * a + p[2] * keep;
  p[3] = a + p[3] * keep;
}

void Canvas::shadeRect(float x0, float y0, float x1, float y1, const Shader& shader, Blend mode) {
  const int i0 = std::max(0, static_cast<int>(std::floor(x0)));
  const int i1 = std::min(width_, static_cast<int>(std::ceil(x1)));
  const int j0 = std::max(0, static_cast<int>(std::floor(y0)));
  const int j1 = std::min(height_, static_cast<int>(std::ceil(y1)));
  for (int j = j0; j < j1; ++j) {
    const float cy = std::min<float>(j + 1, y1) - std::max<float>(j, y0);
    if (cy <= 0) continue;
    for (int i = i0; i < i1; ++i) {
      const float cx = std::min<float>(i + 1, x1) - std::max<float>(i, x0);
      if (cx <= 0) continue;
      blend(i, j, shader(i + 0.5f, j + 0.5f), cx * cy, mode);
    }
  }
}

void Canvas::fillRect(float x0, float y0, float x1, float y1, const Rgba& c) {
  shadeRect(x0, y0, x1, y1, [&c](float, float) { return c; });
}

void Canvas::shadePolygon(const std::vector<Point>& points, const Shader& shader, Blend mode) {
  if (points.size() < 3) return;
  float minY = points[0].y, maxY = points[0].y;
  for (const Point& p : points) {
    minY = std::min(minY, p.y);
    maxY = std::max(maxY, p.y);
  }
  const int j0 = std::max(0, static_cast<int>(std::floor(minY)));
  const int j1 = std::min(height_, static_cast<int>(std::ceil(maxY)));
  std::vector<float> coverage(width_ + 1, 0.0f);
  std::vector<Crossing> crossings;
  const float share = 1.0f / kPolygonSubRows;
  for (int j = j0; j < j1; ++j) {
    std::fill(coverage.begin(), coverage.end(), 0.0f);
    int spanMin = width_, spanMax = -1;
    for (int s = 0; s < kPolygonSubRows; ++s) {
      const float y = j + (s + 0.5f) * share;
      crossings.clear();
      for (size_t k = 0; k < points.size(); ++k) {
        const Point& a = points[k];
        const Point& b = points[(k + 1) % points.size()];
        if ((a.y <= y) == (b.y <= y)) continue;
        const float t = (y - a.y) / (b.y - a.y);
        crossings.push_back({a.x + t * (b.x - a.x), b.y > a.y ? 1 : -1});
      }
      std::sort(crossings.begin(), crossings.end(),
                [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
      int winding = 0;
      for (size_t k = 0; k + 1 < crossings.size(); ++k) {
        winding += crossings[k].winding;
        if (winding == 0) continue;
        const float xa = std::max(0.0f, crossings[k].x);
        const float xb = std::min(static_cast<float>(width_), crossings[k + 1].x);
        if (xb <= xa) continue;
        const int ia = static_cast<int>(xa), ib = static_cast<int>(xb);
        spanMin = std::min(spanMin, ia);
        spanMax = std::max(spanMax, ib);
        if (ia == ib) {
          coverage[ia] += (xb - xa) * share;
          continue;
        }
        coverage[ia] += (ia + 1 - xa) * share;
        for (int i = ia + 1; i < ib; ++i) coverage[i] += share;
        coverage[ib] += (xb - ib) * share;
      }
    }
    for (int i = std::max(0, spanMin); i <= std::min(width_ - 1, spanMax); ++i)
      if (coverage[i] > 0) blend(i, j, shader(i + 0.5f, j + 0.5f), std::min(1.0f, coverage[i]), mode);
  }
}

void Canvas::fillPolygon(const std::vector<Point>& points, const Rgba& c) {
  shadePolygon(points, [&c](float, float) { return c; });
}

void Canvas::shadeShape(float x0, float y0, float x1, float y1, const DistanceField& field,
                        const Shader& shader, Blend mode) {
  const int i0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
  const int i1 = std::min(width_, static_cast<int>(std::ceil(x1)) + 1);
  const int j0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  const int j1 = std::min(height_, static_cast<int>(std::ceil(y1)) + 1);
  for (int j = j0; j < j1; ++j)
    for (int i = i0; i < i1; ++i) {
      const float cover = clamp01(0.5f - field(i + 0.5f, j + 0.5f));
      if (cover > 0) blend(i, j, shader(i + 0.5f, j + 0.5f), cover, mode);
    }
}

void Canvas::fillCircle(float cx, float cy, float radius, const Rgba& c, Blend mode) {
  shadeShape(
      cx - radius, cy - radius, cx + radius, cy + radius,
      [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; },
      [&c](float, float) { return c; }, mode);
}

float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) * 0.5f, cy = (y0 + y1) * 0.5f;
  const float hx = (x1 - x0) * 0.5f - radius, hy = (y1 - y0) * 0.5f - radius;
  const float dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
  const float outside = std::hypot(std::max(dx, 0.0f), std::max(dy, 0.0f));
  return outside + std::min(std::max(dx, dy), 0.0f) - radius;
}

void Canvas::fillRoundedRect(float x0, float y0, float x1, float y1, float radius,
                             const Shader& shader) {
  shadeShape(
      x0, y0, x1, y1,
      [=](float x, float y) { return roundedRectDistance(x, y, x0, y0, x1, y1, radius); }, shader);
}

void Canvas::strokeLine(Point a, Point b, float width, const Rgba& c, Blend mode) {
  const float half = width * 0.5f;
  const float dx = b.x - a.x, dy = b.y - a.y;
  const float lengthSquared = std::max(1e-6f, dx * dx + dy * dy);
  shadeShape(
      std::min(a.x, b.x) - half, std::min(a.y, b.y) - half, std::max(a.x, b.x) + half,
      std::max(a.y, b.y) + half,
      [=](float x, float y) {
        const float t = clamp01(((x - a.x) * dx + (y - a.y) * dy) / lengthSquared);
        return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy)) - half;
      },
      [&c](float, float) { return c; }, mode);
}

void Canvas::strokePolyline(const std::vector<Point>& points, float width, const Rgba& c,
                            bool closed) {
  if (points.size() < 2) return;
  // Joints would be covered twice with translucent colours: draw opaque strokes only, or accept it.
  for (size_t k = 0; k + 1 < points.size(); ++k) strokeLine(points[k], points[k + 1], width, c);
  if (closed) strokeLine(points.back(), points.front(), width, c);
}

void Canvas::drawMask(const AlphaMask& mask, int x, int y, const Shader& shader, Blend mode) {
  for (int j = 0; j < mask.height(); ++j)
    for (int i = 0; i < mask.width(); ++i) {
      const float cover = mask.at(i, j);
      if (cover > 0) blend(x + i, y + j, shader(x + i + 0.5f, y + j + 0.5f), cover, mode);
    }
}

void Canvas::drawCanvas(const Canvas& source, int x, int y) {
  for (int j = 0; j < source.height(); ++j)
    for (int i = 0; i < source.width(); ++i) {
      const Rgba c = source.pixel(i, j);
      if (c.a > 0) blend(x + i, y + j, Rgba{c.r, c.g, c.b, 1}, c.a);
    }
}

Canvas Canvas::shrunk(int factor) const {
  factor = std::max(1, factor);
  Canvas out(width_ / factor, height_ / factor);
  const float weight = 1.0f / static_cast<float>(factor * factor);
  for (int y = 0; y < out.height_; ++y)
    for (int x = 0; x < out.width_; ++x) {
      float* sum = &out.premultiplied_[(static_cast<size_t>(y) * out.width_ + x) * 4];
      for (int j = 0; j < factor; ++j)
        for (int i = 0; i < factor; ++i) {
          const float* p = &premultiplied_[(static_cast<size_t>(y * factor + j) * width_ + x * factor + i) * 4];
          for (int k = 0; k < 4; ++k) sum[k] += p[k] * weight;
        }
    }
  return out;
}

std::vector<std::uint8_t> Canvas::toBytes(bool withAlpha) const {
  const int channels = withAlpha ? 4 : 3;
  std::vector<std::uint8_t> bytes(static_cast<size_t>(width_) * height_ * channels);
  auto to8 = [](float v) { return static_cast<std::uint8_t>(std::lround(clamp01(v) * 255.0f)); };
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) {
      const Rgba c = pixel(x, y);
      std::uint8_t* out = &bytes[(static_cast<size_t>(y) * width_ + x) * channels];
      // Without alpha the picture is laid over black, as an opaque screen is.
      const float k = withAlpha ? 1.0f : c.a;
      out[0] = to8(c.r * k);
      out[1] = to8(c.g * k);
      out[2] = to8(c.b * k);
      if (withAlpha) out[3] = to8(c.a);
    }
  return bytes;
}

}  // namespace art
