#pragma once
// A drawn flame: red edges, orange body, yellow-white core, standing on a base point. The phase
// changes the shape of its tongues, so two phases make two animation frames.
#include "backdrop/Canvas.h"

namespace art {

// Draws a flame whose base centre is at (baseX, baseY) and which rises `height` pixels and is
// `width` pixels across at its widest.
void paintFlame(Canvas& canvas, float baseX, float baseY, float width, float height, float phase);

}  // namespace art
