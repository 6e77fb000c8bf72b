// What the page asks the running game: whether the music is playing, for its sound indicator and
// its tests; the game's state (title, playing, lost, won...), for its gamepad's button and the
// tests of level links; and which way the glider is steered, for the tests of its controls.
#include <SDL_mixer.h>
#include <emscripten/emscripten.h>

#include "game/GameState.h"
#include "game/SteeringControl.h"

extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithMusicPlaying() { return Mix_PlayingMusic(); }
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithGameState() { return GameState; }
// 1 while steering left, 2 while steering right, 0 while coasting.
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithSteering() {
  return (steeringControl.steerLeft ? 1 : 0) | (steeringControl.steerRight ? 2 : 0);
}
