#pragma once
// A sprite quad: a display list that binds a picture's texture and draws a unit square centred on
// the origin, facing +z. Callers place it with translate, rotate and scale and set the drawing state
// (texturing, blending, colour) around it.
#include <cstdint>
#include <string>

// Builds the quad into listSlot from the PNG at path, unless listSlot already holds a list (>= 0).
// A negative textureSlot is first filled with the loaded texture (0 if the image fails to load); a
// textureSlot that already holds a name is used as it is, so two quads can share one texture.
// Needs a current GL context and must not be called while another list is being compiled.
void buildSpriteQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const char* path);
void buildSpriteQuad(std::int32_t& listSlot, std::int32_t& textureSlot, const std::string& path);

// Draws the unit square itself, with texture coordinates t = 0 on the top edge (y = +0.5).
void drawUnitSquare();
