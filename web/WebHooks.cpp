// What the page asks the running game: whether the music is playing, for its sound indicator and
// its tests; the game's state (title, playing, lost, won...), for its gamepad's button, the level
// that waits for the player and the end of the game; the level number, for a daily pack's levels
// still being made; and which way the glider is steered, for the tests of its controls. And one
// thing it tells it: the wait for the player is over.
#include <SDL_mixer.h>
#include <emscripten/emscripten.h>

#include "app/FrameClock.h"
#include "app/Platform.h"
#include "game/GameState.h"
#include "game/LevelManager.h"
#include "game/SteeringControl.h"

extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithMusicPlaying() { return Mix_PlayingMusic(); }
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithGameState() { return GameState; }
// The level last asked for: the page holds a daily pack's level until the next one is made.
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithLevelNumber() { return levelManager.levelNumber; }
// 1 while steering left, 2 while steering right, 0 while coasting.
extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithSteering() {
  return (steeringControl.steerLeft ? 1 : 0) | (steeringControl.steerRight ? 2 : 0);
}

// The page held back the game's frames while a level waited for the player: the next frame's step
// is measured from now, not from the last frame drawn before the wait.
extern "C" EMSCRIPTEN_KEEPALIVE void zarvolithRestartClock() {
  FrameClock::instance()->previousMs = platform.elapsedMs();
}
