#pragma once
// The game's two sounds: the background music and the level's looping effect. Each sounds in its
// own slot, both at once; starting a sound replaces what its slot was playing.
#include <string>

#include "sound/AudioOutput.h"

class SoundPlayer {
 public:
  // The one player, made on first use and kept for the whole run.
  static SoundPlayer* instance();

  // Opens the audio output; called once at start-up. Without a device every later call is silent.
  void initialiseAudio();
  // Stops the music and starts the file at path looping from its beginning; an empty path, a
  // missing or damaged file leaves the music silent.
  void playMusic(const std::string& path);
  // The same for the effect slot; playEffect("") stops the effect.
  void playEffect(const std::string& path);

 private:
  SoundPlayer() = default;
  void replace(AudioOutput::Slot slot, AudioOutput::Stream*& current, const std::string& path);

  AudioOutput::Stream* music_ = nullptr;
  AudioOutput::Stream* effect_ = nullptr;
};
