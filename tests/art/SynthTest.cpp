// The sound synthesiser: the score format, seamless loops, and the staged WAV and MP3 files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/synth/FireSynth.h"
#include "tools/synth/MusicSynth.h"
#include "tools/synth/Score.h"
#include "tools/synth/WavFile.h"

namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

double rms(const std::vector<float>& samples) {
  double sum = 0;
  for (float s : samples) sum += static_cast<double>(s) * s;
  return samples.empty() ? 0 : std::sqrt(sum / samples.size());
}

// The step from the last sample back to the first, against the loop's own steps: a seam shows up
// as a jump far larger than almost any step inside the loop.
void expectSeamlessJoin(const std::vector<float>& loop) {
  ASSERT_GT(loop.size(), 1000u);
  std::vector<float> steps;
  for (size_t i = 0; i + 1 < loop.size(); ++i) steps.push_back(std::fabs(loop[i + 1] - loop[i]));
  std::sort(steps.begin(), steps.end());
  const float typical = steps[steps.size() * 999 / 1000];
  EXPECT_LE(std::fabs(loop.front() - loop.back()), typical)
      << "last " << loop.back() << ", first " << loop.front();
}

TEST(Score, ParsesNotesChordsRestsAndDrums) {
  synth::Score score;
  std::string error;
  ASSERT_TRUE(synth::parseScore("tempo 120 # comment\nbeats 4\nvoice lead bell 0.5\n"
                                "  C#5:1 A4+C5:2 r:1\ndrum kick 1 2 x.o.\n",
                                score, error))
      << error;
  EXPECT_EQ(score.tempo, 120);
  ASSERT_EQ(score.voices.size(), 2u);
  const synth::Voice& lead = score.voices[0];
  ASSERT_EQ(lead.notes.size(), 2u) << "a rest makes no note";
  EXPECT_NEAR(lead.notes[0].frequencies[0], 554.37, 0.01) << "the # of C#5 is a sharp, not a comment";
  EXPECT_EQ(lead.notes[1].startBeat, 1);
  EXPECT_EQ(lead.notes[1].frequencies.size(), 2u);
  const synth::Voice& kick = score.voices[1];
  ASSERT_EQ(kick.notes.size(), 4u) << "two hits per bar-long pattern, repeated over 4 beats";
  EXPECT_EQ(kick.notes[1].startBeat, 1);
  EXPECT_LT(kick.notes[1].velocity, kick.notes[0].velocity) << "o is a soft hit";
  EXPECT_EQ(synth::loopSampleCount(score), 2 * synth::kSampleRate);
}

TEST(Score, RejectsMistakesWithTheLineNumber) {
  synth::Score score;
  std::string error;
  EXPECT_FALSE(synth::parseScore("tempo 120\nbeats 4\nvoice a bell 1\nC5:1 D5:2\n", score, error));
  EXPECT_NE(error.find("lasts 3"), std::string::npos) << error;
  EXPECT_FALSE(synth::parseScore("tempo 120\nbeats 4\nvoice a bell 1\nC5:1 H5:3\n", score, error));
  EXPECT_NE(error.find("line 4"), std::string::npos) << error;
  EXPECT_FALSE(synth::parseScore("tempo 120\nbeats 4\nvoice a kazoo 1\n", score, error));
  EXPECT_FALSE(synth::parseScore("tempo 120\nbeats 4\nvoice a bell 1\nC5 D5:3\n", score, error));
  EXPECT_FALSE(synth::parseScore("tempo 9999\nbeats 4\n", score, error));
  EXPECT_FALSE(synth::parseScore("beats 4\n", score, error)) << "no tempo";
  EXPECT_FALSE(synth::parseScore("tempo 100\nbeats 4\ndrum kick 1 4 x-x-\n", score, error));
  EXPECT_EQ(synth::noteFrequency("A4"), 440.0);
  EXPECT_NEAR(synth::noteFrequency("A3"), 220.0, 1e-9);
  EXPECT_NEAR(synth::noteFrequency("Bb3"), synth::noteFrequency("A#3"), 1e-9);
  for (const char* bad : {"", "A", "X4", "A44", "A#", "a4"}) EXPECT_EQ(synth::noteFrequency(bad), 0) << bad;
}

TEST(MusicSynth, NoteTailsPastTheEndSoundAtTheStart) {
  // One pad note in the last beat: its release must carry on at the start of the loop.
  synth::Score score;
  std::string error;
  ASSERT_TRUE(synth::parseScore("tempo 120\nbeats 4\nvoice v pad 1\nr:3 A3:1\n", score, error)) << error;
  const std::vector<float> loop = synth::renderMusic(score);
  ASSERT_EQ(static_cast<long>(loop.size()), synth::loopSampleCount(score));
  const std::vector<float> start(loop.begin(), loop.begin() + synth::kSampleRate / 10);
  EXPECT_GT(rms(start), 0.02) << "the tail was cut off at the loop's end";
  // A pure tone: the join is a step like its neighbours.
  const float join = std::fabs(loop.front() - loop.back());
  const float before = std::fabs(loop[loop.size() - 1] - loop[loop.size() - 2]);
  const float after = std::fabs(loop[1] - loop[0]);
  EXPECT_LE(join, 1.5f * std::max(before, after) + 1e-4f);
}

TEST(FireSynth, LoopIsNoisyButSeamless) {
  synth::FireRecipe recipe;
  recipe.seconds = 2;
  const std::vector<float> fire = synth::renderFire(recipe);
  ASSERT_EQ(fire.size(), static_cast<size_t>(2 * synth::kSampleRate));
  EXPECT_GT(rms(fire), 0.03);
  expectSeamlessJoin(fire);
  recipe.seconds = 0;
  EXPECT_TRUE(synth::renderFire(recipe).empty());
}

TEST(StagedAudio, MusicLoopLastsTheScoreAndJoinsSmoothly) {
  synth::Score score;
  std::string error;
  ASSERT_TRUE(synth::parseScore(readText(ZARVOLITH_SCORE_FILE), score, error)) << error;
  std::vector<float> music;
  int rate = 0;
  ASSERT_EQ(synth::readWav(std::string(ZARVOLITH_SYNTH_OUT_DIR) + "/backgroundmusic.wav", music, rate), "");
  EXPECT_EQ(rate, synth::kSampleRate);
  EXPECT_EQ(static_cast<long>(music.size()), synth::loopSampleCount(score));
  EXPECT_GE(music.size(), static_cast<size_t>(30 * synth::kSampleRate)) << "at least 30 s";
  EXPECT_GT(rms(music), 0.05) << "silent";
  expectSeamlessJoin(music);
}

TEST(StagedAudio, FireLoopLastsSecondsAndJoinsSmoothly) {
  std::vector<float> fire;
  int rate = 0;
  ASSERT_EQ(synth::readWav(std::string(ZARVOLITH_SYNTH_OUT_DIR) + "/fire.wav", fire, rate), "");
  const double seconds = static_cast<double>(fire.size()) / rate;
  EXPECT_GE(seconds, 4);
  EXPECT_LE(seconds, 8);
  EXPECT_GT(rms(fire), 0.05) << "silent";
  expectSeamlessJoin(fire);
}

TEST(StagedAudio, Mp3sCarryTheGaplessHeader) {
  for (const char* name : {"backgroundmusic.mp3", "fire.mp3"}) {
    const std::string bytes = readText(std::string(ZARVOLITH_AUDIO_DIR) + "/" + name);
    ASSERT_GT(bytes.size(), 10000u) << name;
    const std::string head = bytes.substr(0, 4096);
    // LAME's Info (CBR) or Xing (VBR) frame holds the encoder delay and padding.
    EXPECT_TRUE(head.find("Info") != std::string::npos || head.find("Xing") != std::string::npos) << name;
    EXPECT_NE(head.find("LAME"), std::string::npos) << name;
  }
}

TEST(WavFile, ReportsMissingAndForeignFiles) {
  std::vector<float> samples;
  int rate = 0;
  EXPECT_NE(synth::readWav("/nonexistent/x.wav", samples, rate), "");
  EXPECT_NE(synth::readWav(ZARVOLITH_SCORE_FILE, samples, rate), "");
}

}  // namespace
