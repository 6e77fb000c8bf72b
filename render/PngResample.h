#pragma once
// Brings a decoded picture to the power-of-two size an OpenGL 1.1 texture needs, without GL, so
// the sizing and resampling run and are tested on their own.
#include "render/PngImage.h"

// Smallest power of two not below n; 1 for n <= 1.
int nextPowerOfTwo(int n);

// The texture side for an image side, both in pixels: the next power of two, but no more than the
// largest power of two not above maxSide (the GL_MAX_TEXTURE_SIZE).
int textureSide(int imageSide, int maxSide);

// True when the image has a size, 3 or 4 channels and exactly width * height * channels bytes.
bool isWellFormed(const PngImage& image);

// The image resized to textureSide() of each side by bilinear interpolation between pixel centres
// (edge pixels keep their colours, so sprite outlines stay where they were). Shrinking, needed only
// beyond the GL limit, samples the same way without averaging. An image already that size comes
// back as a copy; a malformed one comes back empty.
PngImage resampleToPowerOfTwo(const PngImage& image, int maxSide);
// The same into `resized`, reusing its buffer.
void resampleToPowerOfTwoInto(const PngImage& image, int maxSide, PngImage& resized);
