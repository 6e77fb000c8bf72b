#pragma once
// A floating-point RGBA picture with antialiased drawing: rectangles with fractional edges,
// polygons, shapes given by a signed distance, and alpha masks. Pixel (i, j) covers the square
// [i, i+1) x [j, j+1) with y growing downwards; colours come from a shader per pixel centre.
#include <cstdint>
#include <functional>
#include <vector>

#include "backdrop/AlphaMask.h"
#include "backdrop/Colour.h"

namespace art {

struct Point {
  float x, y;  // pixels
};

// Colour of the picture at a pixel centre (x, y), in pixels.
using Shader = std::function<Rgba(float x, float y)>;
// Signed distance in pixels from a pixel centre to a shape's outline: negative inside.
using DistanceField = std::function<float(float x, float y)>;

enum class Blend { Over, Add };

class Canvas {
 public:
  // A width x height picture, every pixel `fill`.
  Canvas(int width, int height, Rgba fill = Rgba{0, 0, 0, 0});

  int width() const { return width_; }    // pixels
  int height() const { return height_; }  // pixels

  // The straight colour at a pixel; transparent black outside the picture.
  Rgba pixel(int x, int y) const;
  // Lays c over the pixel with the given coverage (0..1); Add brightens like light instead.
  void blend(int x, int y, const Rgba& c, float coverage, Blend mode = Blend::Over);

  // Fills the rectangle [x0, x1) x [y0, y1), antialiasing fractional edges.
  void shadeRect(float x0, float y0, float x1, float y1, const Shader& shader,
                 Blend mode = Blend::Over);
  void fillRect(float x0, float y0, float x1, float y1, const Rgba& c);
  // Fills a polygon (non-zero winding), antialiased.
  void shadePolygon(const std::vector<Point>& points, const Shader& shader,
                    Blend mode = Blend::Over);
  void fillPolygon(const std::vector<Point>& points, const Rgba& c);
  // Fills the shape whose distance field is given, looking only inside the bounding box.
  void shadeShape(float x0, float y0, float x1, float y1, const DistanceField& field,
                  const Shader& shader, Blend mode = Blend::Over);
  void fillCircle(float cx, float cy, float radius, const Rgba& c, Blend mode = Blend::Over);
  void fillRoundedRect(float x0, float y0, float x1, float y1, float radius, const Shader& shader);
  // A straight stroke with round caps, `width` pixels wide.
  void strokeLine(Point a, Point b, float width, const Rgba& c, Blend mode = Blend::Over);
  void strokePolyline(const std::vector<Point>& points, float width, const Rgba& c, bool closed);
  // Lays the mask's coverage at (x, y) (its top-left corner), coloured by the shader.
  void drawMask(const AlphaMask& mask, int x, int y, const Shader& shader,
                Blend mode = Blend::Over);
  // Lays another picture over this one with its top-left corner at (x, y).
  void drawCanvas(const Canvas& source, int x, int y);

  // The picture `factor` times smaller each way, each pixel the mean of the square it covers
  // (the edges drop pixels that do not fill a whole square).
  Canvas shrunk(int factor) const;

  // 8-bit rows, RGBA when withAlpha is set, RGB otherwise.
  std::vector<std::uint8_t> toBytes(bool withAlpha) const;

 private:
  int width_, height_;
  std::vector<float> premultiplied_;  // RGBA per pixel, colour premultiplied by alpha
};

// Signed distance to a rectangle with rounded corners of the given radius.
float roundedRectDistance(float x, float y, float x0, float y0, float x1, float y1, float radius);

}  // namespace art
