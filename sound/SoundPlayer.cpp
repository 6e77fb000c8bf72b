#include "sound/SoundPlayer.h"

SoundPlayer* SoundPlayer::instance() {
  // Never freed: the audio thread may still be mixing its streams while the process exits.
  static SoundPlayer* const player = new SoundPlayer();
  return player;
}

void SoundPlayer::initialiseAudio() { AudioOutput::open(); }

void SoundPlayer::playMusic(const std::string& path) {
  replace(AudioOutput::Slot::Music, music_, path);
}

void SoundPlayer::playEffect(const std::string& path) {
  replace(AudioOutput::Slot::Effect, effect_, path);
}

void SoundPlayer::replace(AudioOutput::Slot slot, AudioOutput::Stream*& current,
                          const std::string& path) {
  // The old stream goes even when the new one fails, so a failed start leaves the slot silent.
  AudioOutput::stopAndFree(current);
  current = AudioOutput::createLoopingStream(slot, path);
  AudioOutput::play(current);
}
