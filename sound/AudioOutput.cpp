#include "sound/AudioOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "io/FileBytes.h"
#include "sound/Mp3Check.h"

namespace AudioOutput {
namespace {

constexpr int kFrequencyHz = 44100;
constexpr int kChannels = 2;             // stereo
constexpr int kChunkSamples = 1024;      // samples per mixing buffer, per channel
constexpr int kEffectChannel = 0;        // kept out of SDL_mixer's automatic channel choice
constexpr int kLoopForever = -1;

enum class DeviceState { NotTried, Open, Unavailable };
DeviceState deviceState = DeviceState::NotTried;
StreamCounts counts;

// Keeps the decoder's own warnings about a file off the terminal while SDL_mixer reads it: the
// decoder writes them straight to stderr, and a sound that fails must fail silently.
class StderrMuted {
 public:
  StderrMuted() {
    std::fflush(stderr);
    saved_ = ::dup(STDERR_FILENO);
    if (saved_ < 0) return;  // without a way back, stderr is left alone
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
      ::dup2(null, STDERR_FILENO);
      ::close(null);
    }
  }
  ~StderrMuted() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
  StderrMuted(const StderrMuted&) = delete;
  StderrMuted& operator=(const StderrMuted&) = delete;

 private:
  int saved_ = -1;
};

// SDL looks for a session bus as it starts, though its audio never uses one. With none running
// (a bare X session, Xvfb) libdbus forks the whole game to exec dbus-launch, which leaves a bus
// daemon running after the game has ended. While SDL starts, an unset bus address is set to one
// that fails at once, and unset again afterwards; a session that has a bus keeps its own address.
class SessionBusSearchOff {
 public:
  SessionBusSearchOff()
      : set_(std::getenv(kVariable) == nullptr && ::setenv(kVariable, "disabled:", 0) == 0) {}
  ~SessionBusSearchOff() {
    if (set_) ::unsetenv(kVariable);
  }
  SessionBusSearchOff(const SessionBusSearchOff&) = delete;
  SessionBusSearchOff& operator=(const SessionBusSearchOff&) = delete;

 private:
  static constexpr const char* kVariable = "DBUS_SESSION_BUS_ADDRESS";
  bool set_;
};

// SDL's log lines (such as the disk driver's notice) would reach stderr; the game prints nothing
// about sound.
void discardSdlLog(void*, int, SDL_LogPriority, const char*) {}

// True when the file at path holds one whole MP3 stream; false when it cannot be read.
bool isWholeMp3File(const std::string& path) {
  std::vector<unsigned char> bytes;
  return readWholeFile(path.c_str(), bytes) && isWholeMp3(bytes.data(), bytes.size());
}

}  // namespace

struct Stream {
  Slot slot;
  Mix_Music* music = nullptr;  // the music slot streams its file while it plays
  Mix_Chunk* chunk = nullptr;  // the effect slot holds its file decoded whole
};

bool open() {
  if (deviceState != DeviceState::NotTried) return deviceState == DeviceState::Open;
  deviceState = DeviceState::Unavailable;
  SDL_LogSetOutputFunction(discardSdlLog, nullptr);
  // SDL would turn SIGINT and SIGTERM into quit events that this game never reads, so a logout or
  // a kill would leave it running: keep the default actions, which end the process.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  const StderrMuted muted;  // sound libraries complain on stderr when there is no device
  {
    const SessionBusSearchOff noBusSearch;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  }
  if (Mix_OpenAudio(kFrequencyHz, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // The effect channel must never be taken by another sound picking a free channel.
  Mix_ReserveChannels(kEffectChannel + 1);
  deviceState = DeviceState::Open;
  return true;
}

Stream* createLoopingStream(Slot slot, const std::string& path) {
  if (deviceState != DeviceState::Open || path.empty() || !isWholeMp3File(path)) return nullptr;
  Stream stream{slot};
  const StderrMuted muted;
  if (slot == Slot::Music) {
    stream.music = Mix_LoadMUS(path.c_str());
    if (stream.music == nullptr) return nullptr;
  } else {
    stream.chunk = Mix_LoadWAV_RW(SDL_RWFromFile(path.c_str(), "rb"), 1);
    if (stream.chunk == nullptr) return nullptr;
  }
  ++counts.created;
  return new Stream(stream);
}

void play(Stream* stream) {
  if (stream == nullptr || deviceState != DeviceState::Open) return;
  if (stream->slot == Slot::Music) {
    Mix_PlayMusic(stream->music, kLoopForever);
  } else {
    Mix_PlayChannelTimed(kEffectChannel, stream->chunk, kLoopForever, -1);
  }
}

void stopAndFree(Stream* stream) {
  if (stream == nullptr) return;
  // The sound leaves the mixer under its lock before its memory goes, so the audio thread is
  // never reading what is freed. Freeing music halts it first if it is the one playing.
  if (stream->slot == Slot::Music) {
    Mix_FreeMusic(stream->music);
  } else {
    if (Mix_GetChunk(kEffectChannel) == stream->chunk) Mix_HaltChannel(kEffectChannel);
    Mix_FreeChunk(stream->chunk);
  }
  ++counts.freed;
  delete stream;
}

StreamCounts streamCounts() { return counts; }

}  // namespace AudioOutput
