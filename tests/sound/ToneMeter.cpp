#include "tests/sound/ToneMeter.h"

#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
}

double toneAmplitude(const float* samples, std::size_t count, double hz, int rateHz) {
  if (count == 0) return 0;
  const double coefficient = 2 * std::cos(2 * kPi * hz / rateHz);
  double previous = 0, beforePrevious = 0;
  for (std::size_t i = 0; i < count; ++i) {
    const double current = samples[i] + coefficient * previous - beforePrevious;
    beforePrevious = previous;
    previous = current;
  }
  const double power =
      previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
  return 2 * std::sqrt(std::fmax(power, 0.0)) / double(count);
}

double rootMeanSquare(const float* samples, std::size_t count) {
  if (count == 0) return 0;
  double sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += double(samples[i]) * samples[i];
  return std::sqrt(sum / double(count));
}
