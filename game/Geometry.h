#pragma once
// Distances between two points, in double precision, for the level objects' tests.
#include <cmath>

inline double distanceSquared(double x1, double y1, double x2, double y2) {
  const double dx = x1 - x2;
  const double dy = y1 - y2;
  return dx * dx + dy * dy;
}

inline double distance(double x1, double y1, double x2, double y2) {
  return std::sqrt(distanceSquared(x1, y1, x2, y2));
}
