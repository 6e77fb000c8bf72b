#include "sound/AudioOutput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

#include "sound/MixerLibrary.h"

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

// Filled once by prepare(), on whichever thread calls it first; open() waits for that call.
MixerLibrary mixer;
bool libraryReady = false;
std::once_flag prepared;

// Sizes inside an MPEG audio file, bytes.
constexpr std::size_t kFrameHeaderBytes = 4;
constexpr std::size_t kId3v2HeaderBytes = 10;
constexpr std::size_t kId3v2FooterBytes = 10;
constexpr std::size_t kId3v1TagBytes = 128;

// What the checks need from one MPEG layer III frame header.
struct FrameHeader {
  int versionBits = 0;       // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int sampleRate = 0;        // Hz
  bool mono = false;
  std::size_t length = 0;    // bytes, header included
};

// Reads a layer III frame header; false for anything else, including free-format frames, whose
// length cannot be known from the header.
bool readFrameHeader(const unsigned char* p, FrameHeader& header) {
  static const int kKbps[2][15] = {
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},  // MPEG-1
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};     // MPEG-2 and 2.5
  static const int kMpeg1RatesHz[3] = {44100, 48000, 32000};
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  const int versionBits = (p[1] >> 3) & 3;
  const int layerBits = (p[1] >> 1) & 3;
  const int kbpsIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  if (versionBits == 1 || layerBits != 1) return false;
  if (kbpsIndex == 0 || kbpsIndex == 15 || rateIndex == 3) return false;
  const bool mpeg1 = versionBits == 3;
  header.versionBits = versionBits;
  header.sampleRate = kMpeg1RatesHz[rateIndex] / (mpeg1 ? 1 : versionBits == 2 ? 2 : 4);
  header.mono = (p[3] >> 6) == 3;
  const int bytesPerKbps = mpeg1 ? 144000 : 72000;  // per frame, times the sample rate
  header.length = static_cast<std::size_t>(bytesPerKbps * kKbps[mpeg1 ? 0 : 1][kbpsIndex] /
                                           header.sampleRate + ((p[2] >> 1) & 1));
  return true;
}

// The frame count an encoder wrote into a leading Xing/Info frame, or -1 when there is none.
long taggedFrameCount(const unsigned char* frame, const FrameHeader& header) {
  const std::size_t sideInfoBytes =
      header.versionBits == 3 ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
  const unsigned char* tag = frame + kFrameHeaderBytes + sideInfoBytes;
  if (kFrameHeaderBytes + sideInfoBytes + 12 > header.length) return -1;
  if (std::memcmp(tag, "Xing", 4) != 0 && std::memcmp(tag, "Info", 4) != 0) return -1;
  if ((tag[7] & 1) == 0) return -1;  // the frame count is optional
  return (long(tag[8]) << 24) | (long(tag[9]) << 16) | (long(tag[10]) << 8) | long(tag[11]);
}

// Bytes an ID3v2 tag takes at the start of the file, or 0 when there is none.
std::size_t id3v2Bytes(const std::vector<unsigned char>& data) {
  if (data.size() < kId3v2HeaderBytes || std::memcmp(data.data(), "ID3", 3) != 0) return 0;
  const std::size_t body = (std::size_t(data[6] & 0x7F) << 21) |
                           (std::size_t(data[7] & 0x7F) << 14) |
                           (std::size_t(data[8] & 0x7F) << 7) | std::size_t(data[9] & 0x7F);
  const bool footer = (data[5] & 0x10) != 0;
  return kId3v2HeaderBytes + body + (footer ? kId3v2FooterBytes : 0);
}

// The bytes of the file at path; empty when it cannot be read (a directory reads as empty too).
std::vector<unsigned char> readWholeFile(const std::string& path) {
  std::vector<unsigned char> data;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return data;
  unsigned char block[1 << 14];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    data.insert(data.end(), block, block + got);
  }
  if (std::ferror(file) != 0) data.clear();
  std::fclose(file);
  return data;
}

// True if the file is one whole MP3 stream: frames of one kind from after any ID3v2 tag to the
// end of the file or an ID3v1 tag, with at least one audio frame and, when the encoder recorded
// its frame count, exactly that many. The decoder would play a cut-off file up to the cut, or
// make noise from random bytes that happen to look like frames; such files are refused here.
bool isWholeMp3(const std::string& path) {
  const std::vector<unsigned char> data = readWholeFile(path);
  std::size_t pos = id3v2Bytes(data);
  FrameHeader first;
  if (pos + kFrameHeaderBytes > data.size() || !readFrameHeader(&data[pos], first)) return false;
  long expectedAudioFrames = -1;
  long frames = 0;
  while (pos < data.size()) {
    const std::size_t left = data.size() - pos;
    if (left == kId3v1TagBytes && std::memcmp(&data[pos], "TAG", 3) == 0) break;
    FrameHeader header;
    if (left < kFrameHeaderBytes || !readFrameHeader(&data[pos], header)) return false;
    if (header.versionBits != first.versionBits || header.sampleRate != first.sampleRate) {
      return false;
    }
    if (header.length > left) return false;
    if (frames == 0) expectedAudioFrames = taggedFrameCount(&data[pos], header);
    pos += header.length;
    ++frames;
  }
  const long audioFrames = expectedAudioFrames >= 0 ? frames - 1 : frames;
  return audioFrames > 0 && (expectedAudioFrames < 0 || audioFrames == expectedAudioFrames);
}

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
// (a bare X session, Xvfb) libdbus forks the whole game, GL driver and all, to exec dbus-launch:
// about 6 ms of start-up here, and where dbus-launch is installed it leaves a bus daemon running
// after the game has ended. While SDL starts, an unset bus address is set to one that fails at
// once, and unset again afterwards; a session that has a bus keeps its own address.
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

// Loads the libraries and gives SDL its settings. Nothing here starts a process or touches a
// device: start-up runs this on a worker thread while the main thread loads the GL driver, and a
// fork from that thread could leave the child waiting forever on a lock the main thread held at
// that moment. SDL itself is started by open(), on the main thread.
void prepareLibrary() {
  if (!loadMixerLibrary(kMixerLibraryName, mixer)) return;
  mixer.logSetOutputFunction(discardSdlLog, nullptr);
  // SDL would turn SIGINT and SIGTERM into quit events that this game never reads, so a logout or
  // a kill would leave it running: keep the default actions, which end the process.
  mixer.setHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  libraryReady = true;
}

}  // namespace

void prepare() { std::call_once(prepared, prepareLibrary); }

struct Stream {
  Slot slot;
  Mix_Music* music = nullptr;  // the music slot streams its file while it plays
  Mix_Chunk* chunk = nullptr;  // the effect slot holds its file decoded whole
};

bool open() {
  if (deviceState != DeviceState::NotTried) return deviceState == DeviceState::Open;
  deviceState = DeviceState::Unavailable;
  prepare();
  if (!libraryReady) return false;
  const StderrMuted muted;  // sound libraries complain on stderr when there is no device
  {
    const SessionBusSearchOff noBusSearch;
    if (mixer.initSubSystem(SDL_INIT_AUDIO) != 0) return false;
  }
  if (mixer.openAudio(kFrequencyHz, MIX_DEFAULT_FORMAT, kChannels, kChunkSamples) != 0) {
    mixer.quitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  // The effect channel must never be taken by another sound picking a free channel.
  mixer.reserveChannels(kEffectChannel + 1);
  deviceState = DeviceState::Open;
  return true;
}

Stream* createLoopingStream(Slot slot, const std::string& path) {
  if (deviceState != DeviceState::Open || path.empty() || !isWholeMp3(path)) return nullptr;
  Stream stream{slot};
  const StderrMuted muted;
  if (slot == Slot::Music) {
    stream.music = mixer.loadMusic(path.c_str());
    if (stream.music == nullptr) return nullptr;
  } else {
    stream.chunk = mixer.loadWavRw(mixer.rwFromFile(path.c_str(), "rb"), 1);
    if (stream.chunk == nullptr) return nullptr;
  }
  ++counts.created;
  return new Stream(stream);
}

void play(Stream* stream) {
  if (stream == nullptr || deviceState != DeviceState::Open) return;
  if (stream->slot == Slot::Music) {
    mixer.playMusic(stream->music, kLoopForever);
  } else {
    mixer.playChannelTimed(kEffectChannel, stream->chunk, kLoopForever, -1);
  }
}

void stopAndFree(Stream* stream) {
  if (stream == nullptr) return;
  // The sound leaves the mixer under its lock before its memory goes, so the audio thread is
  // never reading what is freed. Freeing music halts it first if it is the one playing.
  if (stream->slot == Slot::Music) {
    mixer.freeMusic(stream->music);
  } else {
    if (mixer.getChunk(kEffectChannel) == stream->chunk) mixer.haltChannel(kEffectChannel);
    mixer.freeChunk(stream->chunk);
  }
  ++counts.freed;
  delete stream;
}

StreamCounts streamCounts() { return counts; }

}  // namespace AudioOutput
