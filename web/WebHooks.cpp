// What the page asks the running game: whether the music is playing, for its sound indicator and
// its tests.
#include <SDL_mixer.h>
#include <emscripten/emscripten.h>

extern "C" EMSCRIPTEN_KEEPALIVE int zarvolithMusicPlaying() { return Mix_PlayingMusic(); }
