// What the page asks the running game: whether the music is playing, for its sound indicator and
// its tests, and the game's state (title, playing, lost, won...), for the tests of level links.
#include <SDL_mixer.h>
#include <emscripten/emscripten.h>

#include "game/GameState.h"

extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithMusicPlaying() { return Mix_PlayingMusic(); }
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithGameState() { return GameState; }
