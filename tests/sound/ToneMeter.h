#pragma once
// Measures how loud one frequency is in a stretch of sound, with the Goertzel recurrence: a
// single-bin Fourier transform, so a test can ask "is 1000 Hz in here?" without a full spectrum.
#include <cstddef>

// Amplitude (full scale 1) of the sine at hz in samples[0..count), sampled at rateHz. Exact for
// a steady sine when the window holds a whole number of its cycles.
double toneAmplitude(const float* samples, std::size_t count, double hz, int rateHz);
// Root mean square of samples[0..count), full scale 1.
double rootMeanSquare(const float* samples, std::size_t count);
