#pragma once
// The game's only door to the sound device, over SDL2_mixer: opens the output once and makes,
// plays and frees looping streams. Every failure is silent and leaves nothing playing.
#include <cstdint>
#include <string>

namespace AudioOutput {

// Where a stream sounds: the mixer's one music stream, or the channel kept for the effect.
enum class Slot { Music, Effect };

// A decoded or streaming sound file, owned by whoever created it until freeStream().
struct Stream;

// Opens the output at 44100 Hz, 16-bit stereo. Only the first call tries; true while it is open.
bool open();
// Loads the MP3 file at path, whole, as a stream for slot that loops forever; null on any
// failure: no open output, an empty path, a missing file, or one that is not one whole MP3
// stream (cut short, empty, or some other kind of data).
Stream* createLoopingStream(Slot slot, const std::string& path);
// Starts the stream from its beginning in its slot, replacing whatever that slot was playing.
void play(Stream* stream);
// Stops the stream if it is sounding and frees it; null is ignored.
void stopAndFree(Stream* stream);

// Streams made and freed since start-up, for leak checks.
struct StreamCounts {
  std::int64_t created = 0;
  std::int64_t freed = 0;
  std::int64_t live() const { return created - freed; }
};
StreamCounts streamCounts();

}  // namespace AudioOutput
