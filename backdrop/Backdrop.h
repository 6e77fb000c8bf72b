#pragma once
// Level backdrops: the calm night-sky background and, drawn from a level file through the game's
// own loader, every wall, hazard, exit and fire over exactly the world area it covers.
#include <string>

#include "backdrop/Canvas.h"
#include "level/Grid.h"

class LevelObjectList;

namespace art {

// The background every screen shares: a dark blue gradient with a faint cell grid.
Canvas paintSky();
// The backdrop of a loaded level, 1024 x 768.
Canvas paintBackdrop(const LevelObjectList& level);
// Loads the level file with the game's loader and paints its backdrop.
Canvas renderBackdropFile(const std::string& levelPath);
// Builds the level from rows already read and paints its backdrop.
Canvas renderBackdrop(const LevelRows& rows);

}  // namespace art
