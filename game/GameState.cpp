#include "game/GameState.h"

// Zero (Title) until the one-time initialisation sets it explicitly.
std::int32_t GameState = Title;
