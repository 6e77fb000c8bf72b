// The sound player heard through SDL's disk driver: which tones the output holds after each
// call, with the music and effect slots playing, replacing, stopping and refusing files.
#include <string>
#include <tuple>

#include "sound/AudioOutput.h"
#include "sound/SoundPlayer.h"
#include "tests/sound/QuietCheck.h"
#include "tests/sound/SoundCase.h"

namespace {

SoundPlayer& player() { return *SoundPlayer::instance(); }

}  // namespace

class SoundPlayerPlays : public SoundCase {};

TEST_F(SoundPlayerPlays, MusicAloneLoopsPastTheEndOfItsFile) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  ASSERT_FALSE(music.empty());
  openDiskOutput();
  player().initialiseAudio();  // a second open changes nothing
  player().playMusic(music);
  const auto mark = now();
  // Five seconds of output from a two-second file: it has looped twice.
  EXPECT_TRUE(tonesIn(after(mark, 5.0), {kMusicHz}, {kEffectHz}));
}

TEST_F(SoundPlayerPlays, MusicAndEffectSoundTogether) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string effect = tones_->mp3("effect.mp3", {{kEffectHz, 1.0}});
  openDiskOutput();
  player().playMusic(music);
  player().playEffect(effect);
  EXPECT_TRUE(tonesIn(after(now(), 3.0), {kMusicHz, kEffectHz}, {}));
}

TEST_F(SoundPlayerPlays, NewEffectReplacesTheOldAndLeavesTheMusic) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string effect = tones_->mp3("effect.mp3", {{kEffectHz, 1.0}});
  const std::string replacement = tones_->mp3("replacement.mp3", {{kReplacementHz, 1.0}});
  openDiskOutput();
  player().playMusic(music);
  player().playEffect(effect);
  EXPECT_TRUE(tonesIn(after(now(), 1.0), {kMusicHz, kEffectHz}, {kReplacementHz}));
  player().playEffect(replacement);
  EXPECT_TRUE(tonesIn(after(now(), 2.0), {kMusicHz, kReplacementHz}, {kEffectHz}));
  EXPECT_EQ(AudioOutput::streamCounts().live(), 2);
}

TEST_F(SoundPlayerPlays, EmptyEffectPathStopsTheEffectAndLeavesTheMusic) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string effect = tones_->mp3("effect.mp3", {{kEffectHz, 1.0}});
  openDiskOutput();
  player().playMusic(music);
  player().playEffect(effect);
  EXPECT_TRUE(tonesIn(after(now(), 1.0), {kMusicHz, kEffectHz}, {}));
  player().playEffect("");
  EXPECT_TRUE(tonesIn(after(now(), 2.0), {kMusicHz}, {kEffectHz}));
  EXPECT_EQ(AudioOutput::streamCounts().live(), 1);
}

TEST_F(SoundPlayerPlays, NewMusicReplacesTheOldMusic) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string other = tones_->mp3("other.mp3", {{kOtherMusicHz, 2.0}});
  openDiskOutput();
  player().playMusic(music);
  EXPECT_TRUE(tonesIn(after(now(), 1.0), {kMusicHz}, {kOtherMusicHz}));
  player().playMusic(other);
  EXPECT_TRUE(tonesIn(after(now(), 3.0), {kOtherMusicHz}, {kMusicHz}));
}

// Restarting a fire level plays the same effect file again; it must start over, not carry on.
TEST_F(SoundPlayerPlays, PlayingTheSameEffectAgainStartsItFromTheBeginning) {
  const std::string effect =
      tones_->mp3("two-part.mp3", {{kEffectHz, 3.0}, {kLaterEffectHz, 3.0}});
  openDiskOutput();
  player().playEffect(effect);
  // 3.5 s to 5 s in, the file is in its second part.
  const Span laterPart = after(now(), 4.75);
  EXPECT_TRUE(tonesIn({laterPart.to - DiskOutput::kRateHz * 3 / 2, laterPart.to},
                      {kLaterEffectHz}, {kEffectHz}));
  player().playEffect(effect);
  // Within the file's first part again.
  EXPECT_TRUE(tonesIn(after(now(), 1.0), {kEffectHz}, {kLaterEffectHz}));
}

TEST_F(SoundPlayerPlays, HundredReplacementsLeaveOnlyTheLastEffect) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string effect = tones_->mp3("effect.mp3", {{kEffectHz, 1.0}});
  const std::string replacement = tones_->mp3("replacement.mp3", {{kReplacementHz, 1.0}});
  openDiskOutput();
  player().playMusic(music);
  for (int i = 0; i < 100; ++i) player().playEffect(i % 2 == 0 ? effect : replacement);
  const AudioOutput::StreamCounts counts = AudioOutput::streamCounts();
  EXPECT_EQ(counts.created, 101);
  EXPECT_EQ(counts.live(), 2);  // the music and the last effect
  EXPECT_TRUE(tonesIn(after(now(), 2.0), {kMusicHz, kReplacementHz}, {kEffectHz}));
}

// A file the player cannot use, and how to make it from a good tone file.
struct BadFile {
  const char* name;
  std::string (*make)(const ToneFiles& tones, const std::string& good);
};

const BadFile kBadFiles[] = {
    {"Missing", [](const ToneFiles& t, const std::string&) { return t.path("absent.mp3"); }},
    {"EmptyPath", [](const ToneFiles&, const std::string&) { return std::string(); }},
    {"ZeroLength", [](const ToneFiles& t, const std::string&) { return t.text("zero.mp3", ""); }},
    {"CutInHalf",
     [](const ToneFiles& t, const std::string& good) { return t.truncated("half.mp3", good, 4000); }},
    {"CutInFirstFrame",
     [](const ToneFiles& t, const std::string& good) { return t.truncated("head.mp3", good, 300); }},
    // At 48000 Hz and 128 kbit/s every frame is 384 bytes, so this cut falls between frames and
    // only the frame count in the leading Info frame shows that frames are missing.
    {"CutBetweenFrames",
     [](const ToneFiles& t, const std::string&) {
       const std::string whole = t.mp3("whole-48k.mp3", {{kEffectHz, 1.0}}, "-b 128 --resample 48");
       return t.truncated("between.mp3", whole, 384 * 20);
     }},
    {"RandomBytes",
     [](const ToneFiles& t, const std::string&) { return t.randomBytes("random.mp3", 20000); }},
    {"TextFile",
     [](const ToneFiles& t, const std::string&) { return t.text("notes.mp3", "not a sound\n"); }},
    {"Directory", [](const ToneFiles& t, const std::string&) { return t.path(""); }},
};

enum class Slot { Music, Effect };

class SoundPlayerRefuses : public SoundCase,
                           public ::testing::WithParamInterface<std::tuple<Slot, BadFile>> {
 protected:
  static void play(Slot slot, const std::string& path) {
    if (slot == Slot::Music) {
      player().playMusic(path);
    } else {
      player().playEffect(path);
    }
  }
};

// The bad file replaces a sounding one: the slot falls silent, nothing is printed, and no
// stream is left behind.
TEST_P(SoundPlayerRefuses, BadFileSilencesItsSlotQuietly) {
  const auto [slot, bad] = GetParam();
  const std::string good = tones_->mp3("good.mp3", {{kEffectHz, 1.0}});
  ASSERT_FALSE(good.empty());
  const std::string badPath = bad.make(*tones_, good);
  ASSERT_TRUE(!badPath.empty() || std::string(bad.name) == "EmptyPath") << "could not make it";
  openDiskOutput();
  play(slot, good);
  EXPECT_TRUE(tonesIn(after(now(), 1.0), {kEffectHz}, {}));

  QuietCheck quiet(dir_.file("printed.txt"));
  play(slot, badPath);
  const Span afterwards = after(now(), 1.5);
  const std::string printed = quiet.stop();

  EXPECT_EQ(printed, "");
  EXPECT_TRUE(silentIn(afterwards));
  EXPECT_EQ(AudioOutput::streamCounts().live(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachSlotAndFile, SoundPlayerRefuses,
    ::testing::Combine(::testing::Values(Slot::Music, Slot::Effect), ::testing::ValuesIn(kBadFiles)),
    [](const ::testing::TestParamInfo<SoundPlayerRefuses::ParamType>& info) {
      return std::string(std::get<0>(info.param) == Slot::Music ? "Music" : "Effect") +
             std::get<1>(info.param).name;
    });

class SoundPlayerWithoutDevice : public SoundCase {};

TEST_F(SoundPlayerWithoutDevice, EveryCallDoesNothingQuietly) {
  const std::string music = tones_->mp3("music.mp3", {{kMusicHz, 2.0}});
  const std::string effect = tones_->mp3("effect.mp3", {{kEffectHz, 1.0}});
  ASSERT_FALSE(effect.empty());
  DiskOutput::routeNowhere();

  QuietCheck quiet(dir_.file("printed.txt"));
  player().initialiseAudio();
  player().initialiseAudio();
  player().playMusic(music);
  player().playEffect(effect);
  player().playEffect(effect);
  player().playEffect("");
  player().playMusic(tones_->path("absent.mp3"));
  player().playMusic(music);
  const std::string printed = quiet.stop();

  EXPECT_EQ(printed, "");
  EXPECT_EQ(AudioOutput::streamCounts().created, 0);
  EXPECT_FALSE(AudioOutput::open());
}
