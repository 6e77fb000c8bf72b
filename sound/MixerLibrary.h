#pragma once
// SDL2_mixer, and the SDL2 beneath it, opened at run time instead of linked. Together they bring
// some sixty shared libraries (decoders, synthesisers, sound servers); linked, the dynamic loader
// maps them all before main() and the window opens several milliseconds later. Opened here, they
// can load on a background thread while the window is being created.
#include <SDL.h>
#include <SDL_mixer.h>

// The runtime name of SDL2_mixer 2.x.
constexpr const char* kMixerLibraryName = "libSDL2_mixer-2.0.so.0";

// Every function the audio layer calls, resolved from the library.
struct MixerLibrary {
  decltype(&SDL_InitSubSystem) initSubSystem = nullptr;
  decltype(&SDL_QuitSubSystem) quitSubSystem = nullptr;
  decltype(&SDL_SetHint) setHint = nullptr;
  decltype(&SDL_LogSetOutputFunction) logSetOutputFunction = nullptr;
  decltype(&SDL_RWFromFile) rwFromFile = nullptr;
  decltype(&Mix_OpenAudio) openAudio = nullptr;
  decltype(&Mix_ReserveChannels) reserveChannels = nullptr;
  decltype(&Mix_LoadMUS) loadMusic = nullptr;
  decltype(&Mix_LoadWAV_RW) loadWavRw = nullptr;
  decltype(&Mix_PlayMusic) playMusic = nullptr;
  decltype(&Mix_PlayChannelTimed) playChannelTimed = nullptr;
  decltype(&Mix_FreeMusic) freeMusic = nullptr;
  decltype(&Mix_GetChunk) getChunk = nullptr;
  decltype(&Mix_HaltChannel) haltChannel = nullptr;
  decltype(&Mix_FreeChunk) freeChunk = nullptr;
};

// Opens the library called `name` and fills `library` with its functions. False, with `library`
// left empty, when the library cannot be opened or lacks any of them; nothing is printed.
bool loadMixerLibrary(const char* name, MixerLibrary& library);
