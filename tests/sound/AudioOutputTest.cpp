// The audio layer's file check against the kinds of MP3 an encoder writes: each must be taken
// and heard, whatever its rate, bit rate mode or tags.
#include <pthread.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "sound/AudioOutput.h"
#include "tests/sound/SoundCase.h"

class AudioOutputTakes : public SoundCase {};

TEST_F(AudioOutputTakes, EveryCommonKindOfMp3AndPlaysIt) {
  struct Kind {
    const char* name;
    const char* lameArguments;
  };
  const std::vector<Kind> kinds = {
      {"constant-128k.mp3", "-b 128"},
      {"constant-48khz.mp3", "-b 128 --resample 48"},
      {"variable.mp3", "-V 4"},
      {"mpeg2-22khz.mp3", "--resample 22.05"},
      {"mpeg25-11khz.mp3", "--resample 11.025 -b 32"},
      {"without-info-frame.mp3", "-t"},
      {"tagged.mp3", "--add-id3v2 --tt Tone --ta Tester --tc comment"},
      {"id3v1-only.mp3", "--id3v1-only --tt Tone"},
      {"stereo.mp3", "-m s"},
  };
  openDiskOutput();
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    const std::string path = tones_->mp3(kind.name, {{kEffectHz, 1.0}}, kind.lameArguments);
    ASSERT_FALSE(path.empty()) << "lame could not make it";
    AudioOutput::Stream* music = AudioOutput::createLoopingStream(AudioOutput::Slot::Music, path);
    AudioOutput::Stream* effect = AudioOutput::createLoopingStream(AudioOutput::Slot::Effect, path);
    EXPECT_NE(music, nullptr);
    ASSERT_NE(effect, nullptr);
    AudioOutput::stopAndFree(music);
    AudioOutput::play(effect);
    EXPECT_TRUE(tonesIn(after(now(), 0.6), {kEffectHz}, {}));
    AudioOutput::stopAndFree(effect);
    EXPECT_TRUE(silentIn(after(now(), 0.4)));
  }
  EXPECT_EQ(AudioOutput::streamCounts().live(), 0);
}

// SDL's start looks for a session bus; with a display and none running, libdbus forks to launch
// one. Opening the output must not: the fork copies the whole game and costs start-up time, and
// the launched bus would outlive the game. The bus address the game sets for that moment must not
// stay behind, and one the session has must be left as it is.
std::atomic<int> forks{0};

TEST_F(AudioOutputTakes, OpeningStartsNoBusLauncherAndLeavesNoAddressBehind) {
  ASSERT_EQ(pthread_atfork(nullptr, [] { ++forks; }, nullptr), 0);
  routeOutputToDisk();
  ::setenv("DISPLAY", ":0", 1);
  ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
  const int forksBefore = forks.load();
  ASSERT_TRUE(AudioOutput::open());
  EXPECT_EQ(forks.load(), forksBefore);
  EXPECT_EQ(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr);
  expectDiskOutputOpen();
}

TEST_F(AudioOutputTakes, OpeningKeepsTheSessionsBusAddress) {
  routeOutputToDisk();
  const std::string address = "unix:path=/nonexistent/zarvolith-test-bus";
  ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  ASSERT_TRUE(AudioOutput::open());
  const char* after = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after, address);
  expectDiskOutputOpen();
}
