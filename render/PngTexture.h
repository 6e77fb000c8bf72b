#pragma once
// Loads a PNG file into an OpenGL 1.1 texture. The sizing and resampling steps are plain functions
// on PngImage so they run and are tested without GL.
#include "render/PngImage.h"

// Decodes the file into a new GL_TEXTURE_2D name and leaves that texture bound: clamped at the
// edges, linear filtering, sides raised to powers of two (see resampleToPowerOfTwo), one level
// (linear minification never samples any other). The image's top row is the texture's t = 0 row. Returns 0 and leaves no texture
// bound when the file cannot be decoded.
unsigned int loadPngTexture(const char* path);

// Replaces the picture of an existing texture by the file's, keeping the name and its parameters
// (the GL driver can then keep the texture's storage instead of allocating it again). Returns
// false, leaving the texture as it was, when the name is not a texture or the file cannot be
// decoded.
bool reloadPngTexture(unsigned int name, const char* path);

// Smallest power of two not below n; 1 for n <= 1.
int nextPowerOfTwo(int n);

// The texture side for an image side, both in pixels: the next power of two, but no more than the
// largest power of two not above maxSide (the GL_MAX_TEXTURE_SIZE).
int textureSide(int imageSide, int maxSide);

// The image resized to textureSide() of each side by bilinear interpolation between pixel centres
// (edge pixels keep their colours, so sprite outlines stay where they were). Shrinking, needed only
// beyond the GL limit, samples the same way without averaging. An image already that size comes
// back as a copy; a malformed one (pixels not width * height * channels) comes back empty.
PngImage resampleToPowerOfTwo(const PngImage& image, int maxSide);
// The same into `resized`, reusing its buffer.
void resampleToPowerOfTwoInto(const PngImage& image, int maxSide, PngImage& resized);
