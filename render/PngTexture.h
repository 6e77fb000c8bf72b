#pragma once
// Loads a PNG file into an OpenGL 1.1 texture.

// Decodes the file into a new GL_TEXTURE_2D name and leaves that texture bound: clamped at the
// edges, linear filtering, sides raised to powers of two (see render/PngResample.h), one level
// (linear minification never samples any other). The image's top row is the texture's t = 0 row.
// Returns 0 and leaves no texture bound when the file cannot be decoded.
unsigned int loadPngTexture(const char* path);

// Replaces the picture of an existing texture by the file's, keeping the name and its parameters
// (the GL driver can then keep the texture's storage instead of allocating it again). Returns
// false, leaving the texture as it was, when the name is not a texture or the file cannot be
// decoded.
bool reloadPngTexture(unsigned int name, const char* path);
